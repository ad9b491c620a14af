#pragma once
#include "asking/TcpIpPort.h"

namespace ambervale::win {

// The ports of Windows' Standard TCP/IP port monitor, under
// HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\<port name>, opened read-only.
class WinStandardTcpIpPorts final : public StandardTcpIpPorts {
public:
    std::optional<TcpIpPortValues> Read(const std::string& portName) override;
};

} // namespace ambervale::win
