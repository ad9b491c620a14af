#include "logging/LogEntry.h"

#include "printer/PrinterReport.h"

namespace ambervale {

std::string JoinReportLines(std::string_view report) {
    std::string line;
    line.reserve(report.size());
    for (std::size_t i = 0; i < report.size(); ++i) {
        const char c = report[i];
        if (c == '\r' && i + 1 < report.size() && report[i + 1] == '\n') {
            line += "; ";
            ++i;
        } else if (c == '\r' || c == '\n') {
            // A stray line break inside a spooler string would split one entry across two lines
            // of the history file.
            line += ' ';
        } else {
            line += c;
        }
    }
    return line;
}

std::string ComposeLogLine(std::string_view dateTimeText, std::string_view report) {
    std::string line(dateTimeText);
    line += ' ';
    line += JoinReportLines(report);
    return line;
}

void AppendToHistory(HistoryWriter& writer, const std::string& historyFilePath, std::string_view line) {
    std::string bytes(line);
    bytes += "\r\n";
    writer.Append(historyFilePath, bytes);
}

void LogStatusNow(LogEntryServices& services, const std::string& historyFilePath) {
    const std::string reportLine = JoinReportLines(GetPrinterReport(services.spooler));
    services.logList.AddRow(GeneralDateText(services.dateTimeText, services.clock.Now()), reportLine);
    // The file line reads the clock again, so it may be a second later than the row.
    AppendToHistory(services.historyWriter, historyFilePath,
                    GeneralDateText(services.dateTimeText, services.clock.Now()) + ' ' + reportLine);
}

} // namespace ambervale
