#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "fakes/PrinterRecordBuilder.h"
#include "base/AppError.h"
#include "printer/Spooler.h"

namespace ambervale::testing {

// A spooler with one default printer. It fills records in this process's own layout at the
// address of the caller's buffer, as the real one does, and records every call it gets.
class FakeSpooler : public Spooler {
public:
    std::string DefaultPrinterName() override {
        calls.push_back("DefaultPrinterName");
        if (!defaultPrinter) throw AppError("No default printer");
        return *defaultPrinter;
    }

    std::optional<PrinterHandle> OpenPrinterForUse(const std::string& name) override {
        calls.push_back("OpenPrinterForUse " + name);
        if (failOpen) return std::nullopt;
        ++openHandles;
        return kHandle;
    }

    bool GetPrinterInfo2(PrinterHandle printer, std::byte* buffer, std::uint32_t size,
                         std::uint32_t& needed) override {
        calls.push_back("GetPrinterInfo2 " + std::to_string(size));
        if (RefusesHandle(printer)) return false;
        if (buffer != nullptr && growsBeforeFills > 0) {
            --growsBeforeFills;
            record.driverName = record.driverName.value_or("") + " v2";
        }
        const std::vector<std::byte> bytes =
            BuildPrinterInfo2(kNativeRecordLayout, reinterpret_cast<std::uintptr_t>(buffer), record);
        needed = neededOverride.value_or(static_cast<std::uint32_t>(bytes.size()));
        if (buffer == nullptr || size < needed) {
            lastError = probeError;
            return false;
        }
        if (throwOnFill) throw std::bad_alloc();
        if (failFill) {
            lastError = 5;  // ERROR_ACCESS_DENIED
            return false;
        }
        std::memcpy(buffer, bytes.data(), std::min<std::size_t>(bytes.size(), size));
        return true;
    }

    bool EnumJobsInfo1(PrinterHandle printer, std::uint32_t maxJobs, std::byte* buffer, std::uint32_t size,
                       std::uint32_t& needed, std::uint32_t& returned) override {
        calls.push_back("EnumJobsInfo1 " + std::to_string(maxJobs) + " " + std::to_string(size));
        returned = 0;
        if (RefusesHandle(printer)) return false;
        const std::vector<std::byte> bytes =
            BuildJobInfo1(kNativeRecordLayout, reinterpret_cast<std::uintptr_t>(buffer), jobStatuses);
        needed = jobsNeededOverride.value_or(static_cast<std::uint32_t>(bytes.size()));
        if (jobsProbeError) {
            lastError = *jobsProbeError;
            return false;
        }
        if (needed == 0 && jobStatuses.empty()) return true;  // an empty queue lists nothing, successfully
        if (buffer == nullptr || size < needed) {
            lastError = kErrorInsufficientBuffer;
            return false;
        }
        if (failJobsFill) {
            lastError = 5;  // ERROR_ACCESS_DENIED
            return false;
        }
        std::memcpy(buffer, bytes.data(), std::min<std::size_t>(bytes.size(), size));
        returned = jobsReturnedOverride.value_or(static_cast<std::uint32_t>(jobStatuses.size()));
        return true;
    }

    std::uint32_t LastError() override { return lastError; }

    void ClosePrinter(PrinterHandle printer) noexcept override {
        calls.push_back("ClosePrinter");
        if (printer == kHandle) --openHandles;
        ++closeCount;
    }

    static constexpr PrinterHandle kHandle = 0x5150;

    std::optional<std::string> defaultPrinter = "Front Desk";
    FakePrinterRecord record{"Front Desk", "Generic Laser", "LPT1:", 0, std::nullopt};
    bool failOpen = false;
    std::uint32_t probeError = kErrorInsufficientBuffer;
    std::optional<std::uint32_t> neededOverride;
    bool failFill = false;
    bool throwOnFill = false;
    int growsBeforeFills = 0;  // the driver's name grows by " v2" just before each of that many fills

    // The queue's jobs; record.jobs is the count the printer record claims.
    std::vector<std::uint32_t> jobStatuses;
    std::optional<std::uint32_t> jobsProbeError;  // every EnumJobsInfo1 fails with this error
    std::optional<std::uint32_t> jobsNeededOverride;
    std::optional<std::uint32_t> jobsReturnedOverride;
    bool failJobsFill = false;

    std::vector<std::string> calls;
    int openHandles = 0;
    int closeCount = 0;
    std::uint32_t lastError = 0;

private:
    // Only the one printer this spooler handed out, while it is open, can be asked about.
    bool RefusesHandle(PrinterHandle printer) {
        if (printer == kHandle && openHandles == 1) return false;
        lastError = 6;  // ERROR_INVALID_HANDLE
        return true;
    }
};

} // namespace ambervale::testing
