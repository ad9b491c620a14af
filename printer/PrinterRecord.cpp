#include "printer/PrinterRecord.h"

#include <algorithm>

namespace ambervale {
namespace {

struct FieldOffsets {
    std::size_t pointerSize;
    std::size_t fixedPart;
    std::size_t printerName;
    std::size_t portName;
    std::size_t driverName;
    std::size_t status;
};

constexpr FieldOffsets kOffsets32{4, 84, 4, 12, 16, 72};
constexpr FieldOffsets kOffsets64{8, 136, 8, 24, 32, 124};

const FieldOffsets& OffsetsOf(RecordLayout layout) {
    return layout == RecordLayout::Pointers64 ? kOffsets64 : kOffsets32;
}

// The spooler writes the record in the machine's own byte order, which on Windows is little-endian.
std::uint64_t ReadLittleEndian(std::span<const std::byte> buffer, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i) {
        value = (value << 8) | std::to_integer<std::uint64_t>(buffer[offset + i - 1]);
    }
    return value;
}

} // namespace

std::size_t FixedPartSize(RecordLayout layout) {
    return OffsetsOf(layout).fixedPart;
}

std::string SpoolerString(std::span<const std::byte> buffer, std::uint64_t baseAddress, std::uint64_t address) {
    // A pointer that does not point into the record's own buffer is never followed.
    if (address == 0 || address < baseAddress || address - baseAddress >= buffer.size()) {
        return " ";
    }
    const auto start = static_cast<std::size_t>(address - baseAddress);
    const std::size_t limit = std::min(buffer.size() - start, kMaxSpoolerStringBytes);
    std::string text;
    for (std::size_t i = 0; i < limit; ++i) {
        const auto byte = std::to_integer<char>(buffer[start + i]);
        if (byte == '\0') break;
        text.push_back(byte);
    }
    return text;
}

std::optional<PrinterFields> DecodePrinterInfo2(std::span<const std::byte> buffer, std::uint64_t baseAddress,
                                                RecordLayout layout) {
    const FieldOffsets& at = OffsetsOf(layout);
    if (buffer.size() < at.fixedPart) {
        return std::nullopt;
    }
    auto pointerAt = [&](std::size_t offset) { return ReadLittleEndian(buffer, offset, at.pointerSize); };
    PrinterFields fields;
    fields.printerName = SpoolerString(buffer, baseAddress, pointerAt(at.printerName));
    fields.driverName = SpoolerString(buffer, baseAddress, pointerAt(at.driverName));
    fields.portName = SpoolerString(buffer, baseAddress, pointerAt(at.portName));
    fields.status = static_cast<std::uint32_t>(ReadLittleEndian(buffer, at.status, 4));
    return fields;
}

} // namespace ambervale
