// When a port's printer is asked over SNMP, and where.
#include "asking/TcpIpPort.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/FakeAsking.h"

namespace ambervale {
namespace {

using testing::Number;
using testing::SnmpPort;
using testing::Text;

const PortValue kAbsent{};
const PortValue kBinary{PortValue::Kind::Other, "", 0};

TEST(TcpIpPort, AskedOnlyWhenSnmpIsOnAndEveryValueIsUsable) {
    const struct {
        const char* what;
        std::function<void(TcpIpPortValues&)> change;
        std::optional<SnmpTarget> target;
    } cases[] = {
        {"as Windows writes it", [](auto&) {}, SnmpTarget{"192.0.2.7", "public", 1}},
        {"a host name before the address", [](auto& p) { p.hostName = Text("printer-7.example"); },
         SnmpTarget{"printer-7.example", "public", 1}},
        {"no host name value", [](auto& p) { p.hostName = kAbsent; }, SnmpTarget{"192.0.2.7", "public", 1}},
        {"an IPv6 address", [](auto& p) { p.ipAddress = Text("fe80::1%4"); }, SnmpTarget{"fe80::1%4", "public", 1}},
        {"community and index of its own", [](auto& p) { p.community = Text("s3cret"); p.deviceIndex = Number(2); },
         SnmpTarget{"192.0.2.7", "s3cret", 2}},
        {"no community: public", [](auto& p) { p.community = kAbsent; }, SnmpTarget{"192.0.2.7", "public", 1}},
        {"no index: 1", [](auto& p) { p.deviceIndex = kAbsent; }, SnmpTarget{"192.0.2.7", "public", 1}},
        {"the largest index", [](auto& p) { p.deviceIndex = Number(0x7FFFFFFF); },
         SnmpTarget{"192.0.2.7", "public", 0x7FFFFFFF}},
        {"SNMP off", [](auto& p) { p.snmpEnabled = Number(0); }, std::nullopt},
        {"SNMP 2", [](auto& p) { p.snmpEnabled = Number(2); }, std::nullopt},
        {"SNMP absent", [](auto& p) { p.snmpEnabled = kAbsent; }, std::nullopt},
        {"no host at all", [](auto& p) { p.ipAddress = Text(""); }, std::nullopt},
        {"a host name as a number", [](auto& p) { p.hostName = Number(7); }, std::nullopt},
        {"a host with a blank", [](auto& p) { p.ipAddress = Text("192.0.2.7 "); }, std::nullopt},
        {"a host of 256 characters", [](auto& p) { p.hostName = Text(std::string(256, 'a')); }, std::nullopt},
        {"an empty community", [](auto& p) { p.community = Text(""); }, std::nullopt},
        {"a community of 256 bytes", [](auto& p) { p.community = Text(std::string(256, 'c')); }, std::nullopt},
        {"a community in binary", [](auto& p) { p.community = kBinary; }, std::nullopt},
        {"index 0", [](auto& p) { p.deviceIndex = Number(0); }, std::nullopt},
        {"index 2^31", [](auto& p) { p.deviceIndex = Number(0x80000000u); }, std::nullopt},
        {"index as text", [](auto& p) { p.deviceIndex = Text("1"); }, std::nullopt},
    };
    for (const auto& c : cases) {
        TcpIpPortValues port = SnmpPort("192.0.2.7");
        c.change(port);
        const std::optional<SnmpTarget> target = SnmpTargetOf(port);
        ASSERT_EQ(target.has_value(), c.target.has_value()) << c.what;
        if (!target) continue;
        EXPECT_EQ(target->host, c.target->host) << c.what;
        EXPECT_EQ(target->community, c.target->community) << c.what;
        EXPECT_EQ(target->deviceIndex, c.target->deviceIndex) << c.what;
    }
}

TEST(TcpIpPort, OnlyANameThatCanBeOneKeyIsLookedUp) {
    EXPECT_TRUE(IsPortKeyName("IP_192.0.2.7"));
    EXPECT_TRUE(IsPortKeyName(std::string(255, 'p')));
    EXPECT_FALSE(IsPortKeyName(""));
    EXPECT_FALSE(IsPortKeyName(std::string(256, 'p')));
    EXPECT_FALSE(IsPortKeyName("\\\\server\\share"));
    EXPECT_FALSE(IsPortKeyName("IP_1\\..\\Other"));
}

} // namespace
} // namespace ambervale
