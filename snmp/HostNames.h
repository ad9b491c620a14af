#pragma once
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "asking/AskClock.h"

namespace ambervale {

// How long a name found is used again without asking anew. Long enough that entries every second cost one lookup a
// minute, not sixty; short enough that a printer that DHCP has moved is asked at its new address within a minute,
// sooner than its name server's own records change.
inline constexpr std::chrono::milliseconds kNameFreshFor{60000};

// A lookup started, or why this PC could not start one; for a question, the lookup whose addresses it asks.
template <class Lookup>
struct NameAnswer {
    std::shared_ptr<Lookup> lookup;  // for a question: null when the name could not be resolved in time
    std::string localFailure;        // not empty when this PC could not look the name up at all
};

// The printers' names and their lookups, for questions that must end by their deadline. At most one lookup of a host
// runs at a time: one that outlives its question is waited for by the next question of that host, and is its answer
// only when it comes within that question's deadline. A failure is never used again; a name found is used again for
// freshFor.
// A Lookup, as the system runs it: bool Finished() says, without waiting, whether it has finished (and takes what it
// found); bool WaitUntil(deadline) waits for that at most until deadline; bool Found() const says, once it has
// finished, whether it found an address.
template <class Lookup>
class HostNames {
public:
    // Starts a lookup of the host.
    using Start = std::function<NameAnswer<Lookup>(const std::string& host)>;

    explicit HostNames(std::chrono::milliseconds freshFor = kNameFreshFor) : freshFor_(freshFor) {}

    // The lookup whose addresses a question asks at now, which must end by deadline.
    NameAnswer<Lookup> Find(const std::string& host, AskClock::time_point now, AskClock::time_point deadline,
                            const Start& start) {
        if (const auto known = names_.find(host); known != names_.end()) {
            const std::shared_ptr<Lookup> lookup = known->second.lookup;
            if (!lookup->Finished() && !lookup->WaitUntil(deadline)) return {};
            if (lookup->Found() && now - known->second.since < freshFor_) return {lookup, {}};
            names_.erase(known);
            if (now >= deadline) return {};
        }
        // In the map before it starts, so that nothing the system still writes into can go with an exception; out
        // again when it cannot start.
        const auto slot = names_.try_emplace(host).first;
        NameAnswer<Lookup> started;
        try {
            started = start(host);
        } catch (...) {
            names_.erase(slot);
            throw;
        }
        if (!started.lookup) {
            names_.erase(slot);
            return {nullptr, std::move(started.localFailure)};
        }
        slot->second = {started.lookup, now};
        if (!started.lookup->WaitUntil(deadline)) return {};
        if (!started.lookup->Found()) {
            names_.erase(slot);
            return {};
        }
        return {started.lookup, {}};
    }

    // Every lookup kept, those still under way among them.
    std::vector<std::shared_ptr<Lookup>> Lookups() const {
        std::vector<std::shared_ptr<Lookup>> lookups;
        for (const auto& [host, name] : names_) lookups.push_back(name.lookup);
        return lookups;
    }

private:
    struct Name {
        std::shared_ptr<Lookup> lookup;
        AskClock::time_point since{};  // when it started: its answer is no older than that
    };
    std::chrono::milliseconds freshFor_;
    std::map<std::string, Name> names_;
};

} // namespace ambervale
