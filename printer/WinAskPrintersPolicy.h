#pragma once
#include <atomic>

namespace ambervale::win {

// The policy value AskPrinters (DWORD) under Software\Policies\Corvatek\Ambervale, beside EventLog, in
// HKEY_LOCAL_MACHINE (it wins) or HKEY_CURRENT_USER.
inline constexpr char kAskPrintersPolicyKey[] = "Software\\Policies\\Corvatek\\Ambervale";
inline constexpr char kAskPrintersPolicyValue[] = "AskPrinters";

// Whether policy lets the program ask printers directly, read at start and again each time Windows says policy has
// changed; the entries' worker reads the flag.
class WinAskPrintersPolicy {
public:
    WinAskPrintersPolicy() { Read(); }
    void Read() noexcept;
    const std::atomic<bool>& Allowed() const { return allowed_; }

private:
    std::atomic<bool> allowed_{true};
};

} // namespace ambervale::win
