#include "render/Renderer.h"

#include <glad/gl.h>
#include <iostream>

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
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_SetRelativeMouseMode(SDL_TRUE);
    return 0;
}

void Renderer::shutdown() {
    if (context_) SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void Renderer::bindTarget(uint32_t target, int32_t textureIndex) {
    if (target == currentTarget && target != 4) return;
    if (target == 4 && currentTarget == 4 && textureIndex == currentTargetTexture) return;
    if (target == 5) return;
    if (target == 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, windowWidth, windowHeight);
    }
    currentTarget = target;
}

void Renderer::clearTarget(uint32_t argb, uint32_t target) {
    glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                 ((argb >> 24) & 0xFF) / 255.0f);
    bindTarget(target, -1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glClear(GL_DEPTH_BUFFER_BIT);
}

void Renderer::present() {
    if (!window_) return;
    SDL_GL_SwapWindow(window_);
    ++framesPresented;
}
