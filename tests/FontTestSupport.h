#pragma once
// A font picture source held in memory, a small picture with known markers and bands, and the
// shipped fonts.
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

// Every font of the shipped font list, in its order, its pictures decoded straight from data/ as the
// store decodes them.
inline std::vector<std::unique_ptr<Font>> loadDataFonts(const std::filesystem::path& data) {
    struct DataPictures final : FontPictures {
        const ImageData* picture(const std::string& name) override {
            current = ImageData::decodeFile((data / name).string().c_str());
            return current.get();
        }
        int32_t makeAtlas(const std::string&, const ImageData&) override { return next++; }
        void release(const std::string&) override { current.reset(); }
        std::filesystem::path data;
        std::unique_ptr<ImageData> current;
        int32_t next = 0;
    } pictures;
    pictures.data = data;
    const auto bytes = [](const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); };
    const std::string list = readWhole(data / "Assets/font/fonts.txt");
    std::vector<std::unique_ptr<Font>> fonts;
    for (const FontListEntry& entry : FontLoader::parseFontList(bytes(list), list.size(), "Assets/font/")) {
        const std::string description = readWhole(data / entry.description);
        fonts.push_back(FontLoader::parseDescription(bytes(description), description.size(),
                                                     entry.description, entry.size, 1, pictures));
    }
    return fonts;
}
