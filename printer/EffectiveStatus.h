#pragma once
#include <cstdint>

#include "printer/PrinterRecord.h"

namespace ambervale {

// PRINTER_ATTRIBUTE_WORK_OFFLINE: the user has set the queue to "Use Printer Offline".
inline constexpr std::uint32_t kAttributeWorkOffline = 0x400;

// True when only the queue's jobs can tell whether it prints: its status word and attributes say nothing
// and it holds jobs. Otherwise the jobs are not asked for at all.
bool JobsCanTellMore(const PrinterFields& fields);

// A queue set to Work Offline shows as "Off Line", but only while the printer's own word says nothing: whenever
// that word has a bit set, it is shown as it is.
std::uint32_t WorkOfflineBits(const PrinterFields& fields);

// The printer bits that say what the jobs' status bits (jobStatus: all of them together) say of a queue that cannot
// print: failed jobs show as the printer words with the same meaning. Only while neither the printer's own word nor
// Work Offline says anything.
std::uint32_t JobErrorBits(const PrinterFields& fields, std::uint32_t jobStatus);

// The status word the report shows from the spooler alone: the printer's own word, Work Offline and the jobs,
// together. The line holds only words the status table already has.
std::uint32_t EffectivePrinterStatus(const PrinterFields& fields, std::uint32_t jobStatus);

} // namespace ambervale
