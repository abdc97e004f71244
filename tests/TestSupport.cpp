#include "TestSupport.h"

#include "assets/FileStream.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace {
// Every test runs headless: no screen, no sound card. A driver named from outside still wins.
const bool headless = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();
} // namespace

ScratchDir::ScratchDir(const std::string& tag) {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / ("vov-" + tag + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& relative, const std::string& bytes) const {
    const auto target = path_ / relative;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << bytes;
}

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string ScratchDir::read(const std::string& relative) const {
    return readWhole(path_ / relative);
}

void pushKey(SDL_Scancode code, bool down) {
    pushEvent(down ? SDL_KEYDOWN : SDL_KEYUP, [&](SDL_Event& e) {
        e.key.keysym.scancode = code;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    });
}

void pushWindowEvent(uint8_t what) {
    pushEvent(SDL_WINDOWEVENT, [&](SDL_Event& e) { e.window.event = what; });
}

void pushButton(uint8_t button, bool down, int x, int y) {
    pushEvent(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, [&](SDL_Event& e) {
        e.button.button = button;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
    });
}

void pushClick(uint8_t button) {
    pushButton(button, true);
    pushButton(button, false);
}

InScratchFolder::InScratchFolder(const std::string& tag) : dir_(tag), here_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.path());
}

InScratchFolder::~InScratchFolder() {
    std::filesystem::current_path(here_);
    // "Savedata" was made in the scratch folder; the next folder needs its own.
    FileStream::forgetSavedataForTests();
}
