#pragma once
#include <optional>
#include <span>
#include <string>

#include "printer/PrinterRecord.h"
#include "printer/Spooler.h"
#include "printer/StatusSource.h"

namespace ambervale {

// The four report lines (status, name, driver, port), each ended by CR LF.
std::string RenderPrinterReport(const PrinterFields& fields);

// Asks the spooler about the default printer: its record, with the status word made of what every source says
// (ORed). nullopt for every spooler failure; only a missing default printer throws (AppError), before any spooler
// call. The printer is closed exactly once on every path that opened it.
std::optional<PrinterFields> QueryDefaultPrinter(Spooler& spooler,
                                                 std::span<StatusSource* const> sources = SpoolerStatusSources());

// The default printer's report from the spooler's own sources; the empty string when the spooler did not answer.
std::string GetPrinterReport(Spooler& spooler);

} // namespace ambervale
