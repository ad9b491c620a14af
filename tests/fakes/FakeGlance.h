#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "glance/Glance.h"
#include "glance/GlancePage.h"

namespace ambervale::testing {

class StringSource final : public ByteSource {
public:
    explicit StringSource(std::string text) : text_(std::move(text)) {}
    std::uint64_t Size() override { return text_.size(); }
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size() - at_);
        text_.copy(buffer, n, at_);
        at_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t at_ = 0;
};

class StringSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { text += bytes; }
    std::string text;
};

// Every spell as "printer:status start-end seconds", local times as ISO 8601 without their date when all is on
// 6 December 2026.
class SpellList final : public SpellSink {
public:
    explicit SpellList(const GlanceNames& names) : names_(names) {}
    void SpellEnded(const Spell& s) override {
        const auto when = [](LocalSeconds t) {
            const std::string iso = IsoLocalText(t);
            return iso.starts_with("2026-12-06T") ? iso.substr(11) : iso;
        };
        text += names_.Printers()[s.printer] + ":" + names_.Statuses()[s.status] + " " + when(s.start.local) + "-" +
                when(s.end.local) + " " + std::to_string(s.Seconds()) + "\n";
    }
    std::string text;

private:
    const GlanceNames& names_;
};

// Central Europe's rules of these years: daylight saving from the last Sunday of March, 02:00, to the last Sunday
// of October, 03:00.
class EuropeZone final : public TimeZoneRules {
public:
    ZoneYear ForYear(int) override { return {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0, 0}, {0, 3, 0, 5, 2, 0, 0, 0}}; }
};

inline DatePictures GermanPictures() {
    DatePictures pictures = UnitedStatesPictures();
    pictures.shortDate = "dd.MM.yyyy";
    pictures.longTime = "HH:mm:ss";
    return pictures;
}

// "[YYYY-MM-DD ]hh:mm:ss status|printer" (6 December 2026 when no date) as history lines by the German pictures;
// "!" lines are written as they stand.
inline std::string HistoryText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        if (line.starts_with("!")) {
            text += line.substr(1) + "\r\n";
            continue;
        }
        const bool dated = line.size() > 10 && line[4] == '-';
        const std::string date = dated ? line.substr(8, 2) + "." + line.substr(5, 2) + "." + line.substr(0, 4)
                                       : std::string("06.12.2026");
        const std::string rest = dated ? line.substr(11) : line;
        const auto bar = rest.find('|');
        text += date + " " + rest.substr(0, 8) + " Printer Status = " + rest.substr(9, bar - 9) +
                "; Printer Name = " + rest.substr(bar + 1) + "; Printer Driver Name = d; Printer Port Name = p; \r\n";
    }
    return text;
}

// The spells of a record read by the German pictures, in zone.
inline std::string SpellsOf(const std::vector<std::string>& lines, TimeZoneRules* zone = nullptr,
                            GlanceRecord* kept = nullptr) {
    GlanceRecord record;
    SpellList spells(record.names);
    StringSource source(HistoryText(lines));
    ReadGlanceRecord(source, {GermanPictures(), zone, nullptr}, record, &spells);
    if (kept) *kept = std::move(record);
    return spells.text;
}

} // namespace ambervale::testing
