// The catalogue's texts are single-byte Latin-1 (the order-list file writes them as they are);
// everything that leaves the program as UTF-8 converts them here.
#pragma once

#include <string>
#include <string_view>

namespace tovimar {

// Every Latin-1 byte is the code point of the same number: one byte below 0x80, two above.
inline std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace tovimar
