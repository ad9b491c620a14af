#include "logging/LogEntry.h"

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

} // namespace ambervale
