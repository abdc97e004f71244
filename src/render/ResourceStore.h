#pragma once
// ResourceStore — every surface, texture and shader program of the game, by reusable index.
//
// Owns: decoded pictures (surfaces), GL textures with their render-target framebuffers, shader
// programs. Everything else holds only integer indices; -1 means none.
// Never: draws, or decides where a picture comes from beyond "loose file first, then the pack".
// On failure: never throws; a missing or undecodable picture, a zero size or an unknown index
// gives -1 and stores nothing (GL failures are reported with their messages).
#include <cstdint>
#include <memory>
#include <string>

#include "assets/ImageData.h"
#include "render/IndexedSlots.h"
#include "render/Shader.h"
#include "render/TextureRecord.h"

class ResourceStore final {
  public:
    ResourceStore();
    ~ResourceStore();
    ResourceStore(const ResourceStore&) = delete;
    ResourceStore& operator=(const ResourceStore&) = delete;

    // Surfaces: pictures in main memory that the game may paint into.
    int32_t loadSurface(const std::string& path);
    int32_t getOrLoadSurface(const std::string& path);
    int32_t createBlankSurface(const std::string& name, int width, int height);
    void deleteSurface(const std::string& name);
    ImageData* surface(int32_t index) const { return surfaces_.get(index); }
    int32_t surfaceIndex(const std::string& name) const { return surfaces_.find(name); }
    // The name a surface was made under; "NULL" for an index that holds none.
    std::string surfaceName(int32_t index) const;
    // Pixel access on a surface by index: 0 and nothing for -1, an empty slot or outside it.
    uint32_t getPixel(int32_t surfaceIndex, int x, int y) const;
    void putPixel(int32_t surfaceIndex, int x, int y, uint32_t value);
    // Makes a surface 4 bytes a pixel (grey to g,g,g, missing alpha 255), so pictures saved with
    // fewer channels behave as their 4-channel twins.
    void convertSurfaceToRgba(int32_t surfaceIndex);
    // A picture's size from its header only: the loose file, else the pack entry. 0 x 0 and
    // false when neither gives a picture we accept.
    static bool pictureSize(const std::string& path, int* width, int* height);

    // Textures.
    int32_t loadTexture(const std::string& path);
    int32_t getOrLoadTexture(const std::string& path);
    int32_t createTextureFromSurface(int32_t surfaceIndex);
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

    // Picture decoding as every loader does it: the loose file, else the pack entry.
    static std::unique_ptr<ImageData> readImage(const std::string& path);
    // Sets the GL blending for a texture's blend mode.
    static void applyBlendMode(uint32_t mode);

  private:
    // Uploads pixels of any channel count into the bound GL texture, never reading past them.
    static void uploadPixels(const ImageData& image, bool replace);
    // A new GL texture holding `image`, sampled as loaded pictures are; `failure` is written when
    // GL gives no texture name.
    static std::unique_ptr<TextureRecord> textureOf(const ImageData& image, const char* failure);

    IndexedSlots<ImageData> surfaces_;
    IndexedSlots<TextureRecord> textures_;
    IndexedSlots<Shader> shaders_;
};
