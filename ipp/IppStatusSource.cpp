#include "ipp/IppStatusSource.h"

#include <exception>
#include <new>
#include <optional>

#include "ipp/IppMessage.h"
#include "ipp/IppPrinterState.h"
#include "printer/StatusBits.h"

namespace ambervale {
namespace {

// A Standard TCP/IP port is asked by its key's host whatever its name; any other port by the URL that names it.
std::optional<IppTarget> TargetOf(const std::string& portName, StandardTcpIpPorts& ports) {
    if (IsPortKeyName(portName)) {
        if (const std::optional<TcpIpPortValues> port = ports.Read(portName)) return IppTargetOfTcpIpPort(*port);
    }
    return IppTargetOfUrl(portName);
}

} // namespace

std::uint32_t IppStatusSource::StatusBits(const OpenPrinter& printer) {
    PrinterHeard heard;
    return Hear(printer, heard);
}

std::uint32_t IppStatusSource::Hear(const OpenPrinter& printer, PrinterHeard& heard) {
    try {
        const std::optional<IppTarget> target = TargetOf(printer.record.portName, ports_);
        if (!target) return 0;
        const IppClock::time_point deadline = IppClock::now() + kIppBudget;
        const std::int32_t id = ids_.Next();
        const IppExchange exchange = transport_.Post(*target, EncodeGetPrinterAttributes(target->printerUri, id),
                                                     deadline);
        switch (exchange.outcome) {
        case IppExchange::Outcome::Silent:
            // As Windows shows a printer that stops answering, and as a silent SNMP agent reads.
            return status_bit::kOffline;
        case IppExchange::Outcome::NotAsked:
            heard.notAsked = exchange.reason;
            return 0;
        case IppExchange::Outcome::NotIpp:
            return 0;
        case IppExchange::Outcome::Answered:
            break;
        }
        const std::optional<IppResponse> response = ReadIppResponse(exchange.body, id);
        if (!response) return 0;
        std::vector<Supply> supplies = IppSupplies(*response, text_);
        const std::uint32_t bits = IppResponseBits(*response, supplies);
        heard.supplies.insert(heard.supplies.end(), supplies.begin(), supplies.end());
        return bits;
    } catch (const std::bad_alloc&) {
        heard.notAsked = "out of memory";
        return 0;
    } catch (const std::exception& error) {
        // A failure of this PC (a thread, a handle) is not the printer's word: the entry has the spooler's alone.
        heard.notAsked = error.what();
        return 0;
    }
}

} // namespace ambervale
