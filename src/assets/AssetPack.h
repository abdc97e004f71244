#pragma once
// AssetPack — the index of the pack archive "Vedezaviva.zez".
//
// Owns: the name → offset and offset → size maps, read once at start-up and never changed.
// Never: keeps the pack file open between fetches, writes the pack, caches fetched bytes, throws.
// On failure: a missing or damaged pack leaves the index empty or partial (no message); a fetch of
// a name that is absent, or whose bytes lie outside the file, returns null.
#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>

#include "assets/ImageData.h"
#include "assets/PackBuffer.h"

struct Mix_Chunk;

class AssetPack final {
  public:
    static constexpr const char* kDefaultPath = "Vedezaviva.zez";

    explicit AssetPack(std::string path = kDefaultPath);

    // False when the pack cannot be opened; true otherwise, even when the directory stops early
    // (the entries read before the damage stay usable).
    bool loadIndex();
    // The directory parser behind loadIndex, fed from memory by the fuzz target and the tests.
    // `fileSize` bounds every length and offset the directory claims.
    void readIndex(std::istream& in, uint64_t fileSize);

    std::unique_ptr<PackBuffer> readFile(const std::string& name) const;
    std::unique_ptr<ImageData> loadImage(const std::string& name) const;
    // Decoded by the mixer; null when absent or undecodable.
    Mix_Chunk* loadSound(const std::string& name) const;

    bool has(const std::string& name) const { return names_.count(name) != 0; }
    const std::map<std::string, uint32_t>& names() const { return names_; }
    size_t entryCount() const { return names_.size(); }
    // Size of the entry under `name`, as the offset map records it; 0 when absent.
    uint32_t entrySize(const std::string& name) const;
    void clear();

  private:
    std::string path_;
    std::map<std::string, uint32_t> names_;
    std::map<uint32_t, uint32_t> sizes_;
};
