#pragma once
// Services the element and scene readers call, faked without GL or a pack, for the tests and the
// fuzz targets alike; and little-endian pieces to build binary element files by hand.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/ClipRect.h"
#include "gui/ElementServices.h"

// Every picture has the same size and index; a path that is empty or names "missing" has none.
class FakeTextures final : public TextureLookup {
  public:
    int32_t fetch(const std::string& path, uint16_t& w, uint16_t& h) override {
        asked.push_back(path);
        const bool missing = path.empty() || path.find("missing") != std::string::npos;
        w = missing ? 0 : width;
        h = missing ? 0 : height;
        return missing ? -1 : 9;
    }
    uint16_t width = 100, height = 80;
    std::vector<std::string> asked;
};

// Element and scene files by name, alike from the pack and the disk; with `everyFile` set, every
// name reads those bytes.
class FakeFiles final : public ElementFileLookup {
  public:
    bool readPackFile(const std::string& n, std::vector<uint8_t>& out) override { return find(n, out); }
    bool readDiskFile(const std::string& n, std::vector<uint8_t>& out) override { return find(n, out); }
    bool find(const std::string& name, std::vector<uint8_t>& bytes) const {
        const auto it = files.find(name);
        const std::string* found = it != files.end() ? &it->second : everyFile;
        if (found) bytes.assign(found->begin(), found->end());
        return found != nullptr;
    }
    std::map<std::string, std::string> files;
    const std::string* everyFile = nullptr;
};

inline const auto bytesOf = [](const std::string& text) {
    return reinterpret_cast<const uint8_t*>(text.data());
};

// An element read from its description text, or from its binary form, with fake pictures.
template <class E>
void parseText(E& element, const std::string& name, const std::string& text, uint16_t pictureWidth = 100) {
    FakeTextures textures;
    textures.width = pictureWidth;
    element.parseDescriptionBytes(name, bytesOf(text), text.size(), textures);
}
template <class E> void readBytes(E& element, const std::string& bytes) {
    FakeTextures textures;
    MemorySource in(bytesOf(bytes), bytes.size());
    element.readBinary(in, textures);
}
template <class E> std::string writeBytes(const E& element) {
    ByteSink out;
    element.writeBinary(out);
    return std::string(out.bytes.begin(), out.bytes.end());
}

inline const auto u8 = [](uint8_t v) { return std::string(1, static_cast<char>(v)); };
inline const auto u16 = [](uint16_t v) { return u8(v & 0xFF) + u8(v >> 8); };
inline const auto u32 = [](uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
// A u16 byte count, then the bytes.
inline const auto str = [](const std::string& s) { return u16(static_cast<uint16_t>(s.size())) + s; };
inline const auto textRef = [](const std::string& key, uint16_t font, uint8_t colour) {
    return str(key) + u16(font) + u8(colour);
};

using Rect4 = std::array<int32_t, 4>;
inline const auto rectOf = [](const ClipRect& r) { return Rect4{r.x, r.y, r.w, r.h}; };
