// What a level costs: its rules alone, without GL (the brush held, 100 followers walking and the
// leader, the camera, the painting pass), on a 1600x1000 and a 400x250 terrain (their ratio shows
// whether the cost grows with the level, which it must not), and the whole level frame (update and
// draw, presented), to compare with BM_FloorLevelFrame of RenderBench.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

#include "BenchGl.h"
#include "assets/SurfaceStore.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputSource.h"
#include "core/InputState.h"
#include "game/EntityTumblekin.h"
#include "game/SceneLevel.h"
#include "game/Terrain.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"
#include "text/GameTexts.h"

namespace {
class HeldButtons final : public InputSource {
  public:
    const uint8_t* keyboard(int* count) override {
        *count = static_cast<int>(sizeof keys);
        return keys;
    }
    uint32_t mouse(int* x, int* y) override {
        *x = 640;
        *y = 360;
        return buttons;
    }
    uint8_t keys[512] = {};
    uint32_t buttons = SDL_BUTTON_LMASK;
};

// A level of the given size: flat ground over the lower two fifths, coloured by height, its stamp
// and a three-row flag palette. Returns the palette.
int32_t layOut(SurfaceStore& surfaces, ProgressRecord& progress, int width, int height) {
    LevelInfo& level = progress.levels.back();
    const std::string& name = level.name;
    level.stampSurface = surfaces.createBlank(name + "Stamp", 20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            surfaces.putPixel(level.stampSurface, x, y, 0xFFFFFFFFu);
    progress.terrainSurface = surfaces.createBlank(name, width, height);
    for (int y = height * 3 / 5; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surfaces.putPixel(progress.terrainSurface, x, y,
                              0xFF206000u | static_cast<uint32_t>(1 + (y * 253) / height));
    progress.paintSurface = surfaces.createBlank(name + "Color", width, height);
    const int32_t palette = surfaces.createBlank(name + "Flag", 1, 3);
    surfaces.putPixel(palette, 0, 0, 0xFF2020C0u);
    surfaces.putPixel(palette, 0, 1, 0xFFE0E0E0u);
    surfaces.putPixel(palette, 0, 2, 0xFF30A030u);
    return palette;
}

LevelInfo levelOfSize(const std::string& name, int width, int height) {
    const int ground = height * 3 / 5;
    LevelInfo level;
    level.name = name;
    level.imagePath = name;
    level.width = static_cast<uint16_t>(width);
    level.height = static_cast<uint16_t>(height);
    level.startX = width / 2;
    level.startY = ground - 1;
    level.exitX = width - 20;
    level.exitY = ground - 1;
    level.timeLimitMinutes = 999;
    level.goalPercent = 101; // the exit never opens: the run stays in play
    level.creatureCount = 100;
    return level;
}

// The level's rules with no GL at all: the surfaces, the brush, the column and the camera the
// level scene drives, updated as it updates them while the exit is closed.
struct RulesLevel {
    RulesLevel(int width, int height) : terrain(progress, surfaces) {
        progress.levels.push_back(levelOfSize("rules-level-" + std::to_string(width), width, height));
        const LevelInfo& level = progress.levels.back();
        const int32_t palette = layOut(surfaces, progress, width, height);
        progress.flags.push_back(Flag{level.name + "Flag", palette, -1, 1, 3});
        progress.resetAttempt();
        progress.paintablePixels =
            Terrain::countPaintable(surfaces.get(progress.terrainSurface), width, height);
        // The game's own brush, from the pack of the run folder.
        AssetPack pack;
        AssetPack* before = GameWide<AssetPack>::get();
        GameWide<AssetPack>::set(pack.loadIndex() ? &pack : nullptr);
        const int32_t brush = surfaces.getOrLoad("Assets/graphics/brush.png");
        surfaces.convertToRgba(brush);
        GameWide<AssetPack>::set(before);
        terrain.setSurfaces(level.stampSurface, palette, brush);
        leader = std::make_unique<EntityTumblekin>(progress, surfaces, level.startX, level.startY);
        leader->isLeader = 1;
        leader->state = EntityTumblekin::Standing;
        for (int i = 0; i < level.creatureCount; ++i) {
            auto f = std::make_unique<EntityTumblekin>(progress, surfaces, (i * 997) % width, level.startY);
            f->state = EntityTumblekin::Walking;
            f->facingRight = i % 2;
            f->leader = leader.get();
            followers.push_back(std::move(f));
        }
        camera.levelWidth = level.width;
        camera.levelHeight = level.height;
        camera.pointerX = &mouseX;
        camera.pointerY = &mouseY;
        camera.placeOn(level.startX, level.startY);
    }
    // The brush held in the air above the column's heads, building and digging in turn.
    void update(uint64_t i) {
        frameDeltaMs = 16;
        mouseX = 20 + static_cast<int32_t>((i * 7) % 280);
        mouseY = progress.levels.back().startY - 25 - camera.viewY;
        terrain.applyBrush(camera.viewX + mouseX, camera.viewY + mouseY,
                           (i / 64) % 2 ? SDL_BUTTON_RMASK : SDL_BUTTON_LMASK, frameDeltaMs);
        leader->update();
        for (auto& follower : followers)
            follower->update();
        camera.update();
        for (const auto& follower : followers)
            if (follower->state == EntityTumblekin::Falling || follower->state == EntityTumblekin::Walking)
                terrain.paintStamp(follower->x, follower->y);
    }

    SurfaceStore surfaces;
    ProgressRecord progress;
    Terrain terrain;
    std::unique_ptr<EntityTumblekin> leader;
    std::vector<std::unique_ptr<EntityTumblekin>> followers;
    CameraMouse camera;
    int32_t mouseX = 0, mouseY = 0;
};

// One level of the given size with 100 followers walking on flat ground, ready to run and draw.
struct BenchLevel {
    BenchLevel(int width, int height) {
        BenchGl& gl = benchGl();
        ResourceStore& store = gl.store;
        if (!GameWide<GameTexts>::get()) {
            static GameTexts texts;
            GameWide<GameTexts>::set(&texts);
            texts.loadLanguage(0, "Assets/");
        }
        GameWide<ProgressRecord>::set(&progress);
        auto source = std::make_unique<HeldButtons>();
        buttons = source.get();
        input.setSource(std::move(source));
        input.poll();
        GameWide<InputState>::set(&input);

        const std::string name = "bench-level-" + std::to_string(width);
        const int ground = height * 3 / 5;
        const LevelInfo level = levelOfSize(name, width, height);
        progress.levels.push_back(level);
        const int32_t palette = layOut(store.surfaces(), progress, width, height);
        progress.terrainTexture = store.createRenderTexture(name, width, height, false, false);
        store.uploadSurface(progress.terrainSurface, progress.terrainTexture);
        progress.paintTexture = store.createRenderTexture(name + "Color", width, height, false, false);
        progress.flags.push_back(Flag{name + "Flag", palette, -1, 1, 3});
        progress.resetAttempt();

        scene = std::make_unique<SceneLevel>();
        scene->load();
        scene->fadeInOnEnter = 1;
        scene->enter();
        scene->state = Scene::Running;
        scene->phase = SceneLevel::Playing;
        progress.levelTimer.start();
        for (size_t i = 0; i < scene->followers.size(); ++i) {
            EntityTumblekin& f = *scene->followers[i];
            f.state = EntityTumblekin::Walking;
            f.x = static_cast<int32_t>((i * 997) % static_cast<size_t>(width));
            f.y = ground - 1;
            f.facingRight = i % 2;
        }
        scene->leader->state = EntityTumblekin::Standing;
        scene->leader->y = ground - 1;
    }
    ~BenchLevel() {
        GameWide<InputState>::set(nullptr);
        GameWide<ProgressRecord>::set(nullptr);
    }
    // One update with the brush held in the air above the column's heads, building and digging
    // in turn so there is always work for it and the walkers keep their ground.
    void update(uint64_t i) {
        frameDeltaMs = 16;
        const uint32_t wanted = (i / 64) % 2 ? SDL_BUTTON_RMASK : SDL_BUTTON_LMASK;
        if (buttons->buttons != wanted) {
            buttons->buttons = wanted;
            input.poll();
        }
        scene->mouseX = 20 + static_cast<int32_t>((i * 7) % 280);
        scene->mouseY = scene->levelInfo->startY - 25 - scene->view.y;
        scene->updateRunning();
    }

    ProgressRecord progress;
    InputState input;
    HeldButtons* buttons = nullptr;
    std::unique_ptr<SceneLevel> scene;
};

BenchLevel& levelOf(int width) {
    static std::map<int, std::unique_ptr<BenchLevel>> levels;
    auto& slot = levels[width];
    if (!slot) slot = std::make_unique<BenchLevel>(width, width * 5 / 8);
    GameWide<ProgressRecord>::set(&slot->progress);
    GameWide<InputState>::set(&slot->input);
    return *slot;
}
} // namespace

static void BM_LevelUpdate(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    RulesLevel level(width, width * 5 / 8);
    uint64_t i = 0;
    for (auto _ : state)
        level.update(i++);
    state.counters["walking"] =
        static_cast<double>(std::count_if(level.followers.begin(), level.followers.end(), [](const auto& f) {
            return f->state == EntityTumblekin::Walking;
        }));
}
BENCHMARK(BM_LevelUpdate)->Arg(1600)->Arg(400)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

static void BM_LevelFrame(benchmark::State& state) {
    if (!benchGl().ok) {
        state.SkipWithError("no GL context");
        return;
    }
    BenchLevel& level = levelOf(1600);
    uint64_t i = 0;
    for (auto _ : state) {
        level.update(i++);
        level.scene->render();
    }
}
BENCHMARK(BM_LevelFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
