#pragma once
#include <cstdint>

#include "printer/PrinterRecord.h"

namespace ambervale {

// PRINTER_ATTRIBUTE_WORK_OFFLINE: the user has set the queue to "Use Printer Offline".
inline constexpr std::uint32_t kAttributeWorkOffline = 0x400;

// True when only the queue's jobs can tell whether it prints: its status word and attributes say nothing
// and it holds jobs. Otherwise the jobs are not asked for at all.
bool JobsCanTellMore(const PrinterFields& fields);

// The status word the report shows. The printer's own word wins whenever it has a bit set. A word of 0
// can still hide a queue that cannot print: one set to Work Offline, or one whose jobs the port monitor
// has marked as failed (jobStatus: the jobs' status bits together). Those are shown with the printer
// bits that say the same, so the line holds only words the status table already has.
std::uint32_t EffectivePrinterStatus(const PrinterFields& fields, std::uint32_t jobStatus);

} // namespace ambervale
