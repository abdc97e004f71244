// The shipped scene and element files, read by the game's own scene reader: the menus address
// widgets by index and some text boxes by element position, every element must come home inside
// its fade, and every text must fit its place in all seven languages.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "FontTestSupport.h"
#include "assets/AssetPack.h"
#include "assets/ImageData.h"
#include "assets/StringHelpers.h"
#include "gui/Button.h"
#include "gui/ElementServices.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"
#include "menus/Menu.h"
#include "text/Font.h"
#include "text/FontLoader.h"
#include "text/FontPictures.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"
#include "text/TextLine.h"

namespace {
const std::filesystem::path kData = std::filesystem::path(VOV_SOURCE_DIR) / "data";
const char* const kLanguages[] = {"en", "sp", "cat", "fr", "it", "gr", "jp"};

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Pack files straight from data/.
class DataFiles final : public ElementFileLookup {
  public:
    bool readPackFile(const std::string& name, std::vector<uint8_t>& bytes) override {
        const std::filesystem::path path = kData / name;
        if (!std::filesystem::is_regular_file(path)) {
            missing.push_back(name);
            return false;
        }
        const std::string text = readWhole(path);
        bytes.assign(text.begin(), text.end());
        return true;
    }
    bool readDiskFile(const std::string&, std::vector<uint8_t>&) override { return false; }
    std::vector<std::string> missing;
};

// Picture sizes straight from data/; every picture gets an index of its own.
class DataTextures final : public TextureLookup {
  public:
    int32_t fetch(const std::string& path, uint16_t& width, uint16_t& height) override {
        auto image = ImageData::decodeFile((kData / path).string().c_str());
        if (!image) {
            missing.push_back(path);
            width = height = 0;
            return -1;
        }
        width = static_cast<uint16_t>(image->width());
        height = static_cast<uint16_t>(image->height());
        return next_++;
    }
    std::vector<std::string> missing;

  private:
    int32_t next_ = 1;
};

struct Box {
    int x0, y0, x1, y1; // inclusive-exclusive
    std::string what;
    bool overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << b.what << " [" << b.x0 << "," << b.y0 << " - " << b.x1 << "," << b.y1 << ")";
}

// What each menu's code expects of its scene file: fades of its slot, widget kinds by index, the
// keys its buttons show, and the element positions it writes numbers into.
struct Expectation {
    const char* file;
    int fadeIn, fadeOut;
    std::vector<int> kinds;        // 3 button, 28 selector, 30 slider, 31 switch
    std::vector<const char*> keys; // per widget; "" for a picture button
    std::vector<int> textBoxes;
    std::vector<Box> reserved; // places the menu draws by code
};

const std::vector<Expectation>& expectations() {
    static const std::vector<Expectation> all = {
        {"Assets/scene/Main.scn",
         1000,
         1000,
         {3, 3, 3, 3, 3},
         {"OPT_START", "OPT_HOWTO", "OPT_OPTIONS", "OPT_CREDITS", "OPT_EXIT"},
         {},
         {{0, 175, 320, 197, "counts"}}},
        {"Assets/scene/SelectLevel.scn",
         200,
         200,
         {3, 3, 3, 3, 3, 3},
         {"", "", "", "", "GEN_BACK", "GEN_ACCEPT"},
         {},
         {{135, 50, 185, 80, "flag"}, {0, 85, 320, 97, "flag name"}, {0, 145, 320, 157, "country name"}}},
        {"Assets/scene/Briefing.scn",
         200,
         200,
         {3, 3},
         {"GEN_BACK", "GEN_ACCEPT"},
         {4, 5, 6},
         {{153, 13, 307, 107, "picture"},
          {20, 30, 240, 42, "country name"},
          {250, 140, 310, 160, "wide thumbnail"},
          {290, 140, 310, 200, "tall thumbnail"}}},
        {"Assets/scene/Pause.scn",
         200,
         200,
         {3, 3, 3, 3, 3},
         {"PAUSE_BACK", "PAUSE_RESTART", "PAUSE_GOOPTIONS", "PAUSE_GOMAIN", "PAUSE_EXIT"},
         {},
         {}},
        {"Assets/scene/Win.scn",
         200,
         200,
         {3, 3},
         {"MENU_WIN_MENUMAIN", "MENU_WIN_SELECTLEVEL"},
         {4, 5, 6, 7},
         {{240, 95, 290, 125, "flag"}}},
        {"Assets/scene/GameOver.scn",
         200,
         1000,
         {3, 3},
         {"MENU_GAMEOVER_MENUMAIN", "MENU_GAMEOVER_GAME"},
         {},
         {{120, 88, 198, 162, "flag and cross"}}},
        {"Assets/scene/menu_options.scn",
         500,
         500,
         {31, 30, 30, 28, 3, 3, 3},
         {"", "", "", "", "GEN_DEFAULT", "GEN_CANCEL2", "GEN_ACCEPT"},
         {},
         {}},
        {"Assets/scene/Credits.scn", 200, 1000, {3}, {"GEN_CONTIN"}, {}, {}},
        {"Assets/scene/HowTo.scn", 200, 1000, {3}, {"GEN_CONTIN"}, {}, {}},
    };
    return all;
}

// The longest names a variable can take: the longest flag of the flag list without " Flag", and
// numbers of the widths the game writes.
std::string longestFlagName() {
    std::istringstream lines(readWhole(kData / "Flags/flags.txt"));
    std::string longest;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string name = split(line, ',').empty() ? line : split(line, ',')[0];
        if (name.size() > longest.size()) longest = name;
    }
    return longest;
}

// Every level name the game ships, as the name table gives them to the menus.
std::vector<std::string> shippedLevelNames() {
    std::vector<std::string> names;
    for (const std::string& line : split(readWhole(kData / "Assets/texts/levelnames.txt"), '\n')) {
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        names.push_back(tab == std::string::npos ? line : line.substr(tab + 1));
    }
    return names;
}

class TestMenu final : public Menu {};

class MenuData : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        fonts_ = loadDataFonts(kData);
        for (const char* language : kLanguages) {
            const std::string text =
                readWhole(kData / ("Assets/texts/gametexts_" + std::string(language) + ".txt"));
            GameTexts::parseTable(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                                  tables_[language]);
        }
        const std::string flag = longestFlagName();
        // The win text is sized with the level name that draws widest, not the one with most letters.
        std::string level;
        uint32_t widest = 0;
        for (const std::string& name : shippedLevelNames()) {
            std::vector<TextDrawItem> items;
            const uint32_t w = fonts_.empty() ? 0 : TextLine::layout(fonts_[0].get(), 1, name, 0, items);
            if (w > widest) widest = w, level = name;
        }
        samples_ = {{"BRIEF_TIME", "999"},
                    {"BRIEF_GOAL", "99"},
                    {"BRIEF_SURVIVORS", "99"},
                    {"WIN_TOTAL", "999"},
                    {"WIN_LOST", "999"},
                    {"WIN_LEVEL", level},
                    {"WIN_FLAG", flag.substr(0, flag.size() - 5)}};
    }
    static void TearDownTestSuite() { fonts_.clear(); }
    // One file's checks; a fatal failure ends only this file's checks.
    void checkFile(const Expectation& want);

    std::unique_ptr<TestMenu> read(const std::string& file, DataFiles& files, DataTextures& textures) {
        auto menu = std::make_unique<TestMenu>();
        const std::string bytes = readWhole(kData / file);
        EXPECT_FALSE(bytes.empty()) << file;
        menu->parseSceneBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), files, textures);
        return menu;
    }

    // Width of the widest line of `key` in `language` and `font`, variables filled with samples.
    static int width(const std::string& language, const std::string& key, uint16_t font,
                     int* lines = nullptr) {
        const auto& table = tables_[language];
        const auto found = table.find(key);
        EXPECT_NE(found, table.end()) << key << " missing in " << language;
        if (found == table.end() || font >= fonts_.size()) return 0;
        std::string text = found->second;
        const auto sample = samples_.find(key);
        if (sample != samples_.end()) text = replaceAll(text, "_VAR_", sample->second);
        int widest = 0;
        const auto pieces = split(text, '|');
        std::vector<TextDrawItem> items;
        for (const std::string& piece : pieces)
            widest = std::max<int>(widest, TextLine::layout(fonts_[font].get(), 1, piece, 0, items));
        if (lines) *lines = static_cast<int>(pieces.size());
        return widest;
    }

    static std::vector<std::unique_ptr<Font>> fonts_;
    static std::map<std::string, GameTexts::Table> tables_;
    static std::map<std::string, std::string> samples_;
};
std::vector<std::unique_ptr<Font>> MenuData::fonts_;
std::map<std::string, GameTexts::Table> MenuData::tables_;
std::map<std::string, std::string> MenuData::samples_;

// Milliseconds an element needs along `path` at `speed` (thousandths of a pixel per millisecond).
double flightMs(const std::vector<PointI32>& path, uint16_t speed) {
    double length = 0;
    for (size_t i = 1; i < path.size(); ++i)
        length += std::hypot(double(path[i].x - path[i - 1].x), double(path[i].y - path[i - 1].y));
    return speed ? length * 1000.0 / speed : (length > 0 ? 1e9 : 0);
}

TEST_F(MenuData, EveryMenuFileMakesWhatItsMenuAddresses) {
    ASSERT_EQ(fonts_.size(), 6u);
    for (const Expectation& want : expectations())
        checkFile(want);
}

void MenuData::checkFile(const Expectation& want) {
    {
        SCOPED_TRACE(want.file);
        DataFiles files;
        DataTextures textures;
        auto menu = read(want.file, files, textures);
        EXPECT_TRUE(files.missing.empty()) << files.missing.front();
        EXPECT_TRUE(textures.missing.empty()) << textures.missing.front();

        // Created equals declared: every index holds an element.
        ASSERT_GT(menu->elementCount, 0);
        ASSERT_EQ(menu->elements.size(), menu->elementCount);
        for (int i = 0; i < menu->elementCount; ++i)
            EXPECT_NE(menu->element(i), nullptr) << "element " << i;

        // Widgets by index, of the kinds the menu's code treats them as.
        ASSERT_EQ(menu->widgets.size(), want.kinds.size());
        for (size_t i = 0; i < want.kinds.size(); ++i) {
            GUIElement* w = menu->widget(static_cast<int>(i));
            ASSERT_NE(w, nullptr);
            EXPECT_TRUE(w->isKindOf(want.kinds[i])) << "widget " << i << " is not kind " << want.kinds[i];
            EXPECT_GT(w->texture, -1) << "widget " << i << " has no picture";
            if (want.kinds[i] != 3) continue;
            auto* button = static_cast<Button*>(w);
            // The menus re-key only texts that exist: a text button needs all four.
            for (int s = 0; s < 4; ++s) {
                if (*want.keys[i]) {
                    ASSERT_NE(button->stateTexts[s], nullptr) << "widget " << i << " state " << s;
                    EXPECT_EQ(button->stateTexts[s]->key, want.keys[i]) << "widget " << i << " state " << s;
                } else {
                    EXPECT_EQ(button->stateTexts[s], nullptr) << "picture button " << i;
                }
            }
        }
        for (int position : want.textBoxes) {
            GraphicElement* e = menu->element(position);
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(e->isKindOf(32)) << "element " << position << " is not a text box";
        }

        // Every flight lands home inside its fade (a fade's end snaps elements home: a jump).
        for (int i = 0; i < menu->elementCount; ++i) {
            const GraphicElement* e = menu->element(i);
            if (!e) continue;
            const auto& in = menu->entryPaths[i];
            if (!in.empty()) {
                EXPECT_EQ(in.back().x, e->home.x) << "element " << i;
                EXPECT_EQ(in.back().y, e->home.y) << "element " << i;
                EXPECT_LE(flightMs(in, menu->entrySpeeds[i]), want.fadeIn)
                    << "element " << i << " arrives late";
            }
            const auto& out = menu->exitPaths[i];
            if (!out.empty()) {
                EXPECT_EQ(out.front().x, e->home.x) << "element " << i;
                EXPECT_EQ(out.front().y, e->home.y) << "element " << i;
                EXPECT_LE(flightMs(out, menu->exitSpeeds[i]), want.fadeOut)
                    << "element " << i << " leaves late";
            }
        }
    }
}

TEST_F(MenuData, OptionsListTheLanguagesInTableOrderOverAnOpaqueBackground) {
    DataFiles files;
    DataTextures textures;
    auto menu = read("Assets/scene/menu_options.scn", files, textures);
    GUIElement* w = menu->widget(3);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isKindOf(28));
    auto* selector = static_cast<Selector*>(w);
    const char* const order[] = {"LANG_EN", "LANG_SP", "LANG_CAT", "LANG_FR",
                                 "LANG_IT", "LANG_GR", "LANG_JP"};
    ASSERT_EQ(selector->options.size(), 7u);
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(selector->options[i]->key, order[i]);

    // The options menu never clears: its first layer must paint every pixel of the screen.
    ASSERT_FALSE(menu->layerRects.empty());
    EXPECT_EQ(menu->layerRects[0].w, 320);
    EXPECT_EQ(menu->layerRects[0].h, 200);
    EXPECT_EQ(menu->layerX[0], 0);
    EXPECT_EQ(menu->layerY[0], 0);
    EXPECT_EQ(menu->layerSpeeds[0], 0);
    auto picture = ImageData::decodeFile((kData / "Assets/menu_backgrounds/options.png").string().c_str());
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->bytesPerPixel(), 4);
    int clear = 0;
    for (int y = 0; y < picture->height(); ++y)
        for (int x = 0; x < picture->width(); ++x)
            clear += picture->pixels()[y * picture->pitch() + x * 4 + 3] != 255;
    EXPECT_EQ(clear, 0);
}

TEST_F(MenuData, EveryTextFitsItsPlaceInEveryLanguage) {
    const int margin = 4; // text never touches a widget's edge
    for (const Expectation& want : expectations()) {
        SCOPED_TRACE(want.file);
        DataFiles files;
        DataTextures textures;
        auto menu = read(want.file, files, textures);
        for (const char* language : kLanguages) {
            SCOPED_TRACE(language);
            std::vector<Box> widgets, texts;
            for (size_t i = 0; i < menu->widgets.size(); ++i) {
                GUIElement* w = menu->widgets[i];
                const int W = w->source.w, H = w->source.h;
                widgets.push_back(
                    {w->home.x, w->home.y, w->home.x + W, w->home.y + H, "widget " + std::to_string(i)});
                auto fits = [&](const std::unique_ptr<TextLine>& line, int room) {
                    if (!line) return;
                    const int font = line->fontIndex;
                    EXPECT_LE(width(language, line->key, font), room) << line->key << " in widget " << i;
                    EXPECT_LE(fonts_[font]->size, H) << line->key << " taller than widget " << i;
                };
                if (w->isKindOf(3))
                    for (const auto& line : static_cast<Button*>(w)->stateTexts)
                        fits(line, W - 2 * margin);
                if (w->isKindOf(28)) {
                    auto* s = static_cast<Selector*>(w);
                    for (const auto& line : s->options)
                        fits(line, W - 2 * s->arrowRect.w - 2 * margin);
                }
                if (w->isKindOf(31)) {
                    auto* s = static_cast<SwitchButton*>(w);
                    for (const auto& line : s->offLabels)
                        fits(line, W / 2 - 2 * margin);
                    for (const auto& line : s->onLabels)
                        fits(line, W / 2 - 2 * margin);
                }
            }
            for (int i = 0; i < menu->elementCount; ++i) {
                GraphicElement* e = menu->element(i);
                if (!e || !e->isKindOf(32)) continue;
                auto* box = static_cast<TextBox*>(e);
                int lines = 1;
                const int w = width(language, box->key, box->fontIndex, &lines);
                const int h = lines * fonts_[box->fontIndex]->size;
                int x0 = box->home.x;
                if (box->horizontalAlign == TextLine::Right) x0 -= w;
                if (box->horizontalAlign == TextLine::Centre) x0 -= w / 2;
                int y0 = box->home.y;
                if (box->verticalAlign == 0) y0 -= h / 2;
                if (box->verticalAlign == 2) y0 -= h;
                texts.push_back({x0, y0, x0 + w, y0 + h, box->key});
            }
            for (size_t a = 0; a < texts.size(); ++a) {
                EXPECT_TRUE(texts[a].x0 >= 0 && texts[a].y0 >= 0 && texts[a].x1 <= 320 && texts[a].y1 <= 200)
                    << texts[a] << " leaves the screen";
                for (size_t b = a + 1; b < texts.size(); ++b)
                    EXPECT_FALSE(texts[a].overlaps(texts[b])) << texts[a] << " overlaps " << texts[b];
                for (const Box& w : widgets)
                    EXPECT_FALSE(texts[a].overlaps(w)) << texts[a] << " overlaps " << w;
                for (const Box& r : want.reserved)
                    EXPECT_FALSE(texts[a].overlaps(r)) << texts[a] << " overlaps " << r;
            }
            for (size_t a = 0; a < widgets.size(); ++a) {
                EXPECT_TRUE(widgets[a].x0 >= 0 && widgets[a].y0 >= 0 && widgets[a].x1 <= 320 &&
                            widgets[a].y1 <= 200)
                    << widgets[a] << " leaves the screen";
                for (size_t b = a + 1; b < widgets.size(); ++b)
                    EXPECT_FALSE(widgets[a].overlaps(widgets[b])) << widgets[a] << " overlaps " << widgets[b];
                for (const Box& r : want.reserved)
                    EXPECT_FALSE(widgets[a].overlaps(r)) << widgets[a] << " overlaps " << r;
            }
        }
    }
}

TEST_F(MenuData, TheLongestFlagNameFitsWhereTheMenusShowIt) {
    const std::string flag = longestFlagName();
    EXPECT_EQ(flag, "Saint Vincent and the Grenadines Flag");
    std::vector<TextDrawItem> items;
    // The selection centres it at x 160 in font 0; the win screen writes it after "Flag:" in the
    // text box at element 7, which the layout test above already holds to the screen.
    EXPECT_LE(int(TextLine::layout(fonts_[0].get(), 1, flag, 0, items)), 320 - 2 * 4);
}

TEST_F(MenuData, EveryLevelNameFitsWhereTheMenusShowIt) {
    const std::vector<std::string> names = shippedLevelNames();
    EXPECT_GE(names.size(), 100u);
    for (const std::string& name : names) {
        std::vector<TextDrawItem> items;
        const int w = int(TextLine::layout(fonts_[0].get(), 1, name, 0, items));
        // The selection centres it at x 160 in font 0; the briefing writes it from x 20.
        EXPECT_LE(w, 320 - 2 * 4) << name;
        EXPECT_LE(20 + w, 320 - 4) << name;
    }
}
} // namespace
