#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ambervale {

// An open printer as the spooler hands it out; 0 is never a valid one.
using PrinterHandle = std::uintptr_t;

// The thread's last error after a size probe that found the buffer too small.
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;

// The print spooler, ANSI side. Every call goes straight to the spooler: nothing is cached.
class Spooler {
public:
    virtual ~Spooler() = default;

    // The current default printer's name, asked for afresh; throws AppError when there is none.
    virtual std::string DefaultPrinterName() = 0;

    // OpenPrinterA for use (PRINTER_ACCESS_USE); nullopt when the spooler refuses.
    virtual std::optional<PrinterHandle> OpenPrinterForUse(const std::string& name) = 0;

    // GetPrinterA at level 2 into buffer (null with size 0 for the size probe); the byte count
    // the record needs is written to needed. Returns the call's own success.
    virtual bool GetPrinterInfo2(PrinterHandle printer, std::byte* buffer, std::uint32_t size,
                                 std::uint32_t& needed) = 0;

    // EnumJobsA at level 1 for the first maxJobs jobs into buffer (null with size 0 for the size probe);
    // the byte count the records need is written to needed, the number of records written to returned.
    // Returns the call's own success.
    virtual bool EnumJobsInfo1(PrinterHandle printer, std::uint32_t maxJobs, std::byte* buffer, std::uint32_t size,
                               std::uint32_t& needed, std::uint32_t& returned) = 0;

    // The thread's last error, read straight after the call it belongs to.
    virtual std::uint32_t LastError() = 0;

    virtual void ClosePrinter(PrinterHandle printer) noexcept = 0;
};

// The one owner of an open printer: closes it exactly once, on every path.
class ScopedPrinter {
public:
    ScopedPrinter(Spooler& spooler, PrinterHandle printer) noexcept : spooler_(&spooler), printer_(printer) {}
    ~ScopedPrinter() { Close(); }

    ScopedPrinter(const ScopedPrinter&) = delete;
    ScopedPrinter& operator=(const ScopedPrinter&) = delete;

    ScopedPrinter(ScopedPrinter&& other) noexcept : spooler_(other.spooler_), printer_(other.printer_) {
        other.printer_ = 0;
    }
    ScopedPrinter& operator=(ScopedPrinter&& other) noexcept {
        if (this != &other) {
            Close();
            spooler_ = other.spooler_;
            printer_ = other.printer_;
            other.printer_ = 0;
        }
        return *this;
    }

    PrinterHandle Get() const noexcept { return printer_; }

private:
    void Close() noexcept {
        if (printer_ != 0) {
            // Nothing useful can follow a failed close: the handle is gone either way.
            spooler_->ClosePrinter(printer_);
            printer_ = 0;
        }
    }

    Spooler* spooler_;
    PrinterHandle printer_;
};

} // namespace ambervale
