#include "eventlog/SupplyTracker.h"

namespace ambervale {
namespace {

// A printer that keeps renaming its supplies must not make the tracker grow without end.
constexpr std::size_t kMaxFollowed = 4 * kMaxSupplies;

Event SupplyEvent(EventId id, EventLevel level, const Supply& supply, const std::string& name,
                  std::string_view printer, std::string_view port) {
    return {id, level,
            {std::string(printer), name, std::to_string(*supply.percent), std::string(SupplyTypeWord(supply.type)),
             std::string(port)}};
}

} // namespace

void SupplyTracker::Saw(std::span<const Supply> supplies, std::string_view printer, std::string_view port,
                        std::vector<Event>& events) {
    const std::vector<std::string> names = SupplyNames(supplies);
    for (std::size_t i = 0; i < supplies.size(); ++i) {
        const Supply& supply = supplies[i];
        if (IsReceptacle(supply) || !supply.percent) continue;
        const int percent = *supply.percent;
        auto key = std::make_tuple(supply.index, supply.type, supply.description);
        auto found = bands_.find(key);
        if (found == bands_.end()) {
            if (bands_.size() >= kMaxFollowed) bands_.clear();
            found = bands_.emplace(std::move(key), Band::Fine).first;
        }
        Band& band = found->second;
        if (percent <= kSupplyEmptyPercent) {
            if (band != Band::Empty) {
                events.push_back(SupplyEvent(EventId::SupplyEmpty, EventLevel::Error, supply, names[i], printer, port));
                band = Band::Empty;
            }
        } else if (percent <= kSupplyLowPercent) {
            if (band == Band::Fine) {
                events.push_back(SupplyEvent(EventId::SupplyLow, EventLevel::Warning, supply, names[i], printer, port));
                band = Band::Low;
            }
        } else if (percent >= kSupplyReplacedPercent && band != Band::Fine) {
            events.push_back(
                SupplyEvent(EventId::SupplyReplaced, EventLevel::Information, supply, names[i], printer, port));
            band = Band::Fine;
        }
    }
}

std::vector<std::string> SupplyNames(std::span<const Supply> supplies) {
    std::vector<std::string> names;
    std::map<std::string, int> sharing;
    for (const Supply& supply : supplies) {
        names.push_back(supply.description.empty() ? std::string(SupplyTypeWord(supply.type)) : supply.description);
        if (!IsReceptacle(supply)) ++sharing[names.back()];
    }
    std::map<std::string, int> placed;
    for (std::size_t i = 0; i < supplies.size(); ++i) {
        if (IsReceptacle(supplies[i]) || sharing[names[i]] < 2) continue;
        const int place = ++placed[names[i]];
        names[i] += " (" + std::to_string(place) + ')';
    }
    return names;
}

std::string SuppliesText(std::span<const Supply> supplies) {
    const std::vector<std::string> names = SupplyNames(supplies);
    std::string text;
    for (std::size_t i = 0; i < supplies.size(); ++i) {
        const Supply& supply = supplies[i];
        if (IsReceptacle(supply) || !supply.percent) continue;
        if (!text.empty()) text += ", ";
        text += names[i] + ' ' + std::to_string(*supply.percent) + '%';
    }
    return text.empty() ? "none reported" : text;
}

} // namespace ambervale
