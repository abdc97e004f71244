#pragma once
#include <cstdint>
#include <memory>

#include "base/ClipRect.h"

// A decoded picture in the file's own channel count (1 to 4 bytes a pixel, rows `pitch` bytes
// apart, no padding). Owns its pixels.
class ImageData final {
  public:
    static constexpr uint32_t kRedMask = 0x000000FF, kGreenMask = 0x0000FF00, kBlueMask = 0x00FF0000,
                              kAlphaMask = 0xFF000000;

    // Decodes an image held in memory. Null when stb_image cannot decode it, when it is larger than
    // the game ever accepts, when a PNG chunk claims more than the file holds, or when a JPEG
    // Huffman table holds more codes than it can (all checked before the decoder runs).
    static std::unique_ptr<ImageData> decode(const uint8_t* bytes, size_t size);
    // Decodes a file on disk through stb_image's callbacks (read, skip, end test). Null as above,
    // also when the file cannot be opened.
    static std::unique_ptr<ImageData> decodeFile(const char* path);
    // False for a PNG with a chunk that claims more bytes than the file holds (the decoder would
    // take memory for it before noticing); true for anything else.
    static bool pngChunksFit(const uint8_t* bytes, size_t size);
    // False for a JPEG with a Huffman table of more than 256 codes (stb_image 2.27 writes past its
    // table for it, even when only asked for the size); true for anything else.
    static bool jpegTablesFit(const uint8_t* bytes, size_t size);
    // The same size limit for any caller that learns a size from a header.
    static bool acceptableSize(int width, int height);
    // A picture's size from its header alone, without decoding a pixel; false (and 0 x 0) when
    // the bytes are no picture we decode or the size is beyond the limit.
    static bool readSize(const uint8_t* bytes, size_t size, int* width, int* height);
    static bool readFileSize(const char* path, int* width, int* height);

    ImageData(int width, int height, int channels, std::unique_ptr<uint8_t[]> pixels);
    // Takes over a block stb_image decoded, so a picture is never copied after decoding.
    static std::unique_ptr<ImageData> fromDecoder(uint8_t* pixels, int width, int height, int channels);

    int width() const { return width_; }
    int height() const { return height_; }
    int bytesPerPixel() const { return channels_; }
    int bitsPerPixel() const { return channels_ * 8; }
    int pitch() const { return width_ * channels_; }
    const uint8_t* pixels() const { return pixels_.get(); }
    uint8_t* pixels() { return pixels_.get(); }
    const ClipRect& clip() const { return clip_; }

    // The pixel's 1 to 4 bytes in memory order, the first byte lowest; 0 outside the picture.
    uint32_t pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
        const uint8_t* at = pixels_.get() + (static_cast<size_t>(y) * width_ + x) * channels_;
        uint32_t value = 0;
        for (int i = channels_ - 1; i >= 0; --i)
            value = value << 8 | at[i];
        return value;
    }
    // Writes the low 1 to 4 bytes of `value`; nothing outside the picture.
    void setPixel(int x, int y, uint32_t value) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        uint8_t* at = pixels_.get() + (static_cast<size_t>(y) * width_ + x) * channels_;
        for (int i = 0; i < channels_; ++i, value >>= 8)
            at[i] = static_cast<uint8_t>(value);
    }
    // A 4-byte copy: grey g becomes g,g,g; a missing alpha becomes 255.
    std::unique_ptr<ImageData> toRgba() const;
    // Fills `target` with this picture shrunk, both 4 bytes a pixel (anything else is left alone),
    // each target pixel made from the block of pixels it covers: their alpha-weighted mean
    // (Average), or the most opaque, then brightest, of them (KeepLines), so that a one-pixel line
    // on clear air stays whole, where a mean would fade it to nothing.
    enum class Shrink { Average, KeepLines };
    void shrinkInto(ImageData& target, Shrink how) const;

  private:
    int width_;
    int height_;
    int channels_;
    // Pixels come from new[] (blank surfaces, tests) or from the decoder's own allocator.
    std::unique_ptr<uint8_t[], void (*)(uint8_t*)> pixels_;
    ClipRect clip_;
};
