#include "history/WinHistoryFile.h"

#include <windows.h>

#include <limits>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinSizedCall.h"
#include "base/WinText.h"
#include "history/FileErrorText.h"

namespace ambervale {
namespace {

// The bytes are written or the write has already failed when the file closes: a failed close changes neither.
using win::UniqueFile;

[[noreturn]] void ThrowFileError(DWORD error) {
    throw AppError(FileErrorDescription(error));
}

} // namespace

void WinHistoryWriter::Append(const std::string& path, std::string_view bytes) {
    if (bytes.size() > std::numeric_limits<DWORD>::max()) {
        ThrowFileError(ERROR_INVALID_PARAMETER);
    }
    // Append-only access puts every write at the end, even when another program (the text
    // editor) has the file open too; sharing everything lets that program read, save or delete.
    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const UniqueFile file(
        CreateFileW(win::WideFromUtf8(path).c_str(), FILE_APPEND_DATA, shareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ThrowFileError(GetLastError());
    }
    // One write for the whole line, so a line is never left half written by a second call failing.
    DWORD written = 0;
    const auto size = static_cast<DWORD>(bytes.size());
    if (!WriteFile(file.get(), bytes.data(), size, &written, nullptr)) {
        ThrowFileError(GetLastError());
    }
    if (written != size) {
        ThrowFileError(ERROR_DISK_FULL);
    }
}

std::optional<std::string> ReadTempVariable() {
    bool unset = false;
    // Read as UTF-16: the ANSI call would turn a folder of letters outside the code page into '?'s.
    const auto value = win::AskSizeThenFill<wchar_t>(
        [&](wchar_t* buffer, std::size_t size) -> std::optional<std::size_t> {
            SetLastError(ERROR_SUCCESS);
            const DWORD length = GetEnvironmentVariableW(L"TEMP", buffer, static_cast<DWORD>(size));
            if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                unset = true;
                return std::nullopt;
            }
            // A value that fits comes back without its terminating zero; one that does not fit asks for room for it.
            return length;
        },
        MAX_PATH + 1);
    if (unset || !value) return std::nullopt;
    return win::Utf8FromWide(std::wstring_view(value->data(), value->size()));
}

} // namespace ambervale
