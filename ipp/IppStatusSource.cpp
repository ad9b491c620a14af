#include "ipp/IppStatusSource.h"

#include "ipp/IppMessage.h"
#include "ipp/IppPrinterAlerts.h"
#include "ipp/IppPrinterState.h"
#include "ipp/IppTarget.h"

namespace ambervale {

std::optional<AskOutcome> IppStatusSource::Ask(const std::string& portName, AskClock::time_point deadline) {
    // A Standard TCP/IP port is asked by its key's host whatever its name; any other port by the URL that names it.
    std::optional<TcpIpPortValues> port;
    if (IsPortKeyName(portName)) port = ports_.Read(portName);
    if (!port) {
        const std::optional<IppTarget> named = IppTargetOfUrl(portName);
        if (!named) return std::nullopt;
        return Post(*named, deadline);
    }
    const std::optional<IppTarget> guess = IppTargetOfTcpIpPort(*port);
    if (!guess) return std::nullopt;
    const AskClock::time_point now = clock_();
    if (!guesses_.Due(guess->printerUri, now)) return std::nullopt;
    AskOutcome outcome = AskOrNotAsked([&] { return Post(*guess, deadline); });
    outcome.address = guesses_.Took(guess->printerUri, outcome.kind, now);
    return outcome;
}

AskOutcome IppStatusSource::Post(const IppTarget& target, AskClock::time_point deadline) {
    const std::int32_t id = ids_.Next();
    const PostEnding ending = transport_.Post(target, EncodeGetPrinterAttributes(target.printerUri, id), deadline);
    switch (ending.kind) {
    case AskOutcome::Kind::Answered:
        break;
    case AskOutcome::Kind::CouldNotAsk:
        return AskOutcome::NotAsked(ending.reason);
    case AskOutcome::Kind::NoSuchProtocol:
        return AskOutcome::NotSpoken();
    case AskOutcome::Kind::Silent:
        return AskOutcome::Silence();
    }
    // HTTP 200 with anything but an answer to this request: no IPP printer there.
    const std::optional<IppResponse> response = ReadIppResponse(ending.body, id);
    if (!response) return AskOutcome::NotSpoken();
    AskOutcome outcome = AskOutcome::Answer(0);
    outcome.supplies = IppSupplies(*response, text_);
    outcome.bits = IppResponseBits(*response, outcome.supplies);
    outcome.alerts = IppAlerts(*response, text_);
    return outcome;
}

} // namespace ambervale
