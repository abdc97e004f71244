#include "text/StoreFontPictures.h"

#include <cstring>

#include "assets/ImageData.h"
#include "render/ResourceStore.h"

const ImageData* StoreFontPictures::picture(const std::string& name) {
    const int32_t index = store_.surfaces().getOrLoad(name);
    return index >= 0 ? store_.surfaces().get(index) : nullptr;
}

int32_t StoreFontPictures::makeAtlas(const std::string& atlasName, const ImageData& atlas) {
    const int32_t blank = store_.surfaces().createBlank(atlasName, atlas.width(), atlas.height());
    ImageData* target = blank >= 0 ? store_.surfaces().get(blank) : nullptr;
    if (!target) return -1;
    // The store's blank surfaces are RGBA like the atlas; anything else would be a store change
    // we must not copy into blindly.
    if (target->bytesPerPixel() == atlas.bytesPerPixel() && target->width() == atlas.width() &&
        target->height() == atlas.height())
        std::memcpy(target->pixels(), atlas.pixels(),
                    static_cast<size_t>(atlas.pitch()) * static_cast<size_t>(atlas.height()));
    // Glyphs are only drawn at their own size: the atlas needs no mipmaps (a quarter of its memory).
    const int32_t texture = store_.createTextureFromSurface(blank, false);
    store_.surfaces().remove(atlasName);
    return texture;
}

void StoreFontPictures::release(const std::string& name) {
    if (store_.surfaces().find(name) >= 0) store_.surfaces().remove(name);
}
