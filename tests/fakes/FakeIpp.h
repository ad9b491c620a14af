#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/ForeignText.h"
#include "ipp/IppMessage.h"
#include "ipp/IppTransport.h"

namespace ambervale::testing {

// Response bytes written the way a printer writes them, piece by piece.
class IppBytes {
public:
    IppBytes& Octet(int value) {
        bytes.push_back(static_cast<std::byte>(value));
        return *this;
    }
    IppBytes& Short(std::size_t value) { return Octet(static_cast<int>((value >> 8) & 0xFF)).Octet(value & 0xFF); }
    IppBytes& Text(std::string_view text) {
        Short(text.size());
        for (const char c : text) Octet(static_cast<unsigned char>(c));
        return *this;
    }
    // The version, status and request id that open every message.
    IppBytes& Header(int major, int status, std::uint32_t id) {
        Octet(major).Octet(0).Short(static_cast<std::size_t>(status));
        for (int shift = 24; shift >= 0; shift -= 8) Octet(static_cast<int>((id >> shift) & 0xFF));
        return *this;
    }
    // One value; an empty name adds it to the attribute before.
    IppBytes& Value(int tag, std::string_view name, std::string_view value) { return Octet(tag).Text(name).Text(value); }
    IppBytes& Integer(int tag, std::string_view name, std::int32_t number) {
        const auto bits = static_cast<std::uint32_t>(number);
        Octet(tag).Text(name).Short(4);
        for (int shift = 24; shift >= 0; shift -= 8) Octet(static_cast<int>((bits >> shift) & 0xFF));
        return *this;
    }
    // The operation group as every response opens it, then the printer's group.
    IppBytes& Groups() {
        return Octet(ipp_tag::kOperationGroup)
            .Value(ipp_tag::kCharset, "attributes-charset", "utf-8")
            .Value(ipp_tag::kNaturalLanguage, "attributes-natural-language", "en")
            .Octet(ipp_tag::kPrinterGroup);
    }
    std::vector<std::byte> End() {
        Octet(ipp_tag::kEndOfAttributes);
        return bytes;
    }

    std::vector<std::byte> bytes;
};

// A printer's answer to request id with the printer attributes that fill writes.
template <class Fill>
std::vector<std::byte> PrinterResponse(std::uint32_t id, Fill&& fill) {
    IppBytes bytes;
    bytes.Header(2, 0, id).Groups();
    fill(bytes);
    return bytes.End();
}

// UTF-8 as this PC's ANSI: ASCII as it is, anything else one '#' a character; nullopt for other character sets.
class FakeForeignText : public ForeignText {
public:
    std::optional<std::string> ToAnsi(std::string_view bytes, std::uint32_t mibEnum) override {
        if (mibEnum != charset::kUtf8 || refuse) return std::nullopt;
        std::string ansi;
        for (const char c : bytes) {
            const auto octet = static_cast<unsigned char>(c);
            if (octet < 0x80) ansi += c;
            else if (octet >= 0xC0) ansi += '#';
        }
        return ansi;
    }
    bool refuse = false;
};

// The other end of the HTTP exchange: answers every POST with the exchange given, and keeps what was sent.
class FakeIppTransport : public IppTransport {
public:
    PostEnding Post(const IppTarget& target, std::span<const std::byte> request, AskClock::time_point) override {
        targets.push_back(target);
        requests.emplace_back(request.begin(), request.end());
        if (!failure.empty()) throw std::runtime_error(failure);
        return answer;
    }
    PostEnding answer;
    std::string failure;  // thrown instead of the answer when set, as a failure of this PC
    std::vector<IppTarget> targets;
    std::vector<std::vector<std::byte>> requests;
};

} // namespace ambervale::testing
