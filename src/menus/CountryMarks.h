#pragma once
// CountryMarks — what the selection shows beside the country's name: the country's stamp on the
// left and, once the country is painted, a green seal on the right.
//
// Owns: nothing; the stamp's texture (one name, replaced for each country shown) and the seal are
// the texture store's, which frees them at the end.
// Never: scales a stamp up (pixel art stays 1:1; only a stamp larger than the room is shrunk).
// On failure: a level without a stamp surface, or no texture store, shows no stamp; a missing
// seal picture shows no seal. Nothing else changes.
#include <cstdint>

#include "base/ClipRect.h"

class TextLine;
struct LevelInfo;

class CountryMarks final {
  public:
    static constexpr const char* kStampName = "SelectLevelStamp";
    static constexpr const char* kSealPicture = "Assets/graphics/painted.png";
    // The most room a stamp takes beside the line, and the gap between it, the name and the seal.
    static constexpr int kStampRoomWidth = 24, kStampRoomHeight = 20, kGap = 4;

    // `level` may be null (an empty list): nothing is shown.
    void show(const LevelInfo* level, bool painted);
    // Beside `name`, as it is laid out now, within a screen `screenWidth` wide.
    void draw(const TextLine& name, int screenWidth) const;

    int32_t stampTexture = -1;
    ClipRect stampSize{};
    int32_t sealTexture = -1;
    ClipRect sealSize{};
    bool painted = false;

  private:
    void releaseStamp();
};
