#pragma once
#include <functional>
#include <memory>
#include <string>

#include "installer/RunValueCleanup.h"

namespace ambervale {

// The Run keys of the machine and of the users whose registry is loaded, opened to read, write and delete values.
// The machine's is the 32-bit view's, where the shipped 32-bit program writes its value.
class WinRunKeys : public RunKeys {
public:
    std::unique_ptr<RunKey> Open(const std::string& location) override;
};

// Calls visit with the machine's Run key and then with the Run key of every user whose registry is loaded (the
// one who uninstalls among them), each with its location. Keys that are missing or cannot be changed are passed
// over: there is nothing of the program's to remove from them.
void ForEachRunKey(const std::function<void(RunKey& key, const std::string& location)>& visit);

} // namespace ambervale
