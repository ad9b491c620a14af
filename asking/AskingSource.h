#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "asking/AskClock.h"
#include "asking/AskOutcome.h"
#include "printer/StatusSource.h"

namespace ambervale {

// The printer's own word by one protocol (SNMP, IPP, ...): each protocol says only which printers it asks and how
// asking ended; what that adds to the entry is decided once, by the trust table (asking/AskOutcome). A failure of
// this PC that a protocol throws (no memory, no thread) is CouldNotAsk, never the printer's silence. Asked from one
// thread at a time (the entry's worker); never throws.
class AskingSource : public StatusSource {
public:
    std::uint32_t StatusBits(const OpenPrinter& printer) final;
    std::uint32_t StatusAndReport(const OpenPrinter& printer, PrinterOwnReport& report) final;

    // How asking the printer on that port ended, everything done by deadline; nullopt when this protocol does not
    // ask it (another kind of port, another protocol's printer, a guess not due yet): then not one packet is sent.
    virtual std::optional<AskOutcome> Ask(const std::string& portName, AskClock::time_point deadline) = 0;
};

// What ask returns, or CouldNotAsk when it throws: a failure of this PC (no memory, no thread), never the printer's
// silence. A protocol that keeps how its guesses fared takes this as their outcome too.
AskOutcome AskOrNotAsked(const std::function<AskOutcome()>& ask);

} // namespace ambervale
