#include "assets/PackWriter.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "assets/PackFormat.h"

namespace {
void putNumber(std::vector<uint8_t>& out, uint32_t stored) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(stored >> (8 * i)));
}

bool putScrambled(std::vector<uint8_t>& out, uint64_t value, std::string* error) {
    const auto stored = value <= PackFormat::kLargestNumber
                            ? PackFormat::scramble(static_cast<uint32_t>(value))
                            : std::nullopt;
    if (!stored) {
        if (error) *error = "pack too large: a number exceeds " + std::to_string(PackFormat::kLargestNumber);
        return false;
    }
    putNumber(out, *stored);
    return true;
}
} // namespace

bool PackWriter::add(const std::string& name, std::vector<uint8_t> bytes, std::string* error) {
    if (name.find('\0') != std::string::npos) {
        if (error) *error = "a name holds a zero byte";
        return false;
    }
    entries_.push_back({name, std::move(bytes)});
    return true;
}

bool PackWriter::addTree(const std::filesystem::path& root, const std::vector<std::string>& subdirs,
                         std::string* error) {
    std::vector<std::filesystem::path> starts;
    if (subdirs.empty()) starts.push_back(root);
    for (const auto& sub : subdirs)
        starts.push_back(root / sub);
    for (const auto& start : starts) {
        std::error_code ec;
        if (!std::filesystem::is_directory(start, ec)) {
            if (error) *error = "not a directory: " + start.string();
            return false;
        }
        for (auto it = std::filesystem::recursive_directory_iterator(start, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_regular_file()) continue;
            std::ifstream in(it->path(), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            if (!in.good() && !in.eof()) {
                if (error) *error = "cannot read " + it->path().string();
                return false;
            }
            if (!add(std::filesystem::relative(it->path(), root).generic_string(), std::move(bytes), error))
                return false;
        }
        if (ec) {
            if (error) *error = "cannot walk " + start.string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

bool PackWriter::write(const std::filesystem::path& out, std::string* error) const {
    std::vector<const Entry*> order;
    for (const auto& entry : entries_)
        order.push_back(&entry);
    std::stable_sort(order.begin(), order.end(),
                     [](const Entry* a, const Entry* b) { return a->name < b->name; });

    uint64_t directorySize = 8;
    for (const Entry* entry : order)
        directorySize += 4 + 1 + entry->name.size() + 8;

    std::vector<uint8_t> pack;
    if (!putScrambled(pack, PackFormat::kHeaderWord, error) || !putScrambled(pack, order.size(), error))
        return false;
    uint64_t offset = directorySize;
    for (const Entry* entry : order) {
        if (!putScrambled(pack, 1 + entry->name.size(), error)) return false;
        pack.push_back('V'); // the reader skips this byte
        const std::string stored = PackFormat::rotateName(entry->name);
        pack.insert(pack.end(), stored.begin(), stored.end());
        if (!putScrambled(pack, offset, error) || !putScrambled(pack, entry->bytes.size(), error))
            return false;
        // One padding byte after an empty entry keeps its offset its own.
        offset += std::max<uint64_t>(entry->bytes.size(), 1);
    }
    for (const Entry* entry : order) {
        pack.insert(pack.end(), entry->bytes.begin(), entry->bytes.end());
        if (entry->bytes.empty()) pack.push_back(0);
    }

    // Write beside the target and rename, so a failed build never leaves a cut pack behind.
    const auto temporary = std::filesystem::path(out.string() + ".tmp");
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(pack.data()), static_cast<std::streamsize>(pack.size()));
        if (!file) {
            if (error) *error = "cannot write " + temporary.string();
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, out, ec);
    if (ec) {
        if (error) *error = "cannot rename to " + out.string() + ": " + ec.message();
        return false;
    }
    return true;
}
