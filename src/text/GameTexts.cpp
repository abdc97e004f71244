#include "text/GameTexts.h"

#include <algorithm>
#include <iostream>

#include "assets/AssetPack.h"
#include "base/GameWide.h"
#include "render/ResourceStore.h"
#include "text/FontLoader.h"
#include "text/StoreFontPictures.h"

namespace {
constexpr const char* kBackdropPicture = "Assets/font/fonts/text_shadow_18p.png";
const std::string kMissing = GameTexts::kMissingText;
} // namespace

GameTexts::GameTexts() = default;
GameTexts::~GameTexts() = default;

std::string GameTexts::languageSuffix(uint32_t language) {
    static const char* const kSuffixes[kLanguageCount] = {"en.txt", "sp.txt", "cat.txt", "fr.txt",
                                                          "it.txt", "gr.txt", "jp.txt"};
    return language < kLanguageCount ? kSuffixes[language] : "";
}

void GameTexts::parseTable(const uint8_t* bytes, size_t size, Table& into) {
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && bytes[end] != '\n')
            ++end;
        const std::string line(reinterpret_cast<const char*>(bytes) + at, end - at);
        at = end + 1;
        if (!line.empty() && line[0] == '#') continue;
        const size_t tab = line.rfind('\t');
        if (tab == std::string::npos)
            into.emplace(line, line);
        else
            into.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
}

bool GameTexts::readTableFile(const std::string& name, Table& into) {
    const AssetPack* pack = GameWide<AssetPack>::get();
    std::unique_ptr<PackBuffer> buffer = pack ? pack->readFile(name) : nullptr;
    if (!buffer) {
        std::cerr << "Text file not found in the pack: " << name << std::endl;
        return false;
    }
    const size_t size = std::min<size_t>(buffer->size, buffer->data.size());
    const size_t from = std::min<size_t>(buffer->position, size);
    parseTable(buffer->data.data() + from, size - from, into);
    return true;
}

void GameTexts::loadLanguage(uint32_t language, const std::string& basePath) {
    if (!fontsLoaded_) {
        // Without a texture store (tests that want no GL) there is nothing to make atlases with.
        if (ResourceStore* store = GameWide<ResourceStore>::get()) {
            StoreFontPictures pictures(*store);
            loadFonts(basePath + "font/", pictures);
        }
        fontsLoaded_ = true;
    }
    if (loaded_) return;
    loadTextFile(basePath + "texts/gametexts_" + languageSuffix(language));
    language_ = language;
    loaded_ = true;
}

void GameTexts::loadTextFile(const std::string& name) {
    readTableFile(name, texts_);
}

const std::string& GameTexts::getText(const std::string& key) const {
    const auto found = texts_.find(key);
    if (found != texts_.end()) return found->second;
    std::cerr << "Error while retrieving " << key << " from text" << std::endl;
    return kMissing;
}

void GameTexts::changeLanguage(uint32_t language) {
    if (!loaded_) return;
    loaded_ = false;
    texts_.clear();
    loadLanguage(language, "Assets/");
}

const Font* GameTexts::font(uint32_t index) const {
    if (fonts_.empty()) return nullptr;
    return fonts_[std::min<size_t>(index, fonts_.size() - 1)].get();
}

void GameTexts::loadFonts(const std::string& folder, FontPictures& pictures) {
    FontLoader::loadFontList(*this, folder, pictures);
    fontsLoaded_ = true;
}

int32_t GameTexts::backdropTexture() {
    if (!backdropTried_) {
        ResourceStore* store = GameWide<ResourceStore>::get();
        if (!store) return -1;
        backdropTried_ = true;
        backdrop_ = store->getOrLoadTexture(kBackdropPicture);
    }
    return backdrop_;
}
