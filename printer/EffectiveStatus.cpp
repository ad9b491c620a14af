#include "printer/EffectiveStatus.h"

#include <array>

#include "printer/StatusBits.h"

namespace ambervale {
namespace {

struct JobBit {
    std::uint32_t job;
    std::uint32_t printer;
};

// The job states in which the device cannot print; the others (spooling, printing, paused by the user,
// deleting...) are a queue at work.
constexpr std::array<JobBit, 5> kJobBits{{
    {0x2, status_bit::kError},                 // JOB_STATUS_ERROR
    {0x20, status_bit::kOffline},              // JOB_STATUS_OFFLINE
    {0x40, status_bit::kPaperOut},             // JOB_STATUS_PAPEROUT
    {0x200, status_bit::kError},               // JOB_STATUS_BLOCKED_DEVQ
    {0x400, status_bit::kUserIntervention},    // JOB_STATUS_USER_INTERVENTION
}};

} // namespace

bool JobsCanTellMore(const PrinterFields& fields) {
    return fields.status == 0 && (fields.attributes & kAttributeWorkOffline) == 0 && fields.jobs > 0;
}

std::uint32_t WorkOfflineBits(const PrinterFields& fields) {
    if (fields.status != 0 || (fields.attributes & kAttributeWorkOffline) == 0) return 0;
    return status_bit::kOffline;
}

std::uint32_t JobErrorBits(const PrinterFields& fields, std::uint32_t jobStatus) {
    if (fields.status != 0 || (fields.attributes & kAttributeWorkOffline) != 0) return 0;
    std::uint32_t status = 0;
    for (const JobBit& bit : kJobBits) {
        if ((jobStatus & bit.job) != 0) status |= bit.printer;
    }
    return status;
}

std::uint32_t EffectivePrinterStatus(const PrinterFields& fields, std::uint32_t jobStatus) {
    return fields.status | WorkOfflineBits(fields) | JobErrorBits(fields, jobStatus);
}

} // namespace ambervale
