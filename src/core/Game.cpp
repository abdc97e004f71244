#include "core/Game.h"

#include <SDL.h>
#include <cstdlib>
#include <ctime>

#include "assets/AssetPack.h"
#include "audio/AudioSystem.h"
#include "core/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/SceneManager.h"
#include "core/SceneStandIn.h"
#include "game/BulletManager.h"
#include "game/SceneLevel.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/GameTexts.h"

namespace {
// Fade-in and fade-out of every scene slot, in milliseconds.
constexpr int32_t kFades[SceneManager::kSceneCount][2] = {
    {500, 500}, {1000, 2000}, {500, 500},  {200, 200}, {500, 500}, {1000, 1000}, {1000, 1000},
    {200, 200}, {200, 200},   {200, 1000}, {200, 200}, {200, 200}, {200, 1000},  {200, 1000}};
constexpr uint32_t kAdviceScene = 3;
constexpr uint16_t kStudioLogoScene = 4;
constexpr uint16_t kLevelScene = 1;
constexpr uint32_t kGameOverScene = 9, kWinScene = 10, kPauseScene = 11;
// A game-wide object is made and registered, or unregistered and deleted, in one step, so no
// pointer to a deleted object is ever left behind for the others.
template <class T> T& create(std::unique_ptr<T>& slot) {
    slot = std::make_unique<T>();
    GameWide<T>::set(slot.get());
    return *slot;
}

template <class T> void release(std::unique_ptr<T>& slot) {
    GameWide<T>::set(nullptr);
    slot.reset();
}
} // namespace

Game::Game() = default;

Game::~Game() {
    shutDown();
}

int Game::startUp() {
    create(pack_);
    pack_->loadIndex();
    create(store_);

    Renderer* renderer = Renderer::instance();
    renderer_ = true;
    create(audio_);
    // The mixer would not open: its message is written, and the game cannot go on.
    if (audio_->failed()) return 1;

    create(progress_);
    firstRun_ = !progress_->readOptions();

    renderer->fullscreen = progress_->fullscreen;
    renderer->logicalWidth = 320;
    renderer->logicalHeight = 200;
    if (const int failure = renderer->initialise()) return failure;

    create(input_);
    // The game-controller subsystem would not start.
    if (input_->failed()) return 1;
    input_->installDefaultKeyBindings();
    input_->wasdEnabled = 1;
    create(scenes_);
    create(bullets_);
    create(texts_);
    texts_->loadLanguage(0, "Assets/");

    buildScenes();
    scenes_->loadAll();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    for (const char* sound : {"Sound/cursormove22.wav", "Sound/cursorok22.wav", "Sound/cursorcancel22.wav",
                              "Sound/noaction.wav", "Sound/erasenoise22k.wav", "Sound/paintnoise211k.wav",
                              "Sound/GoInDoor.ogg", "Sound/54321.wav", "Sound/chof.wav"})
        audio_->loadSound(sound, AudioSystem::Effect);

    if (firstRun_) {
        // The first run shows the advice screen, which leads on to the studio logo.
        Scene* logo = scenes_->scene(kStudioLogoScene);
        Scene* advice = scenes_->scene(kAdviceScene);
        logo->entered = 0;
        logo->fadeInOnEnter = 1;
        advice->nextScene = kStudioLogoScene;
        scenes_->previousScene = kStudioLogoScene;
        scenes_->currentScene = kAdviceScene;
    }
    loop_ = std::make_unique<MainLoop>(*scenes_, *input_, *renderer, audio_.get(), progress_.get());
    return 0;
}

void Game::buildScenes() {
    ProgressRecord* progress = progress_.get();
    // Until the menus exist, the stand-ins lead to the level: the first level with the first flag
    // after the logos, a new attempt after a win or a loss, and back from the pause.
    auto firstLevel = [progress] {
        if (progress->flags.empty()) progress->loadFlags();
        if (progress->levels.empty()) progress->loadLevelList();
        progress->chooseLevel(0, 0);
    };
    auto sameLevel = [progress] { progress->chooseLevel(progress->currentLevel, progress->currentFlag); };
    for (uint32_t number = 0; number < SceneManager::kSceneCount; ++number) {
        if (number == kLevelScene) {
            scenes_->install(number, std::make_unique<SceneLevel>());
            continue;
        }
        auto standIn = std::make_unique<SceneStandIn>(kFades[number][0], kFades[number][1]);
        if (number == kAdviceScene) {
            standIn->handOverScene = kStudioLogoScene;
            standIn->handOverMs = 1500;
        } else if (number == kStudioLogoScene) {
            standIn->handOverScene = kLevelScene;
            standIn->handOverMs = 1000;
            standIn->beforeHandOver = firstLevel;
        } else if (number == kGameOverScene || number == kWinScene) {
            standIn->handOverScene = kLevelScene;
            standIn->handOverMs = 2500;
            standIn->beforeHandOver = sameLevel;
        } else if (number == kPauseScene) {
            standIn->handOverScene = kLevelScene;
        }
        scenes_->install(number, std::move(standIn));
    }
}

void Game::run() {
    if (loop_) loop_->run();
}

void Game::shutDown() {
    loop_.reset();
    release(pack_);
    release(progress_);
    release(scenes_);
    release(bullets_);
    release(texts_);
    release(input_);
    release(audio_);
    release(store_);
    if (renderer_) {
        Renderer::destroyInstance();
        SDL_Quit();
        renderer_ = false;
    }
}
