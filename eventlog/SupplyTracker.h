#pragma once
#include <cstdint>
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
// not followed: makers disagree on what their level means. Each supply is followed by who it is (SupplyIdentity), so
// two of one name are two supplies, a description read differently changes nothing, and a place that comes to hold
// another kind holds a new supply. Of more supplies than it follows at most, the one unseen longest is forgotten.
class SupplyTracker {
public:
    // Adds the events that this entry's supplies bring. printer and port: for the events' strings.
    void Saw(std::span<const Supply> supplies, std::string_view printer, std::string_view port,
             std::vector<Event>& events);
    // Another printer, or another period of logging: every supply is new again.
    void Forget() { followed_.clear(); }

private:
    // What the Event Log last told of a supply: nothing yet or replaced (Fine), low, or empty.
    enum class LastTold { Fine, Low, Empty };
    struct Followed {
        SupplyIdentity who;
        LastTold lastTold;
        std::uint64_t lastSeen;  // the reading that last showed it
    };
    std::vector<Followed> followed_;
    std::uint64_t readings_ = 0;
};

// The name the events and the heartbeat give supplies[at]: the printer's description, or the kind's word when it
// gives none. Where followed supplies (all but receptacles) of one reading share a name, each of them has its place
// among them added, in the printer's order: "Black Toner (1)", "Black Toner (2)".
std::string SupplyName(std::span<const Supply> supplies, std::size_t at);

// The supplies that have a level, as the heartbeat names them: "Black Toner 49%, Imaging Unit 72%"; "none reported"
// when there are none.
std::string SuppliesText(std::span<const Supply> supplies);

} // namespace ambervale
