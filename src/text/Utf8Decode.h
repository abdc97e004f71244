#pragma once
// The game's own UTF-8 reading, shared by the font loader and the text layout so that a character
// is always looked up by the same code it was stored under.
//
// Never: reads past `size`; a sequence cut off by the end reads the missing bytes as 0.
// It is deliberately narrow (16-bit codes, two-byte leads 0xC6-0xCF give code 0): the font data
// is made to fit it, and the checkers mirror it byte for byte.
#include <cstddef>
#include <cstdint>

// Decodes one character starting at `at` (which must be below `size`) and moves `at` past it.
uint16_t decodeGameCharacter(const uint8_t* bytes, size_t size, size_t& at);
