#include "history/HistoryCommands.h"

#include "base/ErrorReport.h"

namespace ambervale {

namespace {

std::string QuotedForCommandLine(const std::string& path) {
    return "\"" + path + "\"";
}

BoxRequest PlainBox(std::string_view text, const std::string& caption, BoxButtons buttons) {
    return BoxRequest{std::string(text), caption, BoxIcon::None, buttons};
}

} // namespace

void HistoryCommands::PushButton1_Click(const HistoryTarget& target) {
    GuardedSteps steps(services_.boxes, "PushButton1_Click");
    if (steps.Test(100, [&] { return services_.files.FileExists(target.historyFilePath); })) {
        steps.Run(102, [&] {
            services_.processes.Start(SystemProgram::TextEditor, QuotedForCommandLine(target.historyFilePath),
                                      StartWindow::NormalFocus);
        });
    } else {
        steps.Run(104, [&] {
            services_.boxes.Show(PlainBox(kNoHistoryToViewText, target.appTitle, BoxButtons::Ok));
        });
    }
}

void HistoryCommands::PushButton2_Click(const HistoryTarget& target) {
    GuardedSteps steps(services_.boxes, "PushButton2_Click");
    CopyBuffer& buffer = services_.copyBuffer;
    // A test that cannot be made counts as passed, and the guarded step here is the early return.
    if (steps.Test(100, [&] { return !services_.files.FileExists(target.historyFilePath); })) return;
    steps.Run(102, [&] { buffer.LoadTextFile(target.historyFilePath); });
    steps.Run(104, [&] { buffer.SetSelectionStart(0); });
    steps.Run(106, [&] { buffer.SetSelectionLength(buffer.TextLength()); });
    steps.Run(108, [&] { buffer.CopySelection(); });
}

void HistoryCommands::PushButton12_Click(const HistoryTarget& target) {
    GuardedSteps steps(services_.boxes, "PushButton12_Click");
    // Deleting is the one step that must never run without the user's Yes: a confirmation box that
    // could not be shown is reported and counts as No.
    bool confirmed = false;
    steps.Run(100, [&] {
        confirmed = services_.boxes.Show(PlainBox(kConfirmClearHistoryText, target.appTitle,
                                                  BoxButtons::YesNo)) == BoxAnswer::Yes;
    });
    if (!confirmed) return;
    steps.Run(102, [&] { RemoveFile(target.historyFilePath, services_.pump, services_.files); });
    steps.Run(104, [&] { services_.logList.RemoveAllRows(); });
}

void RemoveFile(const std::string& path, MessagePump& pump, HistoryFiles& files) {
    pump.DoEvents();
    bool deleted = false;
    try {
        deleted = files.DeletePlain(path);
    } catch (...) {
        // Any refusal of the plain delete leads to the forced one.
    }
    if (deleted) return;
    try {
        files.DeleteForced(path);
    } catch (...) {
        // The caller learns nothing of the outcome.
    }
}

} // namespace ambervale
