#pragma once
// Renderer — the window, the GL context, the render targets and the way frames reach the screen.
//
// Owns: the SDL window and GL context, the unit quad, the camera matrices, the frame-pacing values,
// the window layout (the whole-factor scale of the 320x200 game screen), the indices of the shader
// programs and render targets (the resource store owns the objects), and the record of which
// framebuffer is bound.
// Never: reads input or knows about scenes.
// On failure: initialise() returns the process exit code the game must end with (1 window,
// 4 swap interval, 3 GL loader) after writing the message; 0 on success.
#include <SDL.h>
#include <cstdint>

#include "render/Matrix4.h"

struct WindowLayout {
    int factor = 1;
    int scaledWidth = 0;
    int scaledHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    bool nativeSize = true;

    // The largest whole factor that leaves a 20-pixel margin each side; the picture sits 10 pixels
    // above the centre. For 1280x720 and 320x200: x3, 960x600 at (160, 50).
    static WindowLayout compute(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight);
};

class Renderer final {
  public:
    static constexpr const char* kWindowTitle = "Vov Aruzezudor";

    // Created with the defaults on first use; destroyed by the entry point.
    static Renderer* instance();
    static void destroyInstance();

    int initialise();
    void shutdown();

    // Targets: 0 window, 1 game screen, 2 second layer, 3 HUD layer, 4 a texture's framebuffer,
    // 5 leave the binding as it is.
    enum Target : uint32_t {
        Window = 0,
        GameScreen = 1,
        SecondLayer = 2,
        HudLayer = 3,
        TextureTarget = 4,
        Keep = 5
    };

    void clearTarget(uint32_t argb, uint32_t target);
    void bindTarget(uint32_t target, int32_t textureIndex);
    void bindGameScreen();
    void compositeLayer(uint32_t layer);
    // Everything present() does before the swap: the layers onto the game screen, the game screen
    // scaled into the window. Tests read the window back after it.
    void composeFrame();
    void present();
    void setWindowProjection();
    void setLogicalProjection();
    void computeShadowMap();
    void drawLight(int32_t x, int32_t y, uint32_t argb);
    // Counts GL framebuffer binds, so repeated binds of one target can be seen to cost nothing.
    uint64_t framebufferBinds = 0;

    float targetFrameMs = 1000.0f / 60.0f;
    uint8_t frameLimiterEnabled = 1;
    // The window's display refresh rate, 0 where the system does not say (a virtual X server).
    int refreshHz = 0;
    uint8_t fullscreen = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int logicalWidth = 320;
    int logicalHeight = 200;
    WindowLayout layout;
    uint8_t nativeSize = 1;
    uint32_t quadVertexArray = 0, quadVertexBuffer = 0, quadIndexBuffer = 0;
    int32_t textureShader = -1, paletteShader = -1, colourShader = -1, shadowMapShader = -1,
            shadowRenderShader = -1, strokeShader = -1;
    Matrix4 projection;
    Matrix4 view;
    int32_t hudLayer = -1, secondLayer = -1, screenshot = -1, occlusionMap = -1, shadowMap = -1,
            gameScreen = -1, gameScreenshot = -1;
    int32_t lightMapSize = 512;
    uint32_t currentTarget = 5;
    // Counts swaps, so tests and benchmarks can tell that frames really reached the window.
    uint64_t framesPresented = 0;
    int32_t currentTargetTexture = -1;

    SDL_Window* window() const { return window_; }

    // The light map side for a logical screen: the smallest power of two above 512 / (ref / longest side).
    static int32_t lightMapSizeFor(int logicalWidth, int logicalHeight);

  private:
    Renderer() = default;
    void createQuad();
    void bindFramebufferOf(int32_t textureIndex, int width, int height);
    ~Renderer();

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};
