#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace ambervale {

// Where the report's bytes go, a piece at a time. Write throws AppError when they cannot be written.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

class GlanceProgress {
public:
    virtual ~GlanceProgress() = default;
    // So far, of the total; called each time another hundredth of the file has been read.
    virtual void Read(std::uint64_t done, std::uint64_t total) = 0;
    // True when the report is no longer wanted (the program is closing): reading and writing stop.
    virtual bool Cancelled() { return false; }
};

// Thrown when the report stops because it is no longer wanted; what was written is thrown away.
struct GlanceCancelled {};

// Text gathered and handed to a sink in pieces of 64 KiB; the report's cancellation is looked at with each piece,
// so writing stops within a piece of asking.
class GlanceOut {
public:
    GlanceOut(ByteSink& sink, GlanceProgress* progress) : sink_(sink), progress_(progress) {
        buffer_.reserve(kPiece + 4096);
    }
    GlanceOut& operator<<(std::string_view text) {
        buffer_ += text;
        if (buffer_.size() >= kPiece) Flush();
        return *this;
    }
    GlanceOut& operator<<(char c) {
        buffer_ += c;
        return *this;
    }
    GlanceOut& operator<<(long long number) { return *this << std::string_view(std::to_string(number)); }
    void Flush() {
        if (progress_ && progress_->Cancelled()) throw GlanceCancelled{};
        if (buffer_.empty()) return;
        sink_.Write(buffer_);
        written_ += buffer_.size();
        buffer_.clear();
    }
    // Every byte so far, handed on or not.
    std::uint64_t Size() const { return written_ + buffer_.size(); }

private:
    static constexpr std::size_t kPiece = 64 * 1024;
    ByteSink& sink_;
    GlanceProgress* progress_;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

} // namespace ambervale
