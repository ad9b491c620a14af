#include "glance/GlanceNames.h"

#include <array>

namespace ambervale {
namespace {

// The status words that tell of a problem, as the Event Log's levels name them; "Unknown Status of" is followed by
// the number the spooler gave.
constexpr std::array<std::string_view, 13> kErrorWords = {
    "Printer Door Open", "Printer Error", "No Toner",      "Not Available",    "Off Line",
    "Out of Memory",     "Output Bin Full", "Page Punt",   "Paper Jam",        "Paper Out",
    "Page Problem",      "User Intervention", "Unknown Status of"};
constexpr std::array<std::string_view, 4> kWarningWords = {"Toner Low", "Paused", "Manual Feed", "Pending Deletion"};

// True when one of the words (joined by ", ") is word, or begins with it followed by a blank for the one word that
// carries a number.
template <std::size_t N>
bool HasOneOf(std::string_view words, const std::array<std::string_view, N>& table) {
    while (true) {
        const auto end = words.find(", ");
        const std::string_view word = words.substr(0, end);
        for (const std::string_view known : table) {
            if (word == known || (known == "Unknown Status of" && word.starts_with("Unknown Status of "))) return true;
        }
        if (end == std::string_view::npos) return false;
        words.remove_prefix(end + 2);
    }
}

} // namespace

std::string StatusWords(std::string_view status) {
    std::string words;
    while (!status.empty()) {
        const auto end = status.find("  ");
        const std::string_view word = status.substr(0, end);
        if (!word.empty()) {
            if (!words.empty()) words += ", ";
            words += word;
        }
        if (end == std::string_view::npos) break;
        status.remove_prefix(end + 2);
    }
    return words.empty() ? "Ready" : words;
}

StatusKind KindOfWords(std::string_view words) {
    if (words == "Ready") return StatusKind::Ready;
    if (words == kNoReportWords) return StatusKind::NoReport;
    if (HasOneOf(words, kErrorWords)) return StatusKind::Error;
    if (HasOneOf(words, kWarningWords)) return StatusKind::Warning;
    return StatusKind::Working;
}

GlanceNames::GlanceNames()
    : statuses_{std::string(kNotRecordedWords)}, kinds_{StatusKind::NotRecorded} {}

std::uint32_t GlanceNames::Printer(std::string_view name) {
    std::string key(name);
    if (const auto found = printerIndex_.find(key); found != printerIndex_.end()) return found->second;
    const auto next = static_cast<std::uint32_t>(printers_.size());
    printers_.push_back(key);
    printerIndex_.emplace(std::move(key), next);
    return next;
}

std::uint32_t GlanceNames::Status(std::string_view field) { return Intern(StatusWords(field)); }

std::uint32_t GlanceNames::Intern(std::string words) {
    if (const auto found = statusIndex_.find(words); found != statusIndex_.end()) return found->second;
    const auto next = static_cast<std::uint32_t>(statuses_.size());
    kinds_.push_back(KindOfWords(words));
    statuses_.push_back(words);
    statusIndex_.emplace(std::move(words), next);
    return next;
}

} // namespace ambervale
