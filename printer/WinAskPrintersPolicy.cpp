#include "printer/WinAskPrintersPolicy.h"

#include "base/WinPolicy.h"

namespace ambervale::win {

void WinAskPrintersPolicy::Read() noexcept { allowed_.store(PolicyValueAllows(kAskPrintersPolicyValue)); }

} // namespace ambervale::win
