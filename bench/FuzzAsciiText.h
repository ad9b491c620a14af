#pragma once
// The printer's text as the fuzzers of network replies read it: ASCII kept, every other byte a '?' (a fuzzer has no
// code page): what the readers do with the text is what is fuzzed, not Windows' conversion.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/ForeignText.h"

namespace ambervale::fuzz {

class AsciiText final : public ForeignText {
public:
    std::optional<std::string> ToAnsi(std::string_view bytes, std::uint32_t) override {
        std::string text;
        for (const char c : bytes) text += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        return text;
    }
};

} // namespace ambervale::fuzz
