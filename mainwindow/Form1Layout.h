#pragma once
#include <array>
#include <string_view>

namespace ambervale {

// Control ids of the main window; each names its control once.
enum ControlId : int {
    kFrame1 = 1001,
    kProgressBar1,
    kListView1,
    kListView2,
    kFrame2,
    kCheck4,
    kCheck8,
    kPushButton5,
    kPushButton6,
    kPushButton1,
    kPushButton2,
    kPushButton11,
    kPushButton12,
};

enum class ControlKind { Frame, ProgressBar, ListView, CheckBox, PushButton };
enum class ControlFont { Regular, Button };  // Arial 9 pt bold; Arial 11.25 pt bold

struct TwipsRect {
    int left, top, width, height;
};

struct ControlLayout {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    ControlId container;  // the frame it sits in, or 0 for the window itself
    TwipsRect twips;      // relative to the container's top-left corner
    int tabIndex;
    std::string_view caption;
    ControlFont font;
};

inline constexpr int kClientWidthTwips = 8040;
inline constexpr int kClientHeightTwips = 7785;
inline constexpr int kTwipsPerInch = 1440;

// In tab order, which is also the creation order (a frame comes before what sits in it).
inline constexpr std::array<ControlLayout, 13> kForm1Controls{{
    {kListView1, "ListView1", ControlKind::ListView, ControlId{}, {120, 1080, 7800, 2535}, 0, "", ControlFont::Regular},
    {kListView2, "ListView2", ControlKind::ListView, ControlId{}, {120, 3720, 7800, 1590}, 1, "", ControlFont::Regular},
    {kFrame1, "Frame1", ControlKind::Frame, ControlId{}, {120, 120, 7800, 840}, 2, "Next log will occur in", ControlFont::Regular},
    {kProgressBar1, "ProgressBar1", ControlKind::ProgressBar, kFrame1, {240, 285, 7320, 405}, 3, "Progress Bar", ControlFont::Regular},
    {kPushButton5, "PushButton5", ControlKind::PushButton, ControlId{}, {120, 6260, 3840, 405}, 4, "Turn On Automatic Logging", ControlFont::Button},
    {kPushButton6, "PushButton6", ControlKind::PushButton, ControlId{}, {4080, 6255, 3840, 405}, 5, "Log Current Status Now (Test)", ControlFont::Button},
    {kPushButton1, "PushButton1", ControlKind::PushButton, ControlId{}, {120, 6770, 3840, 405}, 6, "View History Log", ControlFont::Button},
    {kPushButton2, "PushButton2", ControlKind::PushButton, ControlId{}, {4080, 6770, 3840, 405}, 7, "Copy History To Clipboard", ControlFont::Button},
    {kFrame2, "Frame2", ControlKind::Frame, ControlId{}, {120, 5370, 7800, 735}, 9, "Startup Options", ControlFont::Regular},
    {kCheck8, "Check8", ControlKind::CheckBox, kFrame2, {4320, 300, 2580, 285}, 10, "Minimized to system tray", ControlFont::Regular},
    {kCheck4, "Check4", ControlKind::CheckBox, kFrame2, {240, 300, 3930, 285}, 11, "Load this software on Windows startup", ControlFont::Regular},
    {kPushButton11, "PushButton11", ControlKind::PushButton, ControlId{}, {120, 7280, 3840, 405}, 12, "Help", ControlFont::Button},
    {kPushButton12, "PushButton12", ControlKind::PushButton, ControlId{}, {4080, 7280, 3840, 405}, 13, "Clear History Log", ControlFont::Button},
}};

const ControlLayout* FindControl(ControlId id);

// Twips to pixels at the given dots per inch, rounded to the nearest pixel (15 twips a pixel at 96 DPI).
int TwipsToPixels(int twips, int dpi);

struct PixelRect {
    int left, top, width, height;
    bool operator==(const PixelRect&) const = default;
};

// A control's rectangle in the window's client area: a control inside a frame is placed from the frame's corner.
PixelRect ClientRectOf(const ControlLayout& control, int dpi);

// Font heights in pixels (negative: character height) for the window's fonts at the given DPI.
int FontHeightPixels(ControlFont font, int dpi);

} // namespace ambervale
