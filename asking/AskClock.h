#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>

namespace ambervale {

// The one clock of every question to a printer, whatever the protocol: steady, so a change of the PC's time never
// makes a question wait longer or end sooner.
using AskClock = std::chrono::steady_clock;

// A whole question, the name's resolution and the connection included: the window never waits for it, but an entry
// does.
inline constexpr std::chrono::milliseconds kAskBudget{1500};

// What is left until deadline, in whole milliseconds rounded up, as Windows' waits take it: 0 once it has passed,
// never more than a signed 32-bit count.
inline std::uint32_t MillisecondsUntil(AskClock::time_point deadline, AskClock::time_point now = AskClock::now()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
    return static_cast<std::uint32_t>(std::clamp<long long>(left, 0, 0x7FFFFFFF));
}

// The tries of a question: each is given at most its share of time, all of them end by the deadline, and a try
// starts only while time remains. The deadline is the deadline: whatever arrives after it is not waited for.
class Tries {
public:
    Tries(int count, std::chrono::milliseconds eachWait, AskClock::time_point deadline)
        : count_(count), eachWait_(eachWait), deadline_(deadline) {}

    // Starts the next try: false when all have been made or no time is left.
    bool Next() {
        const AskClock::time_point now = AskClock::now();
        if (made_ == count_ || now >= deadline_) return false;
        ++made_;
        tryEnds_ = std::min(now + eachWait_, deadline_);
        return true;
    }
    // True when no try may follow the one under way: the last of the count, or one after whose wait less than least
    // would be left. Such a try may be given all the time there is.
    bool IsLast(std::chrono::milliseconds least) const { return made_ == count_ || deadline_ - tryEnds_ < least; }
    // When the try under way stops being waited for.
    AskClock::time_point TryEnds() const { return tryEnds_; }
    // True while the try under way may still be waited for.
    bool Waiting() const { return AskClock::now() < tryEnds_; }
    AskClock::time_point Deadline() const { return deadline_; }

private:
    int count_;
    std::chrono::milliseconds eachWait_;
    AskClock::time_point deadline_;
    int made_ = 0;
    AskClock::time_point tryEnds_{};
};

} // namespace ambervale
