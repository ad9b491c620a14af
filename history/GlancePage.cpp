#include "history/GlancePage.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>

namespace ambervale {
namespace {

constexpr int kDaysPictured = 31;
constexpr std::string_view kTitle = "Ambervale history at a glance";

// The status words that tell of a problem, as the Event Log's levels name them.
constexpr std::array<std::string_view, 13> kErrorWords = {
    "Printer Door Open", "Printer Error", "No Toner",      "Not Available",    "Off Line",
    "Out of Memory",     "Output Bin Full", "Page Punt",   "Paper Jam",        "Paper Out",
    "Page Problem",      "User Intervention", "Unknown Status of"};
constexpr std::array<std::string_view, 4> kWarningWords = {"Toner Low", "Paused", "Manual Feed", "Pending Deletion"};

enum class Kind { Ready, Working, Warning, Error, NoReport, NotRecorded };

bool HasWord(std::string_view words, std::string_view word) {
    for (std::size_t at = words.find(word); at != std::string_view::npos; at = words.find(word, at + 1)) {
        const bool startsWord = at == 0 || words.substr(at - 2, 2) == ", ";
        if (startsWord) return true;
    }
    return false;
}

Kind KindOf(std::uint32_t index, std::string_view words) {
    if (index == kNotRecorded) return Kind::NotRecorded;
    if (words == "Ready") return Kind::Ready;
    if (words == kNoReportWords) return Kind::NoReport;
    for (auto word : kErrorWords) {
        if (HasWord(words, word)) return Kind::Error;
    }
    for (auto word : kWarningWords) {
        if (HasWord(words, word)) return Kind::Warning;
    }
    return Kind::Working;
}

// Colours by kind, each status of a kind a shade of its own; the words, not the colour, name every band.
std::string ColourOf(Kind kind, int nth) {
    static constexpr std::array<const char*, 3> kReady = {"#2e8b57", "#3cb371", "#1f6f45"};
    static constexpr std::array<const char*, 4> kWorking = {"#3a6fb0", "#5b8fd0", "#2a4f80", "#7aa7dd"};
    static constexpr std::array<const char*, 4> kWarning = {"#d99a1e", "#b87d0a", "#e8b84a", "#a06a00"};
    static constexpr std::array<const char*, 5> kError = {"#c0392b", "#8e2318", "#e0604f", "#a8324a", "#702010"};
    const auto pick = [nth](const auto& palette) { return std::string(palette[nth % palette.size()]); };
    switch (kind) {
    case Kind::Ready: return pick(kReady);
    case Kind::Working: return pick(kWorking);
    case Kind::Warning: return pick(kWarning);
    case Kind::Error: return pick(kError);
    case Kind::NoReport: return "#6b6b6b";
    case Kind::NotRecorded: return "#d8d8d8";
    }
    return "#000000";
}

bool DarkFill(Kind kind) { return kind != Kind::NotRecorded && kind != Kind::Warning; }

class Out {
public:
    explicit Out(ByteSink& sink) : sink_(sink) { buffer_.reserve(kFlushAt + 4096); }
    Out& operator<<(std::string_view text) {
        buffer_ += text;
        if (buffer_.size() >= kFlushAt) Flush();
        return *this;
    }
    Out& operator<<(long long number) { return *this << std::string_view(std::to_string(number)); }
    void Flush() {
        if (buffer_.empty()) return;
        sink_.Write(buffer_);
        buffer_.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 64 * 1024;
    ByteSink& sink_;
    std::string buffer_;
};

std::string Number(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// "2026-12-06 08:15:04"
std::string ShownTime(LocalSeconds when) {
    std::string text = IsoLocalText(when);
    text[10] = ' ';
    return text;
}

std::string DayCaption(std::int64_t day) {
    namespace chr = std::chrono;
    static constexpr std::array<const char*, 7> kDays = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                         "Thursday", "Friday", "Saturday"};
    const chr::sys_days date{chr::days{day}};
    return std::string(kDays[chr::weekday{date}.c_encoding()]) + " " + IsoLocalText(day * 86400).substr(0, 10);
}

constexpr std::string_view kStyle = R"(
body{font:14px/1.45 "Segoe UI",Arial,sans-serif;color:#1a1a1a;margin:24px auto;max-width:1000px;padding:0 16px}
h1{font-size:22px;margin:0 0 4px}h2{font-size:18px;margin:28px 0 6px;border-bottom:2px solid #444}
h3{font-size:15px;margin:18px 0 6px}.facts{color:#444;margin:0 0 12px}
table{border-collapse:collapse;margin:6px 0 12px}th,td{border:1px solid #bbb;padding:3px 8px;text-align:left;
vertical-align:top}th{background:#eee}td.n{text-align:right;font-variant-numeric:tabular-nums}
.legend{display:flex;flex-wrap:wrap;gap:4px 16px;margin:4px 0 10px;padding:0;list-style:none}
.legend svg{vertical-align:middle;margin-right:4px}
figure{margin:0 0 10px;break-inside:avoid}figcaption{font-weight:600;font-size:13px}
figure svg{display:block;width:100%;height:auto}.daywords{margin:0;font-size:12px;color:#333}
code{word-break:break-all}
@media print{body{margin:0;max-width:none;font-size:11px}section{break-before:page}
*{-webkit-print-color-adjust:exact;print-color-adjust:exact}tr{break-inside:avoid}}
)";

struct PrinterTotals {
    std::vector<LocalSeconds> seconds;   // by status
    std::vector<std::uint64_t> spells;   // by status
    LocalSeconds recorded = 0;
    std::uint64_t notReadySpells = 0;
    const Spell* longest = nullptr;      // the longest spell that was not Ready
};

struct Segment {
    std::uint32_t status;
    LocalSeconds from;  // seconds into the day
    LocalSeconds to;
};

class PageWriter {
public:
    PageWriter(const GlanceRecord& record, const GlancePageFacts& facts, ByteSink& sink)
        : record_(record), facts_(facts), out_(sink) {
        std::array<int, 6> seen{};
        for (std::uint32_t i = 0; i < record_.statuses.size(); ++i) {
            const Kind kind = KindOf(i, record_.statuses[i]);
            kinds_.push_back(kind);
            colours_.push_back(ColourOf(kind, seen[static_cast<int>(kind)]++));
            shown_.push_back(Text(record_.statuses[i]));
        }
    }

    void Write() {
        out_ << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
             << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'\">\n"
             << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" << kTitle
             << "</title>\n<style>" << kStyle << "</style></head>\n<body>\n<h1>" << kTitle << "</h1>\n";
        out_ << "<p class=\"facts\">The history file <code>" << EscapeHtml(facts_.historyPath) << "</code>: "
             << static_cast<long long>(record_.entries) << (record_.entries == 1 ? " entry" : " entries");
        if (record_.unreadableLines > 0) {
            out_ << ", " << static_cast<long long>(record_.unreadableLines)
                 << (record_.unreadableLines == 1 ? " line" : " lines") << " not of the program's form";
        }
        out_ << ". Read " << ShownTime(facts_.writtenAt) << ".</p>\n";
        if (record_.printers.empty()) out_ << "<p>The history holds no entries.</p>\n";
        for (std::uint32_t p = 0; p < record_.printers.size(); ++p) WritePrinter(p);
        WriteUnreadable();
        out_ << "</body></html>\n";
        out_.Flush();
    }

private:
    std::string Text(std::string_view ansi) const {
        return EscapeHtml(facts_.toUtf8 ? facts_.toUtf8(ansi) : std::string(ansi));
    }
    std::string PrinterName(std::uint32_t p) const {
        const auto& name = record_.printers[p].name;
        return name.empty() ? std::string("(no printer named)") : Text(name);
    }

    PrinterTotals TotalsOf(std::uint32_t p) const {
        PrinterTotals totals;
        totals.seconds.assign(record_.statuses.size(), 0);
        totals.spells.assign(record_.statuses.size(), 0);
        for (const Spell& spell : record_.spells) {
            if (spell.printer != p) continue;
            const LocalSeconds length = spell.end - spell.start;
            totals.seconds[spell.status] += length;
            ++totals.spells[spell.status];
            if (spell.status == kNotRecorded) continue;
            totals.recorded += length;
            if (kinds_[spell.status] != Kind::Ready) {
                ++totals.notReadySpells;
                if (!totals.longest || length > totals.longest->end - totals.longest->start) totals.longest = &spell;
            }
        }
        return totals;
    }

    void WritePrinter(std::uint32_t p) {
        const GlancePrinter& printer = record_.printers[p];
        const PrinterTotals totals = TotalsOf(p);
        out_ << "<section class=\"printer\">\n<h2>" << PrinterName(p) << "</h2>\n<p>First entry "
             << ShownTime(printer.firstEntry) << ", last entry " << ShownTime(printer.lastEntry) << "; "
             << static_cast<long long>(printer.entries) << (printer.entries == 1 ? " entry" : " entries")
             << ". Spells not Ready: " << static_cast<long long>(totals.notReadySpells) << ".";
        if (totals.longest) {
            out_ << " The longest: " << shown_[totals.longest->status] << " for "
                 << SpellDurationText(totals.longest->end - totals.longest->start) << ", from "
                 << ShownTime(totals.longest->start) << " to " << ShownTime(totals.longest->end) << ".";
        }
        out_ << "</p>\n";
        WriteSummary(totals);
        WriteDays(p);
        WriteSpells(p);
        out_ << "</section>\n";
    }

    void WriteSummary(const PrinterTotals& totals) {
        std::vector<std::uint32_t> order;
        for (std::uint32_t s = 1; s < record_.statuses.size(); ++s) {
            if (totals.spells[s] > 0) order.push_back(s);
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](auto a, auto b) { return totals.seconds[a] > totals.seconds[b]; });
        if (totals.spells[kNotRecorded] > 0) order.push_back(kNotRecorded);
        out_ << "<table class=\"summary\"><thead><tr><th>Status</th><th>Time</th><th>Share of the recorded time</th>"
             << "<th>Spells</th></tr></thead><tbody>\n";
        for (const std::uint32_t s : order) {
            out_ << "<tr><td>" << shown_[s] << "</td><td class=\"n\">" << SpellDurationText(totals.seconds[s])
                 << "</td><td class=\"n\">";
            if (s == kNotRecorded) {
                out_ << "(not counted)";
            } else if (totals.recorded > 0) {
                out_ << Number(100.0 * static_cast<double>(totals.seconds[s]) / static_cast<double>(totals.recorded), 1)
                     << " %";
            } else {
                out_ << "-";
            }
            out_ << "</td><td class=\"n\">" << static_cast<long long>(totals.spells[s]) << "</td></tr>\n";
        }
        out_ << "</tbody></table>\n";
    }

    void WriteDays(std::uint32_t p) {
        // The newest days that the printer's spells touch, at most 31 of them.
        std::set<std::int64_t> days;
        for (const Spell& spell : record_.spells) {
            if (spell.printer != p || spell.status == kNotRecorded) continue;
            for (std::int64_t d = std::max(DayOf(spell.start), days.empty() ? INT64_MIN : *days.begin());
                 d <= DayOf(spell.end); ++d) {
                days.insert(d);
                if (days.size() > kDaysPictured) days.erase(days.begin());
            }
        }
        if (days.empty()) return;
        std::map<std::int64_t, std::vector<Segment>> bars;
        std::set<std::uint32_t> pictured;
        for (const Spell& spell : record_.spells) {
            if (spell.printer != p || spell.end <= spell.start) continue;
            for (std::int64_t d = std::max(DayOf(spell.start), *days.begin()); d <= DayOf(spell.end - 1); ++d) {
                if (!days.contains(d)) continue;
                const LocalSeconds dayStart = d * 86400;
                const Segment segment{spell.status, std::max(spell.start, dayStart) - dayStart,
                                      std::min(spell.end, dayStart + 86400) - dayStart};
                auto& bar = bars[d];
                if (!bar.empty() && bar.back().status == segment.status && bar.back().to == segment.from) {
                    bar.back().to = segment.to;
                } else {
                    bar.push_back(segment);
                }
                pictured.insert(spell.status);
            }
        }
        out_ << "<h3>Each day (the last " << static_cast<long long>(days.size())
             << (days.size() == 1 ? " day" : " days") << " with entries, newest first)</h3>\n<ul class=\"legend\">";
        for (const std::uint32_t s : pictured) {
            out_ << "<li><svg width=\"14\" height=\"14\" aria-hidden=\"true\"><rect width=\"14\" height=\"14\" fill=\""
                 << colours_[s] << "\" stroke=\"#555\"/></svg>" << shown_[s]
                 << (s == kNotRecorded ? " (the lower lane)" : "") << "</li>";
        }
        out_ << "</ul>\n";
        for (auto day = days.rbegin(); day != days.rend(); ++day) WriteDay(*day, bars[*day]);
    }

    void WriteDay(std::int64_t day, const std::vector<Segment>& bar) {
        // One unit a minute: 1440 across; recorded statuses in the upper lane, gaps in the record in the lower.
        out_ << "<figure><figcaption>" << DayCaption(day) << "</figcaption>\n"
             << "<svg viewBox=\"0 0 1440 80\" role=\"img\" aria-label=\"" << DayCaption(day)
             << "\" font-family=\"Arial,sans-serif\" font-size=\"15\">"
             << "<rect x=\"0\" y=\"0\" width=\"1440\" height=\"40\" fill=\"#fff\" stroke=\"#999\"/>";
        std::map<std::uint32_t, LocalSeconds> dayTotals;
        for (const Segment& segment : bar) {
            const bool gap = segment.status == kNotRecorded;
            const double x = static_cast<double>(segment.from) / 60.0;
            const double width = static_cast<double>(segment.to - segment.from) / 60.0;
            const int y = gap ? 44 : 0;
            const int height = gap ? 16 : 40;
            dayTotals[segment.status] += segment.to - segment.from;
            out_ << "<rect x=\"" << Number(x, 2) << "\" y=\"" << static_cast<long long>(y) << "\" width=\""
                 << Number(std::max(width, 0.5), 2) << "\" height=\"" << static_cast<long long>(height) << "\" fill=\""
                 << colours_[segment.status] << "\"" << (gap ? " stroke=\"#888\" stroke-dasharray=\"4 2\"" : "")
                 << "><title>" << shown_[segment.status] << " " << ClockText(segment.from) << "-"
                 << ClockText(segment.to) << "</title></rect>";
            // The words name the band wherever they fit in it.
            const std::string& words = record_.statuses[segment.status];
            if (width >= static_cast<double>(words.size()) * 8.0 + 8.0) {
                out_ << "<text x=\"" << Number(x + width / 2, 2) << "\" y=\"" << static_cast<long long>(gap ? 57 : 25)
                     << "\" text-anchor=\"middle\" fill=\""
                     << (DarkFill(kinds_[segment.status]) ? "#fff" : "#000") << "\""
                     << (gap ? " font-size=\"12\"" : "") << ">" << shown_[segment.status] << "</text>";
            }
        }
        for (int hour = 0; hour <= 24; hour += 3) {
            const int x = hour * 60;
            out_ << "<line x1=\"" << static_cast<long long>(x) << "\" y1=\"40\" x2=\"" << static_cast<long long>(x)
                 << "\" y2=\"66\" stroke=\"#999\"/><text x=\"" << static_cast<long long>(x) << "\" y=\"78\" font-size=\"12\""
                 << " text-anchor=\"" << (hour == 0 ? "start" : hour == 24 ? "end" : "middle") << "\">"
                 << (hour < 10 ? "0" : "") << static_cast<long long>(hour) << ":00</text>";
        }
        out_ << "</svg>\n<p class=\"daywords\">";
        bool first = true;
        for (const auto& [status, seconds] : dayTotals) {
            out_ << (first ? "" : "; ") << shown_[status] << " " << SpellDurationText(seconds);
            first = false;
        }
        out_ << "</p></figure>\n";
    }

    static std::string ClockText(LocalSeconds inDay) {
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(inDay / 3600),
                      static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
        return text;
    }

    void WriteSpells(std::uint32_t p) {
        const std::string printer = PrinterName(p);
        out_ << "<h3>Spells</h3>\n<table class=\"spells\"><thead><tr><th>Status</th><th>From</th><th>To</th>"
             << "<th>Duration</th></tr></thead><tbody>\n";
        for (const Spell& spell : record_.spells) {
            if (spell.printer != p) continue;
            const std::string start = IsoLocalText(spell.start);
            const std::string end = IsoLocalText(spell.end);
            out_ << "<tr data-printer=\"" << printer << "\" data-status=\"" << shown_[spell.status]
                 << "\" data-start=\"" << start << "\" data-end=\"" << end << "\"><td>" << shown_[spell.status]
                 << "</td><td>" << ShownTime(spell.start) << "</td><td>" << ShownTime(spell.end)
                 << "</td><td class=\"n\">" << SpellDurationText(spell.end - spell.start) << "</td></tr>\n";
        }
        out_ << "</tbody></table>\n";
    }

    void WriteUnreadable() {
        if (record_.unreadableLines == 0) return;
        out_ << "<section class=\"unreadable\">\n<h2>Lines not of the program's form</h2>\n<p>"
             << static_cast<long long>(record_.unreadableLines)
             << (record_.unreadableLines == 1 ? " line is" : " lines are")
             << " not read (torn, written by hand, or dated in another form), never guessed at: line";
        out_ << (record_.unreadableLines == 1 ? " " : "s ");
        for (std::size_t i = 0; i < record_.unreadableLineNumbers.size(); ++i) {
            out_ << (i == 0 ? "" : ", ") << static_cast<long long>(record_.unreadableLineNumbers[i]);
        }
        const auto more = record_.unreadableLines - record_.unreadableLineNumbers.size();
        if (more > 0) out_ << " and " << static_cast<long long>(more) << " more";
        out_ << ".</p>\n</section>\n";
    }

    const GlanceRecord& record_;
    const GlancePageFacts& facts_;
    Out out_;
    std::vector<Kind> kinds_;
    std::vector<std::string> colours_;
    std::vector<std::string> shown_;
};

} // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                escaped += "\xEF\xBF\xBD";
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

std::string SpellDurationText(LocalSeconds seconds) {
    const auto part = [](LocalSeconds value, const char* unit) { return std::to_string(value) + " " + unit; };
    if (seconds < 60) return part(seconds, "s");
    if (seconds < 3600) {
        return part(seconds / 60, "min") + (seconds % 60 ? " " + part(seconds % 60, "s") : "");
    }
    if (seconds < 86400) {
        return part(seconds / 3600, "h") + (seconds / 60 % 60 ? " " + part(seconds / 60 % 60, "min") : "");
    }
    return part(seconds / 86400, "d") + (seconds / 3600 % 24 ? " " + part(seconds / 3600 % 24, "h") : "");
}

void WriteGlancePage(const GlanceRecord& record, const GlancePageFacts& facts, ByteSink& sink) {
    PageWriter(record, facts, sink).Write();
}

} // namespace ambervale
