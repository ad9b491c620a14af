#include "printer/PrinterRecord.h"

#include <algorithm>

namespace ambervale {
namespace {

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
    return PrinterInfo2OffsetsOf(layout).fixedPart;
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
    const PrinterInfo2Offsets at = PrinterInfo2OffsetsOf(layout);
    if (buffer.size() < at.fixedPart) {
        return std::nullopt;
    }
    auto pointerAt = [&](std::size_t offset) { return ReadLittleEndian(buffer, offset, at.pointerSize); };
    PrinterFields fields;
    fields.printerName = SpoolerString(buffer, baseAddress, pointerAt(at.printerName));
    fields.driverName = SpoolerString(buffer, baseAddress, pointerAt(at.driverName));
    fields.portName = SpoolerString(buffer, baseAddress, pointerAt(at.portName));
    fields.status = static_cast<std::uint32_t>(ReadLittleEndian(buffer, at.status, 4));
    fields.attributes = static_cast<std::uint32_t>(ReadLittleEndian(buffer, at.attributes, 4));
    fields.jobs = static_cast<std::uint32_t>(ReadLittleEndian(buffer, at.jobs, 4));
    return fields;
}

std::uint32_t JobStatusBits(std::span<const std::byte> buffer, std::uint32_t returned, RecordLayout layout) {
    const JobInfo1Offsets at = JobInfo1OffsetsOf(layout);
    // A spooler that claims more records than its buffer holds is read only as far as the buffer goes.
    const std::size_t count =
        std::min({std::size_t{returned}, std::size_t{kMaxJobsRead}, buffer.size() / at.recordSize});
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        bits |= static_cast<std::uint32_t>(ReadLittleEndian(buffer, i * at.recordSize + at.status, 4));
    }
    return bits;
}

} // namespace ambervale
