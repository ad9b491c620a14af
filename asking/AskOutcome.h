#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "printer/PrinterOwnReport.h"
#include "printer/Supplies.h"

namespace ambervale {

// How asking the printer itself ended, whatever the protocol.
struct AskOutcome {
    enum class Kind {
        Answered,        // an answer to the question: the printer's words, supplies, page count and alerts
        Silent,          // nothing within the budget: no connection, no reply, a name that did not resolve in time
        NoSuchProtocol,  // something is there but speaks no such protocol: refused, an HTTP error, not an answer
        CouldNotAsk      // a failure on this PC (no network stack, no socket, no thread, no memory)
    };
    // Whose address was asked: one the administrator named (the port's SNMP settings, a URL port), or one the
    // program guessed (IPP Everywhere's address of a TCP/IP port without SNMP) and whether it has answered there.
    enum class Address { Named, GuessedNeverAnswered, GuessedAnswered };

    Kind kind = Kind::Silent;
    Address address = Address::Named;
    std::uint32_t bits = 0;               // Answered: the status-table bits of the answer, its supplies' included
    std::vector<Supply> supplies;         // Answered
    std::optional<std::uint64_t> pages;   // Answered, when the printer says
    std::vector<PrinterAlert> alerts;     // Answered: what it says is wrong, most severe first
    std::string reason;                   // CouldNotAsk

    static AskOutcome Answer(std::uint32_t bits) { return {Kind::Answered, Address::Named, bits, {}, {}, {}, {}}; }
    static AskOutcome Silence() { return {}; }
    static AskOutcome NotSpoken() { return {Kind::NoSuchProtocol, Address::Named, 0, {}, {}, {}, {}}; }
    static AskOutcome NotAsked(std::string why) {
        return {Kind::CouldNotAsk, Address::Named, 0, {}, {}, {}, std::move(why)};
    }
};

// What one outcome adds to the entry: the status-table bits for the line, and into report what the Event Log and the
// tray get (supplies, pages and alerts, or why the printer could not be asked). Decided by one table, in AskOutcome.cpp.
std::uint32_t AddToEntry(const AskOutcome& outcome, PrinterOwnReport& report);

} // namespace ambervale
