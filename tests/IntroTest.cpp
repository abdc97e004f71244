#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <tuple>

#include "GameHarness.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "opening/SceneAdvice.h"
#include "opening/SceneLogoQuillon.h"
#include "render/Renderer.h"
#include "text/TextBox.h"

namespace {
using Rgba = std::array<uint8_t, 4>;

// The game from its first frame; without "config.ini" (a first run) the advice comes first.
struct Opening {
    explicit Opening(bool firstRun)
        : h([&] {
              HarnessOptions options;
              if (firstRun) options.config = "";
              return options;
          }()) {
        h.input().mx = 640; // the pointer low in the middle, out of the way of the pixels
        h.input().my = 690;
        h.frame(0);
    }
    int until(const std::function<bool()>& done) { return h.framesUntil(done); }
    bool runs(const Scene& scene) const { return scene.entered && scene.state == Scene::Running; }
    GameHarness h;
    SceneLogoQuillon& studio = *h.scene<SceneLogoQuillon>(kStudioLogoScene);
    Scene& second = *h.scenes().scene(kSecondLogoScene);
    SceneAdvice& advice = *h.scene<SceneAdvice>(kAdviceScene);
    AudioSystem& audio = *GameWide<AudioSystem>::get();
};

using Pick = bool (*)(const Rgba&);
const Pick light = [](const Rgba& c) { return c[0] > 200 && c[1] > 200 && c[2] > 200; };
const Pick ink = [](const Rgba& c) { return c[0] < 80 && c[1] < 80 && c[2] < 80; };
const Pick warm = [](const Rgba& c) { return c[0] > 200 && c[1] > 100 && c[2] < 120; };

int countPixels(int y0, int y1, Pick pick) {
    int n = 0;
    for (int y = y0; y < y1; y += 2)
        for (int x = 0; x < 320; x += 2)
            n += pick(GameHarness::pixel(x, y)) ? 1 : 0;
    return n;
}
} // namespace

// Drawn on `background` (the sum of a corner's channels): pixels `pick` takes between rows y0 and
// y1, none in the rows above.
void expectDrawn(const char* name, int background, Pick pick, int y0, int y1) {
    for (const Rgba& corner : {GameHarness::pixel(2, 2), GameHarness::pixel(317, 197)})
        EXPECT_EQ(corner[0] + corner[1] + corner[2], background) << name;
    EXPECT_GT(countPixels(y0, y1, pick), 30) << name;
    EXPECT_EQ(countPixels(0, y0 - 2, pick), 0) << name;
}

TEST(Intro, LaterRunsShowBothLogosForTheirTimesThenTheMenu) {
    Opening g(false);
    ASSERT_EQ(std::tuple(g.h.currentNumber(), g.h.scenes().previousScene),
              std::tuple(kStudioLogoScene, kSceneCount));
    // 500 ms of fade-in: 32 frames of 16 ms, since 31 give only 496. The jingle starts with the logo.
    EXPECT_EQ(g.until([&] { return g.studio.state == Scene::Running; }), 32);
    ASSERT_GE(g.studio.jingleChannel, 0);
    EXPECT_EQ(g.audio.channelState(g.studio.jingleChannel).soundName, "Sound/intro_2.ogg");
    // Each logo in the middle of its own background: the studio's ink on white, the second's warm
    // colours on colour 0.
    expectDrawn("logo_studio", 765, ink, 62, 138);
    // 187 frames make 2992 ms, short of 3001: the 188th starts the fade-out.
    EXPECT_EQ(g.until([&] { return g.studio.state == Scene::FadingOut; }), 188);
    EXPECT_EQ(g.until([&] { return g.h.currentNumber() != kStudioLogoScene; }), 32);
    EXPECT_EQ(g.h.scenes().previousScene, kStudioLogoScene);
    // The second logo: 1000 ms fades, 63 frames each way.
    EXPECT_EQ(g.until([&] { return g.runs(g.second); }), 63);
    expectDrawn("logo_second", 0, warm, 70, 130);
    EXPECT_EQ(g.until([&] { return g.second.state == Scene::FadingOut; }), 188);
    EXPECT_EQ(g.until([&] { return g.h.currentNumber() != kSecondLogoScene; }), 63);
    EXPECT_EQ(std::tuple(g.h.currentNumber(), g.h.scenes().previousScene),
              std::tuple(kMainScene, kSecondLogoScene));
}

TEST(Intro, EverySkipInputCutsTheLogosShort) {
    Opening g(false);
    // A held mouse button ends the fade-in, the logo and the fade-out, one frame each, and
    // leaving early stops the jingle too.
    g.h.input().buttons = SDL_BUTTON_RMASK;
    g.h.frame();
    EXPECT_EQ(g.studio.state, Scene::Running);
    const int jingle = g.studio.jingleChannel;
    ASSERT_GE(jingle, 0);
    EXPECT_TRUE(Mix_Playing(jingle));
    g.h.frames(2);
    EXPECT_EQ(std::tuple(g.h.currentNumber(), Mix_Playing(jingle)), std::tuple(kSecondLogoScene, 0));
    EXPECT_EQ(g.until([&] { return g.h.currentNumber() == kMainScene; }), 3);
    g.h.input().buttons = 0;
    // Return, Escape and a quick click, once in each phase, end that phase in the same frame.
    for (int way : {0, 1, 2}) {
        SCOPED_TRACE(way);
        g.h.enter(kSecondLogoScene);
        g.h.frames(6);
        // Fading in, running (a press counts once), fading out, gone: -1 is the main menu.
        for (auto [press, after] : {std::pair{1, 1}, {0, 1}, {1, 2}, {1, -1}}) {
            if (press && way == 2)
                pushClick(SDL_BUTTON_LEFT);
            else if (press)
                pushKey(way == 0 ? SDL_SCANCODE_RETURN : SDL_SCANCODE_ESCAPE);
            g.h.frame();
            EXPECT_EQ(after < 0 ? g.h.currentNumber() : g.second.state, after < 0 ? kMainScene : after);
        }
    }
}

TEST(Intro, FirstRunAdviceWaitsForAConfirmAndTurnsItsPages) {
    Opening g(true);
    ASSERT_EQ(std::tuple(g.h.currentNumber(), g.h.scenes().previousScene),
              std::tuple(kAdviceScene, kStudioLogoScene));
    // Without "config.ini" the window is full screen; offscreen that is still 1280 x 720 (x3).
    EXPECT_EQ(Renderer::instance()->layout.factor, 3);
    const uint64_t presented = Renderer::instance()->framesPresented;
    TextBox& box = *g.advice.textBox;
    ASSERT_EQ(box.lineCount, 4);
    // Delay 0 shows the whole page at once, before a single frame has run.
    for (const auto& line : box.lines)
        EXPECT_EQ(line->lastGlyph, static_cast<int16_t>(line->items.size()) - 1);
    EXPECT_EQ(g.until([&] { return g.advice.state == Scene::Running; }), 13);
    EXPECT_EQ(Renderer::instance()->framesPresented, presented + 13);
    // Accept while the box still counts its lines (one a frame) does not leave; back is no confirm.
    g.h.frame();
    for (SDL_Scancode key : {SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE}) {
        pushKey(key);
        g.h.frames(3);
        EXPECT_EQ(g.advice.state, Scene::Running);
    }
    EXPECT_TRUE(box.finished);
    expectDrawn("advice_en", 0, light, 30, 170);
    pushClick(SDL_BUTTON_LEFT); // a tap between two frames confirms
    g.h.frame();
    EXPECT_EQ(g.advice.state, Scene::FadingOut);
    EXPECT_EQ(g.until([&] { return g.h.currentNumber() != kAdviceScene; }), 13);
    EXPECT_EQ(std::tuple(g.h.currentNumber(), g.h.scenes().previousScene),
              std::tuple(kStudioLogoScene, kAdviceScene));

    // Six lines: two pages of four, each shown whole; a confirm on a full page turns it.
    box.rawText = "A|B|AB|BA|1|11";
    g.advice.adviceKey = "raw";
    g.h.enter(kAdviceScene);
    g.until([&] { return g.runs(g.advice); });
    ASSERT_EQ(box.lineCount, 6);
    g.h.frames(3);
    EXPECT_FALSE(box.pageFull);
    g.h.frame();
    EXPECT_TRUE(box.pageFull);
    pushKey(SDL_SCANCODE_RETURN);
    g.h.frame();
    EXPECT_EQ(std::tuple(box.pageStart, box.lines[4]->lastGlyph + 1, g.advice.state),
              std::tuple(4, static_cast<int>(box.lines[4]->items.size()), Scene::Running));
    g.h.input().buttons = SDL_BUTTON_LMASK;
    g.h.frames(2);
    EXPECT_EQ(g.advice.state, Scene::FadingOut) << "the held button leaves from the last page";
}

// No channel free for the jingle: it is -1, and halting channel -1 would halt every channel.
TEST(Intro, WithoutAJingleChannelTheHandOverLeavesTheMusicPlaying) {
    Opening g(false);
    const int music = g.audio.playMusicTrack("Sound/music/main_layer1.ogg", -1);
    ASSERT_GE(music, 0);
    while (g.audio.playSound("Sound/cursormove22.wav", -1, -1) >= 0) {
    }
    g.h.input().buttons = SDL_BUTTON_LMASK;
    g.h.frame();
    EXPECT_EQ(g.studio.jingleChannel, -1);
    g.until([&] { return g.h.currentNumber() == kSecondLogoScene; });
    EXPECT_TRUE(Mix_Playing(music));
}
