#include "asking/AskingSource.h"

#include <exception>
#include <new>

namespace ambervale {

std::uint32_t AskingSource::StatusBits(const OpenPrinter& printer) {
    PrinterOwnReport report;
    return StatusAndReport(printer, report);
}

std::uint32_t AskingSource::StatusAndReport(const OpenPrinter& printer, PrinterOwnReport& report) {
    std::optional<AskOutcome> outcome;
    try {
        outcome = Ask(printer.record.portName, AskClock::now() + kAskBudget);
    } catch (const std::bad_alloc&) {
        outcome = AskOutcome::NotAsked("out of memory");
    } catch (const std::exception& error) {
        outcome = AskOutcome::NotAsked(error.what());
    }
    return outcome ? AddToEntry(*outcome, report) : 0;
}

} // namespace ambervale
