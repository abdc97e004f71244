// Feeds arbitrary bytes to picture decoding as the texture store does for pack entries: decoded
// in the file's own channel count, refused above the size limit before any pixel memory is taken.
#include "assets/ImageData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto image = ImageData::decode(data, size);
    if (!image) return 0;
    if (!ImageData::acceptableSize(image->width(), image->height())) __builtin_trap();
    if (image->bytesPerPixel() < 1 || image->bytesPerPixel() > 4) __builtin_trap();
    // Read every byte the picture claims to hold, as an upload would.
    unsigned sum = 0;
    const size_t bytes = static_cast<size_t>(image->pitch()) * static_cast<size_t>(image->height());
    for (size_t i = 0; i < bytes; ++i)
        sum += image->pixels()[i];
    return static_cast<int>(sum & 0);
}
