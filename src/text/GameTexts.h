#pragma once
// GameTexts — the text table of the current language, and the fonts every text is drawn with.
//
// Owns: the key → text table of one language at a time, the fonts (loaded once, on the first
// loadLanguage, kept across language changes) and the glyph gap of their atlases.
// Never: draws, or reads texts from loose files (texts come from the pack only).
// On failure: never throws. A missing text file writes "Text file not found in the pack: <name>"
// and leaves the table empty; a missing key writes "Error while retrieving <key> from text" and
// gives "[!]". Missing fonts leave the font list short, and text in a missing font draws nothing.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "text/Font.h"

class FontPictures;

class GameTexts final {
  public:
    using Table = std::map<std::string, std::string>;
    static constexpr const char* kMissingText = "[!]";
    static constexpr const char* kLevelNamesFile = "Assets/texts/levelnames.txt";
    static constexpr uint32_t kLanguageCount = 7;

    GameTexts();
    ~GameTexts();
    GameTexts(const GameTexts&) = delete;
    GameTexts& operator=(const GameTexts&) = delete;

    // "en.txt" .. "jp.txt"; empty for a number outside the table, whose file is then not found.
    static std::string languageSuffix(uint32_t language);
    // The line reader of every text table: lines end at LF only (a CR stays in the text), "#"
    // starts a comment, the key ends at the last TAB (no TAB: the line is key and text), and the
    // first line of a key wins over later ones.
    static void parseTable(const uint8_t* bytes, size_t size, Table& into);
    // parseTable over a pack entry; false, after the message, when the pack lacks it. The level
    // name table (one for all languages) is read with this from kLevelNamesFile.
    static bool readTableFile(const std::string& name, Table& into);

    void loadLanguage(uint32_t language, const std::string& basePath);
    void loadTextFile(const std::string& name);
    // Valid until the table is next emptied.
    const std::string& getText(const std::string& key) const;
    void changeLanguage(uint32_t language);
    bool hasText(const std::string& key) const { return texts_.count(key) != 0; }

    uint32_t language() const { return language_; }
    bool loaded() const { return loaded_; }
    const Table& texts() const { return texts_; }

    // Fonts. font(i) is font min(i, count - 1); null when no font exists at all.
    const Font* font(uint32_t index) const;
    size_t fontCount() const { return fonts_.size(); }
    void addFont(std::unique_ptr<Font> font) { fonts_.push_back(std::move(font)); }
    bool fontsLoaded() const { return fontsLoaded_; }
    // Loads the font list of `folder` through `pictures` (tests hand in their own source; the game
    // uses the resource store). Marks the fonts loaded even when nothing could be read.
    void loadFonts(const std::string& folder, FontPictures& pictures);

    // The backdrop picture behind font-0 lines, fetched on first use; -1 when missing or when no
    // texture store exists.
    int32_t backdropTexture();

    std::vector<uint32_t> fontSizes;
    uint32_t glyphGap = 1;

  private:
    Table texts_;
    bool loaded_ = false;
    uint32_t language_ = 0;
    std::vector<std::unique_ptr<Font>> fonts_;
    bool fontsLoaded_ = false;
    bool backdropTried_ = false;
    int32_t backdrop_ = -1;
};
