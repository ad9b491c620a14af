#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "asking/AskingSource.h"
#include "asking/GuessedAddresses.h"
#include "asking/RequestIds.h"
#include "asking/TcpIpPort.h"
#include "base/ForeignText.h"
#include "ipp/IppTransport.h"

namespace ambervale {

// The printer's own word over IPP, for a printer that SNMP does not ask: one on a port named by its URL (the
// administrator named IPP), or on a Standard TCP/IP port whose SNMP is off or unusable, asked at the guessed address
// ipp://<host>:631/ipp/print (GuessedAddresses says how often, and when its silence counts). The port's key is read at
// each entry. Any other printer is not asked: not one packet.
class IppStatusSource final : public AskingSource {
public:
    IppStatusSource(StandardTcpIpPorts& ports, IppTransport& transport, RequestIds& ids, ForeignText& text,
                    std::function<AskClock::time_point()> clock = AskClock::now)
        : ports_(ports), transport_(transport), ids_(ids), text_(text), clock_(std::move(clock)) {}
    std::optional<AskOutcome> Ask(const std::string& portName, AskClock::time_point deadline) override;

private:
    AskOutcome Post(const IppTarget& target, AskClock::time_point deadline);

    StandardTcpIpPorts& ports_;
    IppTransport& transport_;
    RequestIds& ids_;
    ForeignText& text_;
    std::function<AskClock::time_point()> clock_;
    GuessedAddresses guesses_;
};

} // namespace ambervale
