// The shipped scene, element, text and font files, read by the game's own readers: the menus
// address widgets by index and some text boxes by element position, every element must come home
// inside its fade, every text must fit its place in all seven languages, and every character drawn
// must have a glyph in every font.
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "Fakes.h"
#include "TestSupport.h"
#include "assets/ImageData.h"
#include "assets/StringHelpers.h"
#include "gui/Button.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"
#include "menus/Menu.h"
#include "text/FontLoader.h"
#include "text/FontPictures.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"
#include "text/Utf8Decode.h"

namespace {
const std::filesystem::path kData = std::filesystem::path(VOV_SOURCE_DIR) / "data";
const char* const kLanguages[] = {"en", "sp", "cat", "fr", "it", "gr", "jp"};

// Element files and pictures straight from data/; every picture gets an index of its own, and every
// font picture is decoded as the store decodes it.
class DataDir final : public ElementFileLookup, public TextureLookup, public FontPictures {
  public:
    bool readPackFile(const std::string& name, std::vector<uint8_t>& bytes) override {
        const std::string text = readWhole(kData / name);
        if (text.empty()) missing.push_back(name);
        bytes.assign(text.begin(), text.end());
        return !text.empty();
    }
    bool readDiskFile(const std::string&, std::vector<uint8_t>&) override { return false; }
    int32_t fetch(const std::string& path, uint16_t& width, uint16_t& height) override {
        auto image = ImageData::decodeFile((kData / path).string().c_str());
        width = image ? static_cast<uint16_t>(image->width()) : 0;
        height = image ? static_cast<uint16_t>(image->height()) : 0;
        if (!image) missing.push_back(path);
        return image ? next_++ : -1;
    }
    const ImageData* picture(const std::string& name) override {
        current_ = ImageData::decodeFile((kData / name).string().c_str());
        return current_.get();
    }
    int32_t makeAtlas(const std::string&, const ImageData&) override { return next_++; }
    void release(const std::string&) override { current_.reset(); }
    std::vector<std::string> missing;

  private:
    int32_t next_ = 1;
    std::unique_ptr<ImageData> current_;
};

struct Box {
    int x0, y0, x1, y1; // inclusive-exclusive
    std::string what;
    bool overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    bool onScreen() const { return x0 >= 0 && y0 >= 0 && x1 <= 320 && y1 <= 200; }
};
std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << b.what << " [" << b.x0 << "," << b.y0 << " - " << b.x1 << "," << b.y1 << ")";
}

// What each menu's code expects of its scene file: fades of its slot, widget kinds by index (b
// button, e selector, l slider, w switch), the keys its buttons show ("-" a picture button) and
// the element positions it writes numbers into.
struct Expectation {
    const char* file;
    int fadeIn, fadeOut;
    std::string kinds, keys; // keys blank-separated
    std::vector<int> textBoxes;
};
const std::vector<Expectation> kMenus = {
    {"Main.scn", 1000, 1000, "bbbbb", "OPT_START OPT_HOWTO OPT_OPTIONS OPT_CREDITS OPT_EXIT", {}},
    {"SelectLevel.scn", 200, 200, "bbbbbb", "- - - - GEN_BACK GEN_ACCEPT", {}},
    {"Briefing.scn", 200, 200, "bb", "GEN_BACK GEN_ACCEPT", {4, 5, 6}},
    {"Pause.scn", 200, 200, "bbbbb", "PAUSE_BACK PAUSE_RESTART PAUSE_GOOPTIONS PAUSE_GOMAIN PAUSE_EXIT", {}},
    {"Win.scn", 200, 200, "bbb", "MENU_WIN_MENUMAIN MENU_WIN_SELECTLEVEL MENU_WIN_NEXT", {4, 5, 6, 7}},
    {"GameOver.scn", 200, 1000, "bb", "MENU_GAMEOVER_MENUMAIN MENU_GAMEOVER_GAME", {}},
    {"menu_options.scn", 500, 500, "wllebbb", "- - - - GEN_DEFAULT GEN_CANCEL2 GEN_ACCEPT", {}},
    {"Credits.scn", 200, 1000, "b", "GEN_CONTIN", {}},
    {"HowTo.scn", 200, 1000, "b", "GEN_CONTIN", {}},
};
// The places the menus draw by code, which texts and widgets keep clear of.
const std::map<std::string, std::vector<Box>> kReserved = {
    {"Main.scn", {{0, 161, 320, 197, "painted and counts"}}},
    {"SelectLevel.scn",
     {{135, 50, 185, 80, "flag"},
      {0, 85, 320, 97, "flag name"},
      {0, 141, 320, 161, "country name, stamp and seal"}}},
    {"Briefing.scn",
     {{153, 13, 307, 107, "picture"},
      {20, 30, 240, 42, "country name"},
      {250, 140, 310, 160, "wide thumbnail"},
      {290, 140, 310, 200, "tall thumbnail"}}},
    {"Win.scn", {{240, 95, 290, 125, "flag"}}},
    {"GameOver.scn", {{120, 88, 198, 162, "flag and cross"}}},
};

char kindOf(GUIElement* w) {
    return dynamic_cast<Button*>(w)         ? 'b'
           : dynamic_cast<Selector*>(w)     ? 'e'
           : dynamic_cast<Slider*>(w)       ? 'l'
           : dynamic_cast<SwitchButton*>(w) ? 'w'
                                            : '?';
}

// The names a list holds: a level's name after its tab, a flag's or country's first comma field.
std::vector<std::string> namesIn(const std::string& file, char separator) {
    std::vector<std::string> names;
    for (const std::string& line : split(readWhole(kData / file), '\n'))
        if (!line.empty() && line[0] != '#')
            names.push_back(separator == ',' ? split(line, ',')[0] : line.substr(line.find('\t') + 1));
    return names;
}

// Milliseconds an element needs along `path` at `speed` (thousandths of a pixel per millisecond).
double flightMs(const std::vector<PointI32>& path, uint16_t speed) {
    double length = 0;
    for (size_t i = 1; i < path.size(); ++i)
        length += std::hypot(double(path[i].x - path[i - 1].x), double(path[i].y - path[i - 1].y));
    return speed ? length * 1000.0 / speed : (length > 0 ? 1e9 : 0);
}

class MenuData : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        DataDir pictures;
        const std::string list = readWhole(kData / "Assets/font/fonts.txt");
        for (const FontListEntry& entry :
             FontLoader::parseFontList(bytesOf(list), list.size(), "Assets/font/")) {
            const std::string description = readWhole(kData / entry.description);
            fonts_.push_back(FontLoader::parseDescription(bytesOf(description), description.size(),
                                                          entry.description, entry.size, 1, pictures));
        }
        for (const char* language : kLanguages) {
            const std::string text =
                readWhole(kData / ("Assets/texts/gametexts_" + std::string(language) + ".txt"));
            GameTexts::parseTable(bytesOf(text), text.size(), tables_[language]);
        }
        // The win text is sized with the level name that draws widest, not the one with most letters,
        // and the country of the longest flag name.
        std::string level, flag;
        for (const std::string& name : namesIn("Assets/texts/levelnames.txt", '\t'))
            if (fonts_.size() && drawnWidth(name) > drawnWidth(level)) level = name;
        for (const std::string& name : namesIn("Flags/flags.txt", ','))
            if (name.size() - 5 > flag.size()) flag = name.substr(0, name.size() - 5);
        samples_ = {{"BRIEF_TIME", "999"}, {"BRIEF_GOAL", "99"}, {"BRIEF_SURVIVORS", "99"},
                    {"WIN_TOTAL", "999"},  {"WIN_LOST", "999"},  {"WIN_LEVEL", level},
                    {"WIN_FLAG", flag}};
    }
    static void TearDownTestSuite() { fonts_.clear(); }
    static int drawnWidth(const std::string& text, uint16_t font = 0) {
        std::vector<TextDrawItem> items;
        return static_cast<int>(TextLine::layout(fonts_[font].get(), 1, text, 0, items));
    }

    std::unique_ptr<Menu> read(const std::string& file) {
        auto menu = std::make_unique<Menu>();
        const std::string bytes = readWhole(kData / "Assets/scene" / file);
        EXPECT_FALSE(bytes.empty()) << file;
        menu->parseSceneBytes(bytesOf(bytes), bytes.size(), data, data);
        return menu;
    }

    // Width of the widest line of `key` in `language` and `font`, variables filled with samples.
    static int width(const std::string& language, const std::string& key, uint16_t font,
                     int* lines = nullptr) {
        const auto& table = tables_[language];
        const auto found = table.find(key);
        EXPECT_NE(found, table.end()) << key << " missing in " << language;
        if (found == table.end() || font >= fonts_.size()) return 0;
        const auto sample = samples_.find(key);
        const std::string text =
            sample == samples_.end() ? found->second : replaceAll(found->second, "_VAR_", sample->second);
        int widest = 0;
        const auto pieces = split(text, '|');
        for (const std::string& piece : pieces)
            widest = std::max(widest, drawnWidth(piece, font));
        if (lines) *lines = static_cast<int>(pieces.size());
        return widest;
    }

    DataDir data;
    inline static std::vector<std::unique_ptr<Font>> fonts_;
    inline static std::map<std::string, GameTexts::Table> tables_;
    inline static std::map<std::string, std::string> samples_;
};

TEST_F(MenuData, EveryMenuFileMakesWhatItsMenuAddresses) {
    for (const Expectation& want : kMenus) {
        SCOPED_TRACE(want.file);
        auto menu = read(want.file);
        // Created equals declared: every index holds an element.
        ASSERT_GT(menu->elementCount, 0);
        for (int i = 0; i < menu->elementCount; ++i)
            EXPECT_NE(menu->element(i), nullptr) << "element " << i;
        // Widgets by index, of the kinds the menu's code treats them as, each with a picture; a text
        // button needs all four texts, since the menus re-key only texts that exist.
        std::string kinds;
        const std::vector<std::string> keys = split(want.keys, ' ');
        for (size_t i = 0; i < menu->widgets.size(); ++i) {
            kinds += kindOf(menu->widgets[i]);
            EXPECT_GT(menu->widgets[i]->texture, -1) << "widget " << i << " has no picture";
            if (auto* button = dynamic_cast<Button*>(menu->widgets[i])) {
                for (const auto& text : button->stateTexts)
                    EXPECT_EQ(text ? text->key : "-", i < keys.size() ? keys[i] : "") << "widget " << i;
            }
        }
        EXPECT_EQ(kinds, want.kinds);
        for (int position : want.textBoxes)
            EXPECT_TRUE(dynamic_cast<TextBox*>(menu->element(position))) << "element " << position;

        // Every flight lands home inside its fade (a fade's end snaps elements home: a jump): the
        // fly-in ends at home, the fly-out starts there.
        for (int i = 0; i < menu->elementCount; ++i)
            for (const bool in : {true, false}) {
                const auto& path = (in ? menu->entryPaths : menu->exitPaths)[i];
                if (path.empty()) continue;
                const PointI32& home = in ? path.back() : path.front();
                EXPECT_TRUE(home.x == menu->element(i)->home.x && home.y == menu->element(i)->home.y) << i;
                EXPECT_LE(flightMs(path, (in ? menu->entrySpeeds : menu->exitSpeeds)[i]),
                          in ? want.fadeIn : want.fadeOut)
                    << "element " << i << (in ? " arrives" : " leaves") << " late";
            }
    }
    EXPECT_TRUE(data.missing.empty()) << data.missing.front();
}

TEST_F(MenuData, OptionsListTheLanguagesInTableOrderOverAnOpaqueBackground) {
    auto menu = read("menu_options.scn");
    auto* selector = dynamic_cast<Selector*>(menu->widget(3));
    ASSERT_NE(selector, nullptr);
    std::string order;
    for (const auto& option : selector->options)
        order += option->key + " ";
    EXPECT_EQ(order, "LANG_EN LANG_SP LANG_CAT LANG_FR LANG_IT LANG_GR LANG_JP ");

    // The options menu never clears: its first layer must paint every pixel of the screen.
    ASSERT_FALSE(menu->layerRects.empty());
    EXPECT_EQ(rectOf(menu->layerRects[0]), (Rect4{0, 0, 320, 200}));
    EXPECT_EQ(menu->layerX[0] | menu->layerY[0] | menu->layerSpeeds[0], 0);
    auto picture = ImageData::decodeFile((kData / "Assets/menu_backgrounds/options.png").string().c_str());
    ASSERT_TRUE(picture && picture->bytesPerPixel() == 4);
    int clear = 0;
    for (int i = 0; i < picture->width() * picture->height(); ++i)
        clear += picture->pixel(i % picture->width(), i / picture->width()) >> 24 != 255;
    EXPECT_EQ(clear, 0);
}

TEST_F(MenuData, EveryTextFitsItsPlaceInEveryLanguage) {
    ASSERT_EQ(fonts_.size(), 6u);
    const int margin = 4; // text never touches a widget's edge
    for (const Expectation& want : kMenus) {
        auto menu = read(want.file);
        for (const char* language : kLanguages) {
            SCOPED_TRACE(std::string(want.file) + " " + language);
            const auto reserved = kReserved.find(want.file);
            std::vector<Box> widgets, texts;
            if (reserved != kReserved.end()) widgets = reserved->second;
            const size_t reservedCount = widgets.size();
            for (size_t i = 0; i < menu->widgets.size(); ++i) {
                GUIElement* w = menu->widgets[i];
                const int W = w->source.w, H = w->source.h;
                widgets.push_back(
                    {w->home.x, w->home.y, w->home.x + W, w->home.y + H, "widget " + std::to_string(i)});
                EXPECT_TRUE(widgets.back().onScreen()) << widgets.back();
                auto fits = [&](const std::unique_ptr<TextLine>& line, int room) {
                    if (!line) return;
                    EXPECT_LE(width(language, line->key, line->fontIndex), room)
                        << line->key << " in widget " << i;
                    EXPECT_LE(fonts_[line->fontIndex]->size, H) << line->key << " taller than widget " << i;
                };
                if (auto* button = dynamic_cast<Button*>(w))
                    for (const auto& line : button->stateTexts)
                        fits(line, W - 2 * margin);
                if (auto* s = dynamic_cast<Selector*>(w))
                    for (const auto& line : s->options)
                        fits(line, W - 2 * s->arrowRect.w - 2 * margin);
                if (auto* s = dynamic_cast<SwitchButton*>(w))
                    for (int k = 0; k < 4; ++k)
                        fits(s->offLabels[k], W / 2 - 2 * margin), fits(s->onLabels[k], W / 2 - 2 * margin);
            }
            for (int i = 0; i < menu->elementCount; ++i) {
                auto* box = dynamic_cast<TextBox*>(menu->element(i));
                if (!box) continue;
                int lines = 1;
                const int w = width(language, box->key, box->fontIndex, &lines);
                const int h = lines * fonts_[box->fontIndex]->size;
                // Half widths and heights back from the anchor: left, right, centre; centre, top, bottom.
                constexpr int kHalves[2][3] = {{0, 2, 1}, {1, 0, 2}};
                const int x0 = box->home.x - w * kHalves[0][box->horizontalAlign % 3] / 2;
                const int y0 = box->home.y - h * kHalves[1][box->verticalAlign % 3] / 2;
                texts.push_back({x0, y0, x0 + w, y0 + h, box->key});
            }
            // Texts and widgets stay on the screen and clear of one another and of the reserved places.
            for (size_t a = 0; a < texts.size(); ++a) {
                EXPECT_TRUE(texts[a].onScreen()) << texts[a];
                for (size_t b = a + 1; b < texts.size(); ++b)
                    EXPECT_FALSE(texts[a].overlaps(texts[b])) << texts[a] << " overlaps " << texts[b];
                for (const Box& w : widgets)
                    EXPECT_FALSE(texts[a].overlaps(w)) << texts[a] << " overlaps " << w;
            }
            for (size_t a = reservedCount; a < widgets.size(); ++a)
                for (size_t b = 0; b < a; ++b)
                    EXPECT_FALSE(widgets[a].overlaps(widgets[b])) << widgets[a] << " overlaps " << widgets[b];
        }
    }
}

// A key missing in one language shows "[!]" to its players only: every language answers exactly the
// keys English answers, and English every key the code and the data files name.
TEST_F(MenuData, EveryLanguageHasTheKeysTheGameAsksFor) {
    const GameTexts::Table& english = tables_["en"];
    ASSERT_GT(english.size(), 40u);
    for (const auto& [language, table] : tables_) {
        for (const auto& [key, text] : english)
            EXPECT_TRUE(table.count(key)) << language << " lacks " << key;
        for (const auto& [key, text] : table)
            EXPECT_TRUE(english.count(key)) << language << " has extra " << key;
    }
    for (const char* key : {"HUD_GOAL", "LOADED_LEVELS", "LOADED_FLAGS"})
        EXPECT_NE(english.at(key).find("_VAR_"), std::string::npos) << key;

    // The code quotes its keys; scene and element files name theirs in tab fields. Words of the file
    // formats are not keys.
    const std::set<std::string> formatWords = {"NO_TEXT",     "NO_IMAGE",         "VERY_SLOW",  "VERY_FAST",
                                               "GUI_ELEMENT", "SDL_RENDER_VSYNC", "CENTER_MID", "CENTER_BTM",
                                               "CENTER_TOP",  "LEFT_MID",         "LEFT_BTM",   "LEFT_TOP",
                                               "RIGHT_MID",   "RIGHT_BTM",        "RIGHT_TOP"};
    const std::regex named("(^|[\t\"])([A-Z][A-Z0-9]*(_[A-Z0-9]+)+)(?=[\t\"\r]|$)");
    const std::set<std::string> extensions = {".cpp", ".h",   ".scn", ".btn", ".sel",
                                              ".sli", ".swt", ".gui", ".ani"};
    size_t keys = 0;
    for (const char* tree : {"src", "data/Assets"})
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kData.parent_path() / tree)) {
            if (!extensions.count(entry.path().extension().string())) continue;
            std::istringstream lines(readWhole(entry.path()));
            for (std::string line; std::getline(lines, line);)
                for (std::sregex_iterator m(line.begin(), line.end(), named), end; m != end && line[0] != '#';
                     ++m)
                    if (!formatWords.count((*m)[2])) {
                        ++keys;
                        EXPECT_TRUE(english.count((*m)[2])) << entry.path() << " names " << (*m)[2];
                    }
        }
    EXPECT_GT(keys, 100u);
}

// A character a font lacks silently shows as its lowest glyph (a space), which no one reading
// English notices: every character the game can draw must be in every font that may draw it.
TEST_F(MenuData, EveryDrawnCharacterHasAGlyphInEveryFont) {
    for (size_t n = 0; n < fonts_.size(); ++n)
        EXPECT_GE(fonts_[n]->colourCount, 5) << "font " << n;
    std::vector<std::pair<std::string, std::string>> drawn = {{"code", "GO IN Closed 0123456789%:/"}};
    for (const auto& [language, table] : tables_)
        for (const auto& [key, text] : table)
            drawn.emplace_back(language + " " + key, text);
    // The selection centres flag names at x 160 in font 0 and the briefing writes level names from
    // x 20: both must fit there.
    for (const char* list : {"Flags/flags.txt", "Countries/countries.txt", "Assets/texts/levelnames.txt"})
        for (const std::string& name : namesIn(list, list[0] == 'A' ? '\t' : ',')) {
            drawn.emplace_back(list, name);
            EXPECT_LE(list[0] == 'C' ? 0 : drawnWidth(name) + (list[0] == 'A' ? 20 : 4), 320 - 4) << name;
        }

    size_t characters = 0;
    for (const auto& [where, text] : drawn) {
        const auto* bytes = bytesOf(text);
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
            for (size_t n = 0; code && n < fonts_.size(); ++n)
                EXPECT_TRUE(fonts_[n]->glyphs.count(code))
                    << "font " << n << " lacks U+" << std::hex << code << std::dec << " of " << where
                    << ": \"" << text << "\"";
        }
    }
    EXPECT_GT(characters, 1000u);
}
} // namespace
