#include "printer/WinSpooler.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

#include "base/AppError.h"

namespace ambervale {
namespace {

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
    decltype(&::ClosePrinter) closePrinter = nullptr;
};

template <class Function>
void Resolve(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    if (!function) throw AppError(std::string("The print spooler has no ") + name);
}

const SpoolerLibrary& SpoolerEntryPoints() {
    static SpoolerLibrary library;
    if (library.closePrinter) return library;
    HMODULE module = LoadLibraryA("winspool.drv");
    if (!module) throw AppError("The print spooler cannot be reached (Windows error " + std::to_string(GetLastError()) + ")");
    SpoolerLibrary loaded;
    Resolve(module, "GetDefaultPrinterW", loaded.getDefaultPrinterW);
    Resolve(module, "OpenPrinterW", loaded.openPrinterW);
    Resolve(module, "OpenPrinterA", loaded.openPrinterA);
    Resolve(module, "GetPrinterA", loaded.getPrinterA);
    Resolve(module, "ClosePrinter", loaded.closePrinter);
    library = loaded;
    return library;
}

std::wstring DefaultPrinterExactName() {
    // The default may change between the size probe and the read: ask again a few times.
    DWORD size = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<wchar_t> name(size + 1, L'\0');
        DWORD capacity = size;
        if (SpoolerEntryPoints().getDefaultPrinterW(size == 0 ? nullptr : name.data(), &capacity)) {
            return std::wstring(name.data());
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            throw AppError("No default printer");
        }
        if (error != ERROR_INSUFFICIENT_BUFFER || capacity <= size) {
            throw AppError("The default printer cannot be found (Windows error " + std::to_string(error) + ")");
        }
        size = capacity;
    }
    throw AppError("The default printer keeps changing");
}

// The text the ANSI entry points would have given: unmappable characters become the code page's default.
std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        const DWORD error = GetLastError();
        throw AppError("The default printer's name cannot be read (Windows error " + std::to_string(error) + ")");
    }
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

} // namespace

std::string WinSpooler::DefaultPrinterName() {
    defaultExact_ = DefaultPrinterExactName();
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
    DWORD bytesNeeded = 0;
    const BOOL ok =
        SpoolerEntryPoints().getPrinterA(ToHandle(printer), 2, reinterpret_cast<LPBYTE>(buffer), size, &bytesNeeded);
    // Copying the count must not touch the thread's last error, which the caller reads next.
    needed = bytesNeeded;
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
