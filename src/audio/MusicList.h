#pragma once
// MusicList — the reader of "Sound/levels.bgm": which four tracks a music key names.
//
// Owns: nothing; reads the bytes it is given. Never: loads or plays sounds, writes messages.
// On failure: a key that is missing, or whose block ends before its four track lines, is not
// found; the caller then keeps the tracks it had.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class MusicList final {
  public:
    // Lines are read in pieces of at most this many bytes, as the list has always been read.
    static constexpr size_t kPieceBytes = 255;

    // Scans the whole list: a later block with the same key replaces an earlier one. Each track
    // is a sound name, or "#" for none. False when no complete block for `key` exists.
    static bool find(const uint8_t* data, size_t size, const std::string& key,
                     std::array<std::string, 4>& tracks);
};
