#include "eventlog/SupplyTracker.h"

namespace ambervale {
namespace {

// A printer that keeps renaming its supplies must not make the tracker grow without end.
constexpr std::size_t kMaxFollowed = 4 * kMaxSupplies;

std::string KeyOf(const Supply& supply) { return std::to_string(supply.type) + ':' + supply.description; }

Event SupplyEvent(EventId id, EventLevel level, const Supply& supply, std::string_view printer,
                  std::string_view port) {
    return {id, level,
            {std::string(printer), supply.description, std::to_string(*supply.percent),
             std::string(SupplyTypeWord(supply.type)), std::string(port)}};
}

} // namespace

void SupplyTracker::Saw(std::span<const Supply> supplies, std::string_view printer, std::string_view port,
                        std::vector<Event>& events) {
    for (const Supply& supply : supplies) {
        if (IsReceptacle(supply) || !supply.percent) continue;
        const int percent = *supply.percent;
        const std::string key = KeyOf(supply);
        auto found = bands_.find(key);
        if (found == bands_.end()) {
            if (bands_.size() >= kMaxFollowed) bands_.clear();
            found = bands_.emplace(key, Band::Fine).first;
        }
        Band& band = found->second;
        if (percent <= kSupplyEmptyPercent) {
            if (band != Band::Empty) {
                events.push_back(SupplyEvent(EventId::SupplyEmpty, EventLevel::Error, supply, printer, port));
                band = Band::Empty;
            }
        } else if (percent <= kSupplyLowPercent) {
            if (band == Band::Fine) {
                events.push_back(SupplyEvent(EventId::SupplyLow, EventLevel::Warning, supply, printer, port));
                band = Band::Low;
            }
        } else if (percent >= kSupplyReplacedPercent && band != Band::Fine) {
            events.push_back(SupplyEvent(EventId::SupplyReplaced, EventLevel::Information, supply, printer, port));
            band = Band::Fine;
        }
    }
}

std::string SuppliesText(std::span<const Supply> supplies) {
    std::string text;
    for (const Supply& supply : supplies) {
        if (IsReceptacle(supply) || !supply.percent) continue;
        if (!text.empty()) text += ", ";
        text += supply.description.empty() ? std::string(SupplyTypeWord(supply.type)) : supply.description;
        text += ' ' + std::to_string(*supply.percent) + '%';
    }
    return text.empty() ? "none reported" : text;
}

} // namespace ambervale
