#include "assets/SurfaceStore.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "assets/AssetPack.h"
#include "base/GameWide.h"

std::unique_ptr<ImageData> SurfaceStore::readImage(const std::string& path) {
    if (auto loose = ImageData::decodeFile(path.c_str())) return loose;
    const AssetPack* pack = GameWide<AssetPack>::get();
    return pack ? pack->loadImage(path) : nullptr;
}

bool SurfaceStore::pictureSize(const std::string& path, int* width, int* height) {
    if (ImageData::readFileSize(path.c_str(), width, height)) return true;
    const AssetPack* pack = GameWide<AssetPack>::get();
    const auto bytes = pack ? pack->readFile(path) : nullptr;
    if (!bytes) return false;
    return ImageData::readSize(bytes->data.data(), std::min<size_t>(bytes->size, bytes->data.size()), width,
                               height);
}

int32_t SurfaceStore::load(const std::string& path) {
    auto image = readImage(path);
    if (!image) return -1;
    return slots_.add(path, std::move(image));
}

int32_t SurfaceStore::getOrLoad(const std::string& path) {
    const int32_t existing = slots_.find(path);
    return existing >= 0 ? existing : load(path);
}

int32_t SurfaceStore::createBlank(const std::string& name, int width, int height) {
    // A zero size would hand out a slot that belongs to another picture.
    if (!ImageData::acceptableSize(width, height)) return -1;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    auto pixels = std::make_unique<uint8_t[]>(bytes);
    std::fill(pixels.get(), pixels.get() + bytes, 0);
    return slots_.add(name, std::make_unique<ImageData>(width, height, 4, std::move(pixels)));
}

void SurfaceStore::remove(const std::string& name) {
    if (slots_.find(name) < 0) {
        std::cout << "The file " << name << " is not loaded yet. Cannot delete it." << std::endl;
        return;
    }
    // A freed surface slot is not offered to the next picture at once (textures' slots are).
    slots_.remove(name, false);
}

std::string SurfaceStore::name(int32_t index) const {
    const std::string* found = slots_.get(index) ? slots_.nameOf(index) : nullptr;
    return found ? *found : "NULL";
}

uint32_t SurfaceStore::getPixel(int32_t index, int x, int y) const {
    const ImageData* image = slots_.get(index);
    return image ? image->pixel(x, y) : 0;
}

void SurfaceStore::putPixel(int32_t index, int x, int y, uint32_t value) {
    if (ImageData* image = slots_.get(index)) image->setPixel(x, y, value);
}

void SurfaceStore::convertToRgba(int32_t index) {
    ImageData* image = slots_.get(index);
    if (!image || image->bytesPerPixel() == 4) return;
    *image = std::move(*image->toRgba());
}

void SurfaceStore::keepLeftColumn(int32_t index) {
    ImageData* image = slots_.get(index);
    if (!image || image->width() <= 1) return;
    const int channels = image->bytesPerPixel();
    auto column = std::make_unique<uint8_t[]>(static_cast<size_t>(image->height()) * channels);
    for (int y = 0; y < image->height(); ++y)
        std::memcpy(column.get() + static_cast<size_t>(y) * channels,
                    image->pixels() + static_cast<size_t>(y) * image->pitch(), channels);
    *image = ImageData(1, image->height(), channels, std::move(column));
}
