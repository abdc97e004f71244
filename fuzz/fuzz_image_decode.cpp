// Feeds arbitrary bytes to picture decoding as the texture store does for pack entries: decoded
// in the file's own channel count, refused above the size limit before any pixel memory is taken,
// and of the size the header reader alone gives.
#include "assets/ImageData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int width = 0, height = 0;
    const bool sized = ImageData::readSize(data, size, &width, &height);
    const auto image = ImageData::decode(data, size);
    if (!image) return 0;
    const int channels = image->bytesPerPixel();
    if (!sized || image->width() != width || image->height() != height ||
        !ImageData::acceptableSize(width, height) || channels < 1 || channels > 4)
        __builtin_trap();
    // The RGBA copy reads every byte the picture claims to hold, as an upload would.
    if (image->toRgba()->width() != width) __builtin_trap();
    return 0;
}
