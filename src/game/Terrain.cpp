#include "game/Terrain.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "assets/SurfaceStore.h"
#include "audio/AudioSystem.h"
#include "persist/ProgressRecord.h"

namespace {
constexpr uint32_t kPaintable = 0x00FFFFFFu;
constexpr uint32_t kSolid = 0xFFu;

bool onLevel(const ImageData* terrain, int32_t x, int32_t y) {
    return terrain && x >= 0 && y >= 0 && x < terrain->width() && y < terrain->height();
}
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

Terrain::Terrain(ProgressRecord& progress, SurfaceStore& surfaces)
    : progress_(progress), surfaces_(surfaces) {}

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
    const ImageData* stamp = surfaces_.get(stamp_);
    const ImageData* terrain = surfaces_.get(progress_.terrainSurface);
    ImageData* paint = surfaces_.get(progress_.paintSurface);
    if (!stamp || !terrain || !paint) return;
    const ImageData* palette = surfaces_.get(palette_);
    const int32_t sw = stamp->width(), sh = stamp->height();
    // Stamp pixels outside the terrain, or outside a smaller paint layer, are skipped.
    const int32_t width = std::min(terrain->width(), paint->width());
    const int32_t height = std::min(terrain->height(), paint->height());
    const int32_t paletteHeight = palette ? palette->height() : 0;
    const int32_t left = x - sw / 2, top = y - sh / 2;
    const int32_t i0 = std::max(0, -left), i1 = std::min(sw, width - left);
    const int32_t j0 = std::max(0, -top), j1 = std::min(sh, height - top);
    auto colourOf = [&](uint32_t m) {
        const uint32_t red = m & 0xFF;
        if (red == 0 || red == 255) return m;
        const auto row = static_cast<int32_t>(static_cast<uint32_t>(paletteHeight) * red / 255);
        uint32_t colour =
            palette && palette->width() >= 1 && row < paletteHeight ? palette->pixel(0, row) : 0;
        if (palette && palette->bytesPerPixel() <= 2) colour = (colour & 0xFF) * 0x010101u;
        return colour | 0xFF000000u;
    };
    // Every creature stamps every frame, so the common case (three 4-byte surfaces on a
    // little-endian machine) reads whole pixels; the result is the same as pixel by pixel.
    const bool whole = std::endian::native == std::endian::little && stamp->bytesPerPixel() == 4 &&
                       terrain->bytesPerPixel() == 4 && paint->bytesPerPixel() == 4;
    for (int32_t j = j0; j < j1; ++j) {
        const int32_t ty = top + j;
        for (int32_t i = i0; i < i1; ++i) {
            const int32_t tx = left + i;
            uint32_t s, m, p;
            if (whole) {
                std::memcpy(&s, stamp->pixels() + (static_cast<size_t>(j) * sw + i) * 4, 4);
                std::memcpy(&p, paint->pixels() + (static_cast<size_t>(ty) * paint->width() + tx) * 4, 4);
                if (!(s & kPaintable) || p != 0) continue;
                std::memcpy(&m, terrain->pixels() + (static_cast<size_t>(ty) * terrain->width() + tx) * 4, 4);
            } else {
                s = stamp->pixel(i, j);
                p = paint->pixel(tx, ty);
                if (!(s & kPaintable) || p != 0) continue;
                m = terrain->pixel(tx, ty);
            }
            if (!(m & kPaintable)) continue;
            ++progress_.paintedPixels;
            paint->setPixel(tx, ty, colourOf(m));
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

void Terrain::clearPaint(ImageData* paint, int32_t x, int32_t y) {
    if (!paint || paint->pixel(x, y) == 0) return;
    paint->setPixel(x, y, 0);
    paintDirty.add(x, y);
    progress_.paintedPixels = std::max(0, progress_.paintedPixels - 1);
}

// Building: the noise starts with the first sample, and any sample that adds no ground (a
// see-through brush pixel, off the level, or ground already solid) is idle.
bool Terrain::buildAt(ImageData* terrain, ImageData* paint, uint32_t brushPixel, int32_t x, int32_t y) {
    startNoise("Sound/paintnoise211k.wav");
    const bool inside = onLevel(terrain, x, y);
    const uint32_t m = inside ? terrain->pixel(x, y) : 0;
    if (!(brushPixel >> 24) || !inside || (m & kSolid)) return true;
    const auto g = static_cast<uint32_t>(std::rand() % 200 + 56);
    terrain->setPixel(x, y, 0xFF000000u | g << 16 | g << 8 | g);
    terrainDirty.add(x, y);
    // Grey over a pixel that was paintable already adds nothing to paint.
    if (!(m & kPaintable)) ++progress_.paintablePixels;
    clearPaint(paint, x, y);
    changed_ = true;
    return false;
}

// Digging: a see-through brush pixel is not even idle; only paintable ground makes the noise,
// yet every level pixel under the brush is dug (air too) and counts as a change.
bool Terrain::digAt(ImageData* terrain, ImageData* paint, uint32_t brushPixel, int32_t x, int32_t y) {
    if (!(brushPixel >> 24)) return false;
    if (!onLevel(terrain, x, y)) return true;
    bool idle = true;
    if (terrain->pixel(x, y) & kPaintable) {
        startNoise("Sound/erasenoise22k.wav");
        progress_.paintablePixels = std::max(0, progress_.paintablePixels - 1);
        idle = false;
    }
    terrain->setPixel(x, y, kDugPixel);
    terrainDirty.add(x, y);
    clearPaint(paint, x, y);
    changed_ = true;
    return idle;
}

void Terrain::spend(int32_t& reserve, int32_t cx, int32_t cy, SampleRule rule, uint32_t dt) {
    if (reserve < 1) {
        noAction();
        haltNoise();
    } else {
        ImageData* terrain = surfaces_.get(progress_.terrainSurface);
        ImageData* paint = surfaces_.get(progress_.paintSurface);
        const ImageData* brush = surfaces_.get(brush_);
        const int32_t bw = brush ? brush->width() : 0, bh = brush ? brush->height() : 0;
        const int32_t samples = bw * bh / 4;
        int32_t idle = 0;
        for (int32_t n = 0; n < samples; ++n) {
            const int32_t rx = std::rand() % bw, ry = std::rand() % bh;
            if ((this->*rule)(terrain, paint, brush->pixel(rx, ry), cx + rx - bw / 2, cy + ry - bh / 2))
                ++idle;
        }
        if (idle == samples) haltNoise();
    }
    reserve = std::min(progress_.inkCapacity, std::max(0, reserve - static_cast<int32_t>(dt)));
}

bool Terrain::applyBrush(int32_t cx, int32_t cy, uint32_t buttons, uint32_t dt) {
    changed_ = false;
    // The noise belongs to building or digging alone: any other mix of buttons stops it.
    if (buttons != 1 && buttons != 4) haltNoise();
    if (buttons == 1) spend(progress_.buildInk, cx, cy, &Terrain::buildAt, dt);
    if (buttons == 4) spend(progress_.digInk, cx, cy, &Terrain::digAt, dt);
    // A reserve refills in every update in which its own button is not held alone.
    const int32_t refill = static_cast<int32_t>(std::max<uint32_t>(dt, 1));
    if (buttons != 1) progress_.buildInk = std::min(progress_.inkCapacity, progress_.buildInk + refill);
    if (buttons != 4) progress_.digInk = std::min(progress_.inkCapacity, progress_.digInk + refill);
    return changed_;
}
