#include "GlFixture.h"

#include <algorithm>
#include <array>
#include <glad/gl.h>

#include "base/GameWide.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>
#pragma GCC diagnostic pop

GlFixture& GlFixture::get() {
    static GlFixture fixture;
    return fixture;
}

GlFixture::GlFixture() {
    // Owned for the whole test program, like the game's own objects for the whole run.
    pack_ = new AssetPack();
    pack_->loadIndex();
    GameWide<AssetPack>::set(pack_);
    store_ = new ResourceStore();
    GameWide<ResourceStore>::set(store_);
    Renderer* renderer = Renderer::instance();
    renderer->fullscreen = 0;
    ready_ = renderer->initialise() == 0;
}

std::array<uint8_t, 4> GlFixture::gameScreenPixel(int x, int y) {
    Renderer* renderer = Renderer::instance();
    renderer->bindGameScreen();
    std::array<uint8_t, 4> rgba{};
    // A render target holds its rows bottom-up.
    glReadPixels(x, renderer->logicalHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

std::array<uint8_t, 4> GlFixture::windowPixel(int x, int y) {
    Renderer* renderer = Renderer::instance();
    renderer->bindTarget(Renderer::Window, -1);
    std::array<uint8_t, 4> rgba{};
    glReadPixels(x, renderer->windowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

void GlFixture::clearAll(uint32_t argb) {
    Renderer* renderer = Renderer::instance();
    renderer->clearTarget(0, Renderer::SecondLayer);
    renderer->clearTarget(0, Renderer::HudLayer);
    renderer->clearTarget(argb, Renderer::GameScreen);
}

namespace {
void append(void* out, void* data, int size) {
    static_cast<std::string*>(out)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}
} // namespace

std::string encodePng(int width, int height, int channels, const std::string& pixels) {
    std::string out;
    stbi_write_png_to_func(append, &out, width, height, channels, pixels.data(), width * channels);
    return out;
}
