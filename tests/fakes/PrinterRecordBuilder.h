#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "printer/PrinterRecord.h"

namespace ambervale::testing {

// What a spooler would put in a PRINTER_INFO_2: a missing string is a null pointer; a raw
// pointer, when given, is written instead of a pointer to the string.
struct FakePrinterRecord {
    std::optional<std::string> printerName;
    std::optional<std::string> driverName;
    std::optional<std::string> portName;
    std::uint32_t status = 0;
    std::optional<std::uint64_t> rawPortPointer;
};

// Lays the record out the way GetPrinterA does, for a buffer that will sit at baseAddress: the
// fixed part, then the NUL-terminated strings the pointers point to. The offsets are those of
// the Windows SDK's PRINTER_INFO_2A.
inline std::vector<std::byte> BuildPrinterInfo2(RecordLayout layout, std::uint64_t baseAddress,
                                                const FakePrinterRecord& record) {
    const bool wide = layout == RecordLayout::Pointers64;
    const std::size_t pointerSize = wide ? 8 : 4;
    const std::size_t fixedPart = wide ? 136 : 84;
    const std::size_t printerNameAt = wide ? 8 : 4;
    const std::size_t portNameAt = wide ? 24 : 12;
    const std::size_t driverNameAt = wide ? 32 : 16;
    const std::size_t statusAt = wide ? 124 : 72;

    std::vector<std::byte> buffer(fixedPart, std::byte{0xCD});
    auto put = [&](std::size_t offset, std::uint64_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            buffer[offset + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
        }
    };
    auto putString = [&](std::size_t pointerAt, const std::optional<std::string>& text) {
        if (!text) {
            put(pointerAt, 0, pointerSize);
            return;
        }
        put(pointerAt, baseAddress + buffer.size(), pointerSize);
        for (char c : *text) buffer.push_back(static_cast<std::byte>(c));
        buffer.push_back(std::byte{0});
    };
    putString(printerNameAt, record.printerName);
    putString(driverNameAt, record.driverName);
    putString(portNameAt, record.portName);
    if (record.rawPortPointer) put(portNameAt, *record.rawPortPointer, pointerSize);
    put(statusAt, record.status, 4);
    return buffer;
}

} // namespace ambervale::testing
