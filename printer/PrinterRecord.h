#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "printer/PrinterOwnReport.h"
#include "printer/RecordLayout.h"
#include "printer/Supplies.h"

namespace ambervale {

// Longer spooler strings are cut to this many bytes.
inline constexpr std::size_t kMaxSpoolerStringBytes = 256;

// A printer's record holds a few names and a device mode: a spooler asking for more than this is answering nonsense.
inline constexpr std::uint32_t kMaxPrinterRecordBytes = 1u << 20;

// Only the first jobs of a queue are looked at: a failure shows on the job at the head of the queue.
inline constexpr std::uint32_t kMaxJobsRead = 64;
// More than 64 job records with their strings ever need: a spooler asking for more is answering nonsense.
inline constexpr std::uint32_t kMaxJobsBytes = 4u << 20;

// The fields of the record the report is made from.
struct PrinterFields {
    std::string printerName;
    std::string driverName;
    std::string portName;
    std::uint32_t status = 0;
    std::uint32_t attributes = 0;
    std::uint32_t jobs = 0;
    // What the printer itself said beyond the status word, when a source asked it; not part of the report line.
    PrinterOwnReport ownReport{};
};

// The size of the record's fixed part: 84 bytes with 32-bit pointers, 136 with 64-bit ones.
std::size_t FixedPartSize(RecordLayout layout);

// The ANSI text at address, an address inside buffer (which sits at baseAddress): " " for a null
// address and for one outside the buffer, else the bytes up to the first NUL, at most 256 of
// them and never past the buffer's end.
std::string SpoolerString(std::span<const std::byte> buffer, std::uint64_t baseAddress, std::uint64_t address);

// Reads the record a level-2 GetPrinterA left in buffer; nullopt when the buffer is too short
// to hold the fixed part.
std::optional<PrinterFields> DecodePrinterInfo2(std::span<const std::byte> buffer, std::uint64_t baseAddress,
                                                RecordLayout layout);

// The status bits of the JOB_INFO_1 records a level-1 EnumJobsA left in buffer, all together. Reads at
// most `returned` records and kMaxJobsRead, and never more than buffer holds whole.
std::uint32_t JobStatusBits(std::span<const std::byte> buffer, std::uint32_t returned, RecordLayout layout);

} // namespace ambervale
