#include "GameHarness.h"

#include <cstdlib>
#include <fstream>

#include "GlFixture.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/Scene.h"
#include "core/SceneManager.h"
#include "render/Renderer.h"

namespace {
const std::filesystem::path kData = std::filesystem::path(VOV_SOURCE_DIR) / "data";

// Strips of ground eight rows thick, painted darker lower down as the game expects (red byte =
// height band); the air is (0, 0, 0, 0). Each strip: its top row and its first and last column.
struct Strip {
    int top, x0, x1;
};

std::string terrainPng(std::initializer_list<Strip> strips) {
    const int w = 400, h = 200;
    std::string pixels(static_cast<size_t>(w) * h * 4, '\0');
    for (const Strip& strip : strips)
        for (int y = strip.top; y < strip.top + 8; ++y)
            for (int x = strip.x0; x <= strip.x1; ++x) {
                char* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
                p[0] = static_cast<char>(60 + y / 2);
                p[1] = static_cast<char>(100);
                p[2] = static_cast<char>(60);
                p[3] = static_cast<char>(255);
            }
    return encodePng(w, h, 4, pixels);
}
} // namespace

GameHarness::GameHarness(const HarnessOptions& options)
    : dir_("menus"), here_(std::filesystem::current_path()) {
    namespace fs = std::filesystem;
    fs::copy_file(fs::path(VOV_RUN_DIR) / "Vedezaviva.zez", dir_.path() / "Vedezaviva.zez");
    if (options.levels) {
        // A short walk on flat ground; and a ledge whose edge is a deadly 140-pixel fall.
        dir_.write("Countries/flat.png", terrainPng({{150, 0, 399}}));
        dir_.write("Countries/cliff.png", terrainPng({{50, 0, 99}, {190, 0, 399}}));
        fs::copy_file(kData / "Countries/first_steps_stamp.png", dir_.path() / "Countries/flat_stamp.png");
        // Key, terrain, stamp, start, exit, minutes, survivor %, goal %, creatures, spawn interval.
        dir_.write("Countries/countries.txt",
                   "# test levels\n"
                   "Flatland,flat.png,flat_stamp.png,40,143,150,150,1,50,20,2,600\n"
                   "Nowhere,missing.png,flat_stamp.png,40,143,150,150,1,50,20,2,600\n"
                   "Cliff,cliff.png,flat_stamp.png,40,43,300,190,1,50,20,2,600\n");
    }
    if (options.flags) {
        fs::create_directories(dir_.path() / "Flags");
        std::string list;
        for (const char* flag : {"Spain Flag", "Japan Flag", "Saint Vincent and the Grenadines Flag"}) {
            fs::copy_file(kData / "Flags" / flag, dir_.path() / "Flags" / flag);
            list += std::string(flag) + "\n";
        }
        dir_.write("Flags/flags.txt", list);
    }
    if (!options.config.empty()) dir_.write("config.ini", options.config);
    fs::current_path(dir_.path());
    started_ = game_.startUp() == 0;
    std::srand(7);
    if (!started_) return;
    auto source = std::make_unique<HarnessInput>();
    input_ = source.get();
    game_.input()->setSource(std::move(source));
}

GameHarness::~GameHarness() {
    if (started_) game_.shutDown();
    std::filesystem::current_path(here_);
}

bool GameHarness::frame() {
    clock_.advance(17);
    return game_.loop()->runFrame();
}

void GameHarness::frames(int count) {
    for (int i = 0; i < count; ++i)
        frame();
}

bool GameHarness::runUntil(const std::function<bool()>& done, int limit) {
    for (int i = 0; i < limit; ++i) {
        if (done()) return true;
        if (!frame()) return done();
    }
    return done();
}

bool GameHarness::runUntilRunning(uint32_t number, int limit) {
    return runUntil(
        [&] {
            Scene* s = current();
            return currentNumber() == number && s && s->entered && s->state == Scene::Running;
        },
        limit);
}

bool GameHarness::jumpTo(uint32_t number) {
    SceneManager* manager = game_.scenes();
    Scene* from = manager->current();
    if (from) from->entered = 0;
    manager->previousScene = manager->currentScene;
    manager->currentScene = number;
    return runUntilRunning(number);
}

uint32_t GameHarness::currentNumber() const {
    return game_.scenes()->currentScene;
}
Scene* GameHarness::current() const {
    return game_.scenes()->current();
}
Scene* GameHarness::sceneAt(uint32_t number) const {
    return game_.scenes()->scene(number);
}

void GameHarness::tap(SDL_Scancode key) {
    SDL_Event down{};
    down.type = SDL_KEYDOWN;
    down.key.keysym.scancode = key;
    down.key.state = SDL_PRESSED;
    SDL_PushEvent(&down);
    frame();
    SDL_Event up = down;
    up.type = SDL_KEYUP;
    up.key.state = SDL_RELEASED;
    SDL_PushEvent(&up);
    // A press shows for 200 ms before its action and the button's pressed look for 201 ms:
    // the next press must find the button focused again.
    frames(16);
}

void GameHarness::hold(SDL_Scancode key, int count) {
    input_->keys[key] = 1;
    frames(count);
    input_->keys[key] = 0;
    frames(12);
}

void GameHarness::pointAt(int logicalX, int logicalY) {
    const Renderer* renderer = Renderer::instance();
    input_->mouseX = logicalX * renderer->windowWidth / renderer->logicalWidth + 1;
    input_->mouseY = logicalY * renderer->windowHeight / renderer->logicalHeight + 1;
}

void GameHarness::click(int logicalX, int logicalY) {
    pointAt(logicalX, logicalY);
    frames(2);
    // The held mask through the source, and the button-down and -up events a real click makes
    // (presses are taken from the down edge of the events).
    auto push = [&](uint32_t type) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = input_->mouseX;
        event.button.y = input_->mouseY;
        SDL_PushEvent(&event);
    };
    push(SDL_MOUSEBUTTONDOWN);
    input_->buttons = SDL_BUTTON_LMASK;
    frames(6);
    push(SDL_MOUSEBUTTONUP);
    input_->buttons = 0;
    frames(14);
}

std::array<uint8_t, 4> GameHarness::pixel(int x, int y) {
    return GlFixture::gameScreenPixel(x, y);
}

void GameHarness::screenshot(const std::string& name) {
    const char* dir = std::getenv("VOV_SCREENSHOT_DIR");
    if (!dir) return;
    std::string big(960 * 600 * 4, '\0');
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const auto p = pixel(x, y);
            for (int dy = 0; dy < 3; ++dy)
                for (int dx = 0; dx < 3; ++dx)
                    std::copy(p.begin(), p.end(), big.begin() + ((y * 3 + dy) * 960 + x * 3 + dx) * 4);
        }
    std::ofstream(std::string(dir) + "/" + name + ".png", std::ios::binary) << encodePng(960, 600, 4, big);
}
