#pragma once
#include <atomic>
#include <cstdint>
#include <optional>

#include "printer/StatusSource.h"

namespace ambervale {

// A source that asks the printer itself, let through only while the policy allows it. The window's thread sets the
// flag when policy changes; the entry's worker reads it at each entry, so a change takes effect at the next one.
class AskPrintersGate final : public StatusSource {
public:
    AskPrintersGate(StatusSource& inner, const std::atomic<bool>& allowed) : inner_(inner), allowed_(allowed) {}
    std::uint32_t StatusBits(const OpenPrinter& printer) override {
        return allowed_.load() ? inner_.StatusBits(printer) : 0;
    }
    std::uint32_t StatusAndReport(const OpenPrinter& printer, PrinterOwnReport& ownReport) override {
        return allowed_.load() ? inner_.StatusAndReport(printer, ownReport) : 0;
    }

private:
    StatusSource& inner_;
    const std::atomic<bool>& allowed_;
};

} // namespace ambervale
