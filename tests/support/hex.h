// Byte fixtures written as hex strings: "01 91 00" -> {0x01, 0x91, 0x00}.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace karvo::test {

inline std::vector<std::uint8_t> Hex(const std::string& text) {
    std::vector<std::uint8_t> out;
    int nibbles = 0;
    unsigned value = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else continue;
        value = value * 16 + static_cast<unsigned>(d);
        if (++nibbles == 2) {
            out.push_back(static_cast<std::uint8_t>(value));
            nibbles = 0;
            value = 0;
        }
    }
    return out;
}

// `prefix` followed by zeros up to `total` bytes.
inline std::vector<std::uint8_t> HexPadded(const std::string& prefix, std::size_t total) {
    auto v = Hex(prefix);
    v.resize(total, 0);
    return v;
}

}  // namespace karvo::test
