#include "history/HistoryFile.h"

namespace ambervale {

void AppendToHistory(HistoryWriter& writer, const std::string& historyFilePath, std::string_view line) {
    std::string bytes(line);
    bytes += "\r\n";
    writer.Append(historyFilePath, bytes);
}

void HistoryFileOutput::Write(const LogEntry& entry) {
    AppendToHistory(writer_, path_, GeneralDateText(dateTimeText_, clock_.Now()) + ' ' + entry.reportLine);
}

} // namespace ambervale
