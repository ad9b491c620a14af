#include "mainwindow/Form1Layout.h"

#include <gtest/gtest.h>

#include <set>

namespace ambervale {
namespace {

TEST(Form1Layout, At96DpiEveryControlIsItsTwipsOverFifteen) {
    struct Expected {
        ControlId id;
        PixelRect pixels;
    };
    // Written out from the window's table: twips / 15, frames' children offset by their frame.
    const Expected table[] = {
        {kFrame1, {8, 8, 520, 56}},        {kProgressBar1, {24, 27, 488, 27}}, {kListView1, {8, 72, 520, 169}},
        {kListView2, {8, 248, 520, 106}},  {kFrame2, {8, 358, 520, 49}},       {kCheck4, {24, 378, 262, 19}},
        {kCheck8, {296, 378, 172, 19}},    {kPushButton5, {8, 417, 256, 27}},  {kPushButton6, {272, 417, 256, 27}},
        {kPushButton1, {8, 451, 256, 27}}, {kPushButton2, {272, 451, 256, 27}}, {kPushButton11, {8, 485, 256, 27}},
        {kPushButton12, {272, 485, 256, 27}},
    };
    for (const auto& e : table) {
        const ControlLayout* c = FindControl(e.id);
        ASSERT_NE(c, nullptr);
        const PixelRect r = ClientRectOf(*c, 96);
        EXPECT_NEAR(r.left, e.pixels.left, 1) << c->name;
        EXPECT_NEAR(r.top, e.pixels.top, 1) << c->name;
        EXPECT_NEAR(r.width, e.pixels.width, 1) << c->name;
        EXPECT_NEAR(r.height, e.pixels.height, 1) << c->name;
    }
}

TEST(Form1Layout, ScalesWithDpi) {
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 536);
    EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 519);
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 144), 804);
    EXPECT_EQ(TwipsToPixels(1440, 192), 192);
    EXPECT_EQ(FontHeightPixels(ControlFont::Regular, 96), -12);
    EXPECT_EQ(FontHeightPixels(ControlFont::Button, 96), -15);
    EXPECT_EQ(FontHeightPixels(ControlFont::Button, 192), -30);
}

TEST(Form1Layout, TabOrderPutsCheck8BeforeCheck4AndFramesBeforeTheirControls) {
    std::set<int> seen;
    int previous = -1;
    for (const auto& c : kForm1Controls) {
        EXPECT_GT(c.tabIndex, previous) << c.name;
        previous = c.tabIndex;
        if (c.container != ControlId{}) {
            EXPECT_TRUE(seen.count(c.container)) << c.name;
        }
        seen.insert(c.id);
    }
    EXPECT_LT(FindControl(kCheck8)->tabIndex, FindControl(kCheck4)->tabIndex);
    EXPECT_EQ(FindControl(kListView1)->tabIndex, 0);
}

} // namespace
} // namespace ambervale
