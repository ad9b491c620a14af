#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ambervale {

// PRINTER_INFO_2 comes in the pointer width of the process that asked for it.
enum class RecordLayout { Pointers32, Pointers64 };

inline constexpr RecordLayout kNativeRecordLayout =
    sizeof(void*) == 8 ? RecordLayout::Pointers64 : RecordLayout::Pointers32;

// Longer spooler strings are cut to this many bytes.
inline constexpr std::size_t kMaxSpoolerStringBytes = 256;

// The four fields of the record the report shows.
struct PrinterFields {
    std::string printerName;
    std::string driverName;
    std::string portName;
    std::uint32_t status = 0;
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

} // namespace ambervale
