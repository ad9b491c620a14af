#include "printer/PrinterReport.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "printer/PrinterStatus.h"

namespace ambervale {

std::string RenderPrinterReport(const PrinterFields& fields) {
    std::string report = PrinterStatusText(fields.status);
    report += "Printer Name = " + fields.printerName + "\r\n";
    report += "Printer Driver Name = " + fields.driverName + "\r\n";
    report += "Printer Port Name = " + fields.portName + "\r\n";
    return report;
}

std::string GetPrinterReport(Spooler& spooler) {
    const std::string name = spooler.DefaultPrinterName();

    const std::optional<PrinterHandle> opened = spooler.OpenPrinterForUse(name);
    if (!opened || *opened == 0) {
        return {};
    }
    const ScopedPrinter printer(spooler, *opened);

    std::uint32_t needed = 0;
    // The probe's own result says nothing: only its last error tells a usable size.
    spooler.GetPrinterInfo2(printer.Get(), nullptr, 0, needed);
    if (spooler.LastError() != kErrorInsufficientBuffer) {
        return {};
    }

    std::vector<std::byte> record(needed);
    std::uint32_t written = 0;
    if (!spooler.GetPrinterInfo2(printer.Get(), record.data(), needed, written)) {
        return {};
    }
    const std::optional<PrinterFields> fields =
        DecodePrinterInfo2(record, reinterpret_cast<std::uintptr_t>(record.data()), kNativeRecordLayout);
    if (!fields) {
        return {};
    }
    return RenderPrinterReport(*fields);
}

} // namespace ambervale
