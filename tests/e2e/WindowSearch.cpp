#include "e2e/WindowSearch.h"

namespace ambervale::e2e {
namespace {

struct Search {
    DWORD processId;
    const std::function<bool(HWND)>& match;
    std::vector<HWND> found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if ((search->processId == 0 || owner == search->processId) && search->match(hwnd)) search->found.push_back(hwnd);
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const std::function<bool(HWND)>& match) {
    Search search{processId, match, {}};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ControlText(HWND control) {
    char text[512] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

std::string ClassNameOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

} // namespace ambervale::e2e
