#include "installer/WinRunKeys.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/WinHandles.h"
#include "startup/RegStuff.h"

namespace ambervale {
namespace {

// A name of its own, so that the test never meets a value of a real installation.
constexpr char kValueName[] = "AmbervaleRunKeysTest.exe";
constexpr char kInstalledExe[] = "C:\\Program Files (x86)\\AmbervaleRunKeysTest\\AmbervaleRunKeysTest.exe";

// The installed program is 32-bit: its machine-wide value is in the 32-bit view, whatever this test's build.
win::UniqueRegKey OpenRunKey(HKEY root) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, std::string(kRunKeyPath).c_str(), 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return win::UniqueRegKey(key);
}

void Store(HKEY root, DWORD type, const std::string& bytes) {
    const win::UniqueRegKey key = OpenRunKey(root);
    ASSERT_TRUE(key);
    ASSERT_EQ(RegSetValueExA(key.get(), kValueName, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

bool Present(HKEY root) {
    const win::UniqueRegKey key = OpenRunKey(root);
    return key && RegQueryValueExA(key.get(), kValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void Clear(HKEY root) {
    const win::UniqueRegKey key = OpenRunKey(root);
    if (key) RegDeleteValueA(key.get(), kValueName);
}

// Runs the uninstaller's cleanup over every Run key it finds; returns the keys it removed a value from. (The
// end-to-end test of the package removes well-formed values from both hives; these are the odd ones.)
std::vector<std::string> Cleanup() {
    std::vector<std::string> removedFrom;
    ForEachRunKey([&](RunKey& key, const std::string& where) {
        if (RemoveOwnRunValue(key, kInstalledExe)) removedFrom.push_back(where);
    });
    return removedFrom;
}

class ForEachRunKeyTest : public ::testing::Test {
protected:
    void TearDown() override {
        Clear(HKEY_LOCAL_MACHINE);
        Clear(HKEY_CURRENT_USER);
    }
};

TEST_F(ForEachRunKeyTest, AStringStoredWithoutItsTerminatingZeroIsReadToItsEnd) {
    Store(HKEY_CURRENT_USER, REG_SZ, kInstalledExe);
    const std::vector<std::string> removedFrom = Cleanup();
    ASSERT_EQ(removedFrom.size(), 1u);
    EXPECT_EQ(removedFrom[0].rfind("HKEY_USERS\\S-1-5-", 0), 0u) << "the user's key, reached through HKEY_USERS";
    EXPECT_FALSE(Present(HKEY_CURRENT_USER));
}

TEST_F(ForEachRunKeyTest, KeepsACopyElsewhereAndValuesThatHoldNoString) {
    Store(HKEY_CURRENT_USER, REG_SZ, std::string("\"D:\\Tools\\AmbervaleRunKeysTest.exe\"") + '\0');
    Store(HKEY_LOCAL_MACHINE, REG_BINARY, std::string(kInstalledExe) + '\0');

    EXPECT_TRUE(Cleanup().empty());
    EXPECT_TRUE(Present(HKEY_CURRENT_USER));
    EXPECT_TRUE(Present(HKEY_LOCAL_MACHINE));
}

} // namespace
} // namespace ambervale
