#pragma once

namespace ambervale {

// A check box's value.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

// The two check boxes of the main window's "Startup Options" frame: Check4 ("Load this software on Windows
// startup") and Check8 ("Minimized to system tray"). Both the tray behaviour and starting with Windows use them.
// Setting a value from code raises the box's own click handler when the value changes, as a user's click does.
class StartupOptionBoxes {
public:
    virtual ~StartupOptionBoxes() = default;
    virtual int Check4Value() = 0;
    virtual void SetCheck4Value(int value) = 0;
    virtual int Check8Value() = 0;
    virtual void SetCheck8Value(int value) = 0;
    virtual void SetCheck8Visible(bool visible) = 0;
};

} // namespace ambervale
