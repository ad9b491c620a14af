#include "eventlog/PrinterSays.h"

#include "eventlog/EventWords.h"

namespace ambervale {

const PrinterAlert* ExplainingAlert(std::uint32_t status, std::span<const PrinterAlert> alerts) {
    switch (StatusLevel(status)) {
    case EventLevel::Error:
        return alerts.empty() ? nullptr : &alerts.front();
    case EventLevel::Warning:
        // A critical alert would claim more than the status has earned.
        for (const PrinterAlert& alert : alerts) {
            if (alert.severity == PrinterAlert::Severity::Warning) return &alert;
        }
        return nullptr;
    case EventLevel::Information:
        break;
    }
    return nullptr;
}

} // namespace ambervale
