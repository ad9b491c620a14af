#include "printer/StatusSource.h"

#include <array>
#include <vector>

#include "printer/EffectiveStatus.h"

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

std::uint32_t SpoolerWordSource::StatusBits(const OpenPrinter& printer) { return printer.record.status; }

std::uint32_t WorkOfflineSource::StatusBits(const OpenPrinter& printer) { return WorkOfflineBits(printer.record); }

std::uint32_t JobErrorSource::StatusBits(const OpenPrinter& printer) {
    if (!JobsCanTellMore(printer.record)) return 0;
    return JobErrorBits(printer.record, ReadJobStatus(printer.spooler, printer.handle));
}

std::span<StatusSource* const> SpoolerStatusSources() {
    static SpoolerWordSource word;
    static WorkOfflineSource workOffline;
    static JobErrorSource jobs;
    static const std::array<StatusSource*, 3> sources{&word, &workOffline, &jobs};
    return sources;
}

} // namespace ambervale
