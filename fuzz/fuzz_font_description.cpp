// A font description over a picture both made from the input: 5 bytes shape the picture (width,
// height, channels, size, gap), the rest fills its pixels, is the description and is laid out.
#include "assets/ImageData.h"
#include "text/FontLoader.h"
#include "text/FontPictures.h"
#include "text/TextLine.h"

namespace {
class FuzzPictures final : public FontPictures {
  public:
    std::unique_ptr<ImageData> image;
    const ImageData* picture(const std::string&) override { return image.get(); }
    int32_t makeAtlas(const std::string&, const ImageData& atlas) override {
        // The atlas must be as large as it says: its last byte is read.
        const volatile uint8_t last = atlas.pixels()[static_cast<size_t>(atlas.pitch()) * atlas.height() - 1];
        return 3 + last * 0;
    }
    void release(const std::string&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const int width = 1 + data[0] % 64, height = 1 + data[1] % 64, channels = 1 + data[2] % 4;
    const uint32_t fontSize = data[3] % 20, gap = data[4] % 3;
    data += 5;
    size -= 5;
    const size_t bytes = static_cast<size_t>(width) * height * channels;
    auto pixels = std::make_unique<uint8_t[]>(bytes);
    for (size_t i = 0; i < bytes; ++i)
        pixels[i] = size ? data[i % size] : 0;
    FuzzPictures pictures;
    pictures.image = std::make_unique<ImageData>(width, height, channels, std::move(pixels));
    const auto font = FontLoader::parseDescription(data, size, "Assets/font/f.txt", fontSize, gap, pictures);
    std::vector<TextDrawItem> items;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (uint8_t colour = 0; colour < 3; ++colour)
        TextLine::layout(font.get(), gap, text, colour, items);
    return 0;
}
