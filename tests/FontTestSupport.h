#pragma once
// A font picture source held in memory, and a small picture with known markers and bands; the
// shipped fonts loaded straight from data/.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "assets/ImageData.h"
#include "text/Font.h"
#include "text/FontLoader.h"
#include "text/FontPictures.h"

class MemoryPictures final : public FontPictures {
  public:
    const ImageData* picture(const std::string& name) override {
        const auto found = pictures.find(name);
        return found == pictures.end() ? nullptr : found->second.get();
    }
    // Atlases are kept as copies and numbered from 100.
    int32_t makeAtlas(const std::string& atlasName, const ImageData& atlas) override {
        atlasNames.push_back(atlasName);
        auto copy = std::make_unique<uint8_t[]>(static_cast<size_t>(atlas.pitch()) * atlas.height());
        std::copy(atlas.pixels(), atlas.pixels() + atlas.pitch() * atlas.height(), copy.get());
        atlases.push_back(std::make_unique<ImageData>(atlas.width(), atlas.height(), 4, std::move(copy)));
        return static_cast<int32_t>(atlases.size()) - 1 + 100;
    }
    void release(const std::string& name) override { released.push_back(name); }

    std::map<std::string, std::unique_ptr<ImageData>> pictures;
    std::vector<std::unique_ptr<ImageData>> atlases;
    std::vector<std::string> atlasNames, released;
};

// Markers (magenta) at `markers` in row 0 and `bands` bands of `size` rows. Every glyph pixel is
// opaque and tells its glyph and band: red = 10 x glyph + 1, green = 50 x band + 1.
inline std::unique_ptr<ImageData> makeFontPicture(const std::vector<int>& markers, int width, int size,
                                                  int bands, int extraRows = 0) {
    const int height = 1 + size * bands + extraRows;
    auto image = std::make_unique<ImageData>(
        width, height, 4, std::make_unique<uint8_t[]>(static_cast<size_t>(width) * height * 4));
    for (int m : markers)
        image->setPixel(m, 0, 0xFFFF00FF);
    for (int c = 0; c < bands; ++c)
        for (size_t k = 0; k + 1 < markers.size(); ++k)
            for (int x = markers[k]; x < markers[k + 1]; ++x)
                for (int r = 0; r < size; ++r)
                    image->setPixel(x, 1 + c * size + r, 0xFF000000u | (50u * c + 1) << 8 | (10u * k + 1));
    return image;
}

// Pictures straight from data/, decoded as the store decodes them.
class DataPictures final : public FontPictures {
  public:
    explicit DataPictures(std::filesystem::path data) : data_(std::move(data)) {}
    const ImageData* picture(const std::string& name) override {
        current_ = ImageData::decodeFile((data_ / name).string().c_str());
        return current_.get();
    }
    int32_t makeAtlas(const std::string&, const ImageData&) override { return next_++; }
    void release(const std::string&) override { current_.reset(); }

  private:
    std::filesystem::path data_;
    std::unique_ptr<ImageData> current_;
    int32_t next_ = 0;
};

// Every font of the shipped font list, in its order.
inline std::vector<std::unique_ptr<Font>> loadDataFonts(const std::filesystem::path& data) {
    const std::string list = readWhole(data / "Assets/font/fonts.txt");
    DataPictures pictures(data);
    std::vector<std::unique_ptr<Font>> fonts;
    for (const FontListEntry& entry : FontLoader::parseFontList(reinterpret_cast<const uint8_t*>(list.data()),
                                                                list.size(), "Assets/font/")) {
        const std::string description = readWhole(data / entry.description);
        fonts.push_back(FontLoader::parseDescription(reinterpret_cast<const uint8_t*>(description.data()),
                                                     description.size(), entry.description, entry.size, 1,
                                                     pictures));
    }
    return fonts;
}
