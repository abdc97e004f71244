// vovpack — our tool for the game's pack archive.
//
//   vovpack --create PACK ROOT [SUBDIR...]   pack ROOT/SUBDIR... (or all of ROOT), names relative to ROOT
//   vovpack --list PACK                      one line per entry: size, then name
//   vovpack --extract DIR PACK               write every entry under DIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "assets/AssetPack.h"
#include "assets/PackWriter.h"

namespace {
int usage() {
    std::cerr << "usage: vovpack --create PACK ROOT [SUBDIR...]\n"
                 "       vovpack --list PACK\n"
                 "       vovpack --extract DIR PACK\n";
    return 2;
}

// A name from a pack is untrusted: it must stay inside the folder we extract to.
bool safeRelative(const std::string& name) {
    if (name.empty()) return false;
    const std::filesystem::path path(name);
    if (path.is_absolute() || path.has_root_name() || path.has_root_directory()) return false;
    for (const auto& part : path)
        if (part == "..") return false;
    return true;
}

int create(const std::vector<std::string>& args) {
    if (args.size() < 2) return usage();
    PackWriter writer;
    std::string error;
    const std::vector<std::string> subdirs(args.begin() + 2, args.end());
    if (!writer.addTree(args[1], subdirs, &error) || !writer.write(args[0], &error)) {
        std::cerr << "vovpack: " << error << "\n";
        return 1;
    }
    std::cout << "vovpack: " << writer.entryCount() << " entries written to " << args[0] << "\n";
    return 0;
}

int list(const std::string& packPath) {
    AssetPack pack(packPath);
    if (!pack.loadIndex()) {
        std::cerr << "vovpack: cannot open " << packPath << "\n";
        return 1;
    }
    for (const auto& [name, offset] : pack.names())
        std::cout << pack.entrySize(name) << "\t" << name << "\n";
    return 0;
}

int extract(const std::string& dir, const std::string& packPath) {
    AssetPack pack(packPath);
    if (!pack.loadIndex()) {
        std::cerr << "vovpack: cannot open " << packPath << "\n";
        return 1;
    }
    int failures = 0;
    for (const auto& [name, offset] : pack.names()) {
        const auto buffer = pack.readFile(name);
        if (!safeRelative(name) || !buffer) {
            std::cerr << "vovpack: skipped \"" << name << "\"\n";
            ++failures;
            continue;
        }
        const auto target = std::filesystem::path(dir) / name;
        // An entry "a" written as a file leaves no folder for "a/b": report it, go on with the rest.
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        std::ofstream out;
        if (!error) out.open(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(buffer->data.data()), buffer->size);
        if (error || !out) {
            std::cerr << "vovpack: cannot write " << target << "\n";
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "--create") return create({args.begin() + 1, args.end()});
    if (args.size() == 2 && args[0] == "--list") return list(args[1]);
    if (args.size() == 3 && args[0] == "--extract") return extract(args[1], args[2]);
    return usage();
}
