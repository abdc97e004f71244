#pragma once
// Renderer — the window, the GL context and the way frames reach the screen.
//
// Owns: the SDL window and GL context, the frame-pacing values, the window layout (the whole-factor
// scale of the 320x200 game screen) and the record of which framebuffer is bound.
// Never: loads pictures or shaders itself (the resource store does), reads input or scenes.
// On failure: initialise() returns the process exit code the game must end with (1 window,
// 4 swap interval, 3 GL loader) after writing the message; 0 on success.
#include <SDL.h>
#include <cstdint>

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

    void clearTarget(uint32_t argb, uint32_t target);
    void bindTarget(uint32_t target, int32_t textureIndex);
    void present();

    float targetFrameMs = 1000.0f / 60.0f;
    uint8_t frameLimiterEnabled = 1;
    uint8_t fullscreen = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int logicalWidth = 320;
    int logicalHeight = 200;
    WindowLayout layout;
    uint32_t currentTarget = 5;
    // Counts swaps, so tests and benchmarks can tell that frames really reached the window.
    uint64_t framesPresented = 0;
    int32_t currentTargetTexture = -1;

    SDL_Window* window() const { return window_; }

  private:
    Renderer() = default;
    ~Renderer();

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};
