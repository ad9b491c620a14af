#pragma once
#include <chrono>
#include <map>
#include <string>

#include "asking/AskClock.h"
#include "asking/AskOutcome.h"

namespace ambervale {

// A guessed address that has never answered is asked again after a wait that doubles from a minute up to an hour;
// once it answers it is asked at every entry.
inline constexpr std::chrono::minutes kFirstGuessWait{1};
inline constexpr std::chrono::minutes kLongestGuessWait{60};

// The addresses the program guessed for printers (IPP Everywhere's on a TCP/IP port without SNMP), and how each has
// fared while the program runs. A guess costs a whole budget when a firewall drops its packets, so one that never
// answered is not asked at every entry, and its silence is no alarm until it has answered once. Not thread-safe: one
// entry at a time asks.
class GuessedAddresses {
public:
    // Whether the guess is asked at now.
    bool Due(const std::string& address, AskClock::time_point now) const;
    // Takes how asking the guess at now ended; the address's standing for the trust table.
    AskOutcome::Address Took(const std::string& address, AskOutcome::Kind kind, AskClock::time_point now);

private:
    struct Guess {
        bool answered = false;
        AskClock::time_point nextAsk{};
        std::chrono::minutes wait = kFirstGuessWait;
    };
    std::map<std::string, Guess> guesses_;
};

} // namespace ambervale
