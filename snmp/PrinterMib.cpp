#include "snmp/PrinterMib.h"

#include <algorithm>
#include <array>

#include "printer/StatusBits.h"
#include "snmp/Ber.h"

namespace ambervale {
namespace {

using namespace status_bit;

// hrPrinterDetectedErrorState: bit 0 is the high bit of the first octet. lowPaper (0), outputNearFull (11) and
// overduePreventMaint (14) have no word in the table.
constexpr std::array<std::uint32_t, 16> kErrorStateBits{
    0,                  // lowPaper
    kPaperOut,          // noPaper
    kTonerLow,          // lowToner
    kNoToner,           // noToner
    kDoorOpen,          // doorOpen
    kPaperJam,          // jammed
    kOffline,           // offline: trusted only while the device complains (below)
    kUserIntervention,  // serviceRequested: likewise
    kPaperProblem,      // inputTrayMissing
    kPaperProblem,      // outputTrayMissing
    kNoToner,           // markerSupplyMissing
    0,                  // outputNearFull
    kOutputBinFull,     // outputFull
    kPaperOut,          // inputTrayEmpty
    0,                  // overduePreventMaint
    0,
};

// offline and serviceRequested are set by many printers while they merely sleep in power-save, which is why CUPS
// ignores both as unreliable; and a low toner or paper keeps hrDeviceStatus in warning for days, so a sleeping
// printer with a low toner says warning + offline every night. The two count only when nothing else explains the
// device's complaint: hrDeviceStatus down; or warning with no other error bit set and no marker supply at or below
// its low mark. Then the device means them.
constexpr std::size_t kOfflineBit = 6;
constexpr std::size_t kServiceRequestedBit = 7;

constexpr std::int32_t kDeviceWarning = 3;
constexpr std::int32_t kDeviceDown = 5;
constexpr std::int32_t kPrinterPrinting = 4;
constexpr std::int32_t kPrinterWarmup = 5;

bool IsSet(const std::vector<std::byte>& octets, std::size_t bit) {
    return bit / 8 < octets.size() && (std::to_integer<std::uint8_t>(octets[bit / 8]) & (0x80u >> (bit % 8))) != 0;
}

bool OtherErrorSet(const std::vector<std::byte>& octets) {
    for (std::size_t bit = 0; bit < kErrorStateBits.size(); ++bit) {
        if (bit != kOfflineBit && bit != kServiceRequestedBit && IsSet(octets, bit)) return true;
    }
    return false;
}

bool AnyMarkerLow(std::span<const Supply> supplies) {
    return std::any_of(supplies.begin(), supplies.end(), [](const Supply& supply) {
        return IsMarkerSupply(supply) && supply.percent && *supply.percent <= kSupplyLowPercent;
    });
}

bool DeviceMeansOffline(const PrinterAnswer& answer, std::span<const Supply> supplies) {
    if (answer.deviceStatus == kDeviceDown) return true;
    if (answer.deviceStatus != kDeviceWarning) return false;
    return !OtherErrorSet(answer.detectedErrorState.value_or(std::vector<std::byte>{})) && !AnyMarkerLow(supplies);
}

std::uint32_t ErrorStateBits(const std::vector<std::byte>& octets, bool deviceMeansOffline) {
    std::uint32_t bits = 0;
    for (std::size_t bit = 0; bit < kErrorStateBits.size(); ++bit) {
        if (!deviceMeansOffline && (bit == kOfflineBit || bit == kServiceRequestedBit)) continue;
        if (IsSet(octets, bit)) bits |= kErrorStateBits[bit];
    }
    return bits;
}

bool IsAbsence(SnmpValue::Kind kind) {
    return kind == SnmpValue::Kind::NoSuchObject || kind == SnmpValue::Kind::NoSuchInstance ||
           kind == SnmpValue::Kind::EndOfMibView;
}

} // namespace

ObjectId ObjectIdOf(PrinterObject object, std::uint32_t deviceIndex) {
    switch (object) {
    case PrinterObject::DeviceStatus:
        return BerObjectIdContents(std::array<std::uint32_t, 12>{1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 5, deviceIndex});
    case PrinterObject::PrinterStatus:
        return BerObjectIdContents(std::array<std::uint32_t, 12>{1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 1, deviceIndex});
    case PrinterObject::DetectedErrorState:
        break;
    }
    return BerObjectIdContents(std::array<std::uint32_t, 12>{1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 2, deviceIndex});
}

std::uint32_t PrinterStatusBits(const PrinterAnswer& answer, std::span<const Supply> supplies) {
    if (!answer.printerStatus && !answer.detectedErrorState) return 0;
    std::uint32_t bits = 0;
    if (answer.deviceStatus == kDeviceDown) bits |= kError;
    if (answer.printerStatus == kPrinterPrinting) bits |= kPrinting;
    if (answer.printerStatus == kPrinterWarmup) bits |= kWarmingUp;
    if (answer.detectedErrorState) {
        bits |= ErrorStateBits(*answer.detectedErrorState, DeviceMeansOffline(answer, supplies));
    }
    return bits;
}

ReplyVerdict JudgeReply(const GetResponse& reply, const std::vector<ObjectId>& asked) {
    ReplyVerdict verdict;
    // Any error status is the agent's own word, so the device is up, whatever bindings come with it (RFC 3416 has
    // tooBig sent with none).
    if (reply.errorStatus == kErrorTooBig) {
        verdict.kind = ReplyVerdict::Kind::TooBig;
        return verdict;
    }
    const bool sameObjects = reply.bindings.size() == asked.size() &&
                             std::equal(asked.begin(), asked.end(), reply.bindings.begin(),
                                        [](const ObjectId& object, const VarBind& b) { return b.object == object; });
    if (reply.errorStatus == kErrorNoSuchName && sameObjects && reply.errorIndex >= 1 &&
        static_cast<std::size_t>(reply.errorIndex) <= asked.size()) {
        verdict.kind = ReplyVerdict::Kind::NoSuchName;
        verdict.missingObject = static_cast<std::size_t>(reply.errorIndex - 1);
        return verdict;
    }
    if (reply.errorStatus != 0) {
        verdict.kind = ReplyVerdict::Kind::AgentError;
        return verdict;
    }
    // Without an error, a reply to this question lists the objects asked for, in the order asked.
    if (!sameObjects) return verdict;
    for (const VarBind& binding : reply.bindings) {
        if (IsAbsence(binding.value.kind)) {
            verdict.values.emplace_back(std::nullopt);
        } else {
            verdict.values.emplace_back(binding.value);
        }
    }
    verdict.kind = ReplyVerdict::Kind::Answer;
    return verdict;
}

bool TakeValue(PrinterObject object, const std::optional<SnmpValue>& value, PrinterAnswer& answer) {
    if (!value) return true;
    switch (object) {
    case PrinterObject::DeviceStatus:
    case PrinterObject::PrinterStatus:
        if (value->kind != SnmpValue::Kind::Integer) return false;
        (object == PrinterObject::DeviceStatus ? answer.deviceStatus : answer.printerStatus) = value->integer;
        return true;
    case PrinterObject::DetectedErrorState:
        if (value->kind != SnmpValue::Kind::OctetString) return false;
        answer.detectedErrorState = value->octets;
        return true;
    }
    return false;
}

} // namespace ambervale
