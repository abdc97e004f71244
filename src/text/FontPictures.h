#pragma once
// FontPictures — where the font loader gets its pictures and puts its atlases. The game uses the
// resource store (StoreFontPictures); tests and fuzz targets hand in pictures from memory.
#include <cstdint>
#include <string>

class ImageData;

class FontPictures {
  public:
    virtual ~FontPictures() = default;
    // The decoded picture, valid until release(name); null when it cannot be had.
    virtual const ImageData* picture(const std::string& name) = 0;
    // Turns the re-packed RGBA atlas into a texture named `atlasName`; -1 on failure.
    virtual int32_t makeAtlas(const std::string& atlasName, const ImageData& atlas) = 0;
    // The source picture is no longer needed.
    virtual void release(const std::string& name) = 0;
};
