#pragma once
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
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
    GlanceOut(ByteSink& sink, GlanceProgress* progress)
        : sink_(sink), progress_(progress), buffer_(std::make_unique<char[]>(kPiece)) {}
    GlanceOut& operator<<(std::string_view text) {
        Put(text.size(), [&text](char* at) { std::memcpy(at, text.data(), text.size()); });
        return *this;
    }
    GlanceOut& operator<<(char c) { return *this << std::string_view(&c, 1); }
    GlanceOut& operator<<(long long number) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        return *this << std::string_view(digits, static_cast<std::size_t>(end - digits));
    }
    // size bytes that fill writes in place.
    template <class Fill>
    void Put(std::size_t size, Fill fill) {
        if (used_ + size > kPiece) Flush();
        if (size > kPiece) {  // a piece larger than the room (a name of the longest line's length) goes on its own
            std::string large(size, '\0');
            fill(large.data());
            Hand(large);
            return;
        }
        fill(buffer_.get() + used_);
        used_ += size;
    }
    void Flush() {
        if (progress_ && progress_->Cancelled()) throw GlanceCancelled{};
        Hand(std::string_view(buffer_.get(), used_));
        used_ = 0;
    }
    // Every byte so far, handed on or not.
    std::uint64_t Size() const { return written_ + used_; }

private:
    static constexpr std::size_t kPiece = 64 * 1024;
    void Hand(std::string_view bytes) {
        if (bytes.empty()) return;
        sink_.Write(bytes);
        written_ += bytes.size();
    }

    ByteSink& sink_;
    GlanceProgress* progress_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
};

} // namespace ambervale
