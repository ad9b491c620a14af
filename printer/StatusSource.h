#pragma once
#include <cstdint>
#include <span>

#include "printer/PrinterOwnReport.h"
#include "printer/PrinterRecord.h"
#include "printer/Spooler.h"
#include "printer/Supplies.h"

namespace ambervale {

// The default printer while the query has it open: the record the spooler gave, and the spooler to ask more.
struct OpenPrinter {
    Spooler& spooler;
    PrinterHandle handle;
    const PrinterFields& record;
};

// One source of the status word an entry shows. The query asks each source in turn and ORs the bits they give, so
// the line keeps the status table's words and order whoever speaks. A source decides for itself when it has
// something to say, and keeps its own failures: it then adds nothing. Never throws.
class StatusSource {
public:
    virtual ~StatusSource() = default;
    virtual std::uint32_t StatusBits(const OpenPrinter& printer) = 0;
    // The bits, and what the printer itself reported beyond them when this source asks it (its supplies, its page
    // count, or that this PC could not ask it), added to ownReport. A source that only gives bits gives just those.
    virtual std::uint32_t StatusAndReport(const OpenPrinter& printer, PrinterOwnReport& ownReport) {
        static_cast<void>(ownReport);
        return StatusBits(printer);
    }
};

// The spooler's own word, as its record holds it.
class SpoolerWordSource final : public StatusSource {
public:
    std::uint32_t StatusBits(const OpenPrinter& printer) override;
};

// The queue set to "Use Printer Offline", while the spooler's word says nothing.
class WorkOfflineSource final : public StatusSource {
public:
    std::uint32_t StatusBits(const OpenPrinter& printer) override;
};

// Jobs that the port monitor has marked as failed, while nothing else says the queue cannot print. Asks the spooler
// for the queue's first jobs only then; any failure there counts as no job in error.
class JobErrorSource final : public StatusSource {
public:
    std::uint32_t StatusBits(const OpenPrinter& printer) override;
};

// The spooler's three sources, in this order; every query asks them.
std::span<StatusSource* const> SpoolerStatusSources();

} // namespace ambervale
