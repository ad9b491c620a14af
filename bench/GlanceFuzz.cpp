// Feeds the history at a glance mutated records: lines of the program's form by several locales' pictures and
// calendars, in a time zone with daylight saving, their times going on, jumping, repeating and going back, their
// bytes flipped, cut, inserted, repeated and spliced, and the report's own markers and status words moved about.
// Every record goes the whole way: read, turned into spells, written as the page and the CSV file. Built natively;
// under AddressSanitizer and UBSan (the tests' build) any over-read or undefined step ends the run with a report.
// Each line is also read twice, with the reader's remembered pieces and without, and any difference is a finding;
// so is a page larger than its bound, or a CSV file that lacks a spell.
//   ambervale_fuzz_glance [lines, default 1000000] [seed, default 1]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "FuzzMutation.h"
#include "glance/Glance.h"
#include "glance/GlanceCsv.h"
#include "glance/GlancePage.h"

namespace {

using namespace ambervale;

class EuropeZone final : public TimeZoneRules {
public:
    ZoneYear ForYear(int year) override {
        if (year % 7 == 0) return {};  // a year without daylight saving
        return {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0, 0}, {0, 3, 0, 5, 2, 0, 0, 0}};
    }
};

// Converts what a calendar of twelve months of 28 days would hold.
class TwelveMonths final : public CalendarConverter {
public:
    std::optional<GregorianDate> ToGregorian(const CalendarDate& date) override {
        if (date.month > 12 || date.day > 28 || date.year < 1 || date.year > 3000) return std::nullopt;
        return GregorianDate{date.year + 580, date.month, date.day};
    }
};

struct Locale {
    DatePictures pictures;
    CalendarConverter* calendar;
    // Writes a local time as the pictures would.
    std::string (*write)(LocalSeconds when);
};

std::string Part(std::int64_t value, int width) {
    std::string text = std::to_string(value);
    return text.size() < static_cast<std::size_t>(width) ? std::string(width - text.size(), '0') + text : text;
}

struct Fields {
    int year, month, day, hour, minute, second;
};
Fields FieldsOf(LocalSeconds when) {
    const std::string iso = IsoLocalText(when);
    return {std::atoi(iso.substr(0, 4).c_str()), std::atoi(iso.substr(5, 2).c_str()), std::atoi(iso.substr(8, 2).c_str()),
            std::atoi(iso.substr(11, 2).c_str()), std::atoi(iso.substr(14, 2).c_str()),
            std::atoi(iso.substr(17, 2).c_str())};
}

std::string WriteUs(LocalSeconds when) {
    const Fields f = FieldsOf(when);
    std::string text = std::to_string(f.month) + "/" + std::to_string(f.day) + "/" + Part(f.year, 4);
    if (f.hour == 0 && f.minute == 0 && f.second == 0) return text;
    return text + " " + std::to_string(f.hour % 12 == 0 ? 12 : f.hour % 12) + ":" + Part(f.minute, 2) + ":" +
           Part(f.second, 2) + (f.hour < 12 ? " AM" : " PM");
}

std::string WriteGerman(LocalSeconds when) {
    const Fields f = FieldsOf(when);
    return Part(f.day, 2) + "." + Part(f.month, 2) + "." + Part(f.year, 4) + " " + Part(f.hour, 2) + ":" +
           Part(f.minute, 2) + ":" + Part(f.second, 2);
}

std::string WriteThai(LocalSeconds when) {
    const Fields f = FieldsOf(when);
    return std::to_string(f.day) + "/" + std::to_string(f.month) + "/" + std::to_string(f.year + 543) + " " +
           std::to_string(f.hour) + ":" + Part(f.minute, 2) + ":" + Part(f.second, 2);
}

std::string WriteEra(LocalSeconds when) {
    const Fields f = FieldsOf(when);
    return "Reiwa " + std::to_string(f.year - 2018) + "/" + std::to_string(f.month) + "/" +
           std::to_string(std::min(f.day, 28)) + " " + Part(f.hour, 2) + ":" + Part(f.minute, 2) + ":" +
           Part(f.second, 2);
}

std::vector<Locale> Locales(TwelveMonths& calendar) {
    DatePictures german = UnitedStatesPictures();
    german.shortDate = "dd.MM.yyyy";
    german.longTime = "HH:mm:ss";
    DatePictures thai = UnitedStatesPictures();
    thai.shortDate = "d/M/yyyy";
    thai.longTime = "H:mm:ss";
    thai.calendar = calendar::kThai;
    thai.twoDigitYearMax = 2592;
    DatePictures era = UnitedStatesPictures();
    era.shortDate = "gg y/M/d";
    era.longTime = "HH:mm:ss";
    era.calendar = calendar::kJapan;
    era.twoDigitYearMax = 99;
    era.eraNames = {"Heisei", "Reiwa"};
    return {{UnitedStatesPictures(), nullptr, WriteUs},
            {german, nullptr, WriteGerman},
            {thai, nullptr, WriteThai},
            {era, &calendar, WriteEra}};
}

const std::vector<std::string> kStatuses = {"", "Off Line  ", "Paper Jam  Off Line  ", "Toner Low  ", "Paused  ",
                                            "XOff Line  ", "Unknown Status of 0x4000000  ", "Printing  "};
const std::vector<std::string> kPrinters = {"Front Desk", "=HYPERLINK(\"x\")", "<b>&amp;</b>", "a; Printer Name = b",
                                            "", "Büro \x93laser\x94", "-2+3", "P; Printer Port Name = q"};

fuzz::Bytes BytesOf(const std::string& text) {
    fuzz::Bytes bytes(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<std::byte>(text[i]);
    return bytes;
}

std::string TextOf(const fuzz::Bytes& bytes) {
    std::string text(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<char>(bytes[i]);
    return text;
}

std::byte OwnOctet(std::mt19937& random) {
    static constexpr char kOwn[] = "0123456789:/. ;=\r\n\t\"'<>&APM";
    return static_cast<std::byte>(kOwn[random() % (sizeof kOwn - 1)]);
}

class CountingSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { size += bytes.size(); }
    std::uint64_t size = 0;
};

class SpellCounter final : public SpellSink {
public:
    explicit SpellCounter(SpellSink& csv) : csv_(csv) {}
    void SpellEnded(const Spell& spell) override {
        ++spells;
        csv_.SpellEnded(spell);
    }
    std::uint64_t spells = 0;

private:
    SpellSink& csv_;
};

class TextSource final : public ByteSource {
public:
    explicit TextSource(const std::string& text) : text_(text) {}
    std::uint64_t Size() override { return text_.size(); }
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size() - at_);
        text_.copy(buffer, n, at_);
        at_ += n;
        return n;
    }

private:
    const std::string& text_;
    std::size_t at_ = 0;
};

[[noreturn]] void Finding(const std::string& what, const std::string& line) {
    std::fprintf(stderr, "FINDING: %s\n  line: ", what.c_str());
    for (const char c : line) std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02x", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
    std::abort();
}

// The line read with the remembered pieces and without: the two must agree.
void ReadBothWays(HistoryLineReader& remembering, GlanceNames& names, HistoryLineReader& fresh, GlanceNames& freshNames,
                  const std::string& line) {
    HistoryLine a;
    HistoryLine b;
    const LineReading first = remembering.Read(line, a);
    const LineReading second = fresh.Read(line, b);
    if (first != second) Finding("the remembered pieces read the line otherwise", line);
    if (first != LineReading::Read) return;
    if (a.when != b.when || a.reported != b.reported ||
        (a.reported && (names.Printers()[a.printer] != freshNames.Printers()[b.printer] ||
                        names.Statuses()[a.status] != freshNames.Statuses()[b.status]))) {
        Finding("the remembered pieces read the line otherwise", line);
    }
}

} // namespace

int main(int argc, char** argv) {
    const long long wanted = argc > 1 ? std::atoll(argv[1]) : 1000000;
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u);
    TwelveMonths calendar;
    const std::vector<Locale> locales = Locales(calendar);
    EuropeZone zone;
    long long lines = 0;
    long long records = 0;
    while (lines < wanted) {
        const Locale& locale = locales[random() % locales.size()];
        // The record: entries going on by a spacing that changes now and then, across the nights the clock changes.
        std::string text;
        std::vector<std::string> recordLines;
        LocalSeconds when = ToLocalSeconds(2000 + static_cast<int>(random() % 40), random() % 2 ? 3 : 10, 24, 23, 0, 0);
        const int count = 20 + static_cast<int>(random() % 60);
        int spacing = std::vector<int>{1, 5, 60, 3600, 86400}[random() % 5];
        for (int i = 0; i < count; ++i) {
            switch (random() % 16) {
            case 0: spacing = std::vector<int>{1, 2, 5, 61, 3600, 86400}[random() % 6]; break;
            case 1: when -= 3600; break;  // back
            case 2: when += static_cast<LocalSeconds>(random() % 1000000); break;  // an outage
            default: break;
            }
            when += spacing;
            std::string line = locale.write(when);
            if (random() % 9 != 0) {
                line += " Printer Status = " + kStatuses[random() % kStatuses.size()] + "; Printer Name = " +
                        kPrinters[random() % kPrinters.size()] + "; Printer Driver Name = d; Printer Port Name = p; ";
            } else {
                line += " ";  // the spooler did not answer
            }
            if (random() % 3 == 0) line = TextOf(fuzz::Mutate(BytesOf(line), random, OwnOctet));
            recordLines.push_back(line);
            text += line + (random() % 50 == 0 ? "\n" : "\r\n");
        }
        if (random() % 4 == 0) text += TextOf(fuzz::Mutate(BytesOf(recordLines.back()), random, OwnOctet));  // torn
        lines += count;
        ++records;

        GlanceNames names;
        GlanceNames freshNames;
        HistoryLineReader remembering(locale.pictures, names, locale.calendar);
        HistoryLineReader fresh(locale.pictures, freshNames, locale.calendar);
        fresh.Remember(false);
        for (const std::string& line : recordLines) ReadBothWays(remembering, names, fresh, freshNames, line);

        GlanceRecord record;
        CountingSink csvFile;
        GlanceCsv csv(record.names, csvFile, nullptr, {});
        SpellCounter counter(csv);
        TextSource source(text);
        ReadGlanceRecord(source, {locale.pictures, random() % 2 ? &zone : nullptr, locale.calendar}, record, &counter);
        csv.Finish();
        if (counter.spells != record.spells) Finding("a spell is not in the CSV file", text);
        CountingSink page;
        WriteGlancePage(record, {"h.txt", "h.csv", 0, {}, nullptr, nullptr}, page);
        if (page.size > kLargestPage) Finding("the page is larger than its bound", text);
    }
    std::printf("%lld mutated lines in %lld records through the reader, the spells, the page and the CSV file: no "
                "finding\n",
                lines, records);
    return 0;
}
