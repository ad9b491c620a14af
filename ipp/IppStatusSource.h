#pragma once
#include <chrono>
#include <cstdint>

#include "base/ForeignText.h"
#include "ipp/IppTransport.h"
#include "printer/StatusSource.h"
#include "snmp/SnmpTransport.h"
#include "snmp/TcpIpPort.h"

namespace ambervale {

// The whole question, the name's resolution and the connection included, as for SNMP.
inline constexpr std::chrono::milliseconds kIppBudget{1500};

// The printer's own word over IPP, for a printer that SNMP does not ask: one on a port named by its URL, or on a
// Standard TCP/IP port whose SNMP is off or unusable (asked at ipp://<host>:631/ipp/print). The port's key is read at
// each entry. Any other printer is not asked: not one packet.
//
// A printer that does not answer within the budget reads "Off Line"; one that refuses, answers with an HTTP error or
// with anything that is not an answer to this request adds nothing (the device is up, but speaks no IPP there).
class IppStatusSource final : public StatusSource {
public:
    IppStatusSource(StandardTcpIpPorts& ports, IppTransport& transport, RequestIds& ids, ForeignText& text)
        : ports_(ports), transport_(transport), ids_(ids), text_(text) {}
    std::uint32_t StatusBits(const OpenPrinter& printer) override;
    std::uint32_t Hear(const OpenPrinter& printer, PrinterHeard& heard) override;

private:
    StandardTcpIpPorts& ports_;
    IppTransport& transport_;
    RequestIds& ids_;
    ForeignText& text_;
};

} // namespace ambervale
