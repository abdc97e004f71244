#include "menus/CountryMarks.h"

#include <algorithm>

#include "assets/ImageData.h"
#include "base/GameWide.h"
#include "persist/LevelInfo.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"
#include "render/TextureRecord.h"
#include "text/TextLine.h"

void CountryMarks::releaseStamp() {
    ResourceStore* store = GameWide<ResourceStore>::get();
    if (store && stampTexture >= 0) store->deleteTexture(kStampName);
    stampTexture = -1;
    stampSize = ClipRect{};
}

void CountryMarks::show(const LevelInfo* level, bool isPainted) {
    painted = level && isPainted;
    releaseStamp();
    ResourceStore* store = GameWide<ResourceStore>::get();
    if (!store) return;
    if (sealTexture < 0) {
        sealTexture = store->getOrLoadTexture(kSealPicture);
        if (const TextureRecord* seal = store->texture(sealTexture))
            sealSize =
                ClipRect{0, 0, static_cast<uint16_t>(seal->width), static_cast<uint16_t>(seal->height)};
    }
    const ImageData* stamp = level ? store->surfaces().get(level->stampSurface) : nullptr;
    if (!stamp || stamp->width() <= 0 || stamp->height() <= 0) return;
    stampTexture = store->createRenderTexture(kStampName, stamp->width(), stamp->height(), false, false);
    if (stampTexture < 0) return;
    store->uploadSurface(level->stampSurface, stampTexture);
    const double scale =
        std::min({1.0, double(kStampRoomWidth) / stamp->width(), double(kStampRoomHeight) / stamp->height()});
    stampSize = ClipRect{0, 0, static_cast<uint16_t>(std::max(1.0, stamp->width() * scale)),
                         static_cast<uint16_t>(std::max(1.0, stamp->height() * scale))};
}

void CountryMarks::draw(const TextLine& name, int screenWidth) const {
    const int middle = name.drawY + name.lineHeight / 2;
    const TextureRecord* stamp =
        GameWide<ResourceStore>::get() ? GameWide<ResourceStore>::get()->texture(stampTexture) : nullptr;
    if (stamp && stampSize.w > 0) {
        const int x = std::max(0, name.drawX - kGap - stampSize.w);
        const ClipRect source{0, 0, static_cast<uint16_t>(stamp->width),
                              static_cast<uint16_t>(stamp->height)};
        drawTexture(stampTexture, source, static_cast<int16_t>(x),
                    static_cast<int16_t>(middle - stampSize.h / 2), 0.0f, stampSize.w, stampSize.h, nullptr,
                    0, 255);
    }
    if (painted && sealTexture >= 0 && sealSize.w > 0) {
        const int x = std::min(name.drawX + name.width + kGap, screenWidth - sealSize.w);
        drawSprite(sealTexture, sealSize, static_cast<int16_t>(x),
                   static_cast<int16_t>(middle - sealSize.h / 2));
    }
}
