#pragma once
// Helpers shared by the tests: a fake tick source, the held-input source, pushed events and
// scratch folders.
#include <SDL.h>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "FakeInput.h"
#include "core/TickSource.h"

// Installs a fake millisecond clock for the lifetime of the object. delay() advances it, as
// sleeping would.
class FakeClock {
  public:
    FakeClock() {
        TickSource::useFake([this] { return now; },
                            [this](uint32_t ms) {
                                now += ms;
                                slept.push_back(ms);
                            });
    }
    ~FakeClock() { TickSource::useReal(); }
    void advance(uint32_t ms) { now += ms; }

    uint32_t now = 1000;
    std::vector<uint32_t> slept;
};

template <class Set> void pushEvent(uint32_t type, Set set) {
    SDL_Event event{};
    event.type = type;
    set(event);
    SDL_PushEvent(&event);
}
// Events as SDL queues them: a key going down (or up), a window event, a mouse button going down
// (or up) at a window pixel, and one going down and up between two frames, as a quick tap does.
void pushKey(SDL_Scancode code, bool down = true);
void pushWindowEvent(uint8_t what);
void pushButton(uint8_t button, bool down, int x = 0, int y = 0);
void pushClick(uint8_t button);

// A whole file's bytes; empty when it cannot be read.
std::string readWhole(const std::filesystem::path& path);

class ScratchDir {
  public:
    explicit ScratchDir(const std::string& tag);
    ~ScratchDir();
    const std::filesystem::path& path() const { return path_; }
    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const;

  private:
    std::filesystem::path path_;
};

// Runs a test inside a fresh scratch folder: the working directory the game reads and writes.
class InScratchFolder {
  public:
    explicit InScratchFolder(const std::string& tag);
    ~InScratchFolder();
    const ScratchDir& dir() const { return dir_; }

  private:
    ScratchDir dir_;
    std::filesystem::path here_;
};
