#pragma once
#include <cstdint>

// The bits of the spooler's printer status word (the PRINTER_STATUS_* values of winspool.h), named once for every
// unit that reads or makes a status word: the status line's words, the queue's own state, the printer's answer
// over the network and the Event Log's levels.
namespace ambervale::status_bit {

inline constexpr std::uint32_t kPaused = 0x1;
inline constexpr std::uint32_t kError = 0x2;
inline constexpr std::uint32_t kPendingDeletion = 0x4;
inline constexpr std::uint32_t kPaperJam = 0x8;
inline constexpr std::uint32_t kPaperOut = 0x10;
inline constexpr std::uint32_t kManualFeed = 0x20;
inline constexpr std::uint32_t kPaperProblem = 0x40;
inline constexpr std::uint32_t kOffline = 0x80;
inline constexpr std::uint32_t kIoActive = 0x100;
inline constexpr std::uint32_t kBusy = 0x200;
inline constexpr std::uint32_t kPrinting = 0x400;
inline constexpr std::uint32_t kOutputBinFull = 0x800;
inline constexpr std::uint32_t kNotAvailable = 0x1000;
inline constexpr std::uint32_t kWaiting = 0x2000;
inline constexpr std::uint32_t kProcessing = 0x4000;
inline constexpr std::uint32_t kInitializing = 0x8000;
inline constexpr std::uint32_t kWarmingUp = 0x10000;
inline constexpr std::uint32_t kTonerLow = 0x20000;
inline constexpr std::uint32_t kNoToner = 0x40000;
inline constexpr std::uint32_t kPagePunt = 0x80000;
inline constexpr std::uint32_t kUserIntervention = 0x100000;
inline constexpr std::uint32_t kOutOfMemory = 0x200000;
inline constexpr std::uint32_t kDoorOpen = 0x400000;

// Every bit above has a word on the status line; a status with none of them shows as "Unknown Status of ...".
inline constexpr std::uint32_t kAllWithWords = 0x7FFFFF;

} // namespace ambervale::status_bit
