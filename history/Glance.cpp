#include "history/Glance.h"

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
    LineFeeder(const DatePictures& pictures) : reader_(pictures) {}

    void Line(std::string_view line) {
        ++lineNumber_;
        lastLength_ = line.size();
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto read = tooLong_ ? std::nullopt : reader_.Read(line);
        tooLong_ = false;
        if (read) {
            builder_.Add(*read);
        } else {
            builder_.AddUnreadable(lineNumber_);
        }
    }
    // The length the next line most likely has: the last one's, with its CR.
    std::size_t LastLength() const { return lastLength_; }
    // True when line was the last one but for its seconds, and is counted; false: feed it to Line.
    bool LineLikeLast(std::string_view line) {
        if (tooLong_) return false;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        HistoryLine read;
        if (!reader_.ReadLikeLast(line, read)) return false;
        ++lineNumber_;
        builder_.Add(read);
        return true;
    }
    void MarkTooLong() { tooLong_ = true; }
    GlanceRecord& Finish() { return builder_.Finish(); }

private:
    HistoryLineReader reader_;
    SpellBuilder builder_;
    std::uint64_t lineNumber_ = 0;
    std::size_t lastLength_ = 0;
    bool tooLong_ = false;
};

} // namespace

GlanceRecord ReadGlanceRecord(ByteSource& source, const DatePictures& pictures, GlanceProgress* progress) {
    LineFeeder feeder(pictures);
    const std::uint64_t total = source.Size();
    std::uint64_t done = 0;
    std::uint64_t nextReport = 0;
    std::vector<char> block(kBlock);
    std::string carried;  // the start of a line that the block before ended in
    while (done < total) {
        if (progress && progress->Cancelled()) break;
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, total - done));
        const std::size_t got = source.Read(block.data(), wanted);
        if (got == 0) break;
        done += got;
        const char* at = block.data();
        const char* const end = at + got;
        while (at < end) {
            // Most lines are as long as the last and differ from it in their seconds alone: no search for their end.
            if (const std::size_t likely = feeder.LastLength(); carried.empty() && likely > 0 &&
                likely < static_cast<std::size_t>(end - at) && at[likely] == '\n' &&
                feeder.LineLikeLast(std::string_view(at, likely))) {
                at += likely + 1;
                continue;
            }
            const auto* feed = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
            if (!feed) {
                if (carried.size() < kLongestLine) {
                    carried.append(at, std::min<std::size_t>(static_cast<std::size_t>(end - at), kLongestLine));
                } else {
                    feeder.MarkTooLong();
                }
                break;
            }
            if (carried.empty()) {
                feeder.Line(std::string_view(at, static_cast<std::size_t>(feed - at)));
            } else {
                if (carried.size() + static_cast<std::size_t>(feed - at) > kLongestLine) {
                    feeder.MarkTooLong();
                } else {
                    carried.append(at, feed);
                }
                feeder.Line(carried);
                carried.clear();
            }
            at = feed + 1;
        }
        if (progress && (done >= nextReport || done == total)) {
            progress->Read(done, total);
            nextReport = done + total / 100;
        }
    }
    return std::move(feeder.Finish());
}

std::string GlanceReportPath(std::string_view historyPath) {
    const auto folderEnd = historyPath.find_last_of("\\/");
    const auto nameStart = folderEnd == std::string_view::npos ? 0 : folderEnd + 1;
    auto stem = historyPath.substr(nameStart);
    if (const auto dot = stem.rfind('.'); dot != std::string_view::npos && dot > 0) stem = stem.substr(0, dot);
    return std::string(historyPath.substr(0, nameStart)) + std::string(stem) + " at a glance.html";
}

} // namespace ambervale
