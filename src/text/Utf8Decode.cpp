#include "text/Utf8Decode.h"

namespace {
uint8_t byteAt(const uint8_t* bytes, size_t size, size_t at) {
    return at < size ? bytes[at] : 0;
}
} // namespace

uint16_t decodeGameCharacter(const uint8_t* bytes, size_t size, size_t& at) {
    const uint8_t lead = bytes[at];
    if (lead < 0x80) {
        at += 1;
        return lead;
    }
    if (lead >= 0xC0 && lead <= 0xC5) {
        const uint8_t next = byteAt(bytes, size, at + 1);
        at += 2;
        return static_cast<uint16_t>(((lead & 0x1F) << 6) | (next & 0x3F));
    }
    if (lead >= 0xC6 && lead <= 0xCF) {
        at += 2;
        return 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const uint8_t b1 = byteAt(bytes, size, at + 1);
        const uint8_t b2 = byteAt(bytes, size, at + 2);
        at += 3;
        return static_cast<uint16_t>((lead << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
    }
    at += 1;
    return 0;
}
