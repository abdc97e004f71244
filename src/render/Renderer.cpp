#include "render/Renderer.h"

#include <algorithm>
#include <glad/gl.h>
#include <iostream>

#include "base/GameWide.h"
#include "render/Argb.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"

namespace {
Renderer* theRenderer = nullptr;
} // namespace

WindowLayout WindowLayout::compute(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight) {
    WindowLayout layout;
    if (logicalWidth <= 0 || logicalHeight <= 0) return layout;
    layout.factor = std::min((windowWidth - 40) / logicalWidth, (windowHeight - 40) / logicalHeight);
    layout.scaledWidth = logicalWidth * layout.factor;
    layout.scaledHeight = logicalHeight * layout.factor;
    layout.offsetX = (windowWidth - layout.scaledWidth) / 2;
    layout.offsetY = (windowHeight - layout.scaledHeight - 20) / 2;
    layout.nativeSize = windowWidth == logicalWidth && windowHeight == logicalHeight;
    return layout;
}

Renderer* Renderer::instance() {
    if (!theRenderer) theRenderer = new Renderer();
    return theRenderer;
}

void Renderer::destroyInstance() {
    delete theRenderer;
    theRenderer = nullptr;
}

Renderer::~Renderer() {
    shutdown();
}

int Renderer::initialise() {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Init(SDL_INIT_TIMER);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);

    if (fullscreen)
        window_ = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1280, 720,
                                   SDL_WINDOW_FULLSCREEN | SDL_WINDOW_OPENGL);
    else
        window_ = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1280, 720,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_INPUT_GRABBED |
                                       SDL_WINDOW_MOUSE_FOCUS);
    if (!window_) {
        std::cout << "Window could not be created! SDL_Error: " << SDL_GetError() << "\n";
        return 1;
    }
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    if (SDL_DisplayMode mode; SDL_GetWindowDisplayMode(window_, &mode) == 0) refreshHz = mode.refresh_rate;
    layout = WindowLayout::compute(windowWidth, windowHeight, logicalWidth, logicalHeight);

    SDL_SetHint("SDL_RENDER_VSYNC", "1");
    context_ = SDL_GL_CreateContext(window_);
    if (!context_ || SDL_GL_SetSwapInterval(1) != 0) {
        std::cerr << "Warning: Unable to set VSync! SDL Error: " << SDL_GetError() << std::endl;
        return 4;
    }
    if (!gladLoadGL(reinterpret_cast<GLADloadfunc>(SDL_GL_GetProcAddress))) {
        std::cerr << "Error initializing GLAD! " << std::endl;
        return 3;
    }
    nativeSize = layout.nativeSize ? 1 : 0;

    if (ResourceStore* store = GameWide<ResourceStore>::get()) {
        textureShader = store->createShader("TextureMatrix2D", 1);
        paletteShader = store->createShader("TexturePalette", 4);
        colourShader = store->createShader("Color2D", 0);
        shadowMapShader = store->createShader("Shadow1D", 2);
        shadowRenderShader = store->createShader("ShadowRender", 3);
        strokeShader = store->createShader("StrokeColor", 6);
    }
    createQuad();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    if (ResourceStore* store = GameWide<ResourceStore>::get()) {
        screenshot = store->createRenderTexture("Screenshot", windowWidth, windowHeight, true, true);
        if (!nativeSize) {
            lightMapSize = lightMapSizeFor(logicalWidth, logicalHeight);
            gameScreen = store->createRenderTexture("Game_Screen", logicalWidth, logicalHeight, true, false);
            gameScreenshot =
                store->createRenderTexture("Game_Screenshot", logicalWidth, logicalHeight, true, true);
        }
        hudLayer = store->createRenderTexture("HUDTexture", logicalWidth, logicalHeight, true, true);
        secondLayer =
            store->createRenderTexture("SecondRendertexture", logicalWidth, logicalHeight, true, true);
        occlusionMap = store->createRenderTexture("LightOclusion", lightMapSize, lightMapSize, true, true);
        shadowMap = store->createRenderTexture("LightShadow1D", lightMapSize, 1, true, true);
    }
    SDL_ShowCursor(SDL_ENABLE);
    SDL_SetRelativeMouseMode(SDL_TRUE);
    setWindowProjection();
    view = Matrix4::lookAt({0, 0, 3}, {0, 0, 2}, {0, 1, 0});
    return 0;
}

int32_t Renderer::lightMapSizeFor(int logicalWidth, int logicalHeight) {
    const int reference = logicalWidth > logicalHeight ? 1280 : 720;
    const int longest = std::max(logicalWidth, logicalHeight);
    if (longest <= 0) return 512;
    const double ratio = static_cast<double>(reference) / longest;
    const auto wanted = static_cast<int32_t>(512.0 / ratio);
    int32_t size = 1;
    while (size <= wanted)
        size *= 2;
    return size;
}

void Renderer::createQuad() {
    static const float vertices[20] = {-0.5f, 0.5f,  0, 0, 1, 0.5f,  0.5f,  0, 1, 1,
                                       0.5f,  -0.5f, 0, 1, 0, -0.5f, -0.5f, 0, 0, 0};
    static const uint32_t indices[6] = {0, 1, 2, 0, 2, 3};
    glGenVertexArrays(1, &quadVertexArray);
    glGenBuffers(1, &quadVertexBuffer);
    glGenBuffers(1, &quadIndexBuffer);
    glBindVertexArray(quadVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof indices, indices, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 20, nullptr);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 20, reinterpret_cast<void*>(12));
    glEnableVertexAttribArray(1);
    glBindVertexArray(0);
}

void Renderer::shutdown() {
    if (context_) {
        if (quadVertexArray) glDeleteVertexArrays(1, &quadVertexArray);
        if (quadVertexBuffer) glDeleteBuffers(1, &quadVertexBuffer);
        if (quadIndexBuffer) glDeleteBuffers(1, &quadIndexBuffer);
    }
    quadVertexArray = quadVertexBuffer = quadIndexBuffer = 0;
    if (context_) SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void Renderer::setWindowProjection() {
    projection =
        Matrix4::ortho(0, static_cast<float>(windowWidth), static_cast<float>(windowHeight), 0, 0.1f, 100.0f);
}

void Renderer::setLogicalProjection() {
    projection = Matrix4::ortho(0, static_cast<float>(logicalWidth), static_cast<float>(logicalHeight), 0,
                                0.1f, 100.0f);
}

void Renderer::bindFramebufferOf(int32_t textureIndex, int width, int height) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    const TextureRecord* record = store ? store->texture(textureIndex) : nullptr;
    // A target whose creation failed draws into the window rather than into some other texture.
    glBindFramebuffer(GL_FRAMEBUFFER, record ? record->framebuffer : 0);
    ++framebufferBinds;
    glViewport(0, 0, width, height);
}

void Renderer::bindTarget(uint32_t target, int32_t textureIndex) {
    if (target == currentTarget && target != TextureTarget) return;
    if (target == TextureTarget && currentTarget == TextureTarget && textureIndex == currentTargetTexture)
        return;
    switch (target) {
    case Keep:
        return;
    case Window:
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        ++framebufferBinds;
        glViewport(0, 0, windowWidth, windowHeight);
        setWindowProjection();
        break;
    case GameScreen:
    case SecondLayer:
    case HudLayer:
        bindFramebufferOf(target == GameScreen    ? gameScreen
                          : target == SecondLayer ? secondLayer
                                                  : hudLayer,
                          logicalWidth, logicalHeight);
        setLogicalProjection();
        break;
    case TextureTarget: {
        ResourceStore* store = GameWide<ResourceStore>::get();
        const TextureRecord* record = store ? store->texture(textureIndex) : nullptr;
        if (!record) return;
        bindFramebufferOf(textureIndex, record->width, record->height);
        projection = Matrix4::ortho(0, static_cast<float>(record->width), static_cast<float>(record->height),
                                    0, 0.1f, 100.0f);
        currentTargetTexture = textureIndex;
        break;
    }
    default:
        return;
    }
    currentTarget = target;
}

void Renderer::bindGameScreen() {
    if (nativeSize) {
        bindTarget(Window, -1);
        return;
    }
    bindTarget(GameScreen, -1);
}

void Renderer::compositeLayer(uint32_t layer) {
    bindTarget(GameScreen, -1);
    const int32_t texture = layer == 2 ? secondLayer : hudLayer;
    const ClipRect whole{0, 0, static_cast<uint16_t>(logicalWidth), static_cast<uint16_t>(logicalHeight)};
    drawTexture(texture, whole, 0, 0, 0, static_cast<uint16_t>(logicalWidth),
                static_cast<uint16_t>(logicalHeight), nullptr, 2, 255);
}

void Renderer::computeShadowMap() {
    bindTarget(TextureTarget, shadowMap);
    clearTarget(0, Keep);
    ResourceStore* store = GameWide<ResourceStore>::get();
    Shader* shader = store ? store->shader(shadowMapShader) : nullptr;
    const TextureRecord* occlusion = store ? store->texture(occlusionMap) : nullptr;
    if (!shader || !shader->valid || !occlusion) return;
    glUseProgram(shader->program);
    glUniform2f(shader->uniform(Shader::Resolution), static_cast<float>(occlusion->width),
                static_cast<float>(occlusion->height));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, occlusion->glTexture);
    ResourceStore::applyBlendMode(occlusion->blendMode);
    glUniform1i(shader->uniform(Shader::Texture), 0);
    drawQuad(0, 0, static_cast<uint32_t>(lightMapSize), 1, shadowMapShader, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
}

void Renderer::drawLight(int32_t x, int32_t y, uint32_t argb) {
    ResourceStore* store = GameWide<ResourceStore>::get();
    Shader* shader = store ? store->shader(shadowRenderShader) : nullptr;
    TextureRecord* map = store ? store->texture(shadowMap) : nullptr;
    if (!shader || !shader->valid || !map) return;
    map->blendMode = 0;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, map->glTexture);
    ResourceStore::applyBlendMode(0);
    glUseProgram(shader->program);
    glUniform4fv(shader->uniform(Shader::Colour), 1, unpackArgb(argb).data());
    glUniform1i(shader->uniform(Shader::Texture), 0);
    glUniform2f(shader->uniform(Shader::Resolution), static_cast<float>(lightMapSize),
                static_cast<float>(lightMapSize));
    drawQuad(x - lightMapSize / 2, y - lightMapSize / 2, static_cast<uint32_t>(lightMapSize),
             static_cast<uint32_t>(lightMapSize), shadowRenderShader, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    map->blendMode = 2;
}

void Renderer::clearTarget(uint32_t argb, uint32_t target) {
    const auto rgba = unpackArgb(argb);
    glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    bindTarget(target, -1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glClear(GL_DEPTH_BUFFER_BIT);
}

void Renderer::present() {
    if (!window_) return;
    composeFrame();
    SDL_GL_SwapWindow(window_);
    ++framesPresented;
}

void Renderer::composeFrame() {
    if (!nativeSize) {
        compositeLayer(2);
        compositeLayer(3);
        bindTarget(Window, -1);
        const ClipRect source{0, 0, static_cast<uint16_t>(logicalWidth),
                              static_cast<uint16_t>(logicalHeight)};
        drawTexture(gameScreen, source, static_cast<int16_t>(layout.offsetX),
                    static_cast<int16_t>(layout.offsetY), 0, static_cast<uint16_t>(layout.scaledWidth),
                    static_cast<uint16_t>(layout.scaledHeight), nullptr, 2, 255);
    }
}
