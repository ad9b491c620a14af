#pragma once
#include <algorithm>
#include <chrono>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "asking/AskClock.h"

namespace ambervale {

// How long a name found is used as it is: long enough that entries every second cost one lookup a minute, not sixty;
// short enough that a printer that DHCP has moved is asked at its new address within about a minute, sooner than its
// name server's own records change. After that a fresh lookup runs beside the questions, and until its answer comes
// the last addresses found are still asked, for at most kNameKeptFor from the lookup that found them: a name server
// that fails for longer is as good as none.
inline constexpr std::chrono::milliseconds kNameFreshFor{60000};
inline constexpr std::chrono::milliseconds kNameKeptFor{600000};

// A lookup started, or why this PC could not start one; for a question, the lookup whose addresses it asks.
template <class Lookup>
struct NameAnswer {
    std::shared_ptr<Lookup> lookup;  // for a question: null when the name could not be resolved in time
    std::string localFailure;        // not empty when this PC could not look the name up at all
};

// The printers' names and their lookups, for questions that must end by their deadline. A name is refreshed beside
// the questions, never in their way: once its addresses are older than freshFor, a fresh lookup starts while the
// questions go on asking the last addresses found; its answer replaces them when it comes, and a lookup that found
// nothing leaves them (and the next question starts another). Only a name never found, or whose addresses are older
// than keptFor, is looked up within the question: a lookup that outlives its question is waited for by the next
// question of that host, and is its answer only when it comes within that question's deadline; a failure is never
// handed to a later question. At most one lookup of a host runs at a time, so a silent name server leaves nothing
// piling up.
// A Lookup, as the system runs it: bool Finished() says, without waiting, whether it has finished (and takes what it
// found); bool WaitUntil(deadline) waits for that at most until deadline; bool Found() const says, once it has
// finished, whether it found an address.
template <class Lookup>
class HostNames {
public:
    // Starts a lookup of the host.
    using Start = std::function<NameAnswer<Lookup>(const std::string& host)>;

    explicit HostNames(std::chrono::milliseconds freshFor = kNameFreshFor,
                       std::chrono::milliseconds keptFor = kNameKeptFor)
        : freshFor_(freshFor), keptFor_(std::max(freshFor, keptFor)) {}

    // The lookup whose addresses a question asks at now, which must end by deadline.
    NameAnswer<Lookup> Find(const std::string& host, AskClock::time_point now, AskClock::time_point deadline,
                            const Start& start) {
        const auto slot = names_.try_emplace(host).first;
        Name& name = slot->second;
        TakeFinished(name);
        if (name.found && now - name.foundAt < keptFor_) {
            if (now - name.foundAt >= freshFor_ && !name.underWay) {
                // The question needs no refresh: one that cannot start now (no thread, no memory) is tried again at
                // the next question.
                try {
                    static_cast<void>(Begin(name, host, now, start));
                } catch (const std::exception&) {
                }
            }
            return {name.found, {}};
        }
        name.found.reset();
        if (!name.underWay) {
            std::string failure = Begin(name, host, now, start);
            if (!failure.empty()) {
                names_.erase(slot);
                return {nullptr, std::move(failure)};
            }
        }
        if (!name.underWay->WaitUntil(deadline)) return {};
        TakeFinished(name);
        if (!name.found) {
            names_.erase(slot);
            return {};
        }
        return {name.found, {}};
    }

    // Every lookup kept, those still under way among them.
    std::vector<std::shared_ptr<Lookup>> Lookups() const {
        std::vector<std::shared_ptr<Lookup>> lookups;
        for (const auto& [host, name] : names_) {
            if (name.found) lookups.push_back(name.found);
            if (name.underWay) lookups.push_back(name.underWay);
        }
        return lookups;
    }

private:
    struct Name {
        std::shared_ptr<Lookup> found;     // the last lookup that found addresses
        AskClock::time_point foundAt{};    // when it started: its answer is no older than that
        std::shared_ptr<Lookup> underWay;  // the one lookup of the host that runs
        AskClock::time_point startedAt{};
    };

    // Starts the host's lookup; why this PC could not, or the empty text.
    static std::string Begin(Name& name, const std::string& host, AskClock::time_point now, const Start& start) {
        NameAnswer<Lookup> started = start(host);
        if (!started.lookup) return std::move(started.localFailure);
        name.underWay = std::move(started.lookup);
        name.startedAt = now;
        return {};
    }
    // A lookup that has finished replaces the addresses when it found any, and goes either way.
    static void TakeFinished(Name& name) {
        if (!name.underWay || !name.underWay->Finished()) return;
        if (name.underWay->Found()) {
            name.found = std::move(name.underWay);
            name.foundAt = name.startedAt;
        }
        name.underWay.reset();
    }

    std::chrono::milliseconds freshFor_;
    std::chrono::milliseconds keptFor_;
    std::map<std::string, Name> names_;
};

} // namespace ambervale
