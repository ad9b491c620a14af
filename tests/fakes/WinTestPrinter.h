#pragma once
// Windows-only helpers for the tests that run against the test environment's CUPS queue.
#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace ambervale::testing {

// The private CUPS queue that Wine shows as the default printer; nullopt outside the test environment.
inline std::optional<std::string> DefaultTestQueue() {
    const char* queue = std::getenv("AMBERVALE_TEST_QUEUE");
    if (queue == nullptr || *queue == '\0') return std::nullopt;
    return std::string(queue);
}

// The default printer's driver name, asked for by the printer's exact (UTF-16) name through
// GetPrinterDriverA rather than through the record under test.
inline std::string DefaultPrinterDriverName() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    std::vector<wchar_t> name(size + 1);
    if (size == 0 || !GetDefaultPrinterW(name.data(), &size)) return "";
    HANDLE printer = nullptr;
    if (!OpenPrinterW(name.data(), &printer, nullptr)) return "";
    DWORD needed = 0;
    GetPrinterDriverA(printer, nullptr, 1, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    std::string driver;
    if (needed && GetPrinterDriverA(printer, nullptr, 1, info.data(), needed, &needed)) {
        driver = reinterpret_cast<DRIVER_INFO_1A*>(info.data())->pName;
    }
    ClosePrinter(printer);
    return driver;
}

// Windows keeps the default printer as the "Device" value of the user's "Windows" key. The test
// removes it for a moment, only in the test environment's own Wine prefix, and puts it back.
class WithoutDefaultPrinter {
public:
    WithoutDefaultPrinter() {
        // The wide calls keep a name the ANSI code page cannot hold intact for the restore.
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof device_;
        DWORD type = 0;
        const LONG read = RegQueryValueExW(key_, L"Device", nullptr, &type, reinterpret_cast<BYTE*>(device_), &size);
        if (read == ERROR_SUCCESS && type == REG_SZ) {
            saved_ = size;
            RegDeleteValueW(key_, L"Device");
        }
    }
    ~WithoutDefaultPrinter() {
        if (saved_ != 0) RegSetValueExW(key_, L"Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(device_), saved_);
        if (key_ != nullptr) RegCloseKey(key_);
    }
    WithoutDefaultPrinter(const WithoutDefaultPrinter&) = delete;
    WithoutDefaultPrinter& operator=(const WithoutDefaultPrinter&) = delete;
    bool Removed() const { return saved_ != 0; }

private:
    HKEY key_ = nullptr;
    wchar_t device_[1024] = {};
    DWORD saved_ = 0;
};

} // namespace ambervale::testing
