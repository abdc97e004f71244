// Every character the game can draw must have a glyph in every font that may draw it: a missing
// one silently shows as the font's lowest glyph (a space), which no one reading English notices.
#include <filesystem>
#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "assets/StringHelpers.h"
#include "text/GameTexts.h"
#include "text/Utf8Decode.h"

TEST(GlyphCheck, EveryDrawnCharacterHasAGlyphInEveryFont) {
    const std::filesystem::path data = std::filesystem::path(VOV_SOURCE_DIR) / "data";
    const auto fonts = loadDataFonts(data);
    ASSERT_GE(fonts.size(), 6u) << "fonts 0, 1 and 5 are drawn by code";
    for (size_t n = 0; n < fonts.size(); ++n) {
        EXPECT_GE(fonts[n]->colourCount, 5) << "font " << n;
        EXPECT_TRUE(fonts[n]->glyphs.count(' ')) << "font " << n;
        for (int d = 0; d < 10; ++d)
            EXPECT_TRUE(fonts[n]->hasDigit[d]) << "font " << n << " digit " << d;
    }

    std::vector<std::pair<std::string, std::string>> drawn = {{"code", "GO IN Closed 0123456789%:/"}};
    for (uint32_t language = 0; language < GameTexts::kLanguageCount; ++language) {
        const std::string file = "Assets/texts/gametexts_" + GameTexts::languageSuffix(language);
        const std::string bytes = readWhole(data / file);
        GameTexts::Table table;
        GameTexts::parseTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), table);
        for (const auto& [key, text] : table)
            drawn.emplace_back(file + " " + key, text);
    }
    for (const char* list : {"Flags/flags.txt", "Countries/countries.txt"})
        for (const std::string& line : split(readWhole(data / list), '\n'))
            if (!line.empty() && line[0] != '#') drawn.emplace_back(list, split(line, ',')[0]);
    for (const std::string& line : split(readWhole(data / "Assets/texts/levelnames.txt"), '\n'))
        if (!line.empty() && line[0] != '#')
            drawn.emplace_back("levelnames.txt", line.substr(line.find('\t') + 1));

    size_t characters = 0;
    for (const auto& [where, text] : drawn) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
        for (size_t at = 0; at < text.size();) {
            // "$" escapes are consumed exactly as the layout does; "|" only cuts a box's lines.
            const bool escape =
                bytes[at] == '$' && at + 1 < text.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= ':';
            if (escape || bytes[at] == '$' || bytes[at] == '|') {
                at += escape ? 2 : 1;
                continue;
            }
            const uint16_t code = decodeGameCharacter(bytes, text.size(), at);
            ++characters;
            EXPECT_NE(code, 0) << where << ": a character the layout reads as code 0 in \"" << text << "\"";
            for (size_t n = 0; code && n < fonts.size(); ++n)
                EXPECT_TRUE(fonts[n]->glyphs.count(code))
                    << "font " << n << " lacks U+" << std::hex << code << std::dec << " of " << where
                    << ": \"" << text << "\"";
        }
    }
    EXPECT_GT(characters, 1000u);
}
