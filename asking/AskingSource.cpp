#include "asking/AskingSource.h"

#include <exception>
#include <new>

namespace ambervale {

std::uint32_t AskingSource::StatusBits(const OpenPrinter& printer) {
    PrinterOwnReport report;
    return StatusAndReport(printer, report);
}

std::uint32_t AskingSource::StatusAndReport(const OpenPrinter& printer, PrinterOwnReport& report) {
    bool asked = true;
    const AskOutcome outcome = AskOrNotAsked([&] {
        std::optional<AskOutcome> ended = Ask(printer.record.portName, AskClock::now() + kAskBudget);
        asked = ended.has_value();
        return ended.value_or(AskOutcome::Silence());
    });
    return asked ? AddToEntry(outcome, report) : 0;
}

AskOutcome AskOrNotAsked(const std::function<AskOutcome()>& ask) {
    try {
        return ask();
    } catch (const std::bad_alloc&) {
        return AskOutcome::NotAsked("out of memory");
    } catch (const std::exception& error) {
        return AskOutcome::NotAsked(error.what());
    }
}

} // namespace ambervale
