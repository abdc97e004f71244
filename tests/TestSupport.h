#pragma once
// Helpers shared by the tests: a fake tick source and a scratch directory.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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
