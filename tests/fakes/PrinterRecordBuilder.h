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
    std::uint32_t attributes = 0;
    std::uint32_t jobs = 0;
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
    const std::size_t attributesAt = wide ? 104 : 52;
    const std::size_t statusAt = wide ? 124 : 72;
    const std::size_t jobsAt = wide ? 128 : 76;

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
    put(attributesAt, record.attributes, 4);
    put(statusAt, record.status, 4);
    put(jobsAt, record.jobs, 4);
    return buffer;
}

// Lays out what a level-1 EnumJobsA returns for jobs with these status words, for a buffer at
// baseAddress: the JOB_INFO_1A records one after another (64 bytes each with 32-bit pointers, 96
// with 64-bit ones; Status at 28 or 56), then each job's document name, which pDocument points to.
inline std::vector<std::byte> BuildJobInfo1(RecordLayout layout, std::uint64_t baseAddress,
                                            const std::vector<std::uint32_t>& statuses) {
    const bool wide = layout == RecordLayout::Pointers64;
    const std::size_t recordSize = wide ? 96 : 64;
    const std::size_t documentAt = wide ? 32 : 16;
    const std::size_t statusAt = wide ? 56 : 28;
    const std::size_t pointerSize = wide ? 8 : 4;

    std::vector<std::byte> buffer(recordSize * statuses.size(), std::byte{0});
    auto put = [&](std::size_t offset, std::uint64_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            buffer[offset + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
        }
    };
    for (std::size_t job = 0; job < statuses.size(); ++job) {
        const std::size_t record = job * recordSize;
        put(record, job + 1, 4);  // JobId
        put(record + statusAt, statuses[job], 4);
        put(record + documentAt, baseAddress + buffer.size(), pointerSize);
        // Status-like bytes in the strings: a reader that strays past the records finds bits here.
        for (int i = 0; i < 8; ++i) buffer.push_back(std::byte{0xFF});
        buffer.push_back(std::byte{0});
    }
    return buffer;
}

} // namespace ambervale::testing
