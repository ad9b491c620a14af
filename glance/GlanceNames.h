#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ambervale {

inline constexpr std::uint32_t kNotRecorded = 0;
inline constexpr std::string_view kNotRecordedWords = "not recorded";
// An entry whose report is empty: the spooler did not answer. It counts for the printer named last.
inline constexpr std::string_view kNoReportWords = "No report from the spooler";

// What a status tells, as the Event Log's levels name its words; a status is as bad as its worst word.
enum class StatusKind : std::uint8_t { NotRecorded, Ready, Working, NoReport, Warning, Error };
// The worse of two kinds: the later in the order above (not recorded is no status of the printer's).
inline bool WorseThan(StatusKind a, StatusKind b) { return static_cast<int>(a) > static_cast<int>(b); }

// The status words of a line's status ("Off Line  Paper Jam  ") as the program shows them elsewhere: joined by ", "
// ("Off Line, Paper Jam"), "Ready" when there are none.
std::string StatusWords(std::string_view status);
StatusKind KindOfWords(std::string_view words);

// The printers and statuses a record names, each once, by number in the order they first appear (ANSI text, as the
// record has it: the spooler's names may hold anything).
class GlanceNames {
public:
    GlanceNames();
    std::uint32_t Printer(std::string_view name);
    // The number of a line's status field ("Off Line  "): fields with the same words share it.
    std::uint32_t Status(std::string_view field);
    std::uint32_t NoReport() { return Intern(std::string(kNoReportWords)); }

    const std::vector<std::string>& Printers() const { return printers_; }
    const std::vector<std::string>& Statuses() const { return statuses_; }  // kNotRecorded first
    StatusKind KindOf(std::uint32_t status) const { return kinds_[status]; }

private:
    std::uint32_t Intern(std::string words);

    std::vector<std::string> printers_;
    std::vector<std::string> statuses_;
    std::vector<StatusKind> kinds_;
    std::unordered_map<std::string, std::uint32_t> printerIndex_;
    std::unordered_map<std::string, std::uint32_t> statusIndex_;
};

} // namespace ambervale
