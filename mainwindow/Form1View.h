#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ambervale {

// The main window as its own handlers see it: what start-up changes in its appearance.
class Form1View {
public:
    virtual ~Form1View() = default;
    virtual void SetCaption(std::string_view caption) = 0;
    virtual void SetProgramIcon() = 0;
    // Makes the cursor in this file the window's custom pointer; throws AppError when it is none.
    virtual void LoadHandCursor(const std::string& path) = 0;
    // The skin's colours: window, frames and check boxes take the system's button-face colour.
    virtual void UseButtonFaceColours() = 0;
    virtual void AddLogListColumn(std::string_view header) = 0;
    virtual void SetLogListColumnWidth(int twips) = 0;
};

// The main window's handlers, in the window's own vocabulary; the Windows window turns its messages
// into these calls.
class Form1Events {
public:
    virtual ~Form1Events() = default;
    virtual void Form_Load() = 0;
    virtual void Form_QueryUnload() = 0;
    virtual void Form_Resize() = 0;
    // The window's thread is back in its main loop: no handler runs, none waits.
    virtual void Form_BackInMainLoop() = 0;
    virtual void Timer1_Timer() = 0;
    virtual void PushButton1_Click() = 0;
    virtual void PushButton2_Click() = 0;
    virtual void PushButton5_Click() = 0;
    virtual void PushButton6_Click() = 0;
    virtual void PushButton11_Click() = 0;
    virtual void PushButton12_Click() = 0;
    virtual void ListView2_Click() = 0;
    virtual void Check4_Click() = 0;
    virtual void Check8_Click() = 0;
    // The program was started again while it runs: this window is the one instance and comes to the front.
    virtual void Form_StartedAgain() = 0;
    // The pointer feedback: the mouse over a push button, or over the background, a frame or a list.
    virtual void PushButton_MouseMove() = 0;
    virtual void Background_MouseMove() = 0;
};

// What start-up asks of the machine besides the window.
class Form1Environment {
public:
    virtual ~Form1Environment() = default;
    // The running program's folder, without a trailing backslash.
    virtual std::string ProgramFolder() = 0;
    // The value of TEMP, or nothing when it is not set.
    virtual std::optional<std::string> TempFolder() = 0;
    // True when a listing of the path finds a file (hidden and system files do not count).
    virtual bool FileListed(const std::string& path) = 0;
};

// A random fraction in [0, 1), seeded from the time of day when asked to.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void SeedFromTimeOfDay() = 0;
    virtual double NextFraction() = 0;
};

} // namespace ambervale
