#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "asking/AskingSource.h"
#include "asking/RequestIds.h"
#include "asking/TcpIpPort.h"
#include "base/ForeignText.h"
#include "snmp/PrinterAlertTable.h"
#include "snmp/PrinterMib.h"
#include "snmp/PrinterSupplies.h"
#include "snmp/SnmpRequest.h"
#include "snmp/SnmpTransport.h"

namespace ambervale {

// Asks the printer what it is doing: hrDeviceStatus, hrPrinterStatus and hrPrinterDetectedErrorState at its device
// index, before deadline, each request with the tries of RequestWithRetries and its one rule of which reply counts.
// nullopt when no reply of the agent's came at all; once one has, the agent is up and the question has an answer,
// however the rest goes: objects that stayed unanswered are unknown. An object the agent does not have (noSuchName)
// is left out and the rest asked again. Any other error status proves the agent is up: tooBig has the objects asked
// one at a time, any other leaves them unknown; so does a value that cannot be used, or bindings of other objects.
std::optional<PrinterAnswer> AskPrinter(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                                        AskClock::time_point deadline);

// The printer's own word over SNMP, for a printer on a Standard TCP/IP port whose SNMP box is checked: the port's key
// is read at each entry, so a change there takes effect at the next one. Any other printer is not asked over SNMP:
// not one packet. After its status, the printer's alert table (PrinterAlertTable), then its supplies and page count
// (PrinterSupplies), are read as often as they are due.
class SnmpStatusSource final : public AskingSource {
public:
    // text: for supplies' and alerts' descriptions in a character set the printer names; nullptr for ASCII alone.
    SnmpStatusSource(StandardTcpIpPorts& ports, SnmpTransport& transport, RequestIds& ids,
                     ForeignText* text = nullptr, std::function<AskClock::time_point()> clock = AskClock::now)
        : ports_(ports), transport_(transport), ids_(ids), clock_(std::move(clock)), alerts_(text), supplies_(text) {}
    std::optional<AskOutcome> Ask(const std::string& portName, AskClock::time_point deadline) override;

private:
    StandardTcpIpPorts& ports_;
    SnmpTransport& transport_;
    RequestIds& ids_;
    std::function<AskClock::time_point()> clock_;
    PrinterAlertTable alerts_;
    PrinterSupplies supplies_;
};

} // namespace ambervale
