#include "render/ResourceStore.h"

#include <algorithm>
#include <glad/gl.h>
#include <iostream>
#include <iterator>
#include <vector>

#include "render/ShaderColor.h"
#include "render/ShaderEffect.h"
#include "render/ShaderPaletteTexture.h"
#include "render/ShaderShadow1D.h"
#include "render/ShaderShadowRender.h"
#include "render/ShaderStrokeColor.h"
#include "render/ShaderTexture.h"

namespace {
void deleteGl(TextureRecord& record) {
    if (record.glTexture) glDeleteTextures(1, &record.glTexture);
    if (record.framebuffer) glDeleteFramebuffers(1, &record.framebuffer);
    if (record.renderbuffer) glDeleteRenderbuffers(1, &record.renderbuffer);
    record = TextureRecord{};
}

// The bounds of the pixels whose alpha is not 0, for a picture with an alpha channel.
ClipRect visibleBounds(const ImageData& image) {
    const int channels = image.bytesPerPixel();
    const int w = image.width(), h = image.height();
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = image.pixels() + static_cast<size_t>(y) * static_cast<size_t>(w) * channels;
        for (int x = 0; x < w; ++x) {
            if (row[static_cast<size_t>(x) * channels + channels - 1] == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    if (right < 0) return {};
    return {left, top, static_cast<uint16_t>(right - left + 1), static_cast<uint16_t>(bottom - top + 1)};
}

void setSamplingForLoadedImage() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}
} // namespace

ResourceStore::ResourceStore() = default;

ResourceStore::~ResourceStore() {
    for (size_t i = 0; i < textures_.size(); ++i)
        if (TextureRecord* record = textures_.get(static_cast<int32_t>(i))) deleteGl(*record);
}

void ResourceStore::applyBlendMode(uint32_t mode) {
    switch (mode) {
    case 0:
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case 1:
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    case 2:
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE);
        break;
    default:
        break;
    }
}

void ResourceStore::uploadPixels(const ImageData& image, bool replace, bool mipmaps) {
    const int w = image.width(), h = image.height();
    const uint8_t* pixels = image.pixels();
    std::vector<uint8_t> expanded;
    GLenum format = GL_RGBA;
    // Grey pictures (with or without alpha) have no core-profile upload format of their own:
    // widen a copy to RGBA so the texture looks as the picture does.
    if (image.bytesPerPixel() == 1 || image.bytesPerPixel() == 2) {
        const int channels = image.bytesPerPixel();
        expanded.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
        for (size_t i = 0, n = static_cast<size_t>(w) * static_cast<size_t>(h); i < n; ++i) {
            const uint8_t grey = pixels[i * channels];
            expanded[i * 4 + 0] = expanded[i * 4 + 1] = expanded[i * 4 + 2] = grey;
            expanded[i * 4 + 3] = channels == 2 ? pixels[i * 2 + 1] : 255;
        }
        pixels = expanded.data();
    } else if (image.bytesPerPixel() == 3) {
        format = GL_RGB;
    }
    // Rows are packed without padding whatever their width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (replace)
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, format, GL_UNSIGNED_BYTE, pixels);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), w, h, 0, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
}

std::unique_ptr<TextureRecord> ResourceStore::textureOf(const ImageData& image, const char* failure,
                                                        bool mipmaps) {
    auto record = std::make_unique<TextureRecord>();
    glGenTextures(1, &record->glTexture);
    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    uploadPixels(image, false, mipmaps);
    setSamplingForLoadedImage();
    if (!mipmaps) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (record->glTexture == 0) std::cerr << failure << std::endl;
    record->mipmappedNearest = record->mipmaps = mipmaps;
    record->width = image.width();
    record->height = image.height();
    if (image.bytesPerPixel() == 2 || image.bytesPerPixel() == 4) {
        record->visible = visibleBounds(image);
        record->visibleKnown = true;
    }
    return record;
}

int32_t ResourceStore::loadTexture(const std::string& path) {
    const auto image = SurfaceStore::readImage(path);
    if (!image) return -1;
    return textures_.add(path, textureOf(*image, "Imposible crear textura. OPENGL Error. "));
}

int32_t ResourceStore::getOrLoadTexture(const std::string& path) {
    const int32_t existing = textures_.find(path);
    return existing >= 0 ? existing : loadTexture(path);
}

int32_t ResourceStore::createTextureFromSurface(int32_t surfaceIndex, bool mipmaps) {
    const ImageData* image = surfaces_.get(surfaceIndex);
    if (!image) {
        std::cerr << "Error image: " << surfaceIndex << ": Not found in Array Surface" << std::endl;
        return -1;
    }
    auto record = textureOf(*image, "Imposible crear textura. OPENGL Error.", mipmaps);
    const std::string name = surfaces_.name(surfaceIndex);
    return textures_.add(name, std::move(record));
}

void ResourceStore::uploadSurface(int32_t surfaceIndex, int32_t textureIndex) {
    const ImageData* image = surfaces_.get(surfaceIndex);
    TextureRecord* record = textures_.get(textureIndex);
    if (!image || !record || image->width() != record->width || image->height() != record->height) return;
    record->visibleKnown = false;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    applyBlendMode(record->blendMode);
    uploadPixels(*image, true, record->mipmaps);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void ResourceStore::uploadSurfaceRect(int32_t surfaceIndex, int32_t textureIndex, int x, int y, int w,
                                      int h) {
    const ImageData* image = surfaces_.get(surfaceIndex);
    TextureRecord* record = textures_.get(textureIndex);
    if (!image || !record || image->width() != record->width || image->height() != record->height) return;
    record->visibleKnown = false;
    const int left = std::max(0, x), top = std::max(0, y);
    const int right = std::min(image->width(), x + w), bottom = std::min(image->height(), y + h);
    if (right <= left || bottom <= top) return;
    const int channels = image->bytesPerPixel();
    if (channels != 4 && channels != 3) {
        uploadSurface(surfaceIndex, textureIndex);
        return;
    }
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, image->width());
    const uint8_t* start = image->pixels() + (static_cast<size_t>(top) * image->width() + left) * channels;
    glTexSubImage2D(GL_TEXTURE_2D, 0, left, top, right - left, bottom - top, channels == 4 ? GL_RGBA : GL_RGB,
                    GL_UNSIGNED_BYTE, start);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
}

int32_t ResourceStore::createRenderTexture(const std::string& name, int width, int height,
                                           bool withFramebuffer, bool smooth) {
    if (!ImageData::acceptableSize(width, height)) return -1;
    const GLint magnify = smooth ? GL_LINEAR : GL_NEAREST;
    auto record = std::make_unique<TextureRecord>();
    record->width = width;
    record->height = height;
    // Made between two draws, a target must not leave the renderer's bound target unbound.
    GLint boundBefore = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &boundBefore);
    if (withFramebuffer) {
        glGenFramebuffers(1, &record->framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, record->framebuffer);
    }
    glGenTextures(1, &record->glTexture);
    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    // A new texture's content is undefined (Mesa zeroes it, other drivers show garbage): a target is
    // cleared below once it is complete, any other texture starts from see-through black pixels.
    const std::vector<uint8_t> blank(withFramebuffer ? 0 : static_cast<size_t>(width) * height * 4, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 withFramebuffer ? nullptr : blank.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (withFramebuffer)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, smooth ? GL_LINEAR : GL_NEAREST);
    else
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        smooth ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnify);
    record->mipmappedNearest = !withFramebuffer && !smooth;
    if (withFramebuffer) {
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, record->glTexture, 0);
        glGenRenderbuffers(1, &record->renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, record->renderbuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  record->renderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        if (complete) {
            GLfloat before[4] = {};
            glGetFloatv(GL_COLOR_CLEAR_VALUE, before);
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
            glClearColor(before[0], before[1], before[2], before[3]);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(boundBefore));
        if (!complete) {
            std::cout << "ERROR en FrameBuffer: " << name << std::endl;
            glBindTexture(GL_TEXTURE_2D, 0);
            deleteGl(*record);
            return -1;
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    if (record->glTexture == 0) std::cerr << "Imposible crear textura OpenGL: " << name << std::endl;
    return textures_.add(name, std::move(record));
}

void ResourceStore::deleteTexture(const std::string& name) {
    if (auto record = textures_.remove(name, true)) deleteGl(*record);
}

std::string ResourceStore::textureName(int32_t index) const {
    const std::string* name = textures_.get(index) ? textures_.nameOf(index) : nullptr;
    return name ? *name : "NULL";
}

int32_t ResourceStore::createShader(const std::string& name, uint32_t kind) {
    static std::unique_ptr<Shader> (*const kMakers[])() = {
        [] { return std::unique_ptr<Shader>(new ShaderColor); },
        [] { return std::unique_ptr<Shader>(new ShaderTexture); },
        [] { return std::unique_ptr<Shader>(new ShaderShadow1D); },
        [] { return std::unique_ptr<Shader>(new ShaderShadowRender); },
        [] { return std::unique_ptr<Shader>(new ShaderPaletteTexture); },
        [] { return std::unique_ptr<Shader>(new ShaderEffect); },
        [] { return std::unique_ptr<Shader>(new ShaderStrokeColor); },
    };
    if (kind >= std::size(kMakers)) return -1;
    std::unique_ptr<Shader> shader = kMakers[kind]();
    shader->load(name);
    if (!shader->valid) return -1;
    return shaders_.add(name, std::move(shader));
}

int32_t ResourceStore::getOrCreateShader(const std::string& name, uint32_t kind) {
    const int32_t existing = shaders_.find(name);
    return existing >= 0 ? existing : createShader(name, kind);
}
