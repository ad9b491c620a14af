#include "eventlog/SupplyTracker.h"

#include <algorithm>

namespace ambervale {
namespace {

// A printer whose readings keep changing its supplies must not make the tracker grow without end.
constexpr std::size_t kMaxFollowed = 4 * kMaxSupplies;

std::string_view ShownName(const Supply& supply) {
    return supply.description.empty() ? SupplyTypeWord(supply.type) : std::string_view(supply.description);
}

Event SupplyEvent(EventId id, EventLevel level, std::span<const Supply> supplies, std::size_t at,
                  std::string_view printer, std::string_view port) {
    const Supply& supply = supplies[at];
    return {id, level,
            {std::string(printer), SupplyName(supplies, at), std::to_string(*supply.percent),
             std::string(SupplyTypeWord(supply.type)), std::string(port)}};
}

} // namespace

void SupplyTracker::Saw(std::span<const Supply> supplies, std::string_view printer, std::string_view port,
                        std::vector<Event>& events) {
    ++readings_;
    for (std::size_t at = 0; at < supplies.size(); ++at) {
        const Supply& supply = supplies[at];
        if (IsReceptacle(supply) || !supply.percent) continue;
        const int percent = *supply.percent;
        const SupplyIdentity who = IdentityOf(supplies, at);
        auto found = std::find_if(followed_.begin(), followed_.end(), [&](const Followed& f) { return f.who == who; });
        if (found == followed_.end()) {
            followed_.push_back({who, LastTold::Fine, readings_});
            found = followed_.end() - 1;
        }
        found->lastSeen = readings_;
        LastTold& lastTold = found->lastTold;
        if (percent <= kSupplyEmptyPercent) {
            if (lastTold != LastTold::Empty) {
                events.push_back(SupplyEvent(EventId::SupplyEmpty, EventLevel::Error, supplies, at, printer, port));
                lastTold = LastTold::Empty;
            }
        } else if (percent <= kSupplyLowPercent) {
            if (lastTold == LastTold::Fine) {
                events.push_back(SupplyEvent(EventId::SupplyLow, EventLevel::Warning, supplies, at, printer, port));
                lastTold = LastTold::Low;
            }
        } else if (percent >= kSupplyReplacedPercent && lastTold != LastTold::Fine) {
            events.push_back(
                SupplyEvent(EventId::SupplyReplaced, EventLevel::Information, supplies, at, printer, port));
            lastTold = LastTold::Fine;
        }
    }
    // After the reading, so that none of its own supplies is the one forgotten.
    while (followed_.size() > kMaxFollowed) {
        followed_.erase(std::min_element(followed_.begin(), followed_.end(), [](const Followed& a, const Followed& b) {
            return a.lastSeen < b.lastSeen;
        }));
    }
}

std::string SupplyName(std::span<const Supply> supplies, std::size_t at) {
    const std::string_view name = ShownName(supplies[at]);
    if (IsReceptacle(supplies[at])) return std::string(name);
    std::size_t sharing = 0;
    std::size_t place = 0;
    for (std::size_t i = 0; i < supplies.size(); ++i) {
        if (IsReceptacle(supplies[i]) || ShownName(supplies[i]) != name) continue;
        ++sharing;
        if (i <= at) ++place;
    }
    return sharing < 2 ? std::string(name) : std::string(name) + " (" + std::to_string(place) + ')';
}

std::string SuppliesText(std::span<const Supply> supplies) {
    std::string text;
    for (std::size_t at = 0; at < supplies.size(); ++at) {
        const Supply& supply = supplies[at];
        if (IsReceptacle(supply) || !supply.percent) continue;
        if (!text.empty()) text += ", ";
        text += SupplyName(supplies, at) + ' ' + std::to_string(*supply.percent) + '%';
    }
    return text.empty() ? "none reported" : text;
}

} // namespace ambervale
