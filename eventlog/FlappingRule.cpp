#include "eventlog/FlappingRule.h"

#include <algorithm>

namespace ambervale {

FlappingRule::Change FlappingRule::Changed(std::int64_t now) {
    if (flapping_) return Change::WhileFlapping;
    recent_.push_back(now);
    std::erase_if(recent_, [&](std::int64_t at) { return now - at >= kFlappingWindowSeconds; });
    if (recent_.size() <= kFlappingChanges) return Change::Tell;
    flapping_ = true;
    return Change::StartsFlapping;
}

bool FlappingRule::Settled(std::int64_t since, std::int64_t now) {
    if (!flapping_ || now - since < kSettledSeconds) return false;
    Reset();
    return true;
}

void FlappingRule::Reset() {
    flapping_ = false;
    recent_.clear();
}

} // namespace ambervale
