#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "startup/RegStuff.h"  // RunValueStartsProgram

namespace ambervale {

// One Run key (the machine's or one user's) as the uninstaller's cleanup sees it. Names and texts are UTF-8.
class RunKey {
public:
    virtual ~RunKey() = default;
    // The text of a string value; nothing when the value is absent or holds no string.
    virtual std::optional<std::string> ReadText(const std::string& valueName) = 0;
    virtual bool WriteText(const std::string& valueName, const std::string& text) = 0;
    virtual bool DeleteValue(const std::string& valueName) = 0;
};

// The Run keys by their location: "HKEY_LOCAL_MACHINE" for the machine's, "HKEY_USERS\<key of the user>" for a
// user's (the user's security id, or .DEFAULT).
class RunKeys {
public:
    virtual ~RunKeys() = default;
    // Nothing when the location names no Run key or the key cannot be opened (that user's registry is not loaded).
    virtual std::unique_ptr<RunKey> Open(const std::string& location) = 0;
};

inline constexpr std::string_view kMachineRunKeyLocation = "HKEY_LOCAL_MACHINE";
inline constexpr std::string_view kUsersRunKeyPrefix = "HKEY_USERS\\";

// The key of HKEY_USERS that a location names: empty for the machine's Run key, nothing for a text that names
// neither (the machine's name with anything after it, a user's key that is empty or has a backslash in it).
std::optional<std::string> UserKeyOfRunKeyLocation(std::string_view location);

// A Run value that an uninstall removed: the location of its key and its text, as it was.
struct RemovedRunValue {
    std::string location;
    std::string text;
    bool operator==(const RemovedRunValue&) const = default;
};

// Where an uninstall keeps the Run values it removed until it ends: put back from it when the uninstall is rolled
// back, emptied when it is committed. It holds one value for each location.
class RemovalRecord {
public:
    virtual ~RemovalRecord() = default;
    virtual bool Add(const RemovedRunValue& value) = 0;
    virtual std::vector<RemovedRunValue> Values() = 0;
    // Drops the value of that location.
    virtual void Remove(const std::string& location) = 0;
    virtual void Clear() = 0;
};

enum class RunValueRemoval {
    NotTheProgramsOwn,  // absent, or it starts something else: left alone
    Removed,            // recorded, then deleted
    NotRecorded,        // stays: without a record a rolled-back uninstall could not put it back
    NotDeleted,         // stays: the key refused the delete
};

// Deletes the value that the program writes for itself (named after its file name) from the Run key at `location`
// when it starts the program at exePath, so that Windows does not look for a removed program at every logon. A
// value that names a copy of the program elsewhere stays. The value is recorded before it goes.
RunValueRemoval RemoveOwnRunValue(RunKey& key, const std::string& location, const std::string& exePath,
                                  RemovalRecord& record);

// Visits each Run key with its location (the machine's, then each loaded user's).
using RunKeyVisit = std::function<void(RunKey& key, const std::string& location)>;

// One uninstall's removal: RemoveOwnRunValue on each key that forEachKey visits, each outcome told to report. The
// record is added to, never emptied first: what it holds already are values that a rolled-back uninstall could not
// put back and kept there, the one place their text is.
void RemoveOwnRunValues(const std::function<void(const RunKeyVisit&)>& forEachKey, const std::string& exePath,
                        RemovalRecord& record,
                        const std::function<void(RunValueRemoval, const std::string& location)>& report);

struct RunValueRestore {
    std::vector<RemovedRunValue> restored;
    std::vector<RemovedRunValue> lost;  // its key could not be opened or written
};

// Puts every recorded value back into its own key, under the name the program gives its value, with the text it
// had. Each value put back leaves the record, so that a later rollback cannot bring back a value that the user has
// removed since; a lost one stays, the one place its text is kept. The record is cleared once all are back.
RunValueRestore RestoreRemovedRunValues(RunKeys& keys, RemovalRecord& record, const std::string& exePath);

} // namespace ambervale
