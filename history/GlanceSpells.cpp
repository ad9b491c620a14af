#include "history/GlanceSpells.h"

#include <algorithm>

namespace ambervale {
namespace {

// The index of the words in names, added at the end when new.
std::uint32_t Intern(std::unordered_map<std::string, std::uint32_t>& index, std::string words,
                     std::vector<std::string>& names) {
    const auto found = index.find(words);
    if (found != index.end()) return found->second;
    const auto next = static_cast<std::uint32_t>(names.size());
    names.push_back(words);
    index.emplace(std::move(words), next);
    return next;
}

} // namespace

std::uint32_t SpellBuilder::PrinterOf(const HistoryLine& line) {
    if (!line.reported && !record_.printers.empty()) return lastPrinter_;
    // Lines in a row name the same printer: one comparison, no lookup.
    if (!record_.printers.empty() && line.printer == lastPrinterText_) return lastPrinter_;
    lastPrinterText_.assign(line.printer);
    const auto found = printerIndex_.find(lastPrinterText_);
    if (found != printerIndex_.end()) return lastPrinter_ = found->second;
    lastPrinter_ = static_cast<std::uint32_t>(record_.printers.size());
    printerIndex_.emplace(lastPrinterText_, lastPrinter_);
    record_.printers.push_back({lastPrinterText_, line.when, line.when, 0});
    return lastPrinter_;
}

std::uint32_t SpellBuilder::StatusOf(const HistoryLine& line) {
    if (!line.reported) return Intern(statusIndex_, std::string(kNoReportWords), record_.statuses);
    if (lastStatus_ != 0 && line.status == lastStatusText_) return lastStatus_;
    lastStatusText_.assign(line.status);
    lastStatus_ = Intern(statusIndex_, StatusWords(line.status), record_.statuses);
    return lastStatus_;
}

LocalSeconds SpellBuilder::UsualSpacing() const {
    std::array<LocalSeconds, 7> sorted = spacings_;
    const std::size_t n = std::min(spacingCount_, sorted.size());
    std::sort(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(n));
    return sorted[n / 2];
}

void SpellBuilder::Close(LocalSeconds end) {
    current_.end = end;
    record_.spells.push_back(current_);
    open_ = false;
}

void SpellBuilder::AddAny(const HistoryLine& line) {
    const bool same = line.sameReport && !record_.printers.empty();
    const std::uint32_t printer = same ? lastPrinter_ : PrinterOf(line);
    const std::uint32_t status = same ? lastStatus_ : StatusOf(line);
    Count(printer, line.when);

    if (open_) {
        const LocalSeconds spacing = line.when - lastSeen_;
        if (spacing < 0) {
            Close(lastSeen_);
        } else {
            const bool gap = spacing >= kShortestGap && spacingCount_ > 0 && spacing > 2 * UsualSpacing();
            NoteSpacing(spacing);
            if (gap) {
                Close(lastSeen_);
                record_.spells.push_back({current_.printer, kNotRecorded, lastSeen_, line.when});
            } else if (printer != current_.printer || status != current_.status) {
                Close(line.when);
            }
        }
    }
    if (!open_) {
        current_ = {printer, status, line.when, line.when};
        open_ = true;
    }
    lastSeen_ = line.when;
}

void SpellBuilder::AddUnreadable(std::uint64_t lineNumber) {
    ++record_.unreadableLines;
    if (record_.unreadableLineNumbers.size() < kUnreadableLinesNamed) record_.unreadableLineNumbers.push_back(lineNumber);
}

GlanceRecord& SpellBuilder::Finish() {
    if (open_) Close(lastSeen_);
    return record_;
}

} // namespace ambervale
