#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "printer/Spooler.h"

namespace ambervale {

// The default printer's exact name, read with a call shaped like GetDefaultPrinterW: first into a buffer that
// holds every printer name, then, only when the spooler says it is too small, into one of the size it asks for.
// Throws AppError: "No default printer" when there is none, else a text with the Windows error.
std::wstring ReadDefaultPrinterName(const std::function<BOOL(LPWSTR, LPDWORD)>& getDefaultPrinterW);

// The print spooler; names and records pass through the ANSI code page. A default printer whose
// name the code page cannot hold is still opened, by its own name, so its report shows the
// spooler's ANSI rendering of the name instead of failing.
class WinSpooler final : public Spooler {
public:
    std::string DefaultPrinterName() override;
    std::optional<PrinterHandle> OpenPrinterForUse(const std::string& name) override;
    bool GetPrinterInfo2(PrinterHandle printer, std::byte* buffer, std::uint32_t size,
                         std::uint32_t& needed) override;
    bool EnumJobsInfo1(PrinterHandle printer, std::uint32_t maxJobs, std::byte* buffer, std::uint32_t size,
                       std::uint32_t& needed, std::uint32_t& returned) override;
    std::uint32_t LastError() override;
    void ClosePrinter(PrinterHandle printer) noexcept override;

private:
    // The default printer's exact name as last asked for, and the ANSI text handed out for it.
    std::wstring defaultExact_;
    std::string defaultAnsi_;
};

} // namespace ambervale
