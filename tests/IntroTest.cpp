#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "GameHarness.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "opening/SceneAdvice.h"
#include "opening/SceneLogoQuillon.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"

namespace {
using Rgba = std::array<uint8_t, 4>;

// The game from its first frame; without "config.ini" the advice comes first.
class Intro : public testing::Test {
  protected:
    void start(bool firstRun) {
        HarnessOptions options;
        if (firstRun) options.config = "";
        h = std::make_unique<GameHarness>(options);
        ASSERT_TRUE(h->started());
        h->frame(0);
    }
    SceneLogoQuillon& studio() const { return *h->scene<SceneLogoQuillon>(kStudioLogoScene); }
    Scene& second() const { return *h->scenes().scene(kSecondLogoScene); }
    int framesUntil(const std::function<bool()>& done) { return h->framesUntil(done); }
    uint32_t current() const { return h->currentNumber(); }

    std::unique_ptr<GameHarness> h;
    AudioSystem* audio() const { return GameWide<AudioSystem>::get(); }
};

// Every second pixel of rows y0..y1 that `pick` accepts.
template <class Pick> int countPixels(int y0, int y1, Pick pick) {
    int n = 0;
    for (int y = y0; y < y1; y += 2)
        for (int x = 0; x < 320; x += 2)
            n += pick(GameHarness::pixel(x, y)) ? 1 : 0;
    return n;
}
} // namespace

TEST_F(Intro, LaterRunsShowBothLogosForTheirTimesThenTheMenu) {
    start(false);
    ASSERT_EQ(current(), kStudioLogoScene);
    EXPECT_EQ(studio().jingleChannel, -1);
    // 500 ms of fade-in: 32 frames of 16 ms, since 31 give only 496.
    EXPECT_EQ(framesUntil([&] { return studio().state == Scene::Running; }), 32);
    const int jingle = studio().jingleChannel;
    ASSERT_GE(jingle, 0) << "the jingle starts when the logo is shown";
    EXPECT_EQ(audio()->channelState(jingle).soundName, "Sound/intro_2.ogg");
    EXPECT_TRUE(Mix_Playing(jingle));
    // 187 frames make 2992 ms, short of 3001: the 188th starts the fade-out.
    EXPECT_EQ(framesUntil([&] { return studio().state == Scene::FadingOut; }), 188);
    EXPECT_EQ(studio().shownTime, 3008);
    EXPECT_EQ(framesUntil([&] { return current() != kStudioLogoScene; }), 32);
    EXPECT_EQ(current(), kSecondLogoScene);
    EXPECT_EQ(h->scenes().previousScene, kStudioLogoScene);
    // The second logo: 1000 ms fades, 63 frames each way.
    EXPECT_EQ(framesUntil([&] { return second().entered && second().state == Scene::Running; }), 63);
    EXPECT_EQ(framesUntil([&] { return second().state == Scene::FadingOut; }), 188);
    EXPECT_EQ(framesUntil([&] { return current() != kSecondLogoScene; }), 63);
    EXPECT_EQ(current(), kMainScene);
    EXPECT_EQ(h->scenes().previousScene, kSecondLogoScene);
}

TEST_F(Intro, FirstRunAdviceWaitsForAConfirmThenLeadsToTheStudioLogo) {
    start(true);
    auto& advice = *h->scene<SceneAdvice>(kAdviceScene);
    TextBox& box = *advice.textBox;
    ASSERT_EQ(box.lineCount, 4);
    // Delay 0 shows the whole page at once, before a single frame has run.
    for (const auto& line : box.lines)
        EXPECT_EQ(line->lastGlyph, static_cast<int16_t>(line->items.size()) - 1);
    EXPECT_EQ(framesUntil([&] { return advice.state == Scene::Running; }), 13);
    // Accept while the box still counts its lines (one a frame) does not leave.
    h->frame();
    pushKey(SDL_SCANCODE_RETURN);
    h->frames(3);
    EXPECT_TRUE(box.finished);
    EXPECT_EQ(advice.state, Scene::Running);
    h->frames(50);
    pushKey(SDL_SCANCODE_ESCAPE); // back is no confirm here
    h->frame();
    EXPECT_EQ(advice.state, Scene::Running) << "it waits for the player";
    pushClick(SDL_BUTTON_LEFT); // a tap between two frames confirms
    h->frame();
    EXPECT_EQ(advice.state, Scene::FadingOut);
    EXPECT_EQ(framesUntil([&] { return current() != kAdviceScene; }), 13);
    EXPECT_EQ(current(), kStudioLogoScene);
    EXPECT_EQ(h->scenes().previousScene, kAdviceScene);
}

TEST_F(Intro, ALongAdviceShowsEachPageWholeAndConfirmsTurnThem) {
    start(true);
    auto& advice = *h->scene<SceneAdvice>(kAdviceScene);
    TextBox& box = *advice.textBox;
    // Six lines: two pages of four. Entered again with the new text.
    box.rawText = "A|B|AB|BA|1|11";
    advice.adviceKey = "raw";
    advice.entered = 0;
    framesUntil([&] { return advice.entered && advice.state == Scene::Running; });
    ASSERT_EQ(box.lineCount, 6);
    h->frames(3);
    EXPECT_FALSE(box.pageFull);
    h->frame();
    EXPECT_TRUE(box.pageFull);
    EXPECT_FALSE(box.finished);
    pushKey(SDL_SCANCODE_RETURN);
    h->frame();
    EXPECT_EQ(box.pageStart, 4) << "a confirm on a full page turns it";
    EXPECT_EQ(box.lines[4]->lastGlyph, static_cast<int16_t>(box.lines[4]->items.size()) - 1);
    EXPECT_EQ(advice.state, Scene::Running);
    h->input().buttons = SDL_BUTTON_LMASK;
    h->frame();
    EXPECT_TRUE(box.finished);
    h->frame();
    EXPECT_EQ(advice.state, Scene::FadingOut) << "the held button leaves from the last page";
}

TEST_F(Intro, EverySkipInputCutsTheLogosShort) {
    start(false);
    // A held mouse button ends the fade-in, the logo and the fade-out, one frame each.
    h->input().buttons = SDL_BUTTON_RMASK;
    h->frame();
    EXPECT_EQ(studio().state, Scene::Running);
    const int jingle = studio().jingleChannel;
    ASSERT_GE(jingle, 0);
    EXPECT_TRUE(Mix_Playing(jingle));
    h->frames(2);
    EXPECT_EQ(current(), kSecondLogoScene);
    EXPECT_FALSE(Mix_Playing(jingle)) << "leaving early stops the jingle too";
    EXPECT_EQ(framesUntil([&] { return current() == kMainScene; }), 3);
    h->input().buttons = 0;

    // Return, Escape and a quick click, once in each phase, end that phase in the same frame.
    for (int way : {0, 1, 2}) {
        SCOPED_TRACE(way);
        const auto press = [way] {
            if (way == 2)
                pushClick(SDL_BUTTON_LEFT);
            else
                pushKey(way == 0 ? SDL_SCANCODE_RETURN : SDL_SCANCODE_ESCAPE);
        };
        h->enter(kSecondLogoScene);
        h->frames(6);
        EXPECT_EQ(second().state, Scene::FadingIn);
        press();
        h->frame();
        EXPECT_EQ(second().state, Scene::Running);
        h->frame();
        EXPECT_EQ(second().state, Scene::Running) << "a press counts once";
        press();
        h->frame();
        EXPECT_EQ(second().state, Scene::FadingOut);
        press();
        h->frame();
        EXPECT_EQ(current(), kMainScene);
    }
}

TEST_F(Intro, TheHandOverHaltsOnlyTheJingleNeverTheMusic) {
    start(false);
    const int music = audio()->playMusicTrack("Sound/music/main_layer1.ogg", -1);
    ASSERT_GE(music, 0);
    // No channel free for the jingle: it is -1, and the hand-over must not halt channel -1 (every
    // channel, the music among them).
    std::vector<int> fillers;
    for (int ch; (ch = audio()->playSound("Sound/cursormove22.wav", -1, -1)) >= 0;)
        fillers.push_back(ch);
    ASSERT_FALSE(fillers.empty());
    h->input().buttons = SDL_BUTTON_LMASK;
    h->frame();
    EXPECT_EQ(studio().jingleChannel, -1);
    framesUntil([&] { return current() == kSecondLogoScene; });
    EXPECT_TRUE(Mix_Playing(music)) << "the music plays on";
    EXPECT_TRUE(Mix_Playing(fillers.front()));

    // A jingle that has ended leaves its channel to others: the hand-over leaves that sound alone.
    for (int ch : fillers)
        Mix_HaltChannel(ch);
    h->enter(kStudioLogoScene);
    h->frame();
    const int jingle = studio().jingleChannel;
    ASSERT_GE(jingle, 0);
    Mix_HaltChannel(jingle);
    ASSERT_EQ(audio()->playSound("Sound/cursorok22.wav", jingle, -1), jingle);
    framesUntil([&] { return current() == kSecondLogoScene; });
    EXPECT_TRUE(Mix_Playing(jingle)) << "another sound on the jingle's old channel";
    EXPECT_TRUE(Mix_Playing(music));
}

TEST_F(Intro, LogosAndAdviceDrawOnTheirOwnColours) {
    start(true);
    // The pointer low in the middle, out of the way of the text and the logos.
    h->input().mx = 640;
    h->input().my = 690;
    auto light = [](const Rgba& c) { return c[0] > 200 && c[1] > 200 && c[2] > 200; };
    auto& advice = *h->scene<SceneAdvice>(kAdviceScene);
    framesUntil([&] { return advice.textBox->finished; });
    EXPECT_EQ(GameHarness::pixel(2, 2), (Rgba{0, 0, 0, 255}));
    const int english = countPixels(30, 170, light);
    EXPECT_GT(english, 40) << "four lines of light text";
    EXPECT_EQ(countPixels(0, 30, light), 0) << "the page is centred";
    GameHarness::screenshot("advice_en");
    GameWide<GameTexts>::get()->changeLanguage(1);
    advice.entered = 0;
    framesUntil([&] { return advice.entered && advice.textBox->finished; });
    const int spanish = countPixels(30, 170, light);
    EXPECT_GT(spanish, 40);
    EXPECT_NE(spanish, english) << "another language, other words";
    GameHarness::screenshot("advice_sp");

    h->enter(kStudioLogoScene);
    framesUntil([&] { return studio().entered && studio().state == Scene::Running; });
    h->frame();
    EXPECT_EQ(GameHarness::pixel(2, 2), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(GameHarness::pixel(317, 197), (Rgba{255, 255, 255, 255}));
    // The logo sits in the middle: dark ink around the centre, white far from it.
    auto ink = [](const Rgba& c) { return c[0] < 80 && c[1] < 80 && c[2] < 80; };
    EXPECT_GT(countPixels(62, 138, ink), 30);
    EXPECT_EQ(countPixels(0, 60, ink), 0);
    GameHarness::screenshot("logo_studio");

    h->enter(kSecondLogoScene);
    framesUntil([&] { return second().entered && second().state == Scene::Running; });
    h->frame();
    const Rgba corner = GameHarness::pixel(2, 2);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0) << "cleared to colour 0";
    auto warm = [](const Rgba& c) { return c[0] > 200 && c[1] > 100 && c[2] < 120; };
    EXPECT_GT(countPixels(70, 130, warm), 30);
    EXPECT_EQ(countPixels(0, 60, warm), 0);
    GameHarness::screenshot("logo_second");
}
