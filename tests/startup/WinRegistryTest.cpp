#include "startup/WinRegistry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "app/WinEnvironment.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeSettingsStore.h"
#include "startup/StartupCheckBox.h"

namespace ambervale {
namespace {

using testing::FakeSettingsStore;

constexpr char kRunKey[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";
constexpr char kScratchKey[] = "Software\\Corvatek\\AmbervaleRegistryTest";

struct StoredValue {
    DWORD type;
    std::string bytes;  // as stored, terminating zero included
};

std::optional<StoredValue> ReadValue(HKEY root, const char* keyPath, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<StoredValue> result;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
            ERROR_SUCCESS) {
            bytes.resize(size);
            result = StoredValue{type, bytes};
        }
    }
    RegCloseKey(key);
    return result;
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

class FakeStartupBoxes : public StartupOptionBoxes {
public:
    int Check4Value() override { return check4; }
    void SetCheck4Value(int value) override { check4 = value; }
    int Check8Value() override { return check8; }
    void SetCheck8Value(int value) override { check8 = value; }
    void SetCheck8Visible(bool visible) override { check8Visible = visible; }
    int check4 = 0;
    int check8 = 0;
    bool check8Visible = false;
};

TEST(Check4ClickOnTheRealRegistry, CheckingRegistersTheQuotedPathAndUncheckingRemovesIt) {
    const std::string exe = win::ExecutablePath();
    ASSERT_EQ(FileNameOf(exe), "ambervale_tests.exe");
    const std::string name = FileNameOf(exe);
    FakeStartupBoxes boxes;
    FakeSettingsStore settings;
    WinRegistry registry;
    testing::FakeMessageBoxes messageBoxes;
    const StartupServices services{boxes, settings, registry, messageBoxes};

    boxes.check4 = 1;
    Check4_Click(false, services, exe, "Ambervale");
    std::optional<StoredValue> value = ReadValue(HKEY_LOCAL_MACHINE, kRunKey, name);
    if (!value) value = ReadValue(HKEY_CURRENT_USER, kRunKey, name);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->bytes, "\"" + exe + "\"" + std::string(1, '\0'));

    boxes.check4 = 0;
    Check4_Click(false, services, exe, "Ambervale");
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kRunKey, name).has_value());
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kRunKey, name).has_value());
    EXPECT_EQ(settings.values["Windows Startup"], "Off");
}

TEST(WinRegistry, CreatesAMissingKeyAndTakesAMissingValueAsDeleted) {
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
    WinRegistry registry;
    EXPECT_TRUE(registry.DeleteKeyValue(RegistryHive::CurrentUser, kScratchKey, "Nothing.exe"));
    EXPECT_TRUE(registry.SetKeyValue(RegistryHive::CurrentUser, kScratchKey, "Tool.exe", "C:\\Tool.exe", kRegSz));
    const auto value = ReadValue(HKEY_CURRENT_USER, kScratchKey, "Tool.exe");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->bytes, std::string("C:\\Tool.exe\0", 12));
    EXPECT_TRUE(registry.DeleteKeyValue(RegistryHive::CurrentUser, kScratchKey, "Tool.exe"));
    EXPECT_TRUE(registry.DeleteKeyValue(RegistryHive::CurrentUser, kScratchKey, "Tool.exe"));
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kScratchKey, "Tool.exe").has_value());

    // A name and a path that the ANSI code page cannot spell (Greek Pi) go in as UTF-16 and come back whole.
    const std::string pi = "\xce\xa0";
    EXPECT_TRUE(registry.SetKeyValue(RegistryHive::CurrentUser, kScratchKey, pi + ".exe",
                                     "\"C:\\" + pi + "\\" + pi + ".exe\"", kRegSz));
    wchar_t wide[64] = {};
    DWORD size = sizeof wide;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Corvatek\\AmbervaleRegistryTest", L"\u03a0.exe",
                           RRF_RT_REG_SZ, nullptr, wide, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(wide), L"\"C:\\\u03a0\\\u03a0.exe\"");
    EXPECT_EQ(registry.ReadKeyValue(RegistryHive::CurrentUser, kScratchKey, pi + ".exe"),
              "\"C:\\" + pi + "\\" + pi + ".exe\"");
    EXPECT_TRUE(registry.DeleteKeyValue(RegistryHive::CurrentUser, kScratchKey, pi + ".exe"));
    EXPECT_FALSE(registry.ReadKeyValue(RegistryHive::CurrentUser, kScratchKey, pi + ".exe").has_value());
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
}

} // namespace
} // namespace ambervale
