#pragma once
#include <functional>
#include <string>

#include "installer/RunValueCleanup.h"

namespace ambervale {

// Calls visit with the machine's Run key and then with the Run key of every user whose registry is loaded (the
// one who uninstalls among them), each with a name for the log. Keys that are missing or cannot be changed are
// passed over: there is nothing of the program's to remove from them.
void ForEachRunKey(const std::function<void(RunKey& key, const std::string& where)>& visit);

} // namespace ambervale
