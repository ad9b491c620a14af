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
    // The user's browser, for this test: a command that tells which page it was given.
    const std::string opened = temp + "\\opened.txt";
    DeleteFileA(opened.c_str());
    const std::string command = "cmd.exe /c echo %1> \"" + opened + "\"";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, ".html", nullptr, REG_SZ, "AmbervaleGlanceTest", 20),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, "AmbervaleGlanceTest\\shell\\open\\command", nullptr,
                              REG_SZ, command.c_str(), static_cast<DWORD>(command.size() + 1)),
              ERROR_SUCCESS);

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
    EXPECT_TRUE(WaitFor([&] { return FileText(opened).find("Ambervale at a glance.html") != std::string::npos; }, 20000))
        << FileText(opened);
    const HWND box = LastOf(ErrorBoxes(app.Id(), "Ambervale"));
    char text[512] = {};
    if (box) GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the text of a message box
    EXPECT_EQ(box, nullptr) << text;
    DeleteFileA(report.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "AmbervaleGlanceTest");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
}

} // namespace
} // namespace ambervale::e2e
