#pragma once
#include <string>
#include <string_view>

namespace ambervale {

// The description a control gives when asked for a row or value it does not have.
inline constexpr std::string_view kErrInvalidPropertyValue = "Invalid property value";

// The interval list ListView2: one column, one row per interval, at most one row selected.
// Every member may throw AppError when the control fails.
class IntervalList {
public:
    virtual ~IntervalList() = default;
    virtual void AddColumn(std::string_view header) = 0;
    virtual void SetColumnWidth(int twips) = 0;
    virtual void AddRow(std::string_view text) = 0;
    // Selects the row at this 1-based position; throws AppError kErrInvalidPropertyValue when
    // there is no such row. Selecting by code is no click: it raises no ListView2_Click.
    virtual void SelectRow(int position) = 0;
    // The selected row's text (into `text`, reusing its storage: the timer asks every second)
    // and its 1-based position; false, leaving both alone, when no row is selected.
    virtual bool SelectedRow(std::string& text, int& position) = 0;
};

// A control with a caption: the frame Frame1 and the push button PushButton5.
class CaptionControl {
public:
    virtual ~CaptionControl() = default;
    virtual std::string Caption() = 0;
    virtual void SetCaption(std::string_view caption) = 0;
};

// The countdown bar ProgressBar1: filled to position out of maximum, with a text.
class ProgressBarControl {
public:
    virtual ~ProgressBarControl() = default;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetText(std::string_view text) = 0;
};

// The main window's mouse pointer, one value for the whole window.
enum class PointerKind : int { Default = 0, Hourglass = 11, Custom = 99 };

class MousePointerControl {
public:
    virtual ~MousePointerControl() = default;
    virtual PointerKind Pointer() = 0;
    virtual void SetPointer(PointerKind kind) = 0;
};

// The window timer Timer1. It ticks only while enabled with a period above 0; a period of 0
// stops it whether enabled or not, and setting 1000 on an enabled timer starts it.
class TimerControl {
public:
    virtual ~TimerControl() = default;
    virtual int Period() = 0;
    virtual void SetPeriod(int milliseconds) = 0;
    virtual bool Enabled() = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

} // namespace ambervale
