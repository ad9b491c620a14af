#pragma once
#include <cstddef>

namespace ambervale {

// The spooler's records come in the pointer width of the process that asked for them.
enum class RecordLayout { Pointers32, Pointers64 };

inline constexpr RecordLayout kNativeRecordLayout =
    sizeof(void*) == 8 ? RecordLayout::Pointers64 : RecordLayout::Pointers32;

// Where the fields the query reads sit in PRINTER_INFO_2A.
struct PrinterInfo2Offsets {
    std::size_t pointerSize;
    std::size_t fixedPart;
    std::size_t printerName;
    std::size_t portName;
    std::size_t driverName;
    std::size_t attributes;
    std::size_t status;
    std::size_t jobs;
};

// JOB_INFO_1A records stand one after another at the start of the buffer, their strings after them all.
struct JobInfo1Offsets {
    std::size_t recordSize;
    std::size_t status;
};

constexpr PrinterInfo2Offsets PrinterInfo2OffsetsOf(RecordLayout layout) {
    return layout == RecordLayout::Pointers64 ? PrinterInfo2Offsets{8, 136, 8, 24, 32, 104, 124, 128}
                                              : PrinterInfo2Offsets{4, 84, 4, 12, 16, 52, 72, 76};
}

constexpr JobInfo1Offsets JobInfo1OffsetsOf(RecordLayout layout) {
    return layout == RecordLayout::Pointers64 ? JobInfo1Offsets{96, 56} : JobInfo1Offsets{64, 28};
}

} // namespace ambervale
