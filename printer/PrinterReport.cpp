#include "printer/PrinterReport.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "printer/EffectiveStatus.h"
#include "printer/PrinterStatus.h"

namespace ambervale {
namespace {

// The status bits of the queue's first jobs. The jobs only add to what the record said, so any failure
// here (a spooler that does not list jobs, a queue that refuses) counts as "no job in error".
std::uint32_t ReadJobStatus(Spooler& spooler, PrinterHandle printer) {
    std::uint32_t needed = 0;
    std::uint32_t returned = 0;
    // As for the record, only the probe's last error tells a usable size; a probe that succeeds found no job.
    spooler.EnumJobsInfo1(printer, kMaxJobsRead, nullptr, 0, needed, returned);
    if (spooler.LastError() != kErrorInsufficientBuffer || needed == 0 || needed > kMaxJobsBytes) {
        return 0;
    }
    std::vector<std::byte> jobs(needed);
    std::uint32_t written = 0;
    if (!spooler.EnumJobsInfo1(printer, kMaxJobsRead, jobs.data(), needed, written, returned)) {
        return 0;
    }
    return JobStatusBits(jobs, returned, kNativeRecordLayout);
}

} // namespace

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
    std::optional<PrinterFields> fields =
        DecodePrinterInfo2(record, reinterpret_cast<std::uintptr_t>(record.data()), kNativeRecordLayout);
    if (!fields) {
        return {};
    }
    const std::uint32_t jobStatus = JobsCanTellMore(*fields) ? ReadJobStatus(spooler, printer.Get()) : 0;
    fields->status = EffectivePrinterStatus(*fields, jobStatus);
    return RenderPrinterReport(*fields);
}

} // namespace ambervale
