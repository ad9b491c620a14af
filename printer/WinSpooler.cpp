#include "printer/WinSpooler.h"

#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <vector>

#include "base/AppError.h"
#include "base/WinSizedCall.h"
#include "base/WinSystemFunctions.h"
#include "base/WinText.h"
#include "printer/RecordLayout.h"

namespace ambervale {
namespace {

// The portable decoder reads the records at these offsets; they must be the system's own.
constexpr PrinterInfo2Offsets kPrinterInfo2 = PrinterInfo2OffsetsOf(kNativeRecordLayout);
static_assert(sizeof(PRINTER_INFO_2A) == kPrinterInfo2.fixedPart);
static_assert(sizeof(LPSTR) == kPrinterInfo2.pointerSize);
static_assert(offsetof(PRINTER_INFO_2A, pPrinterName) == kPrinterInfo2.printerName);
static_assert(offsetof(PRINTER_INFO_2A, pPortName) == kPrinterInfo2.portName);
static_assert(offsetof(PRINTER_INFO_2A, pDriverName) == kPrinterInfo2.driverName);
static_assert(offsetof(PRINTER_INFO_2A, Attributes) == kPrinterInfo2.attributes);
static_assert(offsetof(PRINTER_INFO_2A, Status) == kPrinterInfo2.status);
static_assert(offsetof(PRINTER_INFO_2A, cJobs) == kPrinterInfo2.jobs);
constexpr JobInfo1Offsets kJobInfo1 = JobInfo1OffsetsOf(kNativeRecordLayout);
static_assert(sizeof(JOB_INFO_1A) == kJobInfo1.recordSize);
static_assert(offsetof(JOB_INFO_1A, Status) == kJobInfo1.status);

HANDLE ToHandle(PrinterHandle printer) {
    return reinterpret_cast<HANDLE>(printer);
}

// The spooler's client library is loaded at the first query, not at start-up: it is one of the largest pieces
// of the program's start, and the first entry comes a second later at the earliest. Once loaded it stays.
struct SpoolerLibrary {
    decltype(&::GetDefaultPrinterW) getDefaultPrinterW = nullptr;
    decltype(&::OpenPrinterW) openPrinterW = nullptr;
    decltype(&::OpenPrinterA) openPrinterA = nullptr;
    decltype(&::GetPrinterA) getPrinterA = nullptr;
    decltype(&::EnumJobsA) enumJobsA = nullptr;
    decltype(&::ClosePrinter) closePrinter = nullptr;
};

SpoolerLibrary LoadSpoolerLibrary() {
    win::SystemFunctions library(L"winspool.drv", "The print spooler", "The print spooler cannot be reached");
    SpoolerLibrary loaded;
    library.Resolve("GetDefaultPrinterW", loaded.getDefaultPrinterW);
    library.Resolve("OpenPrinterW", loaded.openPrinterW);
    library.Resolve("OpenPrinterA", loaded.openPrinterA);
    library.Resolve("GetPrinterA", loaded.getPrinterA);
    library.Resolve("EnumJobsA", loaded.enumJobsA);
    library.Resolve("ClosePrinter", loaded.closePrinter);
    library.Keep();
    return loaded;
}

// Loaded by whichever thread asks first (an entry's worker, as a rule) and only once, however many ask at the same
// time; a load that failed is tried again at the next query.
const SpoolerLibrary& SpoolerEntryPoints() {
    static const SpoolerLibrary library = LoadSpoolerLibrary();
    return library;
}

// The caller reads the last error as the spooler call's own, but a spooler may fail without setting one (Wine's
// EnumJobsA does): the error an earlier call left, such as the size probe's 122, must not pass for this call's.
void ClearLastError() {
    SetLastError(ERROR_SUCCESS);
}

// The text the ANSI entry points would have given: unmappable characters become the code page's default.
std::string ToAnsi(const std::wstring& text) {
    std::string ansi = win::AnsiFromWide(text);
    if (ansi.empty() && !text.empty()) {
        const DWORD error = GetLastError();
        throw AppError("The default printer's name cannot be read (Windows error " + std::to_string(error) + ")");
    }
    return ansi;
}

// Holds every name the spooler gives a printer, a server's name and a share's included, so the usual query is one
// call. Asking with an empty or a small buffer first is no shortcut: Wine then fails for names of about a hundred
// characters or more (error 123) instead of saying how much room they need.
constexpr DWORD kDefaultNameChars = 1024;

} // namespace

std::wstring ReadDefaultPrinterName(const std::function<BOOL(LPWSTR, LPDWORD)>& getDefaultPrinterW) {
    // Grow only when the spooler says the name does not fit; the default may change between two calls, so a
    // few times. The buffer keeps one character more than the spooler is told, so the name always ends in a zero.
    DWORD error = ERROR_SUCCESS;
    bool refused = false;
    const auto name = win::AskSizeThenFill<wchar_t>(
        [&](wchar_t* buffer, std::size_t size) -> std::optional<std::size_t> {
            DWORD capacity = static_cast<DWORD>(size - 1);
            if (getDefaultPrinterW(buffer, &capacity)) return size;
            error = GetLastError();
            refused = error != ERROR_INSUFFICIENT_BUFFER || capacity < size;
            if (refused) return std::nullopt;
            return std::size_t{capacity} + 1;
        },
        std::size_t{kDefaultNameChars} + 1);
    if (name) return std::wstring(name->data());
    if (error == ERROR_FILE_NOT_FOUND) throw AppError("No default printer");
    if (!refused) throw AppError("The default printer keeps changing");  // it asked for more room each time
    throw AppError("The default printer cannot be found (Windows error " + std::to_string(error) + ")");
}

std::string WinSpooler::DefaultPrinterName() {
    defaultExact_ = ReadDefaultPrinterName(SpoolerEntryPoints().getDefaultPrinterW);
    defaultAnsi_ = ToAnsi(defaultExact_);
    return defaultAnsi_;
}

std::optional<PrinterHandle> WinSpooler::OpenPrinterForUse(const std::string& name) {
    HANDLE printer = nullptr;
    BOOL opened = FALSE;
    if (!defaultExact_.empty() && name == defaultAnsi_) {
        // The ANSI text may have lost characters (shown as '?'), so it may name no printer at all.
        std::vector<wchar_t> exact(defaultExact_.begin(), defaultExact_.end());
        exact.push_back(L'\0');
        PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
        opened = SpoolerEntryPoints().openPrinterW(exact.data(), &printer, &defaults);
    } else {
        std::vector<char> ansi(name.begin(), name.end());
        ansi.push_back('\0');
        PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
        opened = SpoolerEntryPoints().openPrinterA(ansi.data(), &printer, &defaults);
    }
    if (!opened || printer == nullptr) {
        return std::nullopt;
    }
    return reinterpret_cast<PrinterHandle>(printer);
}

bool WinSpooler::GetPrinterInfo2(PrinterHandle printer, std::byte* buffer, std::uint32_t size,
                                 std::uint32_t& needed) {
    const auto getPrinterA = SpoolerEntryPoints().getPrinterA;
    DWORD bytesNeeded = 0;
    ClearLastError();
    const BOOL ok = getPrinterA(ToHandle(printer), 2, reinterpret_cast<LPBYTE>(buffer), size, &bytesNeeded);
    // Copying the count must not touch the thread's last error, which the caller reads next.
    needed = bytesNeeded;
    return ok != FALSE;
}

bool WinSpooler::EnumJobsInfo1(PrinterHandle printer, std::uint32_t maxJobs, std::byte* buffer, std::uint32_t size,
                               std::uint32_t& needed, std::uint32_t& returned) {
    const auto enumJobsA = SpoolerEntryPoints().enumJobsA;
    DWORD bytesNeeded = 0;
    DWORD count = 0;
    ClearLastError();
    const BOOL ok =
        enumJobsA(ToHandle(printer), 0, maxJobs, 1, reinterpret_cast<LPBYTE>(buffer), size, &bytesNeeded, &count);
    // As for the record: the caller reads the last error next, so nothing here may touch it.
    needed = bytesNeeded;
    returned = count;
    return ok != FALSE;
}

std::uint32_t WinSpooler::LastError() {
    return GetLastError();
}

void WinSpooler::ClosePrinter(PrinterHandle printer) noexcept {
    // A failed close leaves nothing to do: the handle is not used again either way. A handle exists only once
    // the library has been loaded, so this never loads it.
    SpoolerEntryPoints().closePrinter(ToHandle(printer));
}

} // namespace ambervale
