// Picture decoding from memory (pack entries) and from a loose file (stdio): refused above the size
// limit before any pixel memory is taken, in 1 to 4 channels, and as large as the header reader says.
#include "ScratchFile.h"
#include "assets/ImageData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int width = 0, height = 0;
    const std::string path = scratchFile(data, size);
    if (const auto loose = ImageData::decodeFile(path.c_str()))
        if (!ImageData::readFileSize(path.c_str(), &width, &height) || loose->width() != width)
            __builtin_trap();
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
