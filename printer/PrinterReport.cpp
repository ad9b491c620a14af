#include "printer/PrinterReport.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "base/WinSizedCall.h"
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

    // The record may grow between the size probe and the fill (a driver or port renamed meanwhile): the pair is
    // asked again. The answer that says the buffer is too small is the only one that tells a usable size.
    const auto record = win::AskSizeThenFill<std::byte>([&](std::byte* buffer, std::size_t size)
                                                            -> std::optional<std::size_t> {
        std::uint32_t needed = 0;
        const auto room = static_cast<std::uint32_t>(size);
        if (spooler.GetPrinterInfo2(printer.Get(), buffer, room, needed)) return size;
        if (spooler.LastError() != kErrorInsufficientBuffer || needed <= room || needed > kMaxPrinterRecordBytes) {
            return std::nullopt;
        }
        return needed;
    });
    if (!record) {
        return std::nullopt;
    }
    std::optional<PrinterFields> fields =
        DecodePrinterInfo2(*record, reinterpret_cast<std::uintptr_t>(record->data()), kNativeRecordLayout);
    if (!fields) {
        return std::nullopt;
    }
    const OpenPrinter open{spooler, printer.Get(), *fields};
    std::uint32_t status = 0;
    for (StatusSource* source : sources) status |= source->StatusAndReport(open, fields->ownReport);
    fields->status = status;
    return fields;
}

std::string GetPrinterReport(Spooler& spooler) {
    const std::optional<PrinterFields> fields = QueryDefaultPrinter(spooler);
    return fields ? RenderPrinterReport(*fields) : std::string();
}

} // namespace ambervale
