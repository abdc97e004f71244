#pragma once
// ResourceStore — every texture and shader program of the game, by reusable index, and the
// surface store whose pictures the textures are made from.
//
// Owns: the surface store, GL textures with their render-target framebuffers, shader programs.
// Everything else holds only integer indices; -1 means none.
// Never: draws, or decides where a picture comes from beyond "loose file first, then the pack".
// On failure: never throws; a missing or undecodable picture, a zero size or an unknown index
// gives -1 and stores nothing (GL failures are reported with their messages).
#include <cstdint>
#include <memory>
#include <string>

#include "assets/SurfaceStore.h"
#include "base/IndexedSlots.h"
#include "render/Shader.h"
#include "render/TextureRecord.h"

class ResourceStore final {
  public:
    ResourceStore();
    ~ResourceStore();
    ResourceStore(const ResourceStore&) = delete;
    ResourceStore& operator=(const ResourceStore&) = delete;

    // Pictures in main memory that the game may paint into: the one place to reach them.
    SurfaceStore& surfaces() { return surfaces_; }
    const SurfaceStore& surfaces() const { return surfaces_; }

    // Textures.
    int32_t loadTexture(const std::string& path);
    int32_t getOrLoadTexture(const std::string& path);
    // Without mipmaps the texture must only ever be drawn at its own size: it costs a quarter less.
    int32_t createTextureFromSurface(int32_t surfaceIndex, bool mipmaps = true);
    // Copies a changed surface into its texture; nothing happens unless both exist with one size.
    void uploadSurface(int32_t surfaceIndex, int32_t textureIndex);
    // Copies one rectangle of a 4-byte surface into its texture's first level, without rebuilding
    // mipmaps (for textures drawn 1:1). The rectangle is cut to the surface; nothing happens
    // unless both exist with one size.
    void uploadSurfaceRect(int32_t surfaceIndex, int32_t textureIndex, int x, int y, int w, int h);
    int32_t createRenderTexture(const std::string& name, int width, int height, bool withFramebuffer,
                                bool smooth);
    void deleteTexture(const std::string& name);
    TextureRecord* texture(int32_t index) const { return textures_.get(index); }
    int32_t textureIndex(const std::string& name) const { return textures_.find(name); }
    std::string textureName(int32_t index) const;
    uint32_t nextFreeTexture() const { return textures_.nextFree(); }

    // Shader programs (kinds 0..6, see the Shader classes).
    int32_t createShader(const std::string& name, uint32_t kind);
    int32_t getOrCreateShader(const std::string& name, uint32_t kind);
    Shader* shader(int32_t index) const { return shaders_.get(index); }

    // Sets the GL blending for a texture's blend mode.
    static void applyBlendMode(uint32_t mode);

  private:
    // Uploads pixels of any channel count into the bound GL texture, never reading past them.
    static void uploadPixels(const ImageData& image, bool replace, bool mipmaps);
    // A new GL texture holding `image`, sampled as loaded pictures are; `failure` is written when
    // GL gives no texture name.
    static std::unique_ptr<TextureRecord> textureOf(const ImageData& image, const char* failure,
                                                    bool mipmaps = true);

    SurfaceStore surfaces_;
    IndexedSlots<TextureRecord> textures_;
    IndexedSlots<Shader> shaders_;
};
