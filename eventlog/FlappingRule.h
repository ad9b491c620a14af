#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ambervale {

// More changes than this within the window is flapping; a state that then holds kSettledSeconds ends it.
inline constexpr std::size_t kFlappingChanges = 6;
inline constexpr std::int64_t kFlappingWindowSeconds = 600;
inline constexpr std::int64_t kSettledSeconds = 600;

// When a printer's changes come too fast to tell each one: the seventh within ten minutes starts flapping, which is
// told once; the changes that follow are neither told nor counted until the state has held ten minutes. The Event
// Log counts the changes of the status words, the notifications those of the printer's need of a person.
class FlappingRule {
public:
    enum class Change {
        Tell,            // an ordinary change
        StartsFlapping,  // the change that makes it flapping: tell that instead (with Count())
        WhileFlapping,   // tell nothing
    };

    // A change at `now` (monotonic seconds).
    Change Changed(std::int64_t now);
    // True once, when the state that began at `since` has held long enough to end the flapping.
    bool Settled(std::int64_t since, std::int64_t now);
    bool Flapping() const { return flapping_; }
    // The changes counted within the window when the flapping began.
    std::size_t Count() const { return recent_.size(); }
    void Reset();

private:
    std::vector<std::int64_t> recent_;
    bool flapping_ = false;
};

} // namespace ambervale
