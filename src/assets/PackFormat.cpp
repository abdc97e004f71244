#include "assets/PackFormat.h"

namespace {
constexpr uint32_t kPow10[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
} // namespace

uint32_t PackFormat::unscramble(uint32_t stored) {
    uint32_t result = stored - stored % kPow10[9];
    uint32_t rest = stored % kPow10[9];
    for (int place = 0; place < 9; ++place) {
        const uint32_t digit = rest % 10;
        rest /= 10;
        if (digit != 0) result += kDigitKey[digit] * kPow10[kPlaceKey[place]];
    }
    return result;
}

std::optional<uint32_t> PackFormat::scramble(uint32_t value) {
    if (value > kLargestNumber) return std::nullopt;
    uint8_t digitFrom[10] = {};
    for (uint8_t d = 1; d <= 9; ++d)
        digitFrom[kDigitKey[d]] = d;
    uint32_t stored = value - value % kPow10[9];
    for (int place = 0; place < 9; ++place) {
        const uint32_t digit = value / kPow10[kPlaceKey[place]] % 10;
        stored += digitFrom[digit] * kPow10[place];
    }
    return stored;
}

std::string PackFormat::unrotateName(const std::string& stored) {
    std::string name(stored.size(), '\0');
    for (size_t i = 0; i < stored.size(); ++i) {
        const auto b = static_cast<uint8_t>(stored[i]);
        name[i] = static_cast<char>(static_cast<uint8_t>((b >> 1) | ((b & 1) << 7)));
    }
    return name;
}

std::string PackFormat::rotateName(const std::string& name) {
    std::string stored(name.size(), '\0');
    for (size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<uint8_t>(name[i]);
        stored[i] = static_cast<char>(static_cast<uint8_t>((b << 1) | (b >> 7)));
    }
    return stored;
}
