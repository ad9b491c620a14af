#include "installer/RunValueCleanup.h"

#include "startup/RegStuff.h"
#include "startup/mStartUp.h"

namespace ambervale {

std::optional<std::string> UserKeyOfRunKeyLocation(std::string_view location) {
    if (location == kMachineRunKeyLocation) return std::string();
    if (!location.starts_with(kUsersRunKeyPrefix)) return std::nullopt;
    const std::string_view userKey = location.substr(kUsersRunKeyPrefix.size());
    if (userKey.empty() || userKey.find('\\') != std::string_view::npos) return std::nullopt;
    return std::string(userKey);
}

RunValueRemoval RemoveOwnRunValue(RunKey& key, const std::string& location, const std::string& exePath,
                                  RemovalRecord& record) {
    const std::string valueName = SplitExecutablePath(exePath).fileName;
    if (valueName.empty()) return RunValueRemoval::NotTheProgramsOwn;
    const std::optional<std::string> data = key.ReadText(valueName);
    if (!data || !RunValueStartsProgram(*data, exePath)) return RunValueRemoval::NotTheProgramsOwn;
    if (!record.Add({location, *data})) return RunValueRemoval::NotRecorded;
    return key.DeleteValue(valueName) ? RunValueRemoval::Removed : RunValueRemoval::NotDeleted;
}

void RemoveOwnRunValues(const std::function<void(const RunKeyVisit&)>& forEachKey, const std::string& exePath,
                        RemovalRecord& record,
                        const std::function<void(RunValueRemoval, const std::string& location)>& report) {
    forEachKey([&](RunKey& key, const std::string& location) {
        report(RemoveOwnRunValue(key, location, exePath, record), location);
    });
}

RunValueRestore RestoreRemovedRunValues(RunKeys& keys, RemovalRecord& record, const std::string& exePath) {
    RunValueRestore result;
    const std::string valueName = SplitExecutablePath(exePath).fileName;
    for (RemovedRunValue& value : record.Values()) {
        const std::unique_ptr<RunKey> key = valueName.empty() ? nullptr : keys.Open(value.location);
        const bool back = key && key->WriteText(valueName, value.text);
        if (back) record.Remove(value.location);
        (back ? result.restored : result.lost).push_back(std::move(value));
    }
    if (result.lost.empty()) record.Clear();
    return result;
}

} // namespace ambervale
