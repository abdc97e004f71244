#include "gui/ElementServices.h"

#include <algorithm>
#include <cstring>

#include "assets/AssetPack.h"
#include "assets/FileStream.h"
#include "base/GameWide.h"
#include "render/ResourceStore.h"

int32_t StoreTextureLookup::fetch(const std::string& path, uint16_t& width, uint16_t& height) {
    width = height = 0;
    ResourceStore* store = GameWide<ResourceStore>::get();
    if (!store) return -1;
    const int32_t index = store->getOrLoadTexture(path);
    if (const TextureRecord* record = index >= 0 ? store->texture(index) : nullptr) {
        width = static_cast<uint16_t>(record->width);
        height = static_cast<uint16_t>(record->height);
    }
    return index;
}

bool ByteSource::string(std::string& value) {
    uint16_t count = 0;
    if (read(&count, sizeof count) != sizeof count) return false;
    std::string text(count, '\0');
    text.resize(read(text.data(), count));
    value = text;
    return true;
}

size_t MemorySource::read(void* destination, size_t count) {
    const size_t taken = std::min(count, size_ - at_);
    if (taken) std::memcpy(destination, bytes_ + at_, taken);
    at_ += taken;
    return taken;
}

void ByteSink::string(const std::string& value) {
    const uint16_t count = static_cast<uint16_t>(std::min<size_t>(value.size(), 0xFFFF));
    field(count);
    bytes.insert(bytes.end(), value.begin(), value.begin() + count);
}

bool PackElementFiles::readPackFile(const std::string& name, std::vector<uint8_t>& bytes) {
    const AssetPack* pack = GameWide<AssetPack>::get();
    std::unique_ptr<PackBuffer> buffer = pack ? pack->readFile(name) : nullptr;
    if (!buffer) return false;
    const size_t size = std::min<size_t>(buffer->size, buffer->data.size());
    const size_t from = std::min<size_t>(buffer->position, size);
    bytes.assign(buffer->data.begin() + static_cast<std::ptrdiff_t>(from),
                 buffer->data.begin() + static_cast<std::ptrdiff_t>(size));
    return true;
}

bool PackElementFiles::readDiskFile(const std::string& path, std::vector<uint8_t>& bytes) {
    FileStream file;
    file.open(path, "rb");
    if (!file.isOpen()) return false;
    bytes.clear();
    uint8_t chunk[4096];
    for (size_t got; (got = file.read(chunk, sizeof chunk)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    file.close();
    return true;
}
