#include "core/Game.h"

#include <SDL.h>
#include <cstdlib>
#include <ctime>

#include "assets/AssetPack.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/SceneManager.h"
#include "game/BulletManager.h"
#include "game/SceneLevel.h"
#include "menus/MenuBriefing.h"
#include "menus/MenuCredits.h"
#include "menus/MenuGameOver.h"
#include "menus/MenuHowTo.h"
#include "menus/MenuMain.h"
#include "menus/MenuOptions.h"
#include "menus/MenuPause.h"
#include "menus/MenuSelectLevel.h"
#include "menus/MenuWin.h"
#include "opening/SceneAdvice.h"
#include "opening/SceneLogoBrightfall.h"
#include "opening/SceneLogoQuillon.h"
#include "opening/ScenePong.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/GameTexts.h"

namespace {
// Fade-in and fade-out of every scene slot, in milliseconds.
constexpr int32_t kFades[kSceneCount][2] = {{500, 500},   {1000, 2000}, {500, 500},  {200, 200}, {500, 500},
                                            {1000, 1000}, {1000, 1000}, {200, 200},  {200, 200}, {200, 1000},
                                            {200, 200},   {200, 200},   {200, 1000}, {200, 1000}};
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
    progress_->campaign.read();

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
        auto* advice = static_cast<SceneAdvice*>(scenes_->scene(kAdviceScene));
        logo->entered = 0;
        logo->fadeInOnEnter = 1;
        advice->adviceKey = "INTRO_ALERT";
        advice->adviceNext = kStudioLogoScene;
        scenes_->previousScene = kStudioLogoScene;
        scenes_->currentScene = kAdviceScene;
    }
    loop_ = std::make_unique<MainLoop>(*scenes_, *input_, *renderer, audio_.get(), progress_.get());
    return 0;
}

void Game::buildScenes() {
    auto menu = [](uint32_t number) -> std::unique_ptr<Scene> {
        switch (number) {
        case kOptionsScene:
            return std::make_unique<MenuOptions>();
        case kMainScene:
            return std::make_unique<MenuMain>();
        case kSelectScene:
            return std::make_unique<MenuSelectLevel>();
        case kBriefingScene:
            return std::make_unique<MenuBriefing>();
        case kGameOverScene:
            return std::make_unique<MenuGameOver>();
        case kWinScene:
            return std::make_unique<MenuWin>();
        case kPauseScene:
            return std::make_unique<MenuPause>();
        case kHowToScene:
            return std::make_unique<MenuHowTo>();
        case kCreditsScene:
            return std::make_unique<MenuCredits>();
        case kAdviceScene:
            return std::make_unique<SceneAdvice>();
        case kStudioLogoScene:
            return std::make_unique<SceneLogoQuillon>();
        case kSecondLogoScene:
            return std::make_unique<SceneLogoBrightfall>();
        default:
            return nullptr;
        }
    };
    // The paddle game and the level set their own fades; every other scene takes its slot's.
    scenes_->install(kPongScene, std::make_unique<ScenePong>());
    scenes_->install(kLevelScene, std::make_unique<SceneLevel>());
    for (uint32_t number = kOptionsScene; number < kSceneCount; ++number) {
        std::unique_ptr<Scene> made = menu(number);
        made->fadeInDuration = kFades[number][0];
        made->fadeOutDuration = kFades[number][1];
        // These three menus choose their tips here, not in load.
        if (number == kGameOverScene || number == kHowToScene || number == kCreditsScene)
            made->setButtonTips(1);
        scenes_->install(number, std::move(made));
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
