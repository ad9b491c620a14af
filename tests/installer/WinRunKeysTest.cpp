#include "installer/WinRunKeys.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/WinTestRegistry.h"
#include "base/WinRegistryText.h"
#include "base/WinText.h"
#include "installer/WinRemovalRecord.h"
#include "startup/RegStuff.h"

namespace ambervale {
namespace {

// Names of their own, so that the tests never meet a value or a record of a real installation.
constexpr char kValueName[] = "AmbervaleRunKeysTest.exe";
constexpr char kInstalledExe[] = "C:\\Program Files (x86)\\AmbervaleRunKeysTest\\AmbervaleRunKeysTest.exe";
constexpr char kProductCode[] = "{0A3B5C7D-0000-4000-8000-AMBERVALETEST}";

// The installed program is 32-bit: its machine-wide value is in the 32-bit view, whatever this test's build.
constexpr REGSAM kView = KEY_WOW64_32KEY;
const std::string kRunKey(kRunKeyPath);

void Store(HKEY root, DWORD type, const std::string& bytes) {
    ASSERT_TRUE(testing::SetValue(testing::CreateKey(root, kRunKey, kView), kValueName, type, bytes));
}

// The value's type and bytes, or "<absent>".
std::string Stored(HKEY root) {
    const auto value = testing::ReadValue(root, kRunKey, kValueName, kView);
    return value ? std::to_string(value->type) + ":" + value->bytes : "<absent>";
}

bool KeyExists(const std::string& path) { return testing::KeyExists(HKEY_LOCAL_MACHINE, path, kView); }

// Runs the uninstaller's cleanup over every Run key it finds; returns the locations it removed a value from. (The
// end-to-end test of the package removes well-formed values from both hives; these are the odd ones.)
std::vector<std::string> Cleanup(RemovalRecord& record) {
    std::vector<std::string> removedFrom;
    ForEachRunKey([&](RunKey& key, const std::string& location) {
        if (RemoveOwnRunValue(key, location, kInstalledExe, record) == RunValueRemoval::Removed) {
            removedFrom.push_back(location);
        }
    });
    return removedFrom;
}

class ForEachRunKeyTest : public ::testing::Test {
protected:
    void TearDown() override {
        testing::DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, kValueName, kView);
        testing::DeleteValue(HKEY_CURRENT_USER, kRunKey, kValueName, kView);
        record.Clear();
    }
    WinRemovalRecord record{kProductCode};
};

TEST_F(ForEachRunKeyTest, AStringStoredWithoutItsTerminatingZeroIsReadToItsEnd) {
    Store(HKEY_CURRENT_USER, REG_SZ, kInstalledExe);
    const std::vector<std::string> removedFrom = Cleanup(record);
    ASSERT_EQ(removedFrom.size(), 1u);
    EXPECT_EQ(removedFrom[0].rfind("HKEY_USERS\\S-1-5-", 0), 0u) << "the user's key, reached through HKEY_USERS";
    EXPECT_EQ(Stored(HKEY_CURRENT_USER), "<absent>");
}

TEST_F(ForEachRunKeyTest, KeepsACopyElsewhereAndValuesThatHoldNoString) {
    Store(HKEY_CURRENT_USER, REG_SZ, std::string("\"D:\\Tools\\AmbervaleRunKeysTest.exe\"") + '\0');
    Store(HKEY_LOCAL_MACHINE, REG_BINARY, std::string(kInstalledExe) + '\0');

    EXPECT_TRUE(Cleanup(record).empty());
    EXPECT_NE(Stored(HKEY_CURRENT_USER), "<absent>");
    EXPECT_NE(Stored(HKEY_LOCAL_MACHINE), "<absent>");
    EXPECT_TRUE(record.Values().empty());
}

TEST_F(ForEachRunKeyTest, TheRecordPutsBackBothHivesByteForByteAndLeavesNoKeyBehind) {
    const std::string machineValue = std::string("\"") + kInstalledExe + "\"" + '\0';
    std::string userValue = std::string(kInstalledExe) + '\0';  // as an older build wrote it, bare
    CharUpperA(userValue.data());
    Store(HKEY_LOCAL_MACHINE, REG_SZ, machineValue);
    Store(HKEY_CURRENT_USER, REG_SZ, userValue);
    const std::string machineBefore = Stored(HKEY_LOCAL_MACHINE);
    const std::string userBefore = Stored(HKEY_CURRENT_USER);

    ASSERT_EQ(Cleanup(record).size(), 2u);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE), "<absent>");
    EXPECT_EQ(Stored(HKEY_CURRENT_USER), "<absent>");

    WinRunKeys keys;
    const RunValueRestore restore = RestoreRemovedRunValues(keys, record, kInstalledExe);
    EXPECT_EQ(restore.restored.size(), 2u);
    EXPECT_TRUE(restore.lost.empty());
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE), machineBefore);
    EXPECT_EQ(Stored(HKEY_CURRENT_USER), userBefore);
    EXPECT_FALSE(KeyExists("SOFTWARE\\Corvatek")) << "the record's keys went with it";
}

// Written as the program writes its value: UTF-16, a folder's letters outside the ANSI code page (1252) included.
void StoreWide(HKEY root, const std::wstring& text) {
    const win::UniqueRegKey key = testing::CreateKey(root, kRunKey, kView);
    ASSERT_TRUE(key);
    ASSERT_EQ(RegSetValueExW(key.get(), L"AmbervaleRunKeysTest.exe", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

std::wstring StoredWide(HKEY root) {
    const win::UniqueRegKey key = testing::OpenKey(root, kRunKey, kView);
    const auto text = key ? win::ReadRegistryWideText(key.get(), L"AmbervaleRunKeysTest.exe") : std::nullopt;
    return text ? *text : L"<absent>";
}

TEST_F(ForEachRunKeyTest, AFolderOutsideTheCodePageIsToldApartRemovedAndPutBackWhole) {
    const std::wstring installed = L"C:\\\u0395\u03c1\u03b3\u03b1\u03bb\u03b5\u03af\u03b1\\AmbervaleRunKeysTest.exe";
    const std::wstring elsewhere = L"C:\\\u03a9\u03bc\u03ad\u03b3\u03b1\u03b1\u03b1\u03b1\\AmbervaleRunKeysTest.exe";
    StoreWide(HKEY_LOCAL_MACHINE, L"\"" + installed + L"\"");
    StoreWide(HKEY_CURRENT_USER, L"\"" + elsewhere + L"\"");  // the same length: the same in ANSI, all '?'

    std::vector<std::string> removedFrom;
    const std::string installedExe = win::Utf8FromWide(installed);
    ForEachRunKey([&](RunKey& key, const std::string& location) {
        if (RemoveOwnRunValue(key, location, installedExe, record) == RunValueRemoval::Removed) {
            removedFrom.push_back(location);
        }
    });
    EXPECT_EQ(removedFrom, std::vector<std::string>{"HKEY_LOCAL_MACHINE"});
    EXPECT_EQ(StoredWide(HKEY_LOCAL_MACHINE), L"<absent>");
    EXPECT_EQ(StoredWide(HKEY_CURRENT_USER), L"\"" + elsewhere + L"\"") << "another copy's value stays";

    WinRunKeys keys;
    EXPECT_TRUE(RestoreRemovedRunValues(keys, record, installedExe).lost.empty());
    EXPECT_EQ(StoredWide(HKEY_LOCAL_MACHINE), L"\"" + installed + L"\"");
}

TEST(WinRemovalRecord, ClearingKeepsWhatElseIsInTheKeysAboveAndAProductCodeThatIsNoKeyNameTakesNothing) {
    const std::string programKey = "SOFTWARE\\Corvatek\\Ambervale";
    ASSERT_TRUE(testing::SetText(testing::CreateKey(HKEY_LOCAL_MACHINE, programKey, kView), "Kept", "x"));
    WinRemovalRecord record(kProductCode);
    ASSERT_TRUE(record.Add({"HKEY_LOCAL_MACHINE", kInstalledExe}));
    record.Clear();
    EXPECT_TRUE(record.Values().empty());
    EXPECT_FALSE(KeyExists(kRemovalRecordsKey));
    EXPECT_TRUE(KeyExists(programKey)) << "it holds a value of something else";

    WinRemovalRecord outside("..\\Other");
    EXPECT_FALSE(outside.Add({"HKEY_LOCAL_MACHINE", kInstalledExe}));
    EXPECT_FALSE(WinRemovalRecord("").Add({"HKEY_LOCAL_MACHINE", kInstalledExe}));
    EXPECT_FALSE(KeyExists(kRemovalRecordsKey));

    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, programKey.c_str(), KEY_WOW64_32KEY, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvatek", KEY_WOW64_32KEY, 0);
}

} // namespace
} // namespace ambervale
