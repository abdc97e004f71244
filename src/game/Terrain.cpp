#include "game/Terrain.h"

#include <algorithm>
#include <cstdlib>

#include "audio/AudioSystem.h"
#include "persist/ProgressRecord.h"
#include "render/ResourceStore.h"

namespace {
constexpr uint32_t kPaintable = 0x00FFFFFFu;
constexpr uint32_t kSolid = 0xFFu;
} // namespace

void DirtyRect::add(int32_t x, int32_t y) {
    if (empty()) {
        x0 = x1 = x;
        y0 = y1 = y;
        return;
    }
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    y0 = std::min(y0, y);
    y1 = std::max(y1, y);
}

Terrain::Terrain(ProgressRecord& progress, ResourceStore& store) : progress_(progress), store_(store) {}

void Terrain::setSurfaces(int32_t stamp, int32_t palette, int32_t brush) {
    stamp_ = stamp;
    palette_ = palette;
    brush_ = brush;
}

int32_t Terrain::countPaintable(const ImageData* terrain, int32_t width, int32_t height) {
    if (!terrain) return 0;
    int32_t count = 0;
    const int32_t w = std::min(width, terrain->width()), h = std::min(height, terrain->height());
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            if (terrain->pixel(x, y) & kPaintable) ++count;
    return count;
}

void Terrain::paintStamp(int32_t x, int32_t y) {
    const ImageData* stamp = store_.surface(stamp_);
    const ImageData* terrain = store_.surface(progress_.terrainSurface);
    ImageData* paint = store_.surface(progress_.paintSurface);
    if (!stamp || !terrain || !paint) return;
    const ImageData* palette = store_.surface(palette_);
    const int32_t sw = stamp->width(), sh = stamp->height();
    const int32_t width = terrain->width(), height = terrain->height();
    const int32_t paletteHeight = palette ? palette->height() : 0;
    for (int32_t i = 0; i < sw; ++i) {
        const int32_t tx = x - sw / 2 + i;
        if (tx < 0 || tx >= width) continue;
        for (int32_t j = 0; j < sh; ++j) {
            const int32_t ty = y - sh / 2 + j;
            if (ty < 0 || ty >= height) continue;
            if (!(stamp->pixel(i, j) & kPaintable)) continue;
            const uint32_t m = terrain->pixel(tx, ty);
            if (!(m & kPaintable)) continue;
            // Stamp pixels outside the paint layer are skipped (the layer may be smaller).
            if (tx >= paint->width() || ty >= paint->height() || paint->pixel(tx, ty) != 0) continue;
            uint32_t colour = m;
            const uint32_t red = m & 0xFF;
            if (red != 0 && red != 255) {
                const int32_t row = static_cast<int32_t>(static_cast<uint32_t>(paletteHeight) * red / 255);
                colour = palette && palette->width() >= 1 && row < paletteHeight ? palette->pixel(0, row) : 0;
                if (palette && palette->bytesPerPixel() <= 2) colour = (colour & 0xFF) * 0x010101u;
                colour |= 0xFF000000u;
            }
            ++progress_.paintedPixels;
            paint->setPixel(tx, ty, colour);
            paintDirty.add(tx, ty);
        }
    }
}

void Terrain::noAction() {
    if (!audio) return;
    if (!audio->isMusicChannel(kNoActionChannel) && !audio->isPlaying(kNoActionChannel))
        audio->playSound("Sound/noaction.wav", kNoActionChannel, 0);
    if (audio->channelVolume(kNoActionChannel) != 50) audio->setChannelVolume(kNoActionChannel, 50);
}

void Terrain::startNoise(const char* sound) {
    if (!audio) return;
    if (!audio->isMusicChannel(kNoiseChannel) && !audio->isPlaying(kNoiseChannel))
        audio->playSound(sound, kNoiseChannel, -1, true);
}

void Terrain::haltNoise() {
    if (audio && !audio->isMusicChannel(kNoiseChannel)) audio->haltChannel(kNoiseChannel);
}

bool Terrain::applyBrush(int32_t cx, int32_t cy, uint32_t buttons, uint32_t dt) {
    bool changed = false;
    ImageData* terrain = store_.surface(progress_.terrainSurface);
    ImageData* paint = store_.surface(progress_.paintSurface);
    const ImageData* brush = store_.surface(brush_);
    const int32_t bw = brush ? brush->width() : 0, bh = brush ? brush->height() : 0;
    const int32_t samples = bw * bh / 4;
    // The noise belongs to building or digging alone: any other mix of buttons stops it.
    if (buttons != 1 && buttons != 4) haltNoise();

    auto clearPaint = [&](int32_t tx, int32_t ty) {
        if (!paint || paint->pixel(tx, ty) == 0) return;
        paint->setPixel(tx, ty, 0);
        paintDirty.add(tx, ty);
        progress_.paintedPixels = std::max(0, progress_.paintedPixels - 1);
    };
    const bool inside = terrain != nullptr;
    if (buttons == 1) {
        if (progress_.buildInk < 1) {
            noAction();
            haltNoise();
        } else {
            int32_t idle = 0;
            for (int32_t n = 0; n < samples; ++n) {
                const int32_t rx = std::rand() % bw, ry = std::rand() % bh;
                const uint32_t v = brush->pixel(rx, ry);
                const int32_t tx = cx + rx - bw / 2, ty = cy + ry - bh / 2;
                startNoise("Sound/paintnoise211k.wav");
                const bool onTerrain =
                    inside && tx >= 0 && ty >= 0 && tx < terrain->width() && ty < terrain->height();
                const uint32_t m = onTerrain ? terrain->pixel(tx, ty) : 0;
                if (!(v >> 24) || !onTerrain || (m & kSolid)) {
                    ++idle;
                    continue;
                }
                const auto g = static_cast<uint32_t>(std::rand() % 200 + 56);
                terrain->setPixel(tx, ty, 0xFF000000u | g << 16 | g << 8 | g);
                terrainDirty.add(tx, ty);
                // Grey over a pixel that was paintable already adds nothing to paint.
                if (!(m & kPaintable)) ++progress_.paintablePixels;
                clearPaint(tx, ty);
                changed = true;
            }
            if (idle == samples) haltNoise();
        }
        progress_.buildInk =
            std::min(progress_.inkCapacity, std::max(0, progress_.buildInk - static_cast<int32_t>(dt)));
    } else if (buttons == 4) {
        if (progress_.digInk < 1) {
            noAction();
            haltNoise();
        } else {
            int32_t idle = 0;
            for (int32_t n = 0; n < samples; ++n) {
                const int32_t rx = std::rand() % bw, ry = std::rand() % bh;
                const uint32_t v = brush->pixel(rx, ry);
                const int32_t tx = cx + rx - bw / 2, ty = cy + ry - bh / 2;
                if (!(v >> 24)) continue;
                const bool onTerrain =
                    inside && tx >= 0 && ty >= 0 && tx < terrain->width() && ty < terrain->height();
                if (!onTerrain) {
                    ++idle;
                    continue;
                }
                if (terrain->pixel(tx, ty) & kPaintable) {
                    startNoise("Sound/erasenoise22k.wav");
                    progress_.paintablePixels = std::max(0, progress_.paintablePixels - 1);
                } else {
                    ++idle;
                }
                terrain->setPixel(tx, ty, kDugPixel);
                terrainDirty.add(tx, ty);
                clearPaint(tx, ty);
                changed = true;
            }
            if (idle == samples) haltNoise();
        }
        progress_.digInk =
            std::min(progress_.inkCapacity, std::max(0, progress_.digInk - static_cast<int32_t>(dt)));
    }
    const int32_t refill = static_cast<int32_t>(std::max<uint32_t>(dt, 1));
    if (buttons != 1) progress_.buildInk = std::min(progress_.inkCapacity, progress_.buildInk + refill);
    if (buttons != 4) progress_.digInk = std::min(progress_.inkCapacity, progress_.digInk + refill);
    return changed;
}
