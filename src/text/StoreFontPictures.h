#pragma once
// StoreFontPictures — font pictures through the resource store: surfaces in, atlas textures out.
// Only the atlas texture stays in the store; the source and the blank surface are deleted.
#include "text/FontPictures.h"

class ResourceStore;

class StoreFontPictures final : public FontPictures {
  public:
    explicit StoreFontPictures(ResourceStore& store) : store_(store) {}
    const ImageData* picture(const std::string& name) override;
    int32_t makeAtlas(const std::string& atlasName, const ImageData& atlas) override;
    void release(const std::string& name) override;

  private:
    ResourceStore& store_;
};
