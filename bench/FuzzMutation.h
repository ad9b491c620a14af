#pragma once
// The mutations the fuzzers of network replies share: a flipped bit, a changed tag or length octet, bytes cut,
// inserted or repeated, and one octet of the format's own kind (a delimiter, a length form) that the caller draws.
#include <cstddef>
#include <random>
#include <vector>

namespace ambervale::fuzz {

using Bytes = std::vector<std::byte>;
using OwnOctet = std::byte (*)(std::mt19937& random);

inline Bytes Mutate(const Bytes& seed, std::mt19937& random, OwnOctet ownOctet) {
    Bytes bytes = seed;
    const int mutations = 1 + static_cast<int>(random() % 4);
    for (int m = 0; m < mutations && !bytes.empty(); ++m) {
        const std::size_t at = random() % bytes.size();
        switch (random() % 8) {
        case 0: bytes[at] ^= static_cast<std::byte>(1u << (random() % 8)); break;
        case 1: bytes[at] = static_cast<std::byte>(random() % 256); break;
        case 2: bytes[at] = static_cast<std::byte>(std::to_integer<int>(bytes[at]) + 1); break;  // a length one over
        case 3: bytes[at] = static_cast<std::byte>(std::to_integer<int>(bytes[at]) - 1); break;
        case 4: bytes.resize(at); break;                                                            // truncated
        case 5: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::byte>(random() % 256));
                break;
        case 6: bytes[at] = ownOctet(random); break;
        default: {
            const std::size_t length = random() % (bytes.size() - at + 1);
            const Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                              bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(random() % (bytes.size() + 1)), piece.begin(),
                         piece.end());
        }
        }
    }
    return bytes;
}

} // namespace ambervale::fuzz
