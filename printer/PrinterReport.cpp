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

std::optional<PrinterFields> QueryDefaultPrinter(Spooler& spooler, std::span<StatusSource* const> sources) {
    const std::string name = spooler.DefaultPrinterName();

    const std::optional<PrinterHandle> opened = spooler.OpenPrinterForUse(name);
    if (!opened || *opened == 0) {
        return std::nullopt;
    }
    const ScopedPrinter printer(spooler, *opened);

    std::uint32_t needed = 0;
    // The probe's own result says nothing: only its last error tells a usable size.
    spooler.GetPrinterInfo2(printer.Get(), nullptr, 0, needed);
    if (spooler.LastError() != kErrorInsufficientBuffer) {
        return std::nullopt;
    }

    std::vector<std::byte> record(needed);
    std::uint32_t written = 0;
    if (!spooler.GetPrinterInfo2(printer.Get(), record.data(), needed, written)) {
        return std::nullopt;
    }
    std::optional<PrinterFields> fields =
        DecodePrinterInfo2(record, reinterpret_cast<std::uintptr_t>(record.data()), kNativeRecordLayout);
    if (!fields) {
        return std::nullopt;
    }
    const OpenPrinter open{spooler, printer.Get(), *fields};
    std::uint32_t status = 0;
    for (StatusSource* source : sources) status |= source->Hear(open, fields->heard);
    fields->status = status;
    return fields;
}

std::string GetPrinterReport(Spooler& spooler) {
    const std::optional<PrinterFields> fields = QueryDefaultPrinter(spooler);
    return fields ? RenderPrinterReport(*fields) : std::string();
}

} // namespace ambervale
