#pragma once
// SurfaceStore — every picture the game keeps in main memory (surfaces), by reusable index.
//
// Owns: the decoded pictures; everything else holds only integer indices, -1 meaning none. The
// terrain, the paint layer, stamps, brushes and flag palettes are read and painted here, so the
// level's rules run without a GL context; the resource store makes textures from these.
// Never: touches GL, or decides where a picture comes from beyond "loose file first, then the pack".
// On failure: never throws; a missing or undecodable picture, a zero size or an unknown index
// gives -1 (or 0 for a pixel) and stores nothing.
#include <cstdint>
#include <memory>
#include <string>

#include "assets/ImageData.h"
#include "base/IndexedSlots.h"

class SurfaceStore final {
  public:
    SurfaceStore() = default;
    SurfaceStore(const SurfaceStore&) = delete;
    SurfaceStore& operator=(const SurfaceStore&) = delete;

    int32_t load(const std::string& path);
    int32_t getOrLoad(const std::string& path);
    // A 4-byte picture of see-through black pixels.
    int32_t createBlank(const std::string& name, int width, int height);
    void remove(const std::string& name);
    ImageData* get(int32_t index) const { return slots_.get(index); }
    int32_t find(const std::string& name) const { return slots_.find(name); }
    // The name a surface was made under; "NULL" for an index that holds none.
    std::string name(int32_t index) const;
    // Pixel access by index: 0 and nothing for -1, an empty slot or outside the picture.
    uint32_t getPixel(int32_t index, int x, int y) const;
    void putPixel(int32_t index, int x, int y, uint32_t value);
    // Makes a surface 4 bytes a pixel (grey to g,g,g, missing alpha 255), so pictures saved with
    // fewer channels behave as their 4-channel twins.
    void convertToRgba(int32_t index);
    // Keeps only a surface's leftmost column, for a picture of which nothing else is read again
    // (a flag's paint palette); the rest of its memory goes.
    void keepLeftColumn(int32_t index);

    // Picture decoding as every loader does it: the loose file, else the pack entry.
    static std::unique_ptr<ImageData> readImage(const std::string& path);
    // A picture's size from its header only: the loose file, else the pack entry. 0 x 0 and
    // false when neither gives a picture we accept.
    static bool pictureSize(const std::string& path, int* width, int* height);

  private:
    IndexedSlots<ImageData> slots_;
};
