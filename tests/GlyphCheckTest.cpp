// Every character the game can draw must have a glyph in every font that may draw it: a missing
// one silently shows as the font's lowest glyph (a space), which no one reading English notices.
#include <filesystem>
#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "TestSupport.h"
#include "assets/StringHelpers.h"
#include "text/Font.h"
#include "text/FontLoader.h"
#include "text/GameTexts.h"
#include "text/Utf8Decode.h"

namespace {
const std::filesystem::path kData = std::filesystem::path(VOV_SOURCE_DIR) / "data";

// The codes the layout draws for `text`: "$" escapes consumed exactly as the layout does.
std::vector<uint16_t> drawnCodes(const std::string& text) {
    std::vector<uint16_t> codes;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t at = 0; at < text.size();) {
        if (bytes[at] == '$') {
            at += (at + 1 < text.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= ':') ? 2 : 1;
            continue;
        }
        codes.push_back(decodeGameCharacter(bytes, text.size(), at));
    }
    return codes;
}
} // namespace

TEST(GlyphCheck, EveryDrawnCharacterHasAGlyphInEveryFont) {
    const auto fonts = loadDataFonts(kData);
    ASSERT_GE(fonts.size(), 6u) << "fonts 0, 1 and 5 are drawn by code";
    for (size_t n = 0; n < fonts.size(); ++n) {
        EXPECT_GE(fonts[n]->colourCount, 5) << "font " << n;
        EXPECT_TRUE(fonts[n]->glyphs.count(' ')) << "font " << n;
        for (int d = 0; d < 10; ++d)
            EXPECT_TRUE(fonts[n]->hasDigit[d]) << "font " << n << " digit " << d;
    }

    std::vector<std::pair<std::string, std::string>> drawn; // where, text
    for (uint32_t language = 0; language < GameTexts::kLanguageCount; ++language) {
        const std::string file = "Assets/texts/gametexts_" + GameTexts::languageSuffix(language);
        const std::string bytes = readWhole(kData / file);
        ASSERT_FALSE(bytes.empty()) << file;
        GameTexts::Table table;
        GameTexts::parseTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), table);
        for (const auto& [key, text] : table)
            for (const std::string& piece : split(text, '|'))
                drawn.emplace_back(file + " " + key, piece);
    }
    const std::string flags = readWhole(kData / "Flags/flags.txt");
    ASSERT_FALSE(flags.empty());
    for (const std::string& line : split(flags, '\n'))
        if (!line.empty() && line[0] != '#')
            for (const std::string& name : split(line, ','))
                drawn.emplace_back("Flags/flags.txt", name);
    if (std::filesystem::exists(kData / "Countries/countries.txt"))
        for (const std::string& line : split(readWhole(kData / "Countries/countries.txt"), '\n'))
            if (!line.empty() && line[0] != '#')
                drawn.emplace_back("Countries/countries.txt", split(line, ',')[0]);
    for (const std::string& line : split(readWhole(kData / "Assets/texts/levelnames.txt"), '\n'))
        if (!line.empty() && line[0] != '#' && line.find('\t') != std::string::npos)
            drawn.emplace_back("Assets/texts/levelnames.txt", line.substr(line.find('\t') + 1));
    for (const char* literal : {"GO IN", "Closed", "IN ", "0123456789", "%", ":", "/"})
        drawn.emplace_back("code literal", literal);

    size_t characters = 0;
    for (const auto& [where, text] : drawn)
        for (const uint16_t code : drawnCodes(text)) {
            ++characters;
            EXPECT_NE(code, 0) << where << ": a character the layout reads as code 0 in \"" << text << "\"";
            if (code == 0) continue;
            for (size_t n = 0; n < fonts.size(); ++n)
                EXPECT_TRUE(fonts[n]->glyphs.count(code))
                    << "font " << n << " lacks U+" << std::hex << code << std::dec << " of " << where
                    << ": \"" << text << "\"";
        }
    EXPECT_GT(characters, 1000u);
}
