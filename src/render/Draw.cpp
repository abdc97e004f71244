#include "render/Draw.h"

#include <algorithm>
#include <glad/gl.h>

#include "base/GameWide.h"
#include "render/Argb.h"
#include "render/Matrix4.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"

namespace {
constexpr float kDegreesToRadians = 0.017453292f;

ResourceStore* store() {
    return GameWide<ResourceStore>::get();
}

void setColour(const Shader& shader, uint32_t argb) {
    glUniform4fv(shader.uniform(Shader::Colour), 1, unpackArgb(argb).data());
}

void setTexClamp(const Shader& shader, const TextureRecord& texture, const ClipRect& source) {
    const float w = static_cast<float>(texture.width), h = static_cast<float>(texture.height);
    const float left = static_cast<float>(source.x) / w, right = static_cast<float>(source.x + source.w) / w;
    const float top = static_cast<float>(source.y) / h, bottom = static_cast<float>(source.y + source.h) / h;
    const float corners[8] = {left, bottom, right, bottom, right, top, left, top};
    glUniform1fv(shader.uniform(Shader::TexClamp), 8, corners);
}

// The texture behind an index, or null when there is nothing sensible to draw.
TextureRecord* drawable(int32_t texture) {
    ResourceStore* resources = store();
    TextureRecord* record = resources ? resources->texture(texture) : nullptr;
    if (!record || record->glTexture == 0 || record->width <= 0 || record->height <= 0) return nullptr;
    return record;
}

Shader* program(int32_t index) {
    ResourceStore* resources = store();
    Shader* shader = resources ? resources->shader(index) : nullptr;
    return shader && shader->valid ? shader : nullptr;
}

// At its own size a picture's level of detail is 0, where nearest sampling with mipmaps reads
// level 0 as plain nearest sampling does; only a scaled draw needs the mipmaps. The filter is
// changed only when a texture goes from one kind of draw to the other.
void chooseSampling(TextureRecord& record, bool ownSize) {
    if (!record.mipmappedNearest || record.sampledPlain == ownSize) return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, ownSize ? GL_NEAREST : GL_NEAREST_MIPMAP_NEAREST);
    record.sampledPlain = ownSize;
}

// The common steps of the texture draws, before the quad is drawn.
Shader* beginTextured(TextureRecord& record, int32_t shaderIndex, const ClipRect& source, int32_t flip,
                      bool ownSize) {
    Shader* shader = program(shaderIndex);
    if (!shader) return nullptr;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, record.glTexture);
    chooseSampling(record, ownSize);
    ResourceStore::applyBlendMode(record.blendMode);
    glUseProgram(shader->program);
    glUniform1i(shader->uniform(Shader::Texture), 0);
    glUniform1i(shader->uniform(Shader::Flip), flip);
    setTexClamp(*shader, record, source);
    return shader;
}

// The texture and program stay bound after a draw: unbinding them after every sprite made the GL
// driver validate its whole state again on the next one, which cost far more than the draw.

// A picture drawn at its own size, in a blend where a clear pixel adds nothing, is drawn only where
// it is not clear: the same pixels on screen, and the software GL is spared most of a mostly clear
// layer (the menus' moon is one disc on a picture the size of the screen). A source reaching past
// the picture (repeated) is drawn whole. False when nothing of it shows.
bool trimToVisible(const TextureRecord& record, ClipRect& source, int32_t& x, int32_t& y) {
    if (!record.visibleKnown || (record.blendMode != 0 && record.blendMode != 2)) return true;
    if (source.x < 0 || source.y < 0 || source.x + source.w > record.width ||
        source.y + source.h > record.height)
        return true;
    const ClipRect& v = record.visible;
    const int32_t left = std::max(source.x, v.x), top = std::max(source.y, v.y);
    const int32_t right = std::min(source.x + source.w, v.x + v.w);
    const int32_t bottom = std::min(source.y + source.h, v.y + v.h);
    if (right <= left || bottom <= top) return false;
    x += left - source.x;
    y += top - source.y;
    source = {left, top, static_cast<uint16_t>(right - left), static_cast<uint16_t>(bottom - top)};
    return true;
}

void texturedDraw(int32_t texture, ClipRect source, int32_t x, int32_t y, uint32_t w, uint32_t h, float angle,
                  const Pivot* pivot, int32_t flip, int alpha) {
    TextureRecord* record = drawable(texture);
    if (!record) return;
    const int32_t shaderIndex = Renderer::instance()->textureShader;
    const bool ownSize = w == source.w && h == source.h && angle == 0.0f;
    if (ownSize && !pivot && flip == 0) {
        if (!trimToVisible(*record, source, x, y)) return;
        w = source.w;
        h = source.h;
    }
    Shader* shader = beginTextured(*record, shaderIndex, source, flip, ownSize);
    if (!shader) return;
    const float a = alpha < 0 ? record->colour[3] : static_cast<float>(alpha) / 255.0f;
    glUniform4f(shader->uniform(Shader::Colour), record->colour[0], record->colour[1], record->colour[2], a);
    glUniform3f(shader->uniform(Shader::ColourAdd), record->colourAdd[0], record->colourAdd[1],
                record->colourAdd[2]);
    drawQuad(x, y, w, h, shaderIndex, angle, pivot);
}
} // namespace

void drawQuad(int32_t x, int32_t y, uint32_t w, uint32_t h, int32_t shaderIndex, float angleDegrees,
              const Pivot* pivot) {
    Renderer* renderer = Renderer::instance();
    Shader* shader = program(shaderIndex);
    if (!shader || !renderer->quadVertexArray) return;
    glUniformMatrix4fv(shader->uniform(Shader::Projection), 1, GL_FALSE, renderer->projection.data());
    glUniformMatrix4fv(shader->uniform(Shader::View), 1, GL_FALSE, renderer->view.data());
    const float cx = static_cast<float>(x) + static_cast<float>(w) / 2.0f;
    const float cy = static_cast<float>(y) + static_cast<float>(h) / 2.0f;
    const float radians = angleDegrees * kDegreesToRadians;
    Matrix4 model;
    if (pivot) {
        const float px = static_cast<float>(pivot->x), py = static_cast<float>(pivot->y);
        model = Matrix4::translation(cx + px, cy + py, 0) * Matrix4::rotationZ(radians) *
                Matrix4::translation(-px, -py, 0) *
                Matrix4::scaling(static_cast<float>(w), static_cast<float>(h), 1);
    } else {
        model = Matrix4::translation(cx, cy, 0) * Matrix4::rotationZ(radians) *
                Matrix4::scaling(static_cast<float>(w), static_cast<float>(h), 1);
    }
    glUniformMatrix4fv(shader->uniform(Shader::Model), 1, GL_FALSE, model.data());
    glBindVertexArray(renderer->quadVertexArray);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

void drawSprite(int32_t texture, const ClipRect& source, int16_t x, int16_t y) {
    texturedDraw(texture, source, x, y, source.w, source.h, 0, nullptr, 0, -1);
}

void drawSpriteAlpha(int32_t texture, const ClipRect& source, int16_t x, int16_t y, uint8_t alpha) {
    texturedDraw(texture, source, x, y, source.w, source.h, 0, nullptr, 0, alpha);
}

void drawTexture(int32_t texture, const ClipRect& source, int16_t x, int16_t y, float angleDegrees,
                 uint16_t w, uint16_t h, const Pivot* pivot, int32_t flip, uint8_t alpha) {
    if (!pivot) {
        texturedDraw(texture, source, x, y, w, h, angleDegrees, nullptr, flip, alpha);
        return;
    }
    // The pivot is measured from the sprite's top-left corner; the quad wants it from its centre.
    const Pivot offset{(w >> 1) - 2 * (source.w >> 1) + pivot->x, (h >> 1) - 2 * (source.h >> 1) + pivot->y};
    texturedDraw(texture, source, x, y, w, h, angleDegrees, &offset, flip, alpha);
}

void drawStroked(int32_t texture, const ClipRect& source, int16_t x, int16_t y, uint32_t argb) {
    TextureRecord* record = drawable(texture);
    if (!record) return;
    const int32_t shaderIndex = Renderer::instance()->strokeShader;
    Shader* shader = beginTextured(*record, shaderIndex, source, 0, true);
    if (!shader) return;
    setColour(*shader, argb);
    glUniform2f(shader->uniform(Shader::TexelStep), 1.0f / static_cast<float>(record->width),
                1.0f / static_cast<float>(record->height));
    drawQuad(x, y, source.w, source.h, shaderIndex, 0);
}

void drawColourRect(int16_t x, int16_t y, uint16_t w, uint16_t h, uint32_t argb) {
    const int32_t shaderIndex = Renderer::instance()->colourShader;
    Shader* shader = program(shaderIndex);
    if (!shader) return;
    glUseProgram(shader->program);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setColour(*shader, argb);
    drawQuad(x, y, w, h, shaderIndex, 0);
}

void drawPaletted(int32_t texture, int32_t paletteTexture, const ClipRect& source, int16_t x, int16_t y) {
    TextureRecord* record = drawable(texture);
    TextureRecord* palette = drawable(paletteTexture);
    if (!record || !palette) return;
    const int32_t shaderIndex = Renderer::instance()->paletteShader;
    Shader* shader = beginTextured(*record, shaderIndex, source, 0, true);
    if (!shader) return;
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, palette->glTexture);
    glUniform1i(shader->uniform(Shader::Palette), 1);
    glUniform4f(shader->uniform(Shader::Colour), record->colour[0], record->colour[1], record->colour[2],
                record->colour[3]);
    glUniform3f(shader->uniform(Shader::ColourAdd), record->colourAdd[0], record->colourAdd[1],
                record->colourAdd[2]);
    drawQuad(x, y, source.w, source.h, shaderIndex, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
}
