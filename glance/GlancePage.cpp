#include "glance/GlancePage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <set>
#include <tuple>

#include "glance/PageParts.h"

namespace ambervale {
namespace {

using page::ShownNames;

constexpr std::string_view kTitle = "Ambervale history at a glance";
// What the page's own parts take at most beyond the printers' sections: the head, the facts (a path is at most
// 32,767 characters), the other printers named and the lines named by number.
constexpr std::uint64_t kPageOwnParts = 768u << 10;
constexpr std::size_t kStatusesListed = 40;   // the summary's rows and a legend's entries
constexpr std::size_t kOtherPrintersNamed = 50;
constexpr std::size_t kPrinterNameShown = 120;   // bytes of a name in the list of the other printers
constexpr std::size_t kPrinterHeading = 1024;    // bytes of a name as a section's heading (the spooler's are shorter)

constexpr std::string_view kStyle = R"(
body{font:14px/1.45 "Segoe UI",Arial,sans-serif;color:#1a1a1a;margin:24px auto;max-width:1000px;padding:0 16px}
h1{font-size:22px;margin:0 0 4px}h2{font-size:18px;margin:28px 0 6px;border-bottom:2px solid #444}
h3{font-size:15px;margin:18px 0 6px}.facts{color:#444;margin:0 0 12px}.warning{background:#fff3cd;padding:6px 10px}
table{border-collapse:collapse;margin:6px 0 12px}th,td{border:1px solid #bbb;padding:3px 8px;text-align:left;
vertical-align:top}th{background:#eee}td.n{text-align:right;font-variant-numeric:tabular-nums}
.legend{display:flex;flex-wrap:wrap;gap:4px 16px;margin:4px 0 10px;padding:0;list-style:none}
.legend svg{vertical-align:middle;margin-right:4px}
figure{margin:0 0 10px;break-inside:avoid}figcaption{font-weight:600;font-size:13px}
figure svg{display:block;height:auto}.daywords{margin:0;font-size:12px;color:#333}
code{word-break:break-all}
@media print{body{margin:0;max-width:none;font-size:11px}section{break-before:page}
*{-webkit-print-color-adjust:exact;print-color-adjust:exact}tr{break-inside:avoid}}
)";

// The widths at which a day's bands are drawn, finest first: a day too busy for its share of the page is drawn
// coarser.
constexpr std::array<std::int64_t, 9> kBandWidths = {60, 120, 300, 600, 1800, 3600, 3 * 3600, 6 * 3600, 2 * 86400};

std::string Plural(std::uint64_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// A file name as a relative URL: every byte outside the unreserved characters percent-encoded.
std::string UrlOfName(std::string_view name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) && byte < 0x80) {
            url += c;
        } else if (c == '-' || c == '.' || c == '_' || c == '~') {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}

class PageWriter {
public:
    PageWriter(const GlanceRecord& record, const GlancePageFacts& facts, ByteSink& sink)
        : record_(record), facts_(facts), dates_(facts.dates ? *facts.dates : isoDates_), out_(sink, facts.progress),
          names_(record.names, facts) {}

    void Write() {
        out_ << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
             << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'\">\n"
             << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" << kTitle
             << "</title>\n<style>" << kStyle << "</style></head>\n<body>\n" << page::kChangingPattern << "<h1>"
             << kTitle << "</h1>\n";
        WriteFacts();
        const std::vector<std::uint32_t> pictured = Pictured();
        const std::uint64_t share = pictured.empty() ? 0 : (kLargestPage - kPageOwnParts) / pictured.size();
        for (const std::uint32_t p : pictured) WritePrinter(p, out_.Size() + share);
        WriteOtherPrinters(pictured);
        WriteLineNumbers("unreadable", "Lines not of the program's form", record_.unreadableLines,
                         record_.unreadableLineNumbers,
                         " not read (torn, written by hand, or dated in another form), never guessed at");
        out_ << "</body></html>\n";
        out_.Flush();
    }

private:
    std::string ShownTime(const Moment& when) { return dates_.Date(when.local) + " " + dates_.Time(when.local); }

    void WriteFacts() {
        out_ << "<p class=\"facts\">The history file <code>" << EscapeHtml(facts_.historyPath) << "</code>: "
             << Plural(record_.entries, "entry", "entries");
        if (record_.unreadableLines > 0) {
            out_ << ", " << Plural(record_.unreadableLines, "line", "lines") << " not of the program's form";
        }
        out_ << ". Read " << dates_.Date(facts_.writtenAt) << " " << dates_.Time(facts_.writtenAt) << ".";
        if (!facts_.csvName.empty()) {
            out_ << " Every spell, for scripts and spreadsheets: <a href=\"" << UrlOfName(facts_.csvName) << "\">"
                 << EscapeHtml(facts_.csvName) << "</a>.";
        }
        out_ << "</p>\n";
        WriteLineNumbers("warning", "", record_.unconvertedLines, record_.unconvertedLineNumbers,
                         " dated in a calendar that this PC cannot turn into the Gregorian one: left out, never "
                         "guessed at");
        if (record_.printers.empty()) out_ << "<p>The history holds no entries.</p>\n";
    }

    // The printers given a section: the ones used last, in the order the record names them.
    std::vector<std::uint32_t> Pictured() const {
        std::vector<std::uint32_t> printers;
        for (std::uint32_t p = 0; p < record_.printers.size(); ++p) {
            if (record_.printers[p].entries > 0) printers.push_back(p);
        }
        if (printers.size() > kPrintersPictured) {
            std::stable_sort(printers.begin(), printers.end(), [&](auto a, auto b) {
                return record_.printers[a].last.utc > record_.printers[b].last.utc;
            });
            printers.resize(kPrintersPictured);
            std::sort(printers.begin(), printers.end());
        }
        return printers;
    }

    void WritePrinter(std::uint32_t p, std::uint64_t end) {
        const PrinterRecord& printer = record_.printers[p];
        const std::uint64_t start = out_.Size();
        const std::uint64_t share = end - start;
        out_ << "<section class=\"printer\">\n<h2>" << names_.Printer(p, kPrinterHeading) << "</h2>\n<p>First entry "
             << ShownTime(printer.first) << ", last entry " << ShownTime(printer.last) << "; "
             << Plural(printer.entries, "entry", "entries") << ". Spells not Ready: "
             << static_cast<long long>(printer.notReadySpells) << ".";
        const std::vector<Spell> longest = printer.LongestSpells();
        if (!longest.empty()) {
            out_ << " The longest: " << names_.StatusTip(longest.front().status) << " for "
                 << SpellDurationText(longest.front().Seconds()) << ", from " << ShownTime(longest.front().start)
                 << " to " << ShownTime(longest.front().end) << ".";
        }
        out_ << "</p>\n";
        WriteSummary(printer, start + share / 10);
        WriteDays(printer, start + share * 65 / 100);
        WriteSpells(p, printer, longest, end - 64);
        out_ << "</section>\n";
    }

    void WriteSummary(const PrinterRecord& printer, std::uint64_t end) {
        std::vector<std::uint32_t> order;
        for (const auto& [status, time] : printer.byStatus) {
            if (status != kNotRecorded) order.push_back(status);
        }
        std::sort(order.begin(), order.end(), [&](auto a, auto b) {
            return std::make_tuple(-printer.byStatus.at(a).seconds, a) < std::make_tuple(-printer.byStatus.at(b).seconds, b);
        });
        if (printer.byStatus.contains(kNotRecorded)) order.push_back(kNotRecorded);
        out_ << "<table class=\"summary\"><thead><tr><th>Status</th><th>Time</th><th>Share of the recorded time</th>"
             << "<th>Spells</th></tr></thead><tbody>\n";
        std::size_t shown = 0;
        for (const std::uint32_t s : order) {
            const StatusTime& time = printer.byStatus.at(s);
            std::string row = "<tr><td>" + names_.Status(s) + "</td><td class=\"n\">" +
                              SpellDurationText(time.seconds) + "</td><td class=\"n\">";
            if (s == kNotRecorded) {
                row += "(not counted)";
            } else if (printer.recordedSeconds > 0) {
                row += page::Number(100.0 * static_cast<double>(time.seconds) /
                                        static_cast<double>(printer.recordedSeconds), 1) + " %";
            } else {
                row += "-";
            }
            row += "</td><td class=\"n\">" + std::to_string(time.spells) + "</td></tr>\n";
            if (shown >= kStatusesListed || out_.Size() + row.size() > end) break;
            out_ << row;
            ++shown;
        }
        if (shown < order.size()) {
            out_ << "<tr><td colspan=\"4\">" << Plural(order.size() - shown, "more status", "more statuses")
                 << ", in the CSV file</td></tr>\n";
        }
        out_ << "</tbody></table>\n";
    }

    void WriteDays(const PrinterRecord& printer, std::uint64_t end) {
        if (printer.days.empty()) return;
        // The legend's share of the room is set aside; each day then has an even share of what is left to it.
        constexpr std::uint64_t kLegend = 32u << 10;
        std::uint64_t used = out_.Size() + kLegend;
        std::vector<std::string> figures;
        std::size_t left = printer.days.size();
        for (auto day = printer.days.rbegin(); day != printer.days.rend(); ++day, --left) {
            figures.push_back(DayFigure(day->second, used < end ? (end - used) / left : 0));
            used += figures.back().size();
        }
        std::set<std::uint32_t> pictured;
        for (const auto& [day, bar] : printer.days) {
            for (const auto& [status, seconds] : bar.Totals()) pictured.insert(status);
        }
        out_ << "<h3>Each day (the last " << Plural(printer.days.size(), "day", "days")
             << " with entries, newest first, in real time)</h3>\n<ul class=\"legend\">";
        std::size_t listed = 0;
        for (const std::uint32_t s : pictured) {
            if (listed++ == kStatusesListed) {
                out_ << "<li>" << Plural(pictured.size() - kStatusesListed, "more status", "more statuses") << "</li>";
                break;
            }
            out_ << "<li><svg width=\"14\" height=\"14\" aria-hidden=\"true\"><rect width=\"14\" height=\"14\" fill=\""
                 << names_.Colour(s) << "\" stroke=\"#555\"/></svg>" << names_.StatusTip(s)
                 << (s == kNotRecorded ? " (the lower lane)" : "") << "</li>";
        }
        if (std::any_of(figures.begin(), figures.end(),
                        [](const std::string& f) { return f.find("url(#changing)") != std::string::npos; })) {
            out_ << "<li><svg width=\"14\" height=\"14\" aria-hidden=\"true\"><rect width=\"14\" height=\"14\" "
                 << "fill=\"#777\"/><rect width=\"14\" height=\"14\" fill=\"url(#changing)\"/></svg>changing: a run of "
                 << "spells too short to draw one by one, in the colour of its worst status</li>";
        }
        out_ << "</ul>\n";
        for (const std::string& figure : figures) out_ << figure;
    }

    // A day's bar with its caption and its time in each status, drawn as fine as its room allows.
    std::string DayFigure(const DayBar& day, std::uint64_t room) {
        const std::string caption = EscapeHtml(dates_.DayCaption(day.Day()));
        std::string words = "<p class=\"daywords\">";
        std::vector<std::pair<std::uint32_t, std::int64_t>> totals(day.Totals().begin(), day.Totals().end());
        std::sort(totals.begin(), totals.end());
        for (std::size_t i = 0; i < totals.size(); ++i) {
            if (i == kStatusesListed / 4) {
                words += "; " + Plural(totals.size() - i, "more status", "more statuses");
                break;
            }
            words += (i == 0 ? "" : "; ") + names_.StatusTip(totals[i].first) + " " + SpellDurationText(totals[i].second);
        }
        words += "</p></figure>\n";
        const std::string head = "<figure><figcaption>" + caption + "</figcaption>\n";
        std::string svg;
        for (const std::int64_t narrowest : kBandWidths) {
            svg = page::DaySvg(day, names_, narrowest, caption);
            if (head.size() + svg.size() + words.size() <= room) break;
        }
        return head + svg + "\n" + words;
    }

    void WriteSpells(std::uint32_t p, const PrinterRecord& printer, const std::vector<Spell>& longest,
                     std::uint64_t end) {
        const std::vector<Spell> recent = printer.RecentSpells();
        const std::string name = names_.Printer(p);
        std::uint64_t shown = 0;
        if (printer.spells <= recent.size()) {
            shown += WriteTable("Spells", "spells", name, recent.begin(), recent.end(), end);
        } else {
            // Too many to show: the worst, then the latest. A spell may be in both.
            std::set<std::tuple<UtcSeconds, UtcSeconds, std::uint32_t>> seen;
            const auto last = recent.end() - static_cast<std::ptrdiff_t>(std::min(recent.size(), kSpellsPerTable));
            const auto longestEnd = longest.begin() + static_cast<std::ptrdiff_t>(std::min(longest.size(), kSpellsPerTable));
            const std::uint64_t half = out_.Size() + (end > out_.Size() ? (end - out_.Size()) / 2 : 0);
            const std::uint64_t first = WriteTable("The longest spells not Ready", "spells longest", name,
                                                   longest.begin(), longestEnd, half);
            for (auto s = longest.begin(); s != longest.begin() + static_cast<std::ptrdiff_t>(first); ++s) {
                seen.insert({s->start.utc, s->end.utc, s->status});
            }
            const std::uint64_t second = WriteTable("The most recent spells", "spells recent", name, last,
                                                    recent.end(), end);
            shown = first;
            for (auto s = last; s != last + static_cast<std::ptrdiff_t>(second); ++s) {
                shown += seen.contains({s->start.utc, s->end.utc, s->status}) ? 0 : 1;
            }
        }
        if (shown < printer.spells) {
            out_ << "<p class=\"more\">" << Plural(printer.spells - shown, "more spell", "more spells")
                 << (facts_.csvName.empty() ? std::string() : " in " + EscapeHtml(facts_.csvName)) << ".</p>\n";
        }
    }

    template <class Spells>
    std::uint64_t WriteTable(std::string_view heading, std::string_view kind, const std::string& printer, Spells from,
                             Spells to, std::uint64_t end) {
        out_ << "<h3>" << heading << "</h3>\n<table class=\"" << kind << "\"><thead><tr><th>Status</th><th>From</th>"
             << "<th>To</th><th>Duration</th></tr></thead><tbody>\n";
        std::uint64_t written = 0;
        for (auto spell = from; spell != to; ++spell) {
            const std::string& status = names_.Status(spell->status);
            const std::string row = "<tr data-printer=\"" + printer + "\" data-status=\"" + status +
                                    "\" data-start=\"" + IsoLocalText(spell->start.local) + "\" data-end=\"" +
                                    IsoLocalText(spell->end.local) + "\"><td>" + status + "</td><td>" +
                                    ShownTime(spell->start) + "</td><td>" + ShownTime(spell->end) +
                                    "</td><td class=\"n\">" + SpellDurationText(spell->Seconds()) + "</td></tr>\n";
            if (out_.Size() + row.size() > end) break;
            out_ << row;
            ++written;
        }
        out_ << "</tbody></table>\n";
        return written;
    }

    void WriteOtherPrinters(const std::vector<std::uint32_t>& pictured) {
        std::vector<std::uint32_t> others;
        for (std::uint32_t p = 0; p < record_.printers.size(); ++p) {
            if (record_.printers[p].entries > 0 && !std::binary_search(pictured.begin(), pictured.end(), p)) {
                others.push_back(p);
            }
        }
        if (others.empty()) return;
        out_ << "<section class=\"others\">\n<h2>" << Plural(others.size(), "other printer", "other printers")
             << "</h2>\n<p>Used before the printers above; their spells are in the CSV file:";
        for (std::size_t i = 0; i < others.size() && i < kOtherPrintersNamed; ++i) {
            out_ << (i == 0 ? " " : "; ") << names_.Printer(others[i], kPrinterNameShown)
                 << " (" << Plural(record_.printers[others[i]].entries, "entry", "entries") << ")";
        }
        if (others.size() > kOtherPrintersNamed) out_ << "; and " << Plural(others.size() - kOtherPrintersNamed, "more", "more");
        out_ << ".</p>\n</section>\n";
    }

    void WriteLineNumbers(std::string_view kind, std::string_view heading, std::uint64_t count,
                          const std::vector<std::uint64_t>& numbers, std::string_view what) {
        if (count == 0) return;
        out_ << "<section class=\"" << kind << "\">\n";
        if (!heading.empty()) out_ << "<h2>" << heading << "</h2>\n";
        out_ << "<p>" << Plural(count, "line is", "lines are") << what << ": line" << (count == 1 ? " " : "s ");
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            out_ << (i == 0 ? "" : ", ") << static_cast<long long>(numbers[i]);
        }
        if (count > numbers.size()) out_ << " and " << static_cast<long long>(count - numbers.size()) << " more";
        out_ << ".</p>\n</section>\n";
    }

    const GlanceRecord& record_;
    const GlancePageFacts& facts_;
    ShownDates isoDates_;
    ShownDates& dates_;
    GlanceOut out_;
    ShownNames names_;
};

} // namespace

std::string ShownDates::Date(LocalSeconds when) { return IsoLocalText(when).substr(0, 10); }

std::string ShownDates::Time(LocalSeconds when) { return IsoLocalText(when).substr(11); }

std::string ShownDates::DayCaption(std::int64_t day) {
    namespace chr = std::chrono;
    static constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                         "Thursday", "Friday", "Saturday"};
    const chr::sys_days date{chr::days{day}};
    return std::string(kDays[chr::weekday{date}.c_encoding()]) + " " + Date(day * 86400);
}

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

std::string SpellDurationText(std::int64_t seconds) {
    const auto part = [](std::int64_t value, const char* unit) { return std::to_string(value) + " " + unit; };
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
