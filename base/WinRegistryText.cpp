#include "base/WinRegistryText.h"

#include <algorithm>

#include "base/WinSizedCall.h"

namespace ambervale::win {

std::optional<std::string> ReadRegistryText(HKEY key, const std::string& valueName, std::size_t maxBytes) {
    const auto bytes = AskSizeThenFill<char>([&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
        DWORD type = 0;
        DWORD got = static_cast<DWORD>(size);
        const LONG result =
            RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &got);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return std::nullopt;
        if (type != REG_SZ || got > maxBytes) return std::nullopt;
        // Without a buffer a success only tells the size; with one that is too small the call says so itself.
        if (result == ERROR_MORE_DATA || (buffer == nullptr && got > 0)) return std::max<std::size_t>(got, size + 1);
        return got;
    });
    if (!bytes) return std::nullopt;
    std::string text(bytes->begin(), bytes->end());
    text.resize(std::min(text.find('\0'), text.size()));
    return text;
}

std::optional<std::wstring> ReadRegistryWideText(HKEY key, const std::wstring& valueName, std::size_t maxBytes) {
    // Counted in bytes, as the call counts; an odd count leaves its last byte out.
    const auto bytes = AskSizeThenFill<wchar_t>([&](wchar_t* buffer, std::size_t size) -> std::optional<std::size_t> {
        DWORD type = 0;
        DWORD got = static_cast<DWORD>(size * sizeof(wchar_t));
        const LONG result =
            RegQueryValueExW(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &got);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return std::nullopt;
        if (type != REG_SZ || got > maxBytes) return std::nullopt;
        const std::size_t chars = (got + sizeof(wchar_t) - 1) / sizeof(wchar_t);
        if (result == ERROR_MORE_DATA || (buffer == nullptr && got > 0)) return std::max<std::size_t>(chars, size + 1);
        return got / sizeof(wchar_t);
    });
    if (!bytes) return std::nullopt;
    std::wstring text(bytes->begin(), bytes->end());
    text.resize(std::min(text.find(L'\0'), text.size()));
    return text;
}

std::optional<std::uint32_t> ReadRegistryNumber(HKEY key, const std::string& valueName) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
        return std::nullopt;
    }
    return value;
}

} // namespace ambervale::win
