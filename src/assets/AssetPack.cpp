#include "assets/AssetPack.h"

#include <SDL_mixer.h>

#include "assets/FileStream.h"
#include "assets/PackFormat.h"

namespace {
bool readNumber(std::istream& in, uint32_t& value) {
    uint8_t bytes[4];
    if (!in.read(reinterpret_cast<char*>(bytes), 4)) return false;
    const uint32_t stored = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    value = PackFormat::unscramble(stored);
    return true;
}
} // namespace

AssetPack::AssetPack(std::string path) : path_(std::move(path)) {}

void AssetPack::clear() {
    names_.clear();
    sizes_.clear();
}

bool AssetPack::loadIndex() {
    std::ifstream in(path_, std::ios::binary);
    if (!in.is_open()) return false;
    FileStream savedataMaker; // the first file access of a run makes "Savedata"
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    in.seekg(0);
    readIndex(in, end > 0 ? static_cast<uint64_t>(end) : 0);
    return true;
}

void AssetPack::readIndex(std::istream& in, uint64_t fileSize) {
    uint32_t header = 0, count = 0;
    if (!readNumber(in, header) || !readNumber(in, count)) return;
    uint64_t consumed = 8;
    // The count is only a promise: the loop stops at the first entry that does not fit in the file,
    // so a huge count costs nothing.
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!readNumber(in, length)) return;
        consumed += 4;
        if (length == 0 || length > fileSize - consumed || fileSize - consumed - length < 8) return;
        std::string stored(length, '\0');
        if (!in.read(stored.data(), length)) return;
        consumed += length;
        uint32_t offset = 0, size = 0;
        if (!readNumber(in, offset) || !readNumber(in, size)) return;
        consumed += 8;
        // An entry whose bytes lie outside the file can never be fetched whole: leave it out.
        if (static_cast<uint64_t>(offset) + size > fileSize) continue;
        names_.emplace(PackFormat::unrotateName(stored.substr(1)), offset);
        sizes_.emplace(offset, size);
    }
}

uint32_t AssetPack::entrySize(const std::string& name) const {
    const auto named = names_.find(name);
    if (named == names_.end()) return 0;
    const auto sized = sizes_.find(named->second);
    return sized == sizes_.end() ? 0 : sized->second;
}

std::unique_ptr<PackBuffer> AssetPack::readFile(const std::string& name) const {
    const auto named = names_.find(name);
    if (named == names_.end()) return nullptr;
    const auto sized = sizes_.find(named->second);
    if (sized == sizes_.end()) return nullptr;
    FileStream file;
    file.open(path_, "rb");
    auto buffer = std::make_unique<PackBuffer>();
    buffer->data.resize(sized->second);
    file.seek(named->second);
    const size_t got = sized->second ? file.read(buffer->data.data(), sized->second) : 0;
    file.close();
    // A pack changed or cut since start-up would give a short read: no half-filled buffer leaves here.
    if (got != sized->second) return nullptr;
    buffer->size = sized->second;
    return buffer;
}

std::unique_ptr<ImageData> AssetPack::loadImage(const std::string& name) const {
    const auto buffer = readFile(name);
    if (!buffer) return nullptr;
    return ImageData::decode(buffer->data.data(), buffer->size);
}

Mix_Chunk* AssetPack::loadSound(const std::string& name) const {
    const auto buffer = readFile(name);
    if (!buffer || buffer->size == 0) return nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(buffer->data.data(), static_cast<int>(buffer->size));
    if (!stream) return nullptr;
    return Mix_LoadWAV_RW(stream, 1);
}
