#pragma once
#include <windows.h>

#include <string>

#include "base/AppError.h"

namespace ambervale::win {

// The functions of a Windows library that the program loads when it first needs them (the spooler's client,
// WinHTTP), from the system folder only. Each function is resolved by name at once; a library that lacks one is let
// go again, not kept loaded at every try, and the load fails with a text that names what is missing. Once every
// function is resolved, Keep() leaves the library loaded for the rest of the run.
class SystemFunctions {
public:
    // what: the library as the program's messages name it ("The print spooler", "WinHTTP"). Throws AppError with
    // cannotLoad and the Windows error when the library cannot be loaded.
    SystemFunctions(const wchar_t* fileName, std::string what, const std::string& cannotLoad);
    ~SystemFunctions();
    SystemFunctions(const SystemFunctions&) = delete;
    SystemFunctions& operator=(const SystemFunctions&) = delete;

    // Throws AppError ("WinHTTP has no WinHttpOpen") when the library has no such function.
    template <class Function>
    void Resolve(const char* name, Function& function) {
        // Cast through a generic function pointer: the exported address has the type documented for it.
        function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
        if (!function) throw AppError(what_ + " has no " + name);
    }
    void Keep() { module_ = nullptr; }

private:
    HMODULE module_;
    std::string what_;
};

} // namespace ambervale::win
