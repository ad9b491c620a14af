#pragma once
// Windows-only helpers for the tests that run against the test environment's CUPS queue.
#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/WinHandles.h"

namespace ambervale::testing {

// The private CUPS queue that Wine shows as the default printer; nullopt outside the test environment.
inline std::optional<std::string> DefaultTestQueue() {
    const char* queue = std::getenv("AMBERVALE_TEST_QUEUE");
    if (queue == nullptr || *queue == '\0') return std::nullopt;
    return std::string(queue);
}

struct TestPrinterTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ClosePrinter(h); }
};
using TestPrinter = win::UniqueHandle<TestPrinterTraits>;

// The default printer, opened by its exact (UTF-16) name with the given access; empty when there is none.
// The name is asked for with a buffer that holds any printer name: Wine refuses the empty-buffer size probe
// for long names.
inline TestPrinter OpenDefaultPrinter(ACCESS_MASK access) {
    std::vector<wchar_t> name(1024 + 1);
    DWORD size = 1024;
    if (!GetDefaultPrinterW(name.data(), &size)) return {};
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, access};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(name.data(), &printer, &defaults)) return {};
    return TestPrinter(printer);
}

// The default printer's driver name, asked for through GetPrinterDriverA rather than through the record
// under test.
inline std::string DefaultPrinterDriverName() {
    const TestPrinter printer = OpenDefaultPrinter(PRINTER_ACCESS_USE);
    if (!printer) return "";
    DWORD needed = 0;
    GetPrinterDriverA(printer.get(), nullptr, 1, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    if (needed == 0 || !GetPrinterDriverA(printer.get(), nullptr, 1, info.data(), needed, &needed)) return "";
    return reinterpret_cast<DRIVER_INFO_1A*>(info.data())->pName;
}

// Changes the default printer's level-2 record the way the printer folder does: read whole, changed, written back
// whole. False when the spooler refused.
template <class Change>
bool ChangeDefaultPrinterRecord(Change&& change) {
    const TestPrinter printer = OpenDefaultPrinter(PRINTER_ALL_ACCESS);
    if (!printer) return false;
    DWORD needed = 0;
    GetPrinterA(printer.get(), 2, nullptr, 0, &needed);
    std::vector<BYTE> record(needed);
    if (needed == 0 || !GetPrinterA(printer.get(), 2, record.data(), needed, &needed)) return false;
    change(*reinterpret_cast<PRINTER_INFO_2A*>(record.data()));
    return SetPrinterA(printer.get(), 2, record.data(), 0) != FALSE;
}

// Sets or clears "Use Printer Offline" on the default printer: the attribute in the queue's level-2 record.
inline bool SetDefaultPrinterWorkOffline(bool offline) {
    return ChangeDefaultPrinterRecord([&](PRINTER_INFO_2A& info) {
        info.Attributes = offline ? info.Attributes | PRINTER_ATTRIBUTE_WORK_OFFLINE
                                  : info.Attributes & ~DWORD{PRINTER_ATTRIBUTE_WORK_OFFLINE};
    });
}

// The default printer is on this port while this lives, and back on its own port when it goes (the spooler keeps
// the port past the process).
class WithDefaultPrinterPort {
public:
    explicit WithDefaultPrinterPort(std::string port) {
        set_ = ChangeDefaultPrinterRecord([&](PRINTER_INFO_2A& info) {
            if (info.pPortName) original_ = info.pPortName;
            info.pPortName = port.data();
        });
    }
    ~WithDefaultPrinterPort() {
        if (!set_) return;
        ChangeDefaultPrinterRecord([&](PRINTER_INFO_2A& info) { info.pPortName = original_.data(); });
    }
    WithDefaultPrinterPort(const WithDefaultPrinterPort&) = delete;
    WithDefaultPrinterPort& operator=(const WithDefaultPrinterPort&) = delete;
    bool Set() const { return set_; }

private:
    std::string original_;
    bool set_ = false;
};

// The default printer works offline while this lives; it is cleared again when the test ends, failed or not,
// since the setting outlives the process.
class WithWorkOffline {
public:
    WithWorkOffline() : set_(SetDefaultPrinterWorkOffline(true)) {}
    ~WithWorkOffline() { Clear(); }
    WithWorkOffline(const WithWorkOffline&) = delete;
    WithWorkOffline& operator=(const WithWorkOffline&) = delete;
    bool Set() const { return set_; }
    bool Clear() { return SetDefaultPrinterWorkOffline(false); }

private:
    bool set_;
};

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
