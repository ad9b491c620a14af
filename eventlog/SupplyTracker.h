#pragma once
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "eventlog/Event.h"
#include "printer/Supplies.h"

namespace ambervale {

// Follows the printer's consumed supplies through the entries and tells when one crosses a threshold, once a
// crossing: low (at or below 5%), empty (at or below 1%), and replaced (back at 50% or more after being low). A
// supply that hovers about a threshold tells nothing more until it has been replaced. Receptacles (waste boxes) are
// not followed: makers disagree on what their level means.
class SupplyTracker {
public:
    // Adds the events that this entry's supplies bring. printer and port: for the events' strings.
    void Saw(std::span<const Supply> supplies, std::string_view printer, std::string_view port,
             std::vector<Event>& events);
    // Another printer, or another period of logging: every supply is new again.
    void Forget() { bands_.clear(); }

private:
    enum class Band { Fine, Low, Empty };
    std::map<std::string, Band> bands_;  // by the supply's kind and description
};

// The supplies that have a level, as the heartbeat names them: "Black Toner 49%, Imaging Unit 72%"; "none reported"
// when there are none.
std::string SuppliesText(std::span<const Supply> supplies);

} // namespace ambervale
