#pragma once
// PackWriter — builds a "Vedezaviva.zez" archive for our pack tool and the tests.
//
// Owns: the list of entries to write. Never: used by the game at run time.
// Every entry gets a data block of its own, so no two entries share an offset (an empty file
// still gets a distinct offset) and the reader's first-size-per-offset rule never bites.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class PackWriter final {
  public:
    // False (with `error` set) for a name the format cannot carry: one holding a zero byte.
    bool add(const std::string& name, std::vector<uint8_t> bytes, std::string* error = nullptr);
    // Adds every regular file under root/subdir (or under root when `subdirs` is empty), named by
    // its path relative to root with "/" separators.
    bool addTree(const std::filesystem::path& root, const std::vector<std::string>& subdirs,
                 std::string* error);
    // Entries are written in byte-wise name order, so the same tree gives the same pack.
    bool write(const std::filesystem::path& out, std::string* error) const;

    size_t entryCount() const { return entries_.size(); }

  private:
    struct Entry {
        std::string name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Entry> entries_;
};
