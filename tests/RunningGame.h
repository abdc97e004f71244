#pragma once
// The real game in a scratch folder, with or without "config.ini", on a fake clock, its keys and
// mouse held by the test. For tests that drive the game's own scenes frame by frame.
#include <SDL.h>
#include <array>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <link.h>
#include <string>

#include "GlFixture.h"
#include "TestSupport.h"
#include "audio/AudioSystem.h"
#include "core/Game.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/SceneManager.h"
#include "render/Renderer.h"

// Marks every shared object loaded so far as never to be unloaded. The game's shutdown quits SDL,
// which unloads the GL driver; the leak checker would then find the driver's own leaks in an
// unknown module, which no suppression can name.
inline void keepLibrariesLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0])
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

inline void pushKey(SDL_Scancode code) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = code;
    SDL_PushEvent(&event);
}

inline void pushQuit() {
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

// The real game, started in a scratch folder with or without "config.ini", on a fake clock, its
// input read from a source the test holds.
class RunningGame : public testing::Test {
  protected:
    void start(bool withOptions) {
        std::filesystem::copy_file(std::filesystem::path(VOV_RUN_DIR) / "Vedezaviva.zez",
                                   dir.path() / "Vedezaviva.zez");
        if (withOptions) dir.write("config.ini", "0\n");
        std::filesystem::current_path(dir.path());
        ASSERT_EQ(game.startUp(), 0);
        auto source = std::make_unique<FakeInput>();
        held = source.get();
        game.input()->setSource(std::move(source));
        Renderer::instance()->frameLimiterEnabled = 0;
        game.loop()->swapInterval = [] { return 1; };
        scenes = game.scenes();
        audio = GameWide<AudioSystem>::get();
        frame(0);
    }
    void TearDown() override {
        keepLibrariesLoaded();
        game.shutDown();
        std::filesystem::current_path(here);
    }
    bool frame(uint32_t ms = 16) {
        clock.advance(ms);
        return game.loop()->runFrame();
    }
    // Frames of 16 ms until `done` holds (at most `limit`); how many it took.
    template <class F> int framesUntil(F done, int limit = 1000) {
        int n = 0;
        while (!done() && n < limit) {
            frame();
            ++n;
        }
        return n;
    }
    Scene* current() const { return scenes->current(); }

    FakeClock clock;
    ScratchDir dir{"game"};
    std::filesystem::path here = std::filesystem::current_path();
    Game game;
    FakeInput* held = nullptr;
    SceneManager* scenes = nullptr;
    AudioSystem* audio = nullptr;
};

// Saves the window as the last frame left it, when VOV_SCREENSHOT_DIR names a folder.
inline void saveWindowShot(const std::string& name) {
    const char* dir = std::getenv("VOV_SCREENSHOT_DIR");
    if (!dir) return;
    Renderer* renderer = Renderer::instance();
    const auto pixels = readWindow(renderer->windowWidth, renderer->windowHeight);
    EXPECT_TRUE(
        savePng(std::string(dir) + "/" + name, renderer->windowWidth, renderer->windowHeight, pixels));
}

// A button that goes down and up between two frames, as a quick tap does: only events, no hold.
inline void pushClick(uint8_t button) {
    for (uint32_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
}
