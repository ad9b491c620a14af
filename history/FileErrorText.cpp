#include "history/FileErrorText.h"

namespace ambervale {

std::string FileErrorDescription(std::uint32_t windowsError) {
    switch (windowsError) {
    case 2:  // ERROR_FILE_NOT_FOUND
        return "File not found";
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
        return "Path not found";
    case 5:   // ERROR_ACCESS_DENIED
    case 19:  // ERROR_WRITE_PROTECT
    case 32:  // ERROR_SHARING_VIOLATION
    case 33:  // ERROR_LOCK_VIOLATION
        return "Permission denied";
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
        return "Disk full";
    case 123:  // ERROR_INVALID_NAME
    case 161:  // ERROR_BAD_PATHNAME
    case 206:  // ERROR_FILENAME_EXCED_RANGE
        return "Bad file name or number";
    case 21:  // ERROR_NOT_READY
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
        return "Device unavailable";
    default:
        return "Path/File access error (Windows error " + std::to_string(windowsError) + ")";
    }
}

} // namespace ambervale
