#pragma once
// A real window and GL context for the rendering tests, made once per test program the way the
// game makes them: the pack of the run folder, the resource store, the renderer's start-up.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/AssetPack.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"

class GlFixture {
  public:
    static GlFixture& get();
    bool ready() const { return ready_; }
    Renderer* renderer() const { return Renderer::instance(); }
    ResourceStore* store() const { return store_; }
    AssetPack* pack() const { return pack_; }

    // RGBA of one pixel of the game screen, in its own top-left pixel coordinates.
    static std::array<uint8_t, 4> gameScreenPixel(int x, int y);
    // RGBA of one window pixel (top-left origin), read from the frame being composed.
    static std::array<uint8_t, 4> windowPixel(int x, int y);
    // Fills the game screen and both layers: the game screen with `argb`, the layers see-through.
    static void clearAll(uint32_t argb);

  private:
    GlFixture();
    bool ready_ = false;
    AssetPack* pack_ = nullptr;
    ResourceStore* store_ = nullptr;
};

// A PNG file's bytes for `channels`-byte pixels, rows packed without padding.
std::string encodePng(int width, int height, int channels, const std::string& pixels);
