#pragma once
#include <string>
#include <vector>

#include "installer/RunValueCleanup.h"

namespace ambervale {

// Where the machine's records of removed Run values are kept, one key for each product code being uninstalled
// (32-bit view): writable by administrators alone, as the Run keys they are put back into.
inline constexpr char kRemovalRecordsKey[] = "SOFTWARE\\Corvatek\\Ambervale\\Removed Run values";

// The record of one uninstall of the product: one string value for each removed Run value, named after its key's
// location and holding its text as UTF-16, whatever the ANSI code page. A product code that is empty or not one
// key's name gives a record that takes nothing.
class WinRemovalRecord : public RemovalRecord {
public:
    explicit WinRemovalRecord(const std::string& productCode);

    bool Add(const RemovedRunValue& value) override;
    std::vector<RemovedRunValue> Values() override;
    void Remove(const std::string& location) override;
    // Deletes the record's key, and the keys above it that it leaves empty.
    void Clear() override;

private:
    std::string path_;  // empty when the record can take nothing
};

} // namespace ambervale
