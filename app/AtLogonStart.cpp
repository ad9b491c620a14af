#include "app/AtLogonStart.h"

#include <algorithm>

#include "startup/mStartUp.h"

namespace ambervale {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameArgument(std::string_view token, std::string_view argument) {
    if (token.size() >= 2 && token.front() == '"' && token.back() == '"') token = token.substr(1, token.size() - 2);
    if (token.size() != argument.size()) return false;
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (FoldAscii(token[i]) != argument[i]) return false;
    }
    return true;
}

} // namespace

bool HasAtLogonArgument(std::string_view arguments) {
    constexpr std::string_view kBlanks = " \t";
    for (std::size_t start = arguments.find_first_not_of(kBlanks); start != std::string_view::npos;) {
        const std::size_t end = std::min(arguments.find_first_of(kBlanks, start), arguments.size());
        if (SameArgument(arguments.substr(start, end - start), kAtLogonArgument)) return true;
        start = arguments.find_first_not_of(kBlanks, end);
    }
    return false;
}

bool LogonStartWanted(PolicySource& policies, Registry& registry, const std::string& executablePath) {
    if (ReadPolicies(policies).startWithWindows != true) return false;
    try {
        return !IsRegisteredToStart(registry, executablePath);
    } catch (...) {
        return true;  // the own value could not be read: the policy's start is the one that counts
    }
}

StartChoice ChooseLogonStart(InstanceServices& services) {
    switch (services.ClaimInstance()) {
    case InstanceClaim::Claimed: return StartChoice::RunHere;
    case InstanceClaim::NamesHeldByAnotherAccount: return StartChoice::NamesHeldByAnotherAccount;
    case InstanceClaim::HeldByAnotherCopy: break;
    }
    return StartChoice::LeaveToRunningInstance;
}

} // namespace ambervale
