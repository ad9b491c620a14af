#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "base/Globals.h"
#include "base/Policy.h"
#include "base/WinHandles.h"
#include "history/HistoryCommandsServices.h"
#include "logging/LogEntry.h"
#include "logging/RowStore.h"
#include "logging/ScheduleControls.h"
#include "mainwindow/Form1Layout.h"
#include "mainwindow/Form1View.h"
#include "mainwindow/WinProgressBar.h"
#include "startup/StartupCheckBox.h"
#include "tray/MinimiseToTray.h"

namespace ambervale::win {

inline constexpr UINT_PTR kTimer1Id = 1;
inline constexpr int kProgramIconResource = 1;
inline constexpr int kTrayIconResource = 2;
// Posted to the main window to tell the log list how many rows it has.
inline constexpr UINT kSyncLogRowsMessage = WM_APP + 1;
// The system menu's "History at a Glance..." (a system-menu command: below 0xF000, its low four bits clear).
inline constexpr UINT kGlanceMenuCommand = 0x0110;
// Posted to the main window while the history at a glance is made: wParam the hundredths read, lParam 1 once done.
inline constexpr UINT kGlanceProgressMessage = WM_APP + 2;
// The window's answer to a start of a second copy, once it has come to the front; any window that does not know the
// message answers 0.
inline constexpr LRESULT kBroughtToFront = 1;

// The main window Form1: creates the controls where the layout puts them, turns window messages into the
// handlers of Form1Events, and carries out what the handlers ask of the controls.
class Form1Window : public Form1View,
                    public ProgressBarControl,
                    public MousePointerControl,
                    public TimerControl,
                    public TrayHostWindow,
                    public PolicyHeldControls {
public:
    // logRowLimit: the most rows the log list keeps; entries past it reach only the history file.
    explicit Form1Window(HINSTANCE instance, std::size_t logRowLimit = RowStore::kListViewMaxRows);
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Creates the window and its controls, hidden. Its messages reach no handler before Attach.
    void Create();
    void Attach(Form1Events& events) { events_ = &events; }
    // The registered message by which a second copy of the program asks this window to come to the front (and
    // which the window then answers with kBroughtToFront); 0 for none.
    void AnswerStartedAgain(UINT message);
    // Called each time Windows says that policy has changed (WM_SETTINGCHANGE naming "Policy").
    void AnswerPolicyChange(std::function<void()> policyChanged) { policyChanged_ = std::move(policyChanged); }
    // Adds "History at a Glance..." to the system menu; requested runs at its choice, progress at each
    // kGlanceProgressMessage (hundredths read, done).
    void AnswerGlance(std::function<void()> requested, std::function<void(int, bool)> progress);
    HWND Handle() const { return hwnd_; }
    // Shows the window after loading: centred, normal or minimised as loading left it, focus in the log list.
    void ShowAfterLoad();
    // The message loop; returns the exit code once the window has closed.
    int Run();

    CaptionControl& Frame1() { return frame1_; }
    CaptionControl& PushButton5() { return pushButton5_; }
    IntervalList& ListView2() { return listView2_; }
    LogList& ListView1() { return listView1_; }
    LogListRows& ListView1Rows() { return listView1_; }
    // Brings the log list's count up to date now rather than at the next turn of the message loop.
    void FlushLogRows() { SyncLogRowCount(); }

    // Form1View
    void SetCaption(std::string_view caption) override;
    void SetProgramIcon() override;
    void LoadHandCursor(const std::string& path) override;
    void UseButtonFaceColours() override;
    void AddLogListColumn(std::string_view header) override;
    void SetLogListColumnWidth(int twips) override;
    // ProgressBarControl (ProgressBar1)
    void SetMaximum(int maximum) override { progressBar_.SetMaximum(maximum); }
    void SetPosition(int position) override { progressBar_.SetPosition(position); }
    void SetText(std::string_view text) override { progressBar_.SetText(std::string(text)); }
    // MousePointerControl
    PointerKind Pointer() override { return pointer_; }
    void SetPointer(PointerKind kind) override;
    // TimerControl (Timer1)
    int Period() override { return timerPeriod_; }
    void SetPeriod(int milliseconds) override;
    bool Enabled() override { return timerEnabled_; }
    void SetEnabled(bool enabled) override;
    // TrayHostWindow, with the start-up option boxes
    WindowState State() override;
    void SetState(WindowState state) override;
    void Hide() override;
    void Show() override;
    void SetFocus() override;
    int Check4Value() override { return CheckValue(kCheck4); }
    void SetCheck4Value(int value) override { SetCheckValue(kCheck4, value); }
    int Check8Value() override { return CheckValue(kCheck8); }
    void SetCheck8Value(int value) override { SetCheckValue(kCheck8, value); }
    void SetCheck8Visible(bool visible) override;
    // PolicyHeldControls: disabled, with the administrator's tip, which shows over the disabled control too.
    void SetHeld(HeldControl control, bool held) override;
    // The tip the window shows over a held control (false, empty text, when it has none): for the tests.
    bool HeldTip(HeldControl control, std::string& text) const;

private:
    class CaptionOf : public CaptionControl {
    public:
        explicit CaptionOf(HWND& hwnd) : hwnd_(hwnd) {}
        std::string Caption() override;
        void SetCaption(std::string_view caption) override;

    private:
        HWND& hwnd_;
    };

    // ListView1: a virtual list over the rows the window keeps, so adding a row never slows down or scrolls.
    class LogListView : public LogList, public LogListRows {
    public:
        explicit LogListView(Form1Window& form) : form_(form) {}
        void AddRow(std::string_view dateTimeText, std::string_view reportLine) override;
        void RemoveAllRows() override;

    private:
        Form1Window& form_;
    };

    // ListView2: the interval list.
    class IntervalListView : public IntervalList {
    public:
        explicit IntervalListView(Form1Window& form) : form_(form) {}
        void AddColumn(std::string_view header) override;
        void SetColumnWidth(int twips) override;
        void AddRow(std::string_view text) override;
        void SelectRow(int position) override;
        bool SelectedRow(std::string& text, int& position) override;

    private:
        Form1Window& form_;
    };

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The window's three fonts: frames, check boxes, lists and the bar; push buttons; the window itself.
    struct Fonts {
        UniqueFont regular;
        UniqueFont button;
        UniqueFont window;
    };

    void CreateControls();
    // Sizes and places the window and every control for the window's DPI and gives each its font.
    void LayOut();
    static Fonts MakeFonts(int dpi);
    void OnDpiChanged(int dpi, const RECT& suggested);
    int Dpi() const { return dpi_; }
    HWND Control(ControlId id) const { return controls_[id - kFrame1]; }
    int CheckValue(ControlId id) const;
    void SetCheckValue(ControlId id, int value);
    void OnCommand(int id);
    LRESULT OnNotify(const NMHDR& header);
    bool OnSetCursor(HWND over, UINT mouseMessage);
    // The history at a glance's menu command and progress; true when msg was one of them.
    bool OnGlanceMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnClose();
    void ApplyTimer();
    void SyncLogRowCount();
    // Places the held controls' tips over them again (after a layout).
    void PlaceHeldTips();

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    Form1Events* events_ = nullptr;
    UINT startedAgainMessage_ = 0;
    std::function<void()> policyChanged_;
    std::function<void()> glanceRequested_;
    std::function<void(int, bool)> glanceProgress_;
    UINT closeMessage_ = 0;
    std::array<HWND, kForm1Controls.size()> controls_{};
    TextProgressBar progressBar_;
    CaptionOf frame1_{controls_[kFrame1 - kFrame1]};
    CaptionOf pushButton5_{controls_[kPushButton5 - kFrame1]};
    LogListView listView1_{*this};
    IntervalListView listView2_{*this};
    int dpi_ = 96;
    Fonts fonts_;
    UniqueBrush background_;
    UniqueCursor handCursor_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    RowStore rows_;
    std::string shownRow_;  // the row the log list asked for last, where the list reads its text
    int logColumnTwips_ = 0;
    int intervalColumnTwips_ = 0;
    PointerKind pointer_ = PointerKind::Default;
    int timerPeriod_ = 0;
    bool timerEnabled_ = true;
    bool timerRunning_ = false;
    bool selectingByCode_ = false;
    bool clickHandledBySelection_ = false;
    bool closing_ = false;
    bool rowCountPosted_ = false;
    bool startMinimised_ = false;
    bool restoreOnShow_ = false;
    // The tips of held controls; made at the first hold, owned (and destroyed) by the window.
    HWND heldTips_ = nullptr;
    std::array<bool, 3> held_{};
};

} // namespace ambervale::win
