#include "glance/GlanceRecord.h"

#include <algorithm>
#include <iterator>

namespace ambervale {
namespace {

// The heap's order: its top is the shortest kept, the first to give way; of two as long, the later.
bool Longer(const Spell& a, const Spell& b) {
    return a.Seconds() != b.Seconds() ? a.Seconds() > b.Seconds() : a.start.utc < b.start.utc;
}

} // namespace

std::vector<Spell> PrinterRecord::LongestSpells() const {
    std::vector<Spell> sorted = longest;
    std::sort(sorted.begin(), sorted.end(), Longer);
    return sorted;
}

std::vector<Spell> PrinterRecord::RecentSpells() const {
    std::vector<Spell> ordered(recent.begin() + static_cast<std::ptrdiff_t>(nextRecent), recent.end());
    ordered.insert(ordered.end(), recent.begin(), recent.begin() + static_cast<std::ptrdiff_t>(nextRecent));
    return ordered;
}

PrinterRecord& RecordKeeper::PrinterOf(std::uint32_t printer) {
    if (record_.printers.size() <= printer) record_.printers.resize(printer + 1);
    return record_.printers[printer];
}

void RecordKeeper::SpellEnded(const Spell& spell) {
    PrinterRecord& printer = PrinterOf(spell.printer);
    if (spell.entries > 0) {
        if (printer.entries == 0 || spell.start.utc < printer.first.utc) printer.first = spell.start;
        if (printer.entries == 0 || spell.last.utc >= printer.last.utc) printer.last = spell.last;
        printer.entries += spell.entries;
        record_.entries += spell.entries;
    }
    ++record_.spells;
    ++printer.spells;
    StatusTime& time = printer.byStatus[spell.status];
    time.seconds += spell.Seconds();
    ++time.spells;
    const StatusKind kind = record_.names.KindOf(spell.status);
    if (kind != StatusKind::NotRecorded) printer.recordedSeconds += spell.Seconds();
    if (kind != StatusKind::NotRecorded && kind != StatusKind::Ready) {
        ++printer.notReadySpells;
        if (printer.longest.size() < kLongestSpellsKept) {
            printer.longest.push_back(spell);
            std::push_heap(printer.longest.begin(), printer.longest.end(), Longer);
        } else if (Longer(spell, printer.longest.front())) {
            std::pop_heap(printer.longest.begin(), printer.longest.end(), Longer);
            printer.longest.back() = spell;
            std::push_heap(printer.longest.begin(), printer.longest.end(), Longer);
        }
    }
    if (printer.recent.size() < kRecentSpellsKept) {
        printer.recent.push_back(spell);
    } else {
        printer.recent[printer.nextRecent] = spell;
        printer.nextRecent = (printer.nextRecent + 1) % kRecentSpellsKept;
    }

    // The days pictured are those with entries; a gap draws only on the days where it begins and ends. Of a spell
    // longer than the days pictured, only its last days can be among them.
    const std::int64_t first = DayOf(spell.start.local);
    const std::int64_t last = std::max(first, DayOf(spell.end.local));
    if (spell.status == kNotRecorded) {
        Picture(printer, first, spell);
        if (last != first) Picture(printer, last, spell);
    } else {
        for (std::int64_t day = std::max(first, last - static_cast<std::int64_t>(kDaysPictured) + 1); day <= last; ++day) {
            Picture(printer, day, spell);
        }
    }
    if (next_) next_->SpellEnded(spell);
}

void RecordKeeper::Picture(PrinterRecord& printer, std::int64_t day, const Spell& spell) {
    // Spells come in time order: most fall on the newest day pictured.
    auto found = !printer.days.empty() && std::prev(printer.days.end())->first == day ? std::prev(printer.days.end())
                                                                                   : printer.days.find(day);
    if (found == printer.days.end()) {
        if (printer.days.size() >= kDaysPictured) {
            if (day < printer.days.begin()->first) return;  // older than every day pictured
            printer.days.erase(printer.days.begin());
        }
        found = printer.days.emplace(day, DayBar(day, clock_)).first;
    }
    found->second.Add(spell.status, spell.start.utc, spell.end.utc, record_.names);
}

} // namespace ambervale
