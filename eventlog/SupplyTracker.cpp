#include "eventlog/SupplyTracker.h"

#include <algorithm>

namespace ambervale {
namespace {

// A printer that keeps renaming its supplies must not make the tracker grow without end.
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
    for (std::size_t at = 0; at < supplies.size(); ++at) {
        const Supply& supply = supplies[at];
        if (IsReceptacle(supply) || !supply.percent) continue;
        const int percent = *supply.percent;
        auto found = std::find_if(followed_.begin(), followed_.end(), [&](const Followed& f) {
            return f.index == supply.index && f.type == supply.type && f.description == supply.description;
        });
        if (found == followed_.end()) {
            if (followed_.size() >= kMaxFollowed) followed_.clear();
            followed_.push_back({supply.index, supply.type, supply.description, LastTold::Fine});
            found = followed_.end() - 1;
        }
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
