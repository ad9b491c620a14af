#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "printer/StatusBits.h"
#include "printer/Supplies.h"
#include "snmp/SnmpGet.h"

namespace ambervale {

// The printer's own objects the program asks for (Host Resources MIB), each in the row of the printer's device index.
enum class PrinterObject { DeviceStatus, PrinterStatus, DetectedErrorState };

inline constexpr PrinterObject kPrinterObjects[] = {PrinterObject::DeviceStatus, PrinterObject::PrinterStatus,
                                                    PrinterObject::DetectedErrorState};

// hrDeviceStatus.index, hrPrinterStatus.index or hrPrinterDetectedErrorState.index.
ObjectId ObjectIdOf(PrinterObject object, std::uint32_t deviceIndex);

// What the printer said of each object; nullopt for one it does not have.
struct PrinterAnswer {
    std::optional<std::int32_t> deviceStatus;
    std::optional<std::int32_t> printerStatus;
    std::optional<std::vector<std::byte>> detectedErrorState;
};

// The status-table bits the answer stands for, beside the printer's supplies as last read. An answer without the
// printer's own rows (an agent that is not a printer, or another device at that index) adds nothing. offline and
// serviceRequested count only when nothing else explains the device's complaint (PrinterMib.cpp says why).
std::uint32_t PrinterStatusBits(const PrinterAnswer& answer, std::span<const Supply> supplies = {});

// What a reply says of the objects asked for, in the order asked.
struct ReplyVerdict {
    enum class Kind {
        Answer,      // a value, or the agent's word that it has no such object, for every one of them
        NoSuchName,  // SNMPv1: the agent has no such object as the one at missingObject; the others are unknown
        TooBig,      // the answer would not fit in a datagram: the objects are to be asked one at a time
        AgentError,  // any other error status (genErr, badValue, ...): the agent is up, the objects unknown
        NotAnAnswer  // bindings that are not the objects asked for
    };
    Kind kind = Kind::NotAnAnswer;
    std::vector<std::optional<SnmpValue>> values;  // for Answer: nullopt where the object does not exist
    std::size_t missingObject = 0;                 // for NoSuchName: its 0-based place among the objects asked for
};
ReplyVerdict JudgeReply(const GetResponse& reply, const std::vector<ObjectId>& asked);

// Puts what the reply said of one object into the answer: nothing for an object the agent does not have. False,
// leaving the answer alone, for a value of another type than the object's: that object stays unknown.
bool TakeValue(PrinterObject object, const std::optional<SnmpValue>& value, PrinterAnswer& answer);

} // namespace ambervale
