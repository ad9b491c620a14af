#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

#include "printer/StatusSource.h"
#include "snmp/PrinterMib.h"
#include "snmp/SnmpTransport.h"
#include "snmp/TcpIpPort.h"

namespace ambervale {

// One question to the printer: up to three requests, each waited for up to half a second, all within a second and a
// half, the host's name resolved included.
inline constexpr int kSnmpTries = 3;
inline constexpr std::chrono::milliseconds kSnmpTryWait{500};
inline constexpr std::chrono::milliseconds kSnmpBudget = kSnmpTryWait * kSnmpTries;

// Asks the printer what it is doing: hrDeviceStatus, hrPrinterStatus and hrPrinterDetectedErrorState at its device
// index. nullopt when no valid reply came: none at all, or only replies that are not an answer to this question.
// A request id of any of the question's requests is taken (a slow printer may answer an earlier one), as long as the
// reply lists exactly the objects still asked for. An object the agent does not have (noSuchName) is left out and
// the rest asked again, which counts as one of the three requests.
std::optional<PrinterAnswer> AskPrinter(const SnmpTarget& target, SnmpTransport& transport, RequestIds& ids);

// The printer's own word, for a printer on a Standard TCP/IP port whose SNMP box is checked: the port's key is read
// at each entry, so a change there takes effect at the next one. Any other printer is not asked: not one packet.
class SnmpStatusSource final : public StatusSource {
public:
    SnmpStatusSource(StandardTcpIpPorts& ports, SnmpTransport& transport, RequestIds& ids)
        : ports_(ports), transport_(transport), ids_(ids) {}
    std::uint32_t StatusBits(const OpenPrinter& printer) override;

private:
    StandardTcpIpPorts& ports_;
    SnmpTransport& transport_;
    RequestIds& ids_;
};

// Request ids no one outside can guess, from 1 to 2^31 - 1.
class RandomRequestIds final : public RequestIds {
public:
    RandomRequestIds();
    std::int32_t Next() override;

private:
    std::mt19937 generator_;
};

} // namespace ambervale
