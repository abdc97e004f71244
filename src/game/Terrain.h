#pragma once
// Terrain — the level's three pixel operations: a creature's stamp painting the flag, and the
// player's brush building and digging, with their counters and sounds.
//
// Owns: the rectangles of the terrain and the paint layer changed since they were last uploaded.
// Works on the progress record's surfaces (terrain, paint) in the surface store it is handed; the
// stamp, the brush and the flag palette are surfaces it is told about.
// Never: touches GL; the level scene uploads the changed rectangles when it draws.
// On failure: a missing surface (index -1) makes each operation do nothing; a missing brush has
// no samples (holding a button spends the reserve and changes nothing).
#include <cstdint>

class AudioSystem;
class ImageData;
class ProgressRecord;
class SurfaceStore;

// Pixels changed since the last upload: an inclusive box, empty when x0 > x1.
struct DirtyRect {
    int32_t x0 = 1, y0 = 1, x1 = 0, y1 = 0;
    bool empty() const { return x0 > x1 || y0 > y1; }
    void add(int32_t x, int32_t y);
    void clear() { *this = DirtyRect{}; }
};

class Terrain final {
  public:
    static constexpr uint32_t kDugPixel = 0xFF000000u;
    static constexpr int kNoiseChannel = 10;
    static constexpr int kNoActionChannel = 11;

    Terrain(ProgressRecord& progress, SurfaceStore& surfaces);

    // The flag palette (a column read at x = 0), the level's stamp and the brush.
    void setSurfaces(int32_t stamp, int32_t palette, int32_t brush);

    // Paints the stamp centred on (x, y) where the terrain is paintable and the paint still empty.
    void paintStamp(int32_t x, int32_t y);
    // One update of the brush at level pixel (cx, cy) with SDL's held-button mask `buttons`.
    // Returns true when the terrain changed.
    bool applyBrush(int32_t cx, int32_t cy, uint32_t buttons, uint32_t dt);
    // Terrain pixels inside the level whose low 24 bits are not 0.
    static int32_t countPaintable(const ImageData* terrain, int32_t width, int32_t height);

    DirtyRect terrainDirty;
    DirtyRect paintDirty;
    // Optional: the brush noises and the no-action sound (none in the benchmarks).
    AudioSystem* audio = nullptr;

  private:
    // A brush rule for one sample: the brush pixel and the level pixel under it. Returns true
    // when the sample counts as idle (every idle sample in an update stops the noise).
    using SampleRule = bool (Terrain::*)(ImageData* terrain, ImageData* paint, uint32_t brushPixel, int32_t x,
                                         int32_t y);
    // Draws on one reserve: the no-action sound when it is empty, else a quarter of the brush's
    // area sampled at random through `rule`; the reserve then loses the frame's time.
    void spend(int32_t& reserve, int32_t cx, int32_t cy, SampleRule rule, uint32_t dt);
    bool buildAt(ImageData* terrain, ImageData* paint, uint32_t brushPixel, int32_t x, int32_t y);
    bool digAt(ImageData* terrain, ImageData* paint, uint32_t brushPixel, int32_t x, int32_t y);
    void clearPaint(ImageData* paint, int32_t x, int32_t y);
    void noAction();
    void startNoise(const char* sound);
    void haltNoise();

    ProgressRecord& progress_;
    SurfaceStore& surfaces_;
    int32_t stamp_ = -1, palette_ = -1, brush_ = -1;
    bool changed_ = false;
};
