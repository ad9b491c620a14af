#include "installer/InstalledProgram.h"

#include <gtest/gtest.h>

namespace ambervale {
namespace {

constexpr char kInstalledExe[] = "C:\\Program Files (x86)\\Ambervale\\Ambervale.exe";

TEST(ClosesBeforeUninstall, TheInstalledExeInAnyLetterCaseAndNothingElse) {
    struct Case {
        std::optional<std::string> runningExe;
        bool closes;
    };
    const Case cases[] = {
        {kInstalledExe, true},
        {"c:\\PROGRAM FILES (X86)\\ambervale\\AMBERVALE.EXE", true},
        {std::nullopt, false},  // whatever it is, it may be no copy of the installed program
        {"C:\\Users\\Ann\\Downloads\\Ambervale\\Ambervale.exe", false},
        {"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe.bak", false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClosesBeforeUninstall(c.runningExe, kInstalledExe), c.closes) << c.runningExe.value_or("<unknown>");
    }
    EXPECT_FALSE(ClosesBeforeUninstall(std::nullopt, "")) << "no installed exe, nothing of it runs";
}

} // namespace
} // namespace ambervale
