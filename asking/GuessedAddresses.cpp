#include "asking/GuessedAddresses.h"

#include <algorithm>

namespace ambervale {
namespace {

// A default printer changes seldom; more guesses than this are forgotten together, which only asks them sooner.
constexpr std::size_t kMaxGuesses = 64;

} // namespace

bool GuessedAddresses::Due(const std::string& address, AskClock::time_point now) const {
    const auto found = guesses_.find(address);
    return found == guesses_.end() || found->second.answered || now >= found->second.nextAsk;
}

AskOutcome::Address GuessedAddresses::Took(const std::string& address, AskOutcome::Kind kind,
                                           AskClock::time_point now) {
    if (guesses_.size() >= kMaxGuesses && guesses_.count(address) == 0) guesses_.clear();
    Guess& guess = guesses_[address];
    if (kind == AskOutcome::Kind::Answered) {
        guess = Guess{true, now, kFirstGuessWait};
    } else if (!guess.answered) {
        // Silence, a refusal and this PC's own failure alike put it off: a PC without the protocol's client would
        // otherwise try a guess that may be no printer at every entry.
        guess.nextAsk = now + guess.wait;
        guess.wait = std::min(guess.wait * 2, kLongestGuessWait);
    }
    return guess.answered ? AskOutcome::Address::GuessedAnswered : AskOutcome::Address::GuessedNeverAnswered;
}

} // namespace ambervale
