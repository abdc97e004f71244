#include <algorithm>
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

// Split at the last tab, carriage returns kept, the first key wins, a line without a tab is its own
// key and text (the empty line too), a space before "#" is no comment, the last line needs no line feed.
TEST(GameTextsFormat, LinesSplitAtTheLastTabAndTheFirstKeyWins) {
    std::string flat; // key=text; in key order
    for (const auto& [key, text] :
         parse("A\tone\r\nA\ttwo\nK\tx\ty\nEND\t\n# comment\tno\n #not\tcomment\nlonely\n\nlast\tline"))
        flat += key + "=" + text + ";";
    EXPECT_EQ(flat, "=; #not=comment;A=one\r;END=;K\tx=y;last=line;lonely=lonely;");
    EXPECT_TRUE(parse("").empty());

    GameTexts texts;
    texts.changeLanguage(3); // before any language is loaded: nothing
    EXPECT_EQ(texts.getText("NOPE"), "[!]");
    EXPECT_FALSE(texts.loaded());
    std::string suffixes;
    for (uint32_t language = 0; language <= 7; ++language)
        suffixes += GameTexts::languageSuffix(language) + " ";
    EXPECT_EQ(suffixes, "en.txt sp.txt cat.txt fr.txt it.txt gr.txt jp.txt  ");
}

// Every language answers exactly the keys English answers (a key missing in one language shows
// "[!]" to its players only), and English answers every key the code and the data files name.
TEST(GameTextsData, EveryLanguageHasTheKeysTheGameAsksFor) {
    const auto english = parse(readWhole(kTexts / "gametexts_en.txt"));
    ASSERT_GT(english.size(), 40u);
    for (const char* suffix : {"sp", "cat", "fr", "it", "gr", "jp"}) {
        const auto other = parse(readWhole(kTexts / (std::string("gametexts_") + suffix + ".txt")));
        for (const auto& [key, text] : english)
            EXPECT_TRUE(other.count(key)) << suffix << " lacks " << key;
        for (const auto& [key, text] : other)
            EXPECT_TRUE(english.count(key)) << suffix << " has extra " << key;
    }
    // Keys the code asks for.
    const std::string codeKeys =
        "GEN_BACK GEN_ACCEPT GEN_CONTIN GEN_DEFAULT GEN_CANCEL2 GEN_USEMOUSE GEN_USEMOUSEACTION "
        "GEN_PAUSE_MENU BUTTONTIP_OR BUTTONTIP_WALK TEST_VOID OPT_START OPT_HOWTO OPT_OPTIONS "
        "OPT_CREDITS OPT_EXIT PAUSE_BACK LOADED_NOLEVELS LOADED_LEVELS LOADED_NOFLAGS LOADED_FLAGS "
        "PAUSE_GOOPTIONS PAUSE_RESTART PAUSE_EXIT PAUSE_GOMAIN MENU_WIN_MENUMAIN MENU_WIN_SELECTLEVEL "
        "MENU_GAMEOVER_MENUMAIN MENU_GAMEOVER_GAME HUD_GOAL HUD_DIGGING HUD_BUILDING LEVELTEXT_START "
        "LEVELTEXT_CLOSEDOOR LEVELTEXT_READYTOWIN LEVELTEXT_WIN LEVELTEXT_GAMEOVER_VEDEZAVIVA "
        "LEVELTEXT_GAMEOVER_TIME LEVELTEXT_GAMEOVER_LEADER INTRO_ALERT";
    for (const std::string& key : split(codeKeys, ' '))
        EXPECT_TRUE(english.count(key)) << "code key " << key;
    for (const char* key : {"HUD_GOAL", "LOADED_LEVELS", "LOADED_FLAGS"})
        EXPECT_NE(english.at(key).find("_VAR_"), std::string::npos) << key;

    // Scene and element files name their keys in tab fields; words of the file formats are not keys.
    const std::vector<std::string> formatWords =
        split("NO_TEXT NO_IMAGE VERY_SLOW VERY_FAST GUI_ELEMENT CENTER_MID CENTER_BTM CENTER_TOP LEFT_MID "
              "LEFT_BTM LEFT_TOP RIGHT_MID RIGHT_BTM RIGHT_TOP",
              ' ');
    const std::regex keyShape("[A-Z][A-Z0-9]*(_[A-Z0-9]+)+");
    const std::set<std::string> extensions = {".scn", ".btn", ".sel", ".sli", ".swt", ".gui", ".ani"};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kTexts.parent_path())) {
        if (!extensions.count(entry.path().extension().string())) continue;
        std::istringstream lines(readWhole(entry.path()));
        for (std::string line; std::getline(lines, line);)
            for (std::string field : split(line, '\t')) {
                if (!field.empty() && field.back() == '\r') field.pop_back();
                if (line[0] != '#' && std::regex_match(field, keyShape) &&
                    std::find(formatWords.begin(), formatWords.end(), field) == formatWords.end()) {
                    EXPECT_TRUE(english.count(field)) << entry.path() << " names " << field;
                }
            }
    }
}
