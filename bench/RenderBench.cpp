// What a frame costs on this machine's GL: the floor (only the work every frame must do: clear,
// the two overlay composites, the x3 present, the swap) and the same frame with 2 000 sprites
// drawn into the game screen. Compare the two from one run; the ratio is what we report.
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "assets/AssetPack.h"
#include "core/FrameClock.h"
#include "core/GameWide.h"
#include "core/ScenePong.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"

namespace {
struct Gl {
    Gl() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        pack.loadIndex();
        GameWide<AssetPack>::set(&pack);
        GameWide<ResourceStore>::set(&store);
        Renderer::instance()->fullscreen = 0;
        ok = Renderer::instance()->initialise() == 0;
        sprite = store.getOrLoadTexture("Assets/hud/mousenormal.png");
    }
    AssetPack pack;
    ResourceStore store;
    bool ok = false;
    int32_t sprite = -1;
};

Gl& gl() {
    static Gl instance;
    return instance;
}

void floorFrame(Renderer& renderer) {
    renderer.clearTarget(0, Renderer::Window);
    renderer.clearTarget(0, Renderer::GameScreen);
    renderer.present();
}
} // namespace

static void BM_FloorFrame(benchmark::State& state) {
    if (!gl().ok) {
        state.SkipWithError("no GL context");
        return;
    }
    Renderer& renderer = *Renderer::instance();
    for (auto _ : state)
        floorFrame(renderer);
}
BENCHMARK(BM_FloorFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

static void BM_FrameWith2000Sprites(benchmark::State& state) {
    if (!gl().ok || gl().sprite < 0) {
        state.SkipWithError("no GL context or no sprite");
        return;
    }
    Renderer& renderer = *Renderer::instance();
    const TextureRecord* record = gl().store.texture(gl().sprite);
    const ClipRect whole{0, 0, static_cast<uint16_t>(record->width), static_cast<uint16_t>(record->height)};
    for (auto _ : state) {
        renderer.clearTarget(0, Renderer::Window);
        renderer.clearTarget(0, Renderer::GameScreen);
        for (int i = 0; i < 2000; ++i)
            drawSprite(gl().sprite, whole, static_cast<int16_t>(i * 7 % 310),
                       static_cast<int16_t>(i * 13 % 190));
        renderer.present();
    }
}
BENCHMARK(BM_FrameWith2000Sprites)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The paddle game's frame: the grid effect, the table, and eight lights, each with its own
// occlusion map of twenty blocks and shadow map, through the scene's own render.
static void BM_PaddleSceneFrame(benchmark::State& state) {
    if (!gl().ok) {
        state.SkipWithError("no GL context");
        return;
    }
    std::srand(3);
    ScenePong pong;
    pong.load();
    pong.fadeInOnEnter = 0;
    pong.Scene::enter();
    for (auto _ : state) {
        frameTimeMs += 16;
        frameDeltaMs = 16;
        pong.render();
    }
}
BENCHMARK(BM_PaddleSceneFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
