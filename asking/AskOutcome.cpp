#include "asking/AskOutcome.h"

#include <algorithm>
#include <iterator>

#include "printer/StatusBits.h"

namespace ambervale {
namespace {

using Kind = AskOutcome::Kind;
using Address = AskOutcome::Address;

enum class LineGets { Nothing, TheAnswersWords, OffLine };
enum class LogGets { Nothing, WhatItReported, CouldNotAsk };

struct TrustRule {
    Kind kind;
    std::optional<Address> address;  // nullopt: wherever it was asked
    LineGets line;
    LogGets log;
};

// When the printer earned a word. Silence is "Off Line" as Windows shows a printer that stops answering, but only
// at an address that is the printer's for sure: one the administrator named, or a guessed one that has answered
// there while the program runs. At a guess that never answered (many printers speak no IPP; a firewall may drop the
// port) silence proves nothing. A device that speaks no such protocol is up: nothing. A failure of this PC is not the
// printer's silence either: the entry has the spooler's word alone, and the Event Log says it could not ask, but only
// of an address the administrator named: a guess this PC could not ask is no printer the administrator is missing.
constexpr TrustRule kTrust[] = {
    {Kind::Answered, std::nullopt, LineGets::TheAnswersWords, LogGets::WhatItReported},
    {Kind::Silent, Address::Named, LineGets::OffLine, LogGets::Nothing},
    {Kind::Silent, Address::GuessedAnswered, LineGets::OffLine, LogGets::Nothing},
    {Kind::Silent, Address::GuessedNeverAnswered, LineGets::Nothing, LogGets::Nothing},
    {Kind::NoSuchProtocol, std::nullopt, LineGets::Nothing, LogGets::Nothing},
    {Kind::CouldNotAsk, Address::Named, LineGets::Nothing, LogGets::CouldNotAsk},
    {Kind::CouldNotAsk, Address::GuessedAnswered, LineGets::Nothing, LogGets::Nothing},
    {Kind::CouldNotAsk, Address::GuessedNeverAnswered, LineGets::Nothing, LogGets::Nothing},
};

} // namespace

std::uint32_t AddToEntry(const AskOutcome& outcome, PrinterOwnReport& report) {
    const auto rule = std::find_if(std::begin(kTrust), std::end(kTrust), [&](const TrustRule& r) {
        return r.kind == outcome.kind && (!r.address || *r.address == outcome.address);
    });
    if (rule == std::end(kTrust)) return 0;
    switch (rule->log) {
    case LogGets::WhatItReported:
        report.supplies.insert(report.supplies.end(), outcome.supplies.begin(), outcome.supplies.end());
        if (outcome.pages) report.pages = outcome.pages;
        // The printer's words only ever come with its answer: silence, a refusal or this PC's failure says nothing
        // of what is wrong with it.
        report.alerts.insert(report.alerts.end(), outcome.alerts.begin(), outcome.alerts.end());
        break;
    case LogGets::CouldNotAsk:
        report.notAsked = outcome.reason;
        break;
    case LogGets::Nothing:
        break;
    }
    switch (rule->line) {
    case LineGets::TheAnswersWords:
        return outcome.bits;
    case LineGets::OffLine:
        return status_bit::kOffline;
    case LineGets::Nothing:
        break;
    }
    return 0;
}

} // namespace ambervale
