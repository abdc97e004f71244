#include "GameHarness.h"

#include <cstdlib>
#include <dlfcn.h>
#include <link.h>

#include "GlFixture.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "core/Scene.h"
#include "persist/ProgressRecord.h"
#include "render/Renderer.h"
#include "text/TextBox.h"

namespace fs = std::filesystem;

namespace {
const fs::path kData = fs::path(VOV_SOURCE_DIR) / "data";
const fs::path kRun(VOV_RUN_DIR);

// A strip of ground eight rows thick from row 150, darker lower down as the game expects (red
// byte = height band), in a 400 x 200 picture whose air is (0, 0, 0, 0).
std::string flatPng() {
    std::string pixels(400 * 200 * 4, '\0');
    for (int y = 150; y < 158; ++y)
        for (int x = 0; x < 400; ++x)
            pixels.replace(static_cast<size_t>(y * 400 + x) * 4, 4,
                           {static_cast<char>(60 + y / 2), 100, 60, static_cast<char>(255)});
    return encodePng(400, 200, 4, pixels);
}

// Every shared object loaded so far stays loaded: shutdown would unload the GL driver, and the leak
// checker would then find its leaks in an unknown module, which no suppression can name.
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
    fs::copy_file(kRun / "Vedezaviva.zez", dir.path() / "Vedezaviva.zez");
    if (options.levels == HarnessOptions::Levels::Small) {
        dir.write("Countries/flat.png", flatPng());
        fs::copy_file(kData / "Countries/first_steps_stamp.png", dir.path() / "Countries/flat_stamp.png");
        // Key, terrain, stamp, start, exit, minutes, survivor %, goal %, creatures, spawn interval.
        dir.write("Countries/countries.txt",
                  "Flatland,flat.png,flat_stamp.png,40,143,150,150,1,50,20,2,600\n"
                  "Nowhere,missing.png,flat_stamp.png,40,143,150,150,1,50,20,2,600\n");
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
    if (!options.progress.empty()) dir.write("Savedata/progress.txt", options.progress);
}
} // namespace

GameHarness::GameHarness(const HarnessOptions& options) : folder_("game") {
    fillFolder(folder_.dir(), options);
    started_ = game_.startUp() == 0;
    std::srand(7);
    if (!started_) return;
    game_.input()->setSource(std::unique_ptr<FakeInput>(input_ = new FakeInput));
    input_->mx = input_->my = 4;
    Renderer::instance()->frameLimiterEnabled = 0;
    game_.loop()->swapInterval = [] { return 1; };
}

GameHarness::~GameHarness() {
    if (started_) {
        keepLibrariesLoaded();
        game_.shutDown();
    }
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

testing::AssertionResult GameHarness::runUntilRunning(uint32_t number, int limit) {
    if (runUntil(
            [&] {
                Scene* s = current();
                return currentNumber() == number && s && s->entered && s->state == Scene::Running;
            },
            limit))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "stuck in scene " << currentNumber() << " state "
                                       << (current() ? static_cast<int>(current()->state) : -1);
}

void GameHarness::enter(uint32_t number) {
    if (Scene* from = current()) from->entered = 0;
    scenes().previousScene = scenes().currentScene;
    scenes().currentScene = number;
}

testing::AssertionResult GameHarness::jumpTo(uint32_t number) {
    if (!started_) return testing::AssertionFailure() << "the game did not start";
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

void GameHarness::keys(std::initializer_list<SDL_Scancode> keys) {
    for (SDL_Scancode key : keys)
        if (key == SDL_SCANCODE_RETURN || key == SDL_SCANCODE_ESCAPE)
            tap(key);
        else
            hold(key);
}

bool GameHarness::holdUntil(SDL_Scancode key, const std::function<bool()>& done, int limit) {
    input_->keys[key] = 1;
    const bool reached = runUntil(done, limit);
    input_->keys[key] = 0;
    return reached;
}

std::array<uint8_t, 4> GameHarness::pixel(int x, int y) {
    return GlFixture::gameScreenPixel(x, y);
}

testing::AssertionResult GameHarness::pixelNear(int x, int y, uint32_t rgb, int tolerance) {
    const auto p = pixel(x, y);
    for (int c = 0; c < 3; ++c)
        if (std::abs(p[c] - static_cast<int>(rgb >> (16 - 8 * c) & 255)) > tolerance)
            return testing::AssertionFailure()
                   << "(" << x << ", " << y << ") is " << int(p[0]) << "," << int(p[1]) << "," << int(p[2]);
    return testing::AssertionSuccess();
}

std::string GameHarness::text(const GraphicElement* element) {
    std::string text;
    if (const auto* box = dynamic_cast<const TextBox*>(element))
        for (const auto& line : box->lines)
            text += line->text + "|";
    return text;
}
