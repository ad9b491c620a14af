#include "glance/Glance.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace ambervale {
namespace {

constexpr std::size_t kBlock = 1 << 20;
// Far beyond any line the program writes (four names of the spooler's own limits); a longer one is not read whole.
constexpr std::size_t kLongestLine = 64 * 1024;

class LineFeeder {
public:
    LineFeeder(const GlanceReading& reading, GlanceRecord& record, SpellSink* spells)
        : record_(record), clock_(reading.zone), keeper_(record, clock_, spells),
          reader_(reading.pictures, record.names, reading.calendar), builder_(record.names, clock_, keeper_) {
        reader_.Remember(reading.rememberPieces);
    }

    void Line(std::string_view line, bool whole) {
        ++lineNumber_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        HistoryLine read;
        switch (whole ? reader_.Read(line, read) : LineReading::NotOfTheForm) {
        case LineReading::Read:
            builder_.Add(read);
            break;
        case LineReading::NotOfTheForm:
            Count(record_.unreadableLines, record_.unreadableLineNumbers);
            break;
        case LineReading::DateNotConvertible:
            Count(record_.unconvertedLines, record_.unconvertedLineNumbers);
            break;
        }
    }
    void Finish() { builder_.Finish(); }

private:
    void Count(std::uint64_t& lines, std::vector<std::uint64_t>& numbers) {
        ++lines;
        if (numbers.size() < kLinesNamed) numbers.push_back(lineNumber_);
    }

    GlanceRecord& record_;
    LocalToUtc clock_;
    RecordKeeper keeper_;
    HistoryLineReader reader_;
    SpellBuilder builder_;
    std::uint64_t lineNumber_ = 0;
};

} // namespace

void ReadGlanceRecord(ByteSource& source, const GlanceReading& reading, GlanceRecord& record, SpellSink* spells,
                      GlanceProgress* progress) {
    LineFeeder feeder(reading, record, spells);
    const std::uint64_t total = source.Size();
    std::uint64_t done = 0;
    std::uint64_t nextReport = 0;
    std::vector<char> block(kBlock);
    std::string carried;  // the start of a line that the block before ended in
    bool tooLong = false;
    while (done < total) {
        if (progress && progress->Cancelled()) throw GlanceCancelled{};
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, total - done));
        const std::size_t got = source.Read(block.data(), wanted);
        if (got == 0) break;
        done += got;
        const char* at = block.data();
        const char* const end = at + got;
        while (at < end) {
            const auto* feed = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
            if (!feed) {
                const std::size_t piece = static_cast<std::size_t>(end - at);
                if (carried.size() + piece <= kLongestLine) {
                    carried.append(at, piece);
                } else {
                    tooLong = true;
                }
                break;
            }
            const std::size_t piece = static_cast<std::size_t>(feed - at);
            if (carried.empty() && !tooLong) {
                feeder.Line(std::string_view(at, piece), true);
            } else {
                if (carried.size() + piece > kLongestLine) tooLong = true;
                if (!tooLong) carried.append(at, piece);
                feeder.Line(carried, !tooLong);
                carried.clear();
                tooLong = false;
            }
            at = feed + 1;
        }
        if (progress && (done >= nextReport || done == total)) {
            progress->Read(done, total);
            nextReport = done + total / 100;
        }
    }
    feeder.Finish();
}

std::string GlanceReportPath(std::string_view historyPath) {
    const auto folderEnd = historyPath.find_last_of("\\/");
    const auto nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
    auto stem = historyPath.substr(nameStart);
    if (const auto dot = stem.rfind('.'); dot != std::string_view::npos && dot > 0) stem = stem.substr(0, dot);
    return std::string(historyPath.substr(0, nameStart)) + std::string(stem) + " at a glance.html";
}

std::string GlanceCsvPath(std::string_view reportPath) {
    const auto folderEnd = reportPath.find_last_of("\\/");
    const auto nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
    std::string_view stem = reportPath.substr(nameStart);
    if (const auto dot = stem.rfind('.'); dot != std::string_view::npos && dot > 0) stem = stem.substr(0, dot);
    const std::string csv = std::string(reportPath.substr(0, nameStart)) + std::string(stem) + ".csv";
    // A report named *.csv keeps its name (whatever the letters' case: Windows' names ignore it); its spells go
    // beside it.
    const bool same = std::equal(csv.begin(), csv.end(), reportPath.begin(), reportPath.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return same ? csv + ".csv" : csv;
}

} // namespace ambervale
