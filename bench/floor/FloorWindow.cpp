// The floor the game's own cost is judged against: the game's window, context and render targets,
// and each frame only the GL work every frame must do (the two clears, the overlay composites, the
// x3 present, the swap), paced as the game paces its frames. Run it from the folder the game runs
// in (it reads "config.ini" for the window mode and the pack for the shaders); it ends after the
// given number of seconds (default 20) or when its window is closed.
#include <SDL.h>
#include <cstdlib>
#include <memory>

#include "assets/AssetPack.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    AssetPack pack;
    pack.loadIndex();
    GameWide<AssetPack>::set(&pack);
    // Its textures must go while the GL context still exists.
    auto store = std::make_unique<ResourceStore>();
    GameWide<ResourceStore>::set(store.get());
    ProgressRecord record;
    record.readOptions();
    Renderer* renderer = Renderer::instance();
    renderer->fullscreen = record.fullscreen;
    if (const int failure = renderer->initialise()) return failure;

    const Uint32 end = SDL_GetTicks() + static_cast<Uint32>(seconds * 1000.0);
    Uint32 previous = SDL_GetTicks();
    uint32_t fastSwaps = 0;
    for (bool open = true; open && SDL_GetTicks() < end;) {
        for (SDL_Event event; SDL_PollEvent(&event);)
            if (event.type == SDL_QUIT) open = false;
        const Uint32 deltaMs = SDL_GetTicks() - previous;
        const int interval = FrameClock::keptSwapInterval(
            deltaMs, SDL_GL_GetSwapInterval(), renderer->refreshHz, renderer->frameLimiterEnabled, fastSwaps);
        const FrameCharge charge =
            FrameClock::charge(deltaMs, renderer->frameLimiterEnabled, interval, renderer->targetFrameMs);
        if (charge.sleepMs) SDL_Delay(charge.sleepMs);
        previous = SDL_GetTicks();
        renderer->clearTarget(0, Renderer::Window);
        renderer->clearTarget(0, Renderer::GameScreen);
        renderer->present();
    }
    GameWide<ResourceStore>::set(nullptr);
    store.reset();
    Renderer::destroyInstance();
    GameWide<AssetPack>::set(nullptr);
    return 0;
}
