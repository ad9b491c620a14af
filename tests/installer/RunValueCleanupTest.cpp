#include "installer/RunValueCleanup.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace ambervale {
namespace {

constexpr char kInstalledExe[] = "C:\\Program Files (x86)\\Ambervale\\Ambervale.exe";

TEST(RunValueStartsProgram, OnlyThePathItselfQuotedOrBareInAnyLetterCase) {
    struct Case {
        const char* data;
        bool startsProgram;
    };
    const Case cases[] = {
        {"\"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe\"", true},  // as the program writes it
        {"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe", true},      // as older builds wrote it
        {"\"c:\\PROGRAM FILES (X86)\\ambervale\\AMBERVALE.EXE\"", true},
        {"\"D:\\Tools\\Ambervale.exe\"", false},  // a portable copy elsewhere
        {"\"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe\" /min", false},
        {"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe.old", false},
        {"C:\\Program Files (x86)\\Ambervale", false},
        {"\"C:\\Program Files (x86)\\Ambervale\\Ambervale.exe", false},  // a quote that is never closed
        {"\"\"", false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunValueStartsProgram(c.data, kInstalledExe), c.startsProgram) << c.data;
    }
    EXPECT_FALSE(RunValueStartsProgram("", "")) << "no installed path names nothing";
}

class FakeRunKey : public RunKey {
public:
    std::optional<std::string> ReadText(const std::string& valueName) override {
        const auto it = texts.find(valueName);
        if (it == texts.end()) return std::nullopt;
        return it->second;
    }
    bool WriteText(const std::string& valueName, const std::string& text) override {
        if (refusesChanges) return false;
        texts[valueName] = text;
        return true;
    }
    bool DeleteValue(const std::string& valueName) override {
        if (refusesChanges) return false;
        return texts.erase(valueName) == 1;
    }
    std::map<std::string, std::string> texts;  // string values only: others read as nothing
    bool refusesChanges = false;
};

class FakeRemovalRecord : public RemovalRecord {
public:
    bool Add(const RemovedRunValue& value) override {
        if (refusesAdds) return false;
        values.push_back(value);
        return true;
    }
    std::vector<RemovedRunValue> Values() override { return values; }
    void Remove(const std::string& location) override {
        std::erase_if(values, [&](const RemovedRunValue& value) { return value.location == location; });
    }
    void Clear() override { values.clear(); }
    std::vector<RemovedRunValue> values;
    bool refusesAdds = false;
};

// The Run keys a test has, by location; any other location cannot be opened.
class FakeRunKeys : public RunKeys {
public:
    std::unique_ptr<RunKey> Open(const std::string& location) override {
        const auto it = keys.find(location);
        if (it == keys.end()) return nullptr;
        return std::make_unique<KeyView>(*it->second);
    }
    std::map<std::string, FakeRunKey*> keys;

private:
    // What Open hands out: the test keeps the key itself.
    class KeyView : public RunKey {
    public:
        explicit KeyView(FakeRunKey& key) : key_(key) {}
        std::optional<std::string> ReadText(const std::string& name) override { return key_.ReadText(name); }
        bool WriteText(const std::string& name, const std::string& text) override {
            return key_.WriteText(name, text);
        }
        bool DeleteValue(const std::string& name) override { return key_.DeleteValue(name); }

    private:
        FakeRunKey& key_;
    };
};

constexpr char kMachine[] = "HKEY_LOCAL_MACHINE";
constexpr char kUser[] = "HKEY_USERS\\S-1-5-21-1000";

TEST(RemoveOwnRunValue, DeletesTheValueNamedAfterTheExeWhenItStartsTheInstalledProgramAndRecordsItFirst) {
    FakeRunKey key;
    FakeRemovalRecord record;
    const std::string quoted = std::string("\"") + kInstalledExe + "\"";
    key.texts["Ambervale.exe"] = quoted;
    key.texts["Other.exe"] = quoted;  // not the program's own value

    EXPECT_EQ(RemoveOwnRunValue(key, kMachine, kInstalledExe, record), RunValueRemoval::Removed);
    EXPECT_EQ(key.texts.count("Ambervale.exe"), 0u);
    EXPECT_EQ(key.texts.count("Other.exe"), 1u);
    EXPECT_EQ(record.values, (std::vector<RemovedRunValue>{{kMachine, quoted}}));
}

TEST(RemoveOwnRunValue, KeepsWhatDoesNotStartTheInstalledProgram) {
    FakeRemovalRecord record;
    FakeRunKey copyElsewhere;
    copyElsewhere.texts["Ambervale.exe"] = "\"D:\\Tools\\Ambervale.exe\"";
    EXPECT_EQ(RemoveOwnRunValue(copyElsewhere, kUser, kInstalledExe, record), RunValueRemoval::NotTheProgramsOwn);
    EXPECT_EQ(copyElsewhere.texts.size(), 1u);

    FakeRunKey empty;
    EXPECT_EQ(RemoveOwnRunValue(empty, kUser, kInstalledExe, record), RunValueRemoval::NotTheProgramsOwn);

    FakeRunKey bareName;
    bareName.texts["Ambervale.exe"] = "Ambervale.exe";
    EXPECT_EQ(RemoveOwnRunValue(bareName, kUser, "Ambervale.exe", record), RunValueRemoval::NotTheProgramsOwn)
        << "a path without a folder is no installed program";
    EXPECT_EQ(bareName.texts.size(), 1u);
    EXPECT_TRUE(record.values.empty());
}

TEST(RemoveOwnRunValue, AValueThatCannotBeRecordedOrDeletedStays) {
    FakeRunKey key;
    key.texts["Ambervale.exe"] = kInstalledExe;

    FakeRemovalRecord refusing;
    refusing.refusesAdds = true;
    EXPECT_EQ(RemoveOwnRunValue(key, kMachine, kInstalledExe, refusing), RunValueRemoval::NotRecorded)
        << "a rolled-back uninstall could not put it back";
    EXPECT_EQ(key.texts.size(), 1u);

    FakeRemovalRecord record;
    key.refusesChanges = true;
    EXPECT_EQ(RemoveOwnRunValue(key, kMachine, kInstalledExe, record), RunValueRemoval::NotDeleted);
    EXPECT_EQ(key.texts.size(), 1u);
}

TEST(RestoreRemovedRunValues, AValueWhoseKeyIsGoneStaysInTheRecordAndOnePutBackLeavesIt) {
    FakeRunKey machine;
    FakeRunKeys keys;
    keys.keys = {{kMachine, &machine}};  // the user has logged off: that registry is no longer loaded
    FakeRemovalRecord record;
    record.values = {{kMachine, kInstalledExe}, {kUser, kInstalledExe}};

    const RunValueRestore restore = RestoreRemovedRunValues(keys, record, kInstalledExe);
    EXPECT_EQ(machine.texts, (std::map<std::string, std::string>{{"Ambervale.exe", kInstalledExe}}));
    EXPECT_EQ(restore.lost, (std::vector<RemovedRunValue>{{kUser, kInstalledExe}}));
    EXPECT_EQ(record.values, restore.lost) << "the one place the lost text is kept; what is back has left it";

    // The user then turns start-up off, and the next rollback reaches the user's key again.
    machine.texts.clear();
    FakeRunKey user;
    keys.keys[kUser] = &user;
    EXPECT_EQ(RestoreRemovedRunValues(keys, record, kInstalledExe).restored, restore.lost);
    EXPECT_TRUE(machine.texts.empty()) << "a value the user removed since stays removed";
    EXPECT_TRUE(record.values.empty());

    FakeRemovalRecord noPath;
    noPath.values = {{kMachine, kInstalledExe}};
    EXPECT_EQ(RestoreRemovedRunValues(keys, noPath, "").lost.size(), 1u) << "no exe, no value name to put back";
}

TEST(RemoveOwnRunValues, KeepsWhatAFailedRollbackLeftInTheRecordSoTheNextRollbackPutsItBackToo) {
    FakeRunKey machine;
    FakeRunKey user;  // the rollback before could not reach it; the value is in the record alone
    machine.texts["Ambervale.exe"] = kInstalledExe;
    FakeRemovalRecord record;
    record.values = {{kUser, "\"C:\\Old\\Ambervale.exe\""}};
    std::vector<std::string> reported;

    RemoveOwnRunValues(
        [&](const RunKeyVisit& visit) {
            visit(machine, kMachine);
            visit(user, kUser);
        },
        kInstalledExe, record,
        [&](RunValueRemoval removal, const std::string& location) {
            reported.push_back(location + (removal == RunValueRemoval::Removed ? " removed" : " left"));
        });
    EXPECT_EQ(reported, (std::vector<std::string>{std::string(kMachine) + " removed", std::string(kUser) + " left"}));
    EXPECT_TRUE(machine.texts.empty());
    EXPECT_EQ(record.values, (std::vector<RemovedRunValue>{{kUser, "\"C:\\Old\\Ambervale.exe\""},
                                                           {kMachine, kInstalledExe}}));

    FakeRunKeys keys;
    keys.keys = {{kMachine, &machine}, {kUser, &user}};
    EXPECT_TRUE(RestoreRemovedRunValues(keys, record, kInstalledExe).lost.empty());
    EXPECT_EQ(user.texts, (std::map<std::string, std::string>{{"Ambervale.exe", "\"C:\\Old\\Ambervale.exe\""}}));
    EXPECT_EQ(machine.texts, (std::map<std::string, std::string>{{"Ambervale.exe", kInstalledExe}}));
}

TEST(UserKeyOfRunKeyLocation, TheMachineOrOneUsersKeyAndNothingElse) {
    struct Case {
        const char* location;
        std::optional<std::string> userKey;
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE", ""},
        {"HKEY_USERS\\S-1-5-21-1000", "S-1-5-21-1000"},
        {"HKEY_USERS\\.DEFAULT", ".DEFAULT"},
        {"HKEY_USERS\\", std::nullopt},
        {"HKEY_USERS\\S-1-5-21-1000\\Software", std::nullopt},
        {"HKEY_USERS", std::nullopt},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE", std::nullopt},
        {"hkey_local_machine", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(UserKeyOfRunKeyLocation(c.location), c.userKey) << c.location;
}

} // namespace
} // namespace ambervale
