#include "mainwindow/Form1Layout.h"

namespace ambervale {

const ControlLayout* FindControl(ControlId id) {
    for (const auto& c : kForm1Controls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch : -((-scaled + half) / kTwipsPerInch));
}

PixelRect ClientRectOf(const ControlLayout& control, int dpi) {
    int left = control.twips.left;
    int top = control.twips.top;
    if (control.container != ControlId{}) {
        if (const ControlLayout* frame = FindControl(control.container)) {
            left += frame->twips.left;
            top += frame->twips.top;
        }
    }
    // Edges are converted, not sizes, so neighbouring controls keep their gaps whatever the DPI.
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    return {x, y, TwipsToPixels(left + control.twips.width, dpi) - x,
            TwipsToPixels(top + control.twips.height, dpi) - y};
}

int FontHeightPixels(ControlFont font, int dpi) {
    // 9 pt and 11.25 pt, in hundredths of a point so 11.25 stays exact.
    const int hundredths = font == ControlFont::Button ? 1125 : 900;
    const long long pixels = (static_cast<long long>(hundredths) * dpi + 3600) / 7200;
    return -static_cast<int>(pixels);
}

} // namespace ambervale
