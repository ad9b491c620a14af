#pragma once
#include <string>
#include <string_view>

#include "base/MessageBoxes.h"
#include "history/HistoryCommandsServices.h"

namespace ambervale {

inline constexpr std::string_view kNoHistoryToViewText =
    "There isn't a history to view because actions have not been performed yet.";
inline constexpr std::string_view kConfirmClearHistoryText =
    "Are you sure you want to delete the history log and start over?";

struct HistoryServices {
    MessageBoxes& boxes;
    MessagePump& pump;
    HistoryFiles& files;
    ProcessStarter& processes;
    CopyBuffer& copyBuffer;
    LogListRows& logList;
};

// The program-wide values the commands read at the moment of the click.
struct HistoryTarget {
    std::string historyFilePath;
    std::string appTitle;  // caption of the boxes the commands show
};

// The three history buttons of the main window. Each handler reports a failed step in the error
// box under its own name and goes on with the next step.
class HistoryCommands {
public:
    explicit HistoryCommands(const HistoryServices& services) : services_(services) {}

    // "View History Log": opens the file in the text editor, or says there is nothing to view.
    void PushButton1_Click(const HistoryTarget& target);
    // "Copy History To Clipboard": the file's whole text to the clipboard; no file, no message.
    void PushButton2_Click(const HistoryTarget& target);
    // "Clear History Log": after a Yes, deletes the file and empties the log list.
    void PushButton12_Click(const HistoryTarget& target);

private:
    HistoryServices services_;
};

// Deletes the file, a read-only one too, after letting waiting messages run. Whatever happens to
// the file, nothing is reported; only a failure of the message pump reaches the caller.
void RemoveFile(const std::string& path, MessagePump& pump, HistoryFiles& files);

} // namespace ambervale
