#pragma once
// Helpers shared by the tests: a fake tick source, a fake input source and scratch folders.
#include <SDL.h>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/InputSource.h"
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

// Keys and the mouse as a test wants them: pushed SDL events cannot hold anything down.
class FakeInput final : public InputSource {
  public:
    const uint8_t* keyboard(int* count) override {
        *count = static_cast<int>(keys.size());
        return keys.data();
    }
    uint32_t mouse(int* x, int* y) override {
        *x = mx;
        *y = my;
        return buttons;
    }
    std::array<uint8_t, SDL_NUM_SCANCODES> keys{};
    int mx = 0, my = 0;
    uint32_t buttons = 0;
};

// A whole file's bytes; empty when it cannot be read.
std::string readWhole(const std::filesystem::path& path);

// A fresh directory under the system temp folder, removed on destruction.
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
