// "History at a Glance..." from the real program's system menu: the page is written beside the history file while the
// window goes on, handed to the browser, and the caption is the product's again.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "mainwindow/WinForm1.h"

namespace ambervale::e2e {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(GlanceEndToEnd, TheSystemMenuWritesThePageBesideTheHistoryAndOpensIt) {
    const std::string temp = FreshTempFolder("glance-menu");
    const std::string report = temp + "\\Ambervale at a glance.html";
    DeleteFileA(report.c_str());
    {
        std::ofstream history(temp + "\\Ambervale.txt", std::ios::binary);
        const char* tail = "; Printer Name = Front Desk; Printer Driver Name = D; Printer Port Name = P; \r\n";
        history << "12/6/2026 8:15:00 PM Printer Status = " << tail << "12/6/2026 8:15:10 PM Printer Status = Off Line  "
                << tail << "12/6/2026 8:15:20 PM Printer Status = " << tail;
    }
    // Wine hands a page to the first program of this list that runs: one that shows nothing.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>("true"), 5);
    RegCloseKey(key);

    AppProcess app(AmbervaleExe(), temp);
    const HWND window = app.WaitForMainWindow(20000);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_SYSCOMMAND, win::kGlanceMenuCommand, 0);
    ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(report.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000));
    const std::string page = FileText(report);
    EXPECT_NE(page.find("data-printer=\"Front Desk\" data-status=\"Off Line\" data-start=\"2026-12-06T20:15:10\" "
                        "data-end=\"2026-12-06T20:15:20\""),
              std::string::npos);
    EXPECT_TRUE(WaitFor(
        [&] {
            char caption[64] = {};
            GetWindowTextA(window, caption, sizeof caption);
            return std::string(caption) == "Ambervale";
        },
        10000));
    // Opened, not refused: no box tells of a failure.
    EXPECT_EQ(LastOf(ErrorBoxes(app.Id(), "Ambervale")), nullptr);
    DeleteFileA(report.c_str());
}

} // namespace
} // namespace ambervale::e2e
