#pragma once
#include <string>

#include "printer/PrinterRecord.h"
#include "printer/Spooler.h"

namespace ambervale {

// The four report lines (status, name, driver, port), each ended by CR LF.
std::string RenderPrinterReport(const PrinterFields& fields);

// Asks the spooler about the default printer and renders its report. Every spooler failure gives
// the empty string; only a missing default printer throws (AppError), before any spooler call.
// A status word of 0 shows what the queue's Work Offline setting and its jobs say, when they say more.
std::string GetPrinterReport(Spooler& spooler);

} // namespace ambervale
