#include "persist/ProgressRecord.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "assets/AssetPack.h"
#include "assets/FileStream.h"
#include "assets/ImageData.h"
#include "assets/StringHelpers.h"
#include "base/GameWide.h"
#include "persist/WholeFileWriter.h"
#include "render/ResourceStore.h"

namespace {
// The order in which a language line is tested: the first name the line contains wins.
struct LanguageName {
    const char* name;
    uint32_t number;
};
constexpr LanguageName kLanguageNames[] = {{"ENGLISH", 0}, {"SPANISH", 1}, {"CATALAN", 2}, {"GERMAN", 5},
                                           {"FRENCH", 3},  {"ITALIAN", 4}, {"JAPANESE", 6}};

const char* languageName(uint32_t language) {
    switch (language) {
    case 1:
        return "SPANISH";
    case 2:
        return "CATALAN";
    case 3:
        return "FRENCH";
    case 4:
        return "ITALIAN";
    case 5:
        return "GERMAN";
    case ProgressRecord::kJapanese:
        return "JAPANESE";
    default:
        return "ENGLISH";
    }
}

// Leading blanks, an optional sign, digits; anything else ends the number, and no digits give 0.
// Digits beyond what 64 bits hold saturate, so a giant value reads as the largest one; the result
// keeps its low 16 bits, as the record's field does.
uint16_t readVolumeNumber(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    uint64_t value = 0;
    constexpr uint64_t kLimit = 0x7FFFFFFFFFFFFFFFull;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        const uint64_t digit = static_cast<uint64_t>(text[at] - '0');
        value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
    }
    if (negative) value = ~value + 1; // two's complement, so -1 keeps 0xFFFF
    return static_cast<uint16_t>(value & 0xFFFF);
}

uint16_t readVolume(const std::string& line, const std::string& label) {
    const uint16_t value = readVolumeNumber(replaceFirst(line, label, ""));
    return value > 128 ? 128 : value;
}
} // namespace

bool ProgressRecord::readOptions() {
    FileStream file;
    file.open(kOptionsFile, "r");
    if (!file.isOpen()) return false;
    int position = 1;
    while (!file.atEnd())
        readOptionLine(file.readLine(), position);
    file.close();
    return true;
}

void ProgressRecord::readOptionLine(std::string line, int& position) {
    if (line.empty() || line[0] == '#') return;
    line = replaceAll(line, "\r", "");
    switch (position++) {
    case 1:
        for (const LanguageName& known : kLanguageNames) {
            if (contains(line, known.name)) {
                language = known.number;
                break;
            }
        }
        savedLanguage = language;
        break;
    case 2:
        fullscreen = contains(line, "NO") ? 0 : 1;
        break;
    case 3:
        musicVolume = savedMusicVolume = readVolume(line, "BGMVOLUME=");
        break;
    case 4:
        effectVolume = savedEffectVolume = readVolume(line, "SFXVOLUME=");
        break;
    default:
        break;
    }
}

std::string ProgressRecord::optionsText() const {
    std::string text;
    text += "# Vov Aruzezudor OPTIONS FILE \n\n";
    text += "# Language, possible settings:\n# ENGLISH, SPANISH, CATALAN\nLANGUAGE=";
    text += languageName(language);
    text += "\n\n";
    text += "# Video mode, possible settings:\n# YES, NO\nFULLSCREEN=";
    text += fullscreen ? "YES" : "NO";
    text += "\n\n";
    text += "# BGM Volume, possible range:\n# [0, 128]\nBGMVOLUME=";
    text += std::to_string(musicVolume);
    text += "\n\n";
    text += "# SFX Volume, possible range:\n# [0, 128]\nSFXVOLUME=";
    text += std::to_string(effectVolume);
    text += "\n\n";
    return text;
}

void ProgressRecord::writeOptions() {
    // The folder may refuse a scratch file while "config.ini" itself is writable: then it is
    // rewritten in place rather than losing the options. Every failure is told as a failed write
    // is: "config.ini" as a folder, a full disk.
    if (WholeFileWriter::write(kOptionsFile, optionsText(), true) == WholeFileWriter::Result::Failed)
        std::cout << "The file is not opened" << std::endl;
}

ProgressRecord::ProgressRecord() {
    if (GameWide<AssetPack>::get()) GameTexts::readTableFile(GameTexts::kLevelNamesFile, levelNames);
}

FlagPicture ProgressRecord::flagPictureFromStore(const std::string& path) {
    FlagPicture picture;
    ResourceStore* store = GameWide<ResourceStore>::get();
    if (!store) return picture;
    picture.surface = store->surfaces().getOrLoad(path);
    const ImageData* image = store->surfaces().get(picture.surface);
    if (!image) return picture;
    picture.width = static_cast<uint16_t>(image->width());
    picture.height = static_cast<uint16_t>(image->height());
    // Shrunk once to the one size it is shown at and drawn 1:1: the picture's own size with mipmaps
    // held 10 MB of textures for the 256 flags, for pixels never shown.
    const std::string shownName = path + " (shown)";
    const int32_t shown = store->surfaces().createBlank(shownName, Flag::kShownWidth, Flag::kShownHeight);
    if (ImageData* target = store->surfaces().get(shown)) {
        const std::unique_ptr<ImageData> rgba = image->bytesPerPixel() == 4 ? nullptr : image->toRgba();
        (rgba ? *rgba : *image).shrinkInto(*target, ImageData::Shrink::Average);
        picture.texture = store->createTextureFromSurface(shown, false);
        store->surfaces().remove(shownName);
    }
    // From now on only the paint palette, the leftmost column, is read.
    store->surfaces().keepLeftColumn(picture.surface);
    return picture;
}

void ProgressRecord::loadFlags() {
    if (FlagList::load(flags, flagPictureLoader)) currentFlag = 0;
}

CountryPictures ProgressRecord::storeCountryPictures() {
    CountryPictures pictures;
    pictures.size = [](const std::string& path, int* width, int* height) {
        return SurfaceStore::pictureSize(path, width, height);
    };
    pictures.loadStamp = [](const std::string& path) {
        ResourceStore* store = GameWide<ResourceStore>::get();
        if (!store) return -1;
        const int32_t surface = store->surfaces().getOrLoad(path);
        store->surfaces().convertToRgba(surface);
        return surface;
    };
    return pictures;
}

LevelInfo* ProgressRecord::currentLevelInfo() {
    return currentLevel < levels.size() ? &levels[currentLevel] : nullptr;
}

const Flag* ProgressRecord::currentFlagInfo() const {
    return currentFlag < flags.size() ? &flags[currentFlag] : nullptr;
}

void ProgressRecord::loadLevelList() {
    if (!CountryList::load(levels, countryPictures)) return;
    currentLevel = 0;
    // Only the first read: a later one must not forget the images of a level being played.
    if (!levelListRead_) terrainSurface = terrainTexture = paintSurface = paintTexture = -1;
    levelListRead_ = true;
}

void ProgressRecord::loadLevelImages() {
    ResourceStore* store = GameWide<ResourceStore>::get();
    if (!store) return;
    if (terrainSurface != -1 || paintSurface != -1 || terrainTexture != -1 || paintTexture != -1) {
        std::string name = store->surfaces().name(terrainSurface);
        if (name == "NULL") name = store->textureName(terrainTexture);
        if (terrainSurface != -1 && store->surfaces().get(terrainSurface)) store->surfaces().remove(name);
        if (paintSurface != -1 && store->surfaces().find(name + "Color") >= 0)
            store->surfaces().remove(name + "Color");
        if (terrainTexture != -1 && store->textureIndex(name) >= 0) store->deleteTexture(name);
        if (paintTexture != -1 && store->textureIndex(name + "Color") >= 0)
            store->deleteTexture(name + "Color");
    }
    terrainSurface = terrainTexture = paintSurface = paintTexture = -1;
    LevelInfo* level = currentLevelInfo();
    if (!level) return;
    terrainSurface = store->surfaces().getOrLoad(level->imagePath);
    store->surfaces().convertToRgba(terrainSurface);
    const ImageData* terrain = store->surfaces().get(terrainSurface);
    const int width = terrain ? terrain->width() : 0;
    const int height = terrain ? terrain->height() : 0;
    level->width = static_cast<uint16_t>(width);
    level->height = static_cast<uint16_t>(height);
    paintSurface = store->surfaces().createBlank(level->imagePath + "Color", width, height);
    terrainTexture = store->createRenderTexture(level->imagePath, width, height, false, false);
    store->uploadSurface(terrainSurface, terrainTexture);
    paintTexture = store->createRenderTexture(level->imagePath + "Color", width, height, false, false);
}

void ProgressRecord::resetProgress() {
    levelTimer = PausableTimer{};
    levelClockMs = 0;
    timeLeftMs = 0;
    buildInk = digInk = inkCapacity;
    const LevelInfo* level = currentLevelInfo();
    creaturesTotal = creaturesAlive = level ? level->creatureCount : 0;
    creaturesOut = creaturesSaved = 0;
}

void ProgressRecord::resetAttempt() {
    buildInk = digInk = inkCapacity;
    timeLeftMs = 0;
    const LevelInfo* level = currentLevelInfo();
    creaturesTotal = creaturesAlive = level ? level->creatureCount : 0;
    creaturesOut = creaturesSaved = 0;
    levelTimer.start();
    levelTimer.stop();
    levelClockMs = 0;
}

void ProgressRecord::chooseLevel(uint32_t level, uint32_t flag) {
    currentLevel = levels.empty() ? 0 : std::min<uint32_t>(level, static_cast<uint32_t>(levels.size() - 1));
    currentFlag = flags.empty() ? 0 : std::min<uint32_t>(flag, static_cast<uint32_t>(flags.size() - 1));
    loadLevelImages();
    resetAttempt();
}

void ProgressRecord::recordWin() {
    const LevelInfo* level = currentLevelInfo();
    const Flag* flag = currentFlagInfo();
    if (!level) return;
    if (campaign.recordWin(level->name, flag ? flag->name : std::string(), timeLeftMs, creaturesSaved))
        campaign.save();
}

bool ProgressRecord::isPainted(uint32_t level) const {
    return level < levels.size() && campaign.isPainted(levels[level].name);
}

uint32_t ProgressRecord::paintedCount() const {
    uint32_t count = 0;
    for (uint32_t level = 0; level < levels.size(); ++level)
        count += isPainted(level) ? 1 : 0;
    return count;
}

int64_t ProgressRecord::nextUnpainted(uint32_t from) const {
    const size_t count = levels.size();
    for (size_t step = 1; step <= count; ++step) {
        const size_t level = (from + step) % count;
        if (!isPainted(static_cast<uint32_t>(level))) return static_cast<int64_t>(level);
    }
    return -1;
}
