#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

#include "TestSupport.h"
#include "assets/StringHelpers.h"
#include "text/GameTexts.h"

namespace {
GameTexts::Table parse(const std::string& bytes) {
    GameTexts::Table table;
    GameTexts::parseTable(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), table);
    return table;
}

const std::filesystem::path kTexts = std::filesystem::path(VOV_SOURCE_DIR) / "data/Assets/texts";
} // namespace

TEST(GameTextsFormat, SplitsAtLastTabKeepsCarriageReturnFirstKeyWinsAndLinesWithoutTab) {
    const auto table = parse("A\tone\r\nA\ttwo\nK\tx\ty\nEND\t\n# comment\tno\n #not\tcomment\nlast\tline");
    EXPECT_EQ(table.at("A"), "one\r");
    EXPECT_EQ(table.at("K\tx"), "y");
    EXPECT_EQ(table.at("END"), "");
    EXPECT_EQ(table.count("# comment"), 0u);
    EXPECT_EQ(table.at(" #not"), "comment");
    EXPECT_EQ(table.at("last"), "line");

    // Lines without a TAB, and empty input.
    const auto plain = parse("lonely\n\nword\n");
    EXPECT_EQ(plain.at("lonely"), "lonely");
    EXPECT_EQ(plain.at(""), "");
    EXPECT_EQ(plain.at("word"), "word");
    EXPECT_EQ(plain.size(), 3u);
    EXPECT_TRUE(parse("").empty());
    EXPECT_TRUE(parse("\n").size() == 1);
}

TEST(GameTextsTable, MissingKeyGivesMarkerAndLanguagesHaveSuffixes) {
    GameTexts texts;
    EXPECT_EQ(texts.getText("NOPE"), "[!]");
    // changeLanguage before any language is loaded does nothing.
    texts.changeLanguage(3);
    EXPECT_FALSE(texts.loaded());
    EXPECT_EQ(GameTexts::languageSuffix(5), "gr.txt");
    EXPECT_EQ(GameTexts::languageSuffix(6), "jp.txt");
    EXPECT_EQ(GameTexts::languageSuffix(7), "");
    EXPECT_EQ(texts.font(0), nullptr);
}

// Every language must answer every key English answers, and nothing else: a key missing in one
// language shows "[!]" to its players only, which nobody testing in English would notice.
TEST(GameTextsData, EveryLanguageHasExactlyTheEnglishKeys) {
    const auto english = parse(readWhole(kTexts / "gametexts_en.txt"));
    ASSERT_GT(english.size(), 40u);
    for (const char* suffix : {"sp", "cat", "fr", "it", "gr", "jp"}) {
        const auto other = parse(readWhole(kTexts / (std::string("gametexts_") + suffix + ".txt")));
        for (const auto& [key, text] : english)
            EXPECT_TRUE(other.count(key)) << suffix << " lacks " << key;
        for (const auto& [key, text] : other)
            EXPECT_TRUE(english.count(key)) << suffix << " has extra " << key;
    }
}

TEST(GameTextsData, EveryKeyUsedByCodeOrDataExistsInEnglish) {
    const auto english = parse(readWhole(kTexts / "gametexts_en.txt"));
    const std::string codeKeys =
        "GEN_BACK GEN_ACCEPT GEN_CONTIN GEN_DEFAULT GEN_CANCEL2 GEN_USEMOUSE GEN_USEMOUSEACTION "
        "GEN_PAUSE_MENU "
        "BUTTONTIP_OR BUTTONTIP_WALK TEST_VOID OPT_START OPT_HOWTO OPT_OPTIONS OPT_CREDITS OPT_EXIT "
        "LOADED_NOLEVELS LOADED_LEVELS LOADED_NOFLAGS LOADED_FLAGS PAUSE_BACK PAUSE_GOOPTIONS PAUSE_RESTART "
        "PAUSE_EXIT PAUSE_GOMAIN MENU_WIN_MENUMAIN MENU_WIN_SELECTLEVEL MENU_GAMEOVER_MENUMAIN "
        "MENU_GAMEOVER_GAME HUD_GOAL HUD_DIGGING HUD_BUILDING LEVELTEXT_START LEVELTEXT_CLOSEDOOR "
        "LEVELTEXT_READYTOWIN LEVELTEXT_WIN LEVELTEXT_GAMEOVER_VEDEZAVIVA LEVELTEXT_GAMEOVER_TIME "
        "LEVELTEXT_GAMEOVER_LEADER INTRO_ALERT";
    for (const std::string& key : split(codeKeys, ' '))
        EXPECT_TRUE(english.count(key)) << "code key " << key;
    for (const char* key : {"HUD_GOAL", "LOADED_LEVELS", "LOADED_FLAGS"})
        EXPECT_NE(english.at(key).find("_VAR_"), std::string::npos) << key;

    // Scene and element files name their keys in TAB fields; words of the file formats are not keys.
    const std::set<std::string> formatWords = {
        "NO_TEXT",    "NO_IMAGE", "VERY_SLOW", "VERY_FAST", "GUI_ELEMENT", "CENTER_MID", "CENTER_BTM",
        "CENTER_TOP", "LEFT_MID", "LEFT_BTM",  "LEFT_TOP",  "RIGHT_MID",   "RIGHT_BTM",  "RIGHT_TOP"};
    const std::regex keyShape("[A-Z][A-Z0-9]*(_[A-Z0-9]+)+");
    const std::set<std::string> extensions = {".scn", ".btn", ".sel", ".sli", ".swt", ".gui", ".ani"};
    size_t checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             std::filesystem::path(VOV_SOURCE_DIR) / "data/Assets")) {
        if (!entry.is_regular_file() || !extensions.count(entry.path().extension().string())) continue;
        std::istringstream lines(readWhole(entry.path()));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line[0] == '#') continue;
            std::istringstream fields(line);
            for (std::string field; std::getline(fields, field, '\t');) {
                if (!field.empty() && field.back() == '\r') field.pop_back();
                if (!std::regex_match(field, keyShape) || formatWords.count(field)) continue;
                ++checked;
                EXPECT_TRUE(english.count(field)) << entry.path() << " names " << field;
            }
        }
    }
    RecordProperty("data_keys_checked", static_cast<int>(checked));
}
