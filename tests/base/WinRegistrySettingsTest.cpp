#include "base/WinRegistrySettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/AppError.h"

namespace ambervale {
namespace {

// Each test works in a section of its own under HKEY_CURRENT_USER and removes it afterwards,
// so the program's real settings are never touched by these tests.
class WinRegistrySettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = "Software\\Corvatek\\AmbervaleTest-" + std::to_string(GetCurrentProcessId()) + "-" + info->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }

    bool SectionExists() const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    void Plant(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, path_.c_str(), name, type, data, size), ERROR_SUCCESS);
    }

    // The stored type and bytes, read past the store.
    bool Raw(const char* name, DWORD& type, std::string& bytes) const {
        DWORD size = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, path_.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                         &size) != ERROR_SUCCESS) {
            return false;
        }
        bytes.assign(size, '\0');
        if (RegGetValueA(HKEY_CURRENT_USER, path_.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, bytes.data(),
                         &size) != ERROR_SUCCESS) {
            return false;
        }
        bytes.resize(size);
        return true;
    }

    std::string path_;
};

TEST_F(WinRegistrySettingsTest, WritesAStringValueAndReadsItBack) {
    WinRegistrySettings store(path_);
    store.Write("OftenIndex", "7");
    EXPECT_EQ(store.Read("OftenIndex", "2"), "7");

    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(Raw("OftenIndex", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("7\0", 2));

    store.Write("OftenIndex", "12");
    store.Write("StartStopState", "");
    EXPECT_EQ(store.Read("OftenIndex", "2"), "12");
    EXPECT_EQ(store.Read("StartStopState", "On"), "");
}

TEST_F(WinRegistrySettingsTest, AbsentSectionOrKeyReadsAsTheDefaultAndCreatesNothing) {
    WinRegistrySettings store(path_);
    EXPECT_EQ(store.Read("StartStopState", "On"), "On");
    EXPECT_FALSE(SectionExists());

    store.Write("Minimized", "Off");
    EXPECT_EQ(store.Read("Windows Startup", "Off"), "Off");
    EXPECT_EQ(store.Read("windows startup ", "x"), "x");
}

TEST_F(WinRegistrySettingsTest, AValueSurvivesANewStoreObject) {
    WinRegistrySettings(path_).Write("StartStopState", "Off");
    WinRegistrySettings later(path_);
    EXPECT_EQ(later.Read("StartStopState", "On"), "Off");
}

TEST_F(WinRegistrySettingsTest, DamagedValuesReadAsTheDefaultAndStayAsTheyWere) {
    const DWORD number = 3;
    Plant("OftenIndex", REG_DWORD, &number, sizeof number);
    Plant("StartStopState", REG_BINARY, "On", 2);
    const std::string huge(WinRegistrySettings::kMaxValueBytes + 10, '5');
    Plant("Minimized", REG_SZ, huge.c_str(), static_cast<DWORD>(huge.size() + 1));

    WinRegistrySettings store(path_);
    EXPECT_EQ(store.Read("OftenIndex", "2"), "2");
    EXPECT_EQ(store.Read("StartStopState", "On"), "On");
    EXPECT_EQ(store.Read("Minimized", "Off"), "Off");

    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(Raw("OftenIndex", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_TRUE(Raw("Minimized", type, bytes));
    EXPECT_EQ(bytes.size(), huge.size() + 1);
}

TEST_F(WinRegistrySettingsTest, TextWithoutItsNullOrWithBytesAfterOneReadsUpToTheNull) {
    Plant("OftenIndex", REG_SZ, "12", 2);
    Plant("StartStopState", REG_SZ, "On\0junk", 8);
    Plant("Minimized", REG_SZ, "", 0);
    WinRegistrySettings store(path_);
    EXPECT_EQ(store.Read("OftenIndex", "2"), "12");
    EXPECT_EQ(store.Read("StartStopState", "Off"), "On");
    EXPECT_EQ(store.Read("Minimized", "Off"), "");
}

TEST_F(WinRegistrySettingsTest, ARefusedWriteThrowsAndStoresNothing) {
    // A volatile section cannot hold a lasting subkey: the registry refuses to create it.
    HKEY parent = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                              nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(parent);
    WinRegistrySettings store(path_ + "\\Lasting");
    try {
        store.Write("StartStopState", "Off");
        ADD_FAILURE() << "the write was reported as done";
    } catch (const AppError& e) {
        EXPECT_STRNE(e.what(), "");
    }
    EXPECT_EQ(store.Read("StartStopState", "On"), "On");

    // Text that could not be read back as written is refused before the registry is asked.
    WinRegistrySettings plain(path_);
    EXPECT_THROW(plain.Write("OftenIndex", std::string("1\0" "2", 3)), AppError);
    EXPECT_THROW(plain.Write("OftenIndex", std::string(WinRegistrySettings::kMaxValueBytes, '1')), AppError);
    EXPECT_EQ(plain.Read("OftenIndex", "2"), "2");
}

TEST(WinRegistrySettingsSection, IsTheCurrentUsersCorvatekAmbervaleKey) {
    const char* section = "Software\\Corvatek\\Ambervale";
    EXPECT_EQ(WinRegistrySettings::DefaultKeyPath(), section);
    // A probe value of its own, removed again: the real settings beside it stay as they are.
    HKEY existing = nullptr;
    const bool sectionExisted = RegOpenKeyExA(HKEY_CURRENT_USER, section, 0, KEY_READ, &existing) == ERROR_SUCCESS;
    if (sectionExisted) RegCloseKey(existing);
    const char* probe = "Registry store probe";
    WinRegistrySettings().Write(probe, "On");
    char data[8] = {};
    DWORD size = sizeof data;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, section, probe, RRF_RT_REG_SZ, nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(data, "On");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, section, probe);
    if (!sectionExisted) RegDeleteKeyA(HKEY_CURRENT_USER, section);
}

} // namespace
} // namespace ambervale
