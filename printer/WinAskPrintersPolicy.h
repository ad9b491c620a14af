#pragma once
#include <atomic>

#include "base/WinPolicy.h"

namespace ambervale::win {

// The policy value AskPrinters (DWORD), beside EventLog: 0 asks no printer directly, neither over SNMP nor IPP.
inline constexpr const char* kAskPrintersPolicyKey = kPolicyKey;
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
