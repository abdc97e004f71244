#include "assets/ImageData.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stb_image.h>

namespace {
constexpr int kLargestSide = 8192;

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// Reads `count` bytes at `offset`; false when they are not all there.
using ReadAt = std::function<bool(uint64_t offset, uint8_t* out, size_t count)>;

// The PNG decoder grows its buffer to what a chunk header claims before it reads the chunk, so a
// few damaged bytes could make it ask for gigabytes. Every chunk must fit in the file first.
// Anything that is not a PNG passes.
bool chunksFit(const ReadAt& read, uint64_t size) {
    uint8_t header[8];
    if (!read(0, header, 8) || std::memcmp(header, kPngSignature, 8) != 0) return true;
    for (uint64_t offset = 8; offset + 8 <= size;) {
        if (!read(offset, header, 8)) return false;
        const uint64_t length = static_cast<uint64_t>(header[0]) << 24 |
                                static_cast<uint64_t>(header[1]) << 16 |
                                static_cast<uint64_t>(header[2]) << 8 | header[3];
        if (length + 12 > size - offset) return false;
        if (std::memcmp(header + 4, "IEND", 4) == 0) return true;
        offset += length + 12;
    }
    return true;
}

// The JPEG decoder builds each Huffman table into a 257-entry array without checking that the 16
// code counts add up to at most 256, so a damaged table writes past it (already while reading the
// header for the size). Walk the markers as the decoder meets them and refuse such a table. Anything
// that is not a JPEG passes; so does a JPEG the walk cannot follow, which the decoder refuses too.
bool huffmanTablesFit(const ReadAt& read, uint64_t size) {
    uint8_t b[2];
    // The start-of-image marker, after any number of 0xFF fill bytes as the decoder allows.
    uint64_t at = 0;
    if (!read(at, b, 1) || b[0] != 0xFF) return true;
    while (read(at, b, 1) && b[0] == 0xFF)
        ++at;
    if (at >= size || b[0] != 0xD8) return true;
    ++at;
    while (at + 2 <= size) {
        if (!read(at, b, 2)) return true;
        // Bytes between segments and fill bytes before a marker are skipped, as the decoder does.
        if (b[0] != 0xFF || b[1] == 0xFF) {
            ++at;
            continue;
        }
        const uint8_t marker = b[1];
        at += 2;
        if (marker == 0xD9) return true;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;
        if (!read(at, b, 2)) return true;
        const int64_t length = b[0] << 8 | b[1];
        if (marker == 0xC4) {
            // The tables are read while the segment's count stays above zero, as the decoder does.
            uint64_t table = at + 2;
            for (int64_t left = length - 2; left > 0;) {
                // Past the end the decoder reads zeros: a table cut short still counts.
                uint8_t head[17] = {};
                for (uint64_t i = 0; i < 17 && table + i < size; ++i)
                    if (!read(table + i, head + i, 1)) return true;
                int codes = 0;
                for (int i = 1; i <= 16; ++i)
                    codes += head[i];
                if (codes > 256) return false;
                table += 17 + static_cast<uint64_t>(codes);
                left -= 17 + codes;
            }
        }
        at += static_cast<uint64_t>(length);
        if (marker == 0xDA) {
            // Entropy-coded data: the next marker is the first 0xFF followed by neither 0 (a stuffed
            // byte), another 0xFF nor a restart.
            for (; at + 2 <= size; ++at) {
                if (!read(at, b, 2)) return true;
                if (b[0] == 0xFF && b[1] != 0x00 && b[1] != 0xFF && (b[1] < 0xD0 || b[1] > 0xD7)) break;
            }
        }
    }
    return true;
}

// Both structure checks, before the decoder sees a byte.
bool structureFits(const ReadAt& read, uint64_t size) {
    return chunksFit(read, size) && huffmanTablesFit(read, size);
}

int readCallback(void* user, char* data, int size) {
    return static_cast<int>(std::fread(data, 1, static_cast<size_t>(size), static_cast<FILE*>(user)));
}
void skipCallback(void* user, int n) {
    FILE* file = static_cast<FILE*>(user);
    std::fseek(file, n, SEEK_CUR);
    // fseek clears the end-of-file mark, which stb asks for once its reads come back empty: without
    // it a skip past the end leaves a damaged JPEG header scanned for a marker for ever. Reading a
    // byte sets the mark again at the end; anywhere else the byte is put back.
    const int next = std::fgetc(file);
    if (next != EOF) std::ungetc(next, file);
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

namespace {
ReadAt memoryReader(const uint8_t* bytes, size_t size) {
    return [bytes, size](uint64_t offset, uint8_t* out, size_t count) {
        if (offset > size || count > size - offset) return false;
        std::memcpy(out, bytes + offset, count);
        return true;
    };
}
// The structure checks over an open file, which is left rewound for stb.
bool fileStructureFits(FILE* file) {
    std::fseek(file, 0, SEEK_END);
    const long end = std::ftell(file);
    const bool fits = end > 0 && structureFits(
                                     [file](uint64_t offset, uint8_t* out, size_t count) {
                                         return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
                                                std::fread(out, 1, count, file) == count;
                                     },
                                     static_cast<uint64_t>(end));
    std::rewind(file);
    return fits;
}
} // namespace

bool ImageData::pngChunksFit(const uint8_t* bytes, size_t size) {
    return chunksFit(memoryReader(bytes, size), size);
}

bool ImageData::jpegTablesFit(const uint8_t* bytes, size_t size) {
    return huffmanTablesFit(memoryReader(bytes, size), size);
}

bool ImageData::acceptableSize(int width, int height) {
    return width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide;
}

std::unique_ptr<ImageData> ImageData::decode(const uint8_t* bytes, size_t size) {
    if (!bytes || size == 0 || size > 0x7fffffff) return nullptr;
    const int length = static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    if (!structureFits(memoryReader(bytes, size), size) ||
        !stbi_info_from_memory(bytes, length, &w, &h, &channels) || !acceptableSize(w, h))
        return nullptr;
    unsigned char* pixels = stbi_load_from_memory(bytes, length, &w, &h, &channels, 0);
    return fromDecoder(pixels, w, h, channels);
}

std::unique_ptr<ImageData> ImageData::decodeFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    const stbi_io_callbacks callbacks{readCallback, skipCallback, eofCallback};
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = nullptr;
    const bool fits = fileStructureFits(file);
    if (fits && stbi_info_from_callbacks(&callbacks, file, &w, &h, &channels) && acceptableSize(w, h)) {
        std::rewind(file);
        pixels = stbi_load_from_callbacks(&callbacks, file, &w, &h, &channels, 0);
    }
    std::fclose(file);
    return fromDecoder(pixels, w, h, channels);
}

bool ImageData::readSize(const uint8_t* bytes, size_t size, int* width, int* height) {
    *width = *height = 0;
    if (!bytes || size == 0 || size > 0x7fffffff) return false;
    int w = 0, h = 0, channels = 0;
    // stb's header reader walks the same tables as its decoder, so it gets the same checks first.
    if (!structureFits(memoryReader(bytes, size), size) ||
        !stbi_info_from_memory(bytes, static_cast<int>(size), &w, &h, &channels) || !acceptableSize(w, h))
        return false;
    *width = w;
    *height = h;
    return true;
}

bool ImageData::readFileSize(const char* path, int* width, int* height) {
    *width = *height = 0;
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    const stbi_io_callbacks callbacks{readCallback, skipCallback, eofCallback};
    int w = 0, h = 0, channels = 0;
    const bool fits = fileStructureFits(file);
    const bool known =
        fits && stbi_info_from_callbacks(&callbacks, file, &w, &h, &channels) && acceptableSize(w, h);
    std::fclose(file);
    if (!known) return false;
    *width = w;
    *height = h;
    return true;
}

std::unique_ptr<ImageData> ImageData::toRgba() const {
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    auto out = std::make_unique<uint8_t[]>(count * 4);
    const uint8_t* in = pixels_.get();
    for (size_t i = 0; i < count; ++i, in += channels_) {
        uint8_t* o = out.get() + i * 4;
        switch (channels_) {
        case 1:
            o[0] = o[1] = o[2] = in[0];
            o[3] = 255;
            break;
        case 2:
            o[0] = o[1] = o[2] = in[0];
            o[3] = in[1];
            break;
        case 3:
            o[0] = in[0];
            o[1] = in[1];
            o[2] = in[2];
            o[3] = 255;
            break;
        default:
            o[0] = in[0];
            o[1] = in[1];
            o[2] = in[2];
            o[3] = in[3];
            break;
        }
    }
    return std::make_unique<ImageData>(width_, height_, 4, std::move(out));
}

namespace {
// The most opaque, then brightest (green counting most), of a block's pixels.
uint32_t strongestOf(const ImageData& image, int x0, int x1, int y0, int y1) {
    uint32_t best = 0, bestKey = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint32_t p = image.pixel(x, y);
            const uint32_t key =
                (p >> 24) * 2048 + (p & 0xFF) * 2 + ((p >> 8) & 0xFF) * 5 + ((p >> 16) & 0xFF);
            if (key > bestKey) bestKey = key, best = p;
        }
    return best;
}

// The mean of a block's pixels, each colour weighted by its alpha, so clear pixels lend no colour.
uint32_t meanOf(const ImageData& image, int x0, int x1, int y0, int y1) {
    uint64_t weighted[3] = {0, 0, 0}, alpha = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint32_t p = image.pixel(x, y);
            const uint32_t a = p >> 24;
            for (int c = 0; c < 3; ++c)
                weighted[c] += uint64_t{(p >> (8 * c)) & 0xFF} * a;
            alpha += a;
        }
    if (alpha == 0) return 0;
    uint32_t mean = static_cast<uint32_t>(alpha / (static_cast<uint64_t>(x1 - x0) * (y1 - y0))) << 24;
    for (int c = 0; c < 3; ++c)
        mean |= static_cast<uint32_t>(weighted[c] / alpha) << (8 * c);
    return mean;
}
} // namespace

void ImageData::shrinkInto(ImageData& target, Shrink how) const {
    if (channels_ != 4 || target.bytesPerPixel() != 4) return;
    const int tw = target.width(), th = target.height();
    for (int y = 0; y < th; ++y) {
        const int y0 = y * height_ / th, y1 = std::max(y0 + 1, (y + 1) * height_ / th);
        for (int x = 0; x < tw; ++x) {
            const int x0 = x * width_ / tw, x1 = std::max(x0 + 1, (x + 1) * width_ / tw);
            target.setPixel(x, y,
                            how == Shrink::Average ? meanOf(*this, x0, x1, y0, y1)
                                                   : strongestOf(*this, x0, x1, y0, y1));
        }
    }
}
