#include "GameHarness.h"

#include <cstdlib>
#include <dlfcn.h>
#include <link.h>

#include "GlFixture.h"
#include "assets/FileStream.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/Scene.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"

namespace fs = std::filesystem;

namespace {
const fs::path kData = fs::path(VOV_SOURCE_DIR) / "data";
const fs::path kRun(VOV_RUN_DIR);

// Strips of ground eight rows thick, darker lower down as the game expects (red byte = height
// band), in a 400 x 200 picture whose air is (0, 0, 0, 0). Each strip: its top row and columns.
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

// Marks every shared object loaded so far as never to be unloaded. The game's shutdown quits SDL,
// which unloads the GL driver; the leak checker would then find the driver's own leaks in an
// unknown module, which no suppression can name.
void keepLibrariesLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0])
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

void fillFolder(const ScratchDir& dir, const HarnessOptions& options) {
    if (options.pack) fs::copy_file(kRun / "Vedezaviva.zez", dir.path() / "Vedezaviva.zez");
    if (options.levels == HarnessOptions::Levels::Small) {
        dir.write("Countries/flat.png", terrainPng({{150, 0, 399}}));
        dir.write("Countries/cliff.png", terrainPng({{50, 0, 99}, {190, 0, 399}}));
        fs::copy_file(kData / "Countries/first_steps_stamp.png", dir.path() / "Countries/flat_stamp.png");
        // Key, terrain, stamp, start, exit, minutes, survivor %, goal %, creatures, spawn interval.
        dir.write("Countries/countries.txt",
                  "Flatland,flat.png,flat_stamp.png,40,143,150,150,1,50,20,2,600\n"
                  "Nowhere,missing.png,flat_stamp.png,40,143,150,150,1,50,20,2,600\n"
                  "Cliff,cliff.png,flat_stamp.png,40,43,300,190,1,50,20,2,600\n");
    } else if (options.levels == HarnessOptions::Levels::Shipped) {
        fs::copy(kRun / "Countries", dir.path() / "Countries", fs::copy_options::recursive);
        if (!options.countries.empty()) dir.write("Countries/countries.txt", options.countries);
    }
    if (options.flags) {
        std::string list;
        for (const char* flag : {"Spain Flag", "Japan Flag", "Saint Vincent and the Grenadines Flag"}) {
            dir.write(std::string("Flags/") + flag, readWhole(kData / "Flags" / flag));
            list += std::string(flag) + "\n";
        }
        dir.write("Flags/flags.txt", list);
    }
    if (!options.config.empty()) dir.write("config.ini", options.config);
}
} // namespace

GameHarness::GameHarness(const HarnessOptions& options) : dir_("game"), here_(fs::current_path()) {
    fillFolder(dir_, options);
    fs::current_path(dir_.path());
    started_ = game_.startUp() == 0;
    std::srand(7);
    if (!started_) return;
    auto source = std::make_unique<FakeInput>();
    input_ = source.get();
    input_->mx = input_->my = 4;
    game_.input()->setSource(std::move(source));
    Renderer::instance()->frameLimiterEnabled = 0;
    game_.loop()->swapInterval = [] { return 1; };
}

GameHarness::~GameHarness() {
    if (started_) {
        keepLibrariesLoaded();
        game_.shutDown();
    }
    fs::current_path(here_);
    // "Savedata" was made in the scratch folder; the next folder needs its own.
    FileStream::forgetSavedataForTests();
}

ProgressRecord& GameHarness::progress() const {
    return *GameWide<ProgressRecord>::get();
}

bool GameHarness::frame(uint32_t ms) {
    clock_.advance(ms);
    return game_.loop()->runFrame();
}

void GameHarness::frames(int count) {
    for (int i = 0; i < count; ++i)
        frame();
}

bool GameHarness::run(uint32_t ms) {
    for (; ms > 0; ms -= std::min<uint32_t>(16, ms))
        if (!frame(std::min<uint32_t>(16, ms))) return false;
    return true;
}

int GameHarness::framesUntil(const std::function<bool()>& done, int limit) {
    int n = 0;
    while (!done() && n < limit) {
        ++n;
        if (!frame()) break;
    }
    return n;
}

bool GameHarness::runUntil(const std::function<bool()>& done, int limit) {
    framesUntil(done, limit);
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

void GameHarness::enter(uint32_t number) {
    if (Scene* from = current()) from->entered = 0;
    scenes().previousScene = scenes().currentScene;
    scenes().currentScene = number;
}

bool GameHarness::jumpTo(uint32_t number) {
    enter(number);
    return runUntilRunning(number);
}

void GameHarness::tap(SDL_Scancode key) {
    pushKey(key);
    frame();
    pushKey(key, false);
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
    input_->mx = logicalX * renderer->windowWidth / renderer->logicalWidth + 1;
    input_->my = logicalY * renderer->windowHeight / renderer->logicalHeight + 1;
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
        event.button.x = input_->mx;
        event.button.y = input_->my;
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
    const Renderer* renderer = Renderer::instance();
    savePng(std::string(dir) + "/" + name + ".png", renderer->windowWidth, renderer->windowHeight,
            readWindow(renderer->windowWidth, renderer->windowHeight));
}
