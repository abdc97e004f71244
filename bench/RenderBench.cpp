// What a frame costs on this machine's GL: the floor (only the work every frame must do: clear,
// the two overlay composites, the x3 present, the swap) and the same frame with 2 000 sprites
// drawn into the game screen, the paddle game's frame, and a level's floor: the same plus the terrain and
// paint quads of a 1600x1000 level and the upload of the paint its creatures changed. Compare from one run;
// the ratios are what we report. Frames run to the wall clock: the main thread spends most of a frame
// waiting on the driver's threads, and its own CPU time would stretch each run tenfold.
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "base/FrameClock.h"
#include "opening/ScenePong.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"

#include "BenchGl.h"

namespace {
BenchGl& gl() {
    return benchGl();
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
BENCHMARK(BM_FloorFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

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
BENCHMARK(BM_FrameWith2000Sprites)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The least a level frame must do on top of the floor: draw the terrain and the paint (both
// level-sized, 1:1 under the view) and upload the strip of paint 100 walking creatures change.
static void BM_FloorLevelFrame(benchmark::State& state) {
    if (!gl().ok) {
        state.SkipWithError("no GL context");
        return;
    }
    Renderer& renderer = *Renderer::instance();
    ResourceStore& store = gl().store;
    const int32_t terrain = store.createRenderTexture("bench-floor-terrain", 1600, 1000, false, false);
    const int32_t paint = store.createRenderTexture("bench-floor-paint", 1600, 1000, false, false);
    const int32_t paintSurface = store.surfaces().createBlank("bench-floor-paint", 1600, 1000);
    const ClipRect level{0, 0, 1600, 1000};
    uint32_t colour = 0;
    for (auto _ : state) {
        renderer.clearTarget(0, Renderer::Window);
        renderer.clearTarget(0, Renderer::GameScreen);
        ++colour;
        store.surfaces().putPixel(paintSurface, static_cast<int>(colour % 1600), 600, 0xFF000000u | colour);
        store.uploadSurfaceRect(paintSurface, paint, 0, 590, 1600, 20);
        drawSprite(terrain, level, -640, -500);
        drawSprite(paint, level, -640, -500);
        renderer.present();
    }
    store.deleteTexture("bench-floor-terrain");
    store.deleteTexture("bench-floor-paint");
    store.surfaces().remove("bench-floor-paint");
}
BENCHMARK(BM_FloorLevelFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

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
BENCHMARK(BM_PaddleSceneFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
