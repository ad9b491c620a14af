#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ambervale {

// Where Group Policy puts the program's policy values, in HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
inline constexpr std::string_view kPolicyKeyPath = "Software\\Policies\\Corvatek\\Ambervale";

// Every policy value is a REG_DWORD; a value of any other type or size is no policy at all.
inline constexpr std::uint32_t kRegDword = 4;

// What a policy value's absence (or an unusable value) means.
enum class PolicyAbsent {
    On,          // the thing stays on: the program does as it always has
    UsersChoice, // the user's own choice in the window applies
};

// One policy value the program reads: its name, the DWORDs it takes (empty: any, where only 0 means off), and what
// its absence means. A value outside `allowed` counts as absent.
struct PolicyRule {
    std::string_view name;
    std::span<const std::uint32_t> allowed;
    PolicyAbsent absent;
};

// The interval list's seconds, the only values LogInterval takes (the list's own table is checked against these).
inline constexpr std::array<std::uint32_t, 12> kPolicyIntervalSeconds{1,    5,    10,    30,    60,    300,
                                                                      600,  1800, 3600,  21600, 43200, 86400};
inline constexpr std::array<std::uint32_t, 2> kPolicyOffOn{0, 1};

inline constexpr PolicyRule kEventLogPolicy{"EventLog", {}, PolicyAbsent::On};
inline constexpr PolicyRule kAskPrintersPolicy{"AskPrinters", {}, PolicyAbsent::On};
inline constexpr PolicyRule kLogIntervalPolicy{"LogInterval", kPolicyIntervalSeconds, PolicyAbsent::UsersChoice};
inline constexpr PolicyRule kAutomaticLogPolicy{"AutomaticLog", kPolicyOffOn, PolicyAbsent::UsersChoice};
inline constexpr PolicyRule kStartWithWindowsPolicy{"StartWithWindows", kPolicyOffOn, PolicyAbsent::UsersChoice};
inline constexpr PolicyRule kNotifyPolicy{"Notify", kPolicyOffOn, PolicyAbsent::UsersChoice};

// The program's policy values, all of them: the administrative template must name exactly these.
inline constexpr std::array<const PolicyRule*, 6> kPolicyRules{&kEventLogPolicy,     &kAskPrintersPolicy,
                                                               &kLogIntervalPolicy,  &kAutomaticLogPolicy,
                                                               &kStartWithWindowsPolicy, &kNotifyPolicy};

// A registry value as it was read: its type and its bytes.
struct PolicyData {
    std::uint32_t type = 0;
    std::string bytes;
};

// The value a rule takes from what the machine and the user hold: the machine's when it is a DWORD the rule
// allows, else the user's on the same terms, else nothing (absent).
std::optional<std::uint32_t> PolicyValue(const PolicyRule& rule, std::optional<PolicyData> machine,
                                         std::optional<PolicyData> user);

// Where the rules read their values; the Windows reader looks in both hives' 64-bit view.
class PolicySource {
public:
    virtual ~PolicySource() = default;
    virtual std::optional<PolicyData> Machine(std::string_view name) = 0;
    virtual std::optional<PolicyData> User(std::string_view name) = 0;
};

// What the policies decide, as the program uses it; nothing for a value that leaves the choice to the user.
struct Policies {
    bool eventLog = true;
    bool askPrinters = true;
    std::optional<std::int32_t> logIntervalSeconds;
    std::optional<bool> automaticLog;
    std::optional<bool> startWithWindows;
    std::optional<bool> notify{};
    bool operator==(const Policies&) const = default;
};

// Reads every rule once. Never throws: a value that cannot be read counts as absent.
Policies ReadPolicies(PolicySource& source) noexcept;

// Whether a switch of EventLog's kind lets its thing happen: only 0 turns it off.
bool PolicyAllows(const PolicyRule& rule, PolicySource& source) noexcept;
// What an on/off rule of the user's choice (AutomaticLog's kind) holds: nothing when the choice is the user's.
std::optional<bool> PolicyHolds(const PolicyRule& rule, PolicySource& source) noexcept;

// The window's controls a policy may hold: disabled, with the tip below, and given back when the policy goes.
enum class HeldControl { ListView2, PushButton5, Check4 };
inline constexpr std::string_view kHeldByPolicyTip = "Set by your administrator";

class PolicyHeldControls {
public:
    virtual ~PolicyHeldControls() = default;
    virtual void SetHeld(HeldControl control, bool held) = 0;
};

} // namespace ambervale
