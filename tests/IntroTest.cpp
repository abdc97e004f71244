#include <SDL.h>
#include <SDL_mixer.h>
#include <array>
#include <gtest/gtest.h>

#include "RunningGame.h"
#include "TestSupport.h"
#include "audio/AudioSystem.h"
#include "base/FrameClock.h"
#include "core/Game.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/MainLoop.h"
#include "opening/SceneAdvice.h"
#include "opening/SceneLogoBrightfall.h"
#include "opening/SceneLogoQuillon.h"
#include "core/SceneManager.h"
#include "render/Renderer.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"

namespace {
int brightness(const std::array<uint8_t, 4>& c) {
    return c[0] + c[1] + c[2];
}

class Intro : public RunningGame {
  protected:
    SceneLogoQuillon* studio() const { return static_cast<SceneLogoQuillon*>(scenes->scene(4)); }
};
} // namespace

TEST_F(Intro, LaterRunsShowBothLogosForTheirTimesThenTheMenu) {
    start(true);
    ASSERT_EQ(scenes->currentScene, 4u);
    EXPECT_STREQ(current()->className(), "SceneLogoQuillon");
    EXPECT_STREQ(scenes->scene(5)->className(), "SceneLogoBrightfall");
    EXPECT_GE(studio()->logoTexture, 0);
    EXPECT_GE(static_cast<SceneLogo*>(scenes->scene(5))->logoTexture, 0);
    EXPECT_EQ(studio()->jingleChannel, -1);

    // 500 ms of fade-in: 32 frames of 16 ms, since 31 give only 496.
    EXPECT_EQ(framesUntil([&] { return studio()->state == Scene::Running; }), 32);
    const int jingle = studio()->jingleChannel;
    ASSERT_GE(jingle, 0) << "the jingle starts when the logo is shown";
    EXPECT_EQ(audio->channelState(jingle).soundName, "Sound/intro_2.ogg");
    EXPECT_TRUE(Mix_Playing(jingle));
    // 187 frames make 2992 ms, short of 3001: the 188th starts the fade-out.
    EXPECT_EQ(framesUntil([&] { return studio()->state == Scene::FadingOut; }), 188);
    EXPECT_EQ(studio()->shownTime, 3008);
    EXPECT_EQ(framesUntil([&] { return scenes->currentScene != 4; }), 32);
    EXPECT_EQ(scenes->currentScene, 5u);
    EXPECT_EQ(scenes->previousScene, 4u);

    // The second logo: 1000 ms fades, 63 frames each way.
    Scene* second = scenes->scene(5);
    EXPECT_EQ(framesUntil([&] { return second->entered && second->state == Scene::Running; }), 63);
    EXPECT_EQ(framesUntil([&] { return second->state == Scene::FadingOut; }), 188);
    EXPECT_EQ(framesUntil([&] { return scenes->currentScene != 5; }), 63);
    EXPECT_EQ(scenes->currentScene, 6u);
    EXPECT_EQ(scenes->previousScene, 5u);
}

TEST_F(Intro, FirstRunAdviceTurnsPagesOnConfirmAndLeadsToTheStudioLogo) {
    start(false);
    ASSERT_EQ(scenes->currentScene, 3u);
    auto* advice = static_cast<SceneAdvice*>(current());
    EXPECT_EQ(advice->adviceKey, "INTRO_ALERT");
    EXPECT_EQ(advice->adviceNext, 4u);
    TextBox& box = *advice->textBox;
    ASSERT_EQ(box.lineCount, 4);
    // Delay 0 shows the whole page at once, before a single frame has run.
    for (const auto& line : box.lines)
        EXPECT_EQ(line->lastGlyph, static_cast<int16_t>(line->items.size()) - 1);
    EXPECT_EQ(framesUntil([&] { return advice->state == Scene::Running; }), 13);

    // Accept while the box still counts its lines changes nothing.
    frame();
    pushKey(SDL_SCANCODE_RETURN);
    frame();
    EXPECT_EQ(advice->state, Scene::Running);
    EXPECT_FALSE(box.finished);
    // The box counts one line a frame: four lines, four running frames.
    frame();
    frame();
    EXPECT_TRUE(box.finished);
    EXPECT_TRUE(box.pageFull);
    EXPECT_EQ(advice->state, Scene::Running) << "it waits for the player";
    for (int i = 0; i < 50; ++i)
        frame();
    EXPECT_EQ(advice->state, Scene::Running);
    // Back is no confirm here.
    pushKey(SDL_SCANCODE_ESCAPE);
    frame();
    EXPECT_EQ(advice->state, Scene::Running);

    pushClick(SDL_BUTTON_LEFT); // a tap between two frames confirms as well
    frame();
    EXPECT_EQ(advice->state, Scene::FadingOut);
    EXPECT_EQ(framesUntil([&] { return scenes->currentScene != 3; }), 13);
    EXPECT_EQ(scenes->currentScene, 4u);
    EXPECT_EQ(scenes->previousScene, 3u);
    frame();
    EXPECT_TRUE(studio()->entered);
    EXPECT_EQ(studio()->state, Scene::FadingIn);
}

TEST_F(Intro, ALongAdviceShowsEachPageWholeAndConfirmsTurnThem) {
    start(false);
    auto* advice = static_cast<SceneAdvice*>(current());
    TextBox& box = *advice->textBox;
    // Six lines: two pages of four. Entered again with the new text.
    box.rawText = "A|B|AB|BA|1|11";
    advice->adviceKey = "raw";
    advice->entered = 0;
    framesUntil([&] { return advice->entered && advice->state == Scene::Running; });
    ASSERT_EQ(box.lineCount, 6);
    frame();
    frame();
    frame();
    EXPECT_FALSE(box.pageFull);
    frame();
    EXPECT_TRUE(box.pageFull);
    EXPECT_FALSE(box.finished);
    EXPECT_EQ(box.pageStart, 0);
    pushKey(SDL_SCANCODE_RETURN);
    frame();
    EXPECT_EQ(box.pageStart, 4) << "a confirm on a full page turns it";
    EXPECT_EQ(box.lines[4]->lastGlyph, static_cast<int16_t>(box.lines[4]->items.size()) - 1);
    EXPECT_EQ(advice->state, Scene::Running);
    held->buttons = SDL_BUTTON_LMASK;
    frame();
    EXPECT_TRUE(box.finished);
    frame();
    EXPECT_EQ(advice->state, Scene::FadingOut) << "the held button leaves from the last page";
    EXPECT_EQ(framesUntil([&] { return scenes->currentScene == 4; }), 13);
}

TEST_F(Intro, EverySkipInputCutsTheLogosShort) {
    start(true);
    // A held mouse button ends the fade-in, the logo and the fade-out, one frame each.
    held->buttons = SDL_BUTTON_RMASK;
    frame();
    EXPECT_EQ(studio()->state, Scene::Running);
    const int jingle = studio()->jingleChannel;
    ASSERT_GE(jingle, 0);
    EXPECT_TRUE(Mix_Playing(jingle));
    frame();
    EXPECT_EQ(studio()->state, Scene::FadingOut);
    frame();
    EXPECT_EQ(scenes->currentScene, 5u);
    EXPECT_FALSE(Mix_Playing(jingle)) << "leaving early stops the jingle too";
    EXPECT_EQ(framesUntil([&] { return scenes->currentScene == 6; }), 3);
    held->buttons = 0;

    // Return, Escape and a quick click, once in each phase, end that phase in the same frame.
    const auto press = [](int which) {
        if (which == 2)
            pushClick(SDL_BUTTON_LEFT);
        else
            pushKey(which == 0 ? SDL_SCANCODE_RETURN : SDL_SCANCODE_ESCAPE);
    };
    for (int key : {0, 1, 2}) {
        scenes->currentScene = 5;
        Scene* logo = scenes->scene(5);
        frame();
        ASSERT_TRUE(logo->entered);
        for (int i = 0; i < 5; ++i)
            frame();
        EXPECT_EQ(logo->state, Scene::FadingIn);
        press(key);
        frame();
        EXPECT_EQ(logo->state, Scene::Running) << key;
        frame();
        EXPECT_EQ(logo->state, Scene::Running) << "a press counts once";
        press(key);
        frame();
        EXPECT_EQ(logo->state, Scene::FadingOut) << key;
        frame();
        EXPECT_EQ(scenes->currentScene, 5u);
        press(key);
        frame();
        EXPECT_EQ(scenes->currentScene, 6u) << key;
    }
}

TEST_F(Intro, TheHandOverHaltsOnlyTheJingleNeverTheMusic) {
    start(true);
    const int music = audio->playMusicTrack("Sound/music/main_layer1.ogg", -1);
    ASSERT_GE(music, 0);
    held->buttons = SDL_BUTTON_LMASK;
    framesUntil([&] { return scenes->currentScene == 5; });
    EXPECT_TRUE(Mix_Playing(music));
    EXPECT_TRUE(audio->channelState(music).isMusic);

    // No channel free for the jingle: it is -1, and the hand-over must not halt channel -1 (every
    // channel, the music among them).
    held->buttons = 0;
    std::vector<int> fillers;
    for (int ch; (ch = audio->playSound("Sound/cursormove22.wav", -1, -1)) >= 0;)
        fillers.push_back(ch);
    ASSERT_FALSE(fillers.empty());
    scenes->currentScene = 4;
    studio()->entered = 0;
    held->buttons = SDL_BUTTON_LMASK;
    frame();
    EXPECT_EQ(studio()->jingleChannel, -1);
    framesUntil([&] { return scenes->currentScene == 5; });
    EXPECT_EQ(scenes->currentScene, 5u);
    EXPECT_TRUE(Mix_Playing(music)) << "the music plays on";
    EXPECT_TRUE(Mix_Playing(fillers.front()));

    // A jingle that has ended leaves its channel to others: the hand-over leaves that sound alone.
    for (int ch : fillers)
        Mix_HaltChannel(ch);
    held->buttons = 0;
    scenes->currentScene = 4;
    studio()->entered = 0;
    held->buttons = SDL_BUTTON_LMASK;
    frame();
    const int jingle = studio()->jingleChannel;
    ASSERT_GE(jingle, 0);
    Mix_HaltChannel(jingle);
    ASSERT_EQ(audio->playSound("Sound/cursorok22.wav", jingle, -1), jingle);
    framesUntil([&] { return scenes->currentScene == 5; });
    EXPECT_TRUE(Mix_Playing(jingle)) << "another sound on the jingle's old channel";
    EXPECT_TRUE(Mix_Playing(music));
}

TEST_F(Intro, TheCloseButtonEndsTheGameFromEveryIntroScene) {
    start(false);
    for (uint32_t number : {3u, 4u, 5u}) {
        scenes->quitRequested = 0;
        scenes->currentScene = number;
        Scene* scene = current();
        // Running at once: the fades do not look at the input.
        scene->entered = 0;
        scene->fadeInOnEnter = 0;
        frame();
        frame();
        ASSERT_TRUE(scene->entered);
        pushQuit();
        EXPECT_FALSE(frame()) << number;
        EXPECT_TRUE(scenes->quitRequested);
        EXPECT_FALSE(scene->entered) << number << " leaves itself";
    }
}

TEST_F(Intro, LogosAndAdviceDrawOnTheirOwnColours) {
    start(false);
    // The pointer stands low in the middle, out of the way of the text and the logos.
    held->mx = 640;
    held->my = 690;
    using Rgba = std::array<uint8_t, 4>;
    auto countPixels = [](int y0, int y1, auto pick) {
        int n = 0;
        for (int y = y0; y < y1; y += 2)
            for (int x = 0; x < 320; x += 2)
                n += pick(GlFixture::gameScreenPixel(x, y)) ? 1 : 0;
        return n;
    };
    auto light = [](const Rgba& c) { return c[0] > 200 && c[1] > 200 && c[2] > 200; };
    auto advice = static_cast<SceneAdvice*>(current());
    framesUntil([&] { return advice->textBox->finished; });
    EXPECT_EQ(GlFixture::gameScreenPixel(2, 2), (Rgba{0, 0, 0, 255}));
    const int english = countPixels(30, 170, light);
    EXPECT_GT(english, 40) << "four lines of light text";
    EXPECT_EQ(countPixels(0, 30, light), 0) << "the page is centred";
    saveWindowShot("advice_en.png");

    GameWide<GameTexts>::get()->changeLanguage(1);
    advice->entered = 0;
    framesUntil([&] { return advice->entered && advice->textBox->finished; });
    const int spanish = countPixels(30, 170, light);
    EXPECT_GT(spanish, 40);
    EXPECT_NE(spanish, english) << "another language, other words";
    saveWindowShot("advice_sp.png");

    scenes->currentScene = 4;
    framesUntil([&] { return studio()->entered && studio()->state == Scene::Running; });
    frame();
    EXPECT_EQ(GlFixture::gameScreenPixel(2, 2), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(GlFixture::gameScreenPixel(317, 197), (Rgba{255, 255, 255, 255}));
    // The logo sits in the middle: dark ink around the centre, white far from it.
    auto ink = [](const Rgba& c) { return c[0] < 80 && c[1] < 80 && c[2] < 80; };
    EXPECT_GT(countPixels(62, 138, ink), 30);
    EXPECT_EQ(countPixels(0, 60, ink), 0);
    saveWindowShot("logo_studio.png");

    scenes->currentScene = 5;
    Scene* second = scenes->scene(5);
    framesUntil([&] { return second->entered && second->state == Scene::Running; });
    frame();
    const Rgba corner = GlFixture::gameScreenPixel(2, 2);
    EXPECT_EQ(brightness(corner), 0) << "cleared to colour 0";
    auto warm = [](const Rgba& c) { return c[0] > 200 && c[1] > 100 && c[2] < 120; };
    EXPECT_GT(countPixels(70, 130, warm), 30);
    EXPECT_EQ(countPixels(0, 60, warm), 0);
    saveWindowShot("logo_second.png");
}
