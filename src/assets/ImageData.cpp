#include "assets/ImageData.h"

#include <cstdio>
#include <stb_image.h>

namespace {
constexpr int kLargestSide = 8192;

int readCallback(void* user, char* data, int size) {
    return static_cast<int>(std::fread(data, 1, static_cast<size_t>(size), static_cast<FILE*>(user)));
}
void skipCallback(void* user, int n) {
    std::fseek(static_cast<FILE*>(user), n, SEEK_CUR);
}
int eofCallback(void* user) {
    return std::feof(static_cast<FILE*>(user));
}
} // namespace

ImageData::ImageData(int width, int height, int channels, std::unique_ptr<uint8_t[]> pixels)
    : width_(width), height_(height), channels_(channels),
      pixels_(pixels.release(), [](uint8_t* p) { delete[] p; }), clip_{0, 0, static_cast<uint16_t>(width),
                                                                       static_cast<uint16_t>(height)} {}

std::unique_ptr<ImageData> ImageData::fromDecoder(uint8_t* pixels, int width, int height, int channels) {
    if (!pixels) return nullptr;
    auto image = std::make_unique<ImageData>(width, height, channels, nullptr);
    image->pixels_ = {pixels, [](uint8_t* p) { stbi_image_free(p); }};
    return image;
}

bool ImageData::acceptableSize(int width, int height) {
    return width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide;
}

std::unique_ptr<ImageData> ImageData::decode(const uint8_t* bytes, size_t size) {
    if (!bytes || size == 0 || size > 0x7fffffff) return nullptr;
    const int length = static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, length, &w, &h, &channels) || !acceptableSize(w, h)) return nullptr;
    unsigned char* pixels = stbi_load_from_memory(bytes, length, &w, &h, &channels, 0);
    return fromDecoder(pixels, w, h, channels);
}

std::unique_ptr<ImageData> ImageData::decodeFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    const stbi_io_callbacks callbacks{readCallback, skipCallback, eofCallback};
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = nullptr;
    if (stbi_info_from_callbacks(&callbacks, file, &w, &h, &channels) && acceptableSize(w, h)) {
        std::rewind(file);
        pixels = stbi_load_from_callbacks(&callbacks, file, &w, &h, &channels, 0);
    }
    std::fclose(file);
    return fromDecoder(pixels, w, h, channels);
}
