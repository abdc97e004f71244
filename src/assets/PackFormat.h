#pragma once
#include <cstdint>
#include <optional>
#include <string>

// The number key and name rotation of "Vedezaviva.zez", shared by the game's reader and our pack
// tool so the two can never drift apart.
//
// Each directory number keeps its billions digit; its nine low decimal digits are substituted by
// kDigitKey and moved to the places of kPlaceKey. Digit 0 always stays 0, so an all-zero number
// reads as 0 whatever the key.
class PackFormat final {
  public:
    // kDigitKey[d] is the digit that a stored digit d (1..9) reads as; [0] is unused.
    static constexpr uint8_t kDigitKey[10] = {0, 7, 3, 9, 1, 8, 2, 5, 4, 6};
    // kPlaceKey[k] is the place that a stored digit at place k (0..8) moves to.
    static constexpr uint8_t kPlaceKey[9] = {4, 7, 0, 8, 2, 6, 1, 3, 5};
    // The header word the tool writes; the reader ignores it.
    static constexpr uint32_t kHeaderWord = 20261206;
    // The largest number the scrambled form can hold in 32 bits.
    static constexpr uint32_t kLargestNumber = 3999999999u;

    static uint32_t unscramble(uint32_t stored);
    // Empty when the value is too large to be stored in 32 bits.
    static std::optional<uint32_t> scramble(uint32_t value);

    // Stored name bytes (after the ignored first byte) back to the name: each byte rotated right.
    static std::string unrotateName(const std::string& stored);
    static std::string rotateName(const std::string& name);
};
