#include "base/WinSystemFunctions.h"

#include <utility>

#include "base/WinSystemFiles.h"

namespace ambervale::win {

SystemFunctions::SystemFunctions(const wchar_t* fileName, std::string what, const std::string& cannotLoad)
    : module_(LoadSystemLibrary(fileName)), what_(std::move(what)) {
    if (!module_) throw AppError(cannotLoad + " (Windows error " + std::to_string(GetLastError()) + ")");
}

SystemFunctions::~SystemFunctions() {
    if (module_) FreeLibrary(module_);
}

} // namespace ambervale::win
