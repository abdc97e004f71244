#include <cstdlib>
#include <gtest/gtest.h>

#include "GlFixture.h"
#include "RunningGame.h"
#include "base/FrameClock.h"
#include "opening/ScenePong.h"

namespace {
using Rgba = std::array<uint8_t, 4>;

int brightness(const Rgba& c) {
    return c[0] + c[1] + c[2];
}

class PongScene : public RunningGame {
  protected:
    // The paddle game made current the way a scene switch names it, running from the next frame.
    ScenePong& enterPong() {
        scenes->currentScene = 0;
        auto* pong = static_cast<ScenePong*>(scenes->scene(0));
        frame();
        return *pong;
    }
};
} // namespace

TEST_F(PongScene, TheMouseLightFollowsThePointerInLogicalPixels) {
    start(true);
    held->mx = 640;
    held->my = 360;
    ScenePong& pong = enterPong();
    EXPECT_STREQ(pong.className(), "ScenePong");
    frame();
    EXPECT_EQ(pong.state, Scene::FadingIn);
    // The window's middle is the logical screen's middle; the 3 x 3 square is centred on it.
    EXPECT_EQ(pong.lightSquare.x, 159);
    EXPECT_EQ(pong.lightSquare.y, 99);
    EXPECT_EQ(pong.lightSquare.w, 3);
    EXPECT_EQ(pong.lightSquare.h, 3);
    held->mx = 5000;
    held->my = -40;
    framesUntil([&] { return pong.state == Scene::Running; });
    frame();
    EXPECT_EQ(pong.lightSquare.x, 319) << "kept on the screen";
    EXPECT_EQ(pong.lightSquare.y, -1);
    held->mx = 30;
    held->my = 72;
    frame();
    EXPECT_EQ(pong.lightSquare.x, 6);
    EXPECT_EQ(pong.lightSquare.y, 19);
}

TEST_F(PongScene, ArrowsMoveThePaddleAndEscapeFadesOutAndEndsTheGame) {
    start(true);
    ScenePong& pong = enterPong();
    // 500 ms of fade-in: 32 frames of 16 ms, the first of them the one that entered it.
    EXPECT_EQ(framesUntil([&] { return pong.state == Scene::Running; }), 31);
    const int32_t y = pong.table.leftPaddle.y;
    held->keys[SDL_SCANCODE_UP] = 1;
    frame();
    frame();
    EXPECT_EQ(pong.table.leftPaddle.y, y - 2);
    held->keys[SDL_SCANCODE_UP] = 0;
    held->keys[SDL_SCANCODE_S] = 1; // WASD is on in the game
    frame();
    EXPECT_EQ(pong.table.leftPaddle.y, y - 1);
    held->keys[SDL_SCANCODE_S] = 0;

    pushKey(SDL_SCANCODE_ESCAPE);
    frame();
    EXPECT_EQ(pong.state, Scene::FadingOut);
    EXPECT_TRUE(audio->musicState().fadingOut);
    int frames = 1;
    while (frame() && frames < 100)
        ++frames;
    EXPECT_EQ(frames, 32) << "500 ms of fade-out, then the program ends";
    EXPECT_TRUE(scenes->quitRequested);
    EXPECT_EQ(scenes->currentScene, 0u) << "it switches nowhere";
}

TEST_F(PongScene, ABlockShadowsThePixelsBehindItFromTheLight) {
    start(true);
    ScenePong& pong = enterPong();
    Renderer* renderer = Renderer::instance();
    // One block 30..39 px right of a light at (160, 100), as tall as the light is high.
    pong.table.blocks = {{190, 94, 9, 12}};
    renderer->clearTarget(0xFF000000u, Renderer::GameScreen);
    pong.drawLightWithShadows(160, 100, 0xFFFFFFFFu);
    const int behind = brightness(GlFixture::gameScreenPixel(220, 100));
    const int mirror = brightness(GlFixture::gameScreenPixel(100, 100));
    const int beside = brightness(GlFixture::gameScreenPixel(160, 160));
    const int before = brightness(GlFixture::gameScreenPixel(180, 100));
    EXPECT_GT(mirror, 60);
    EXPECT_NEAR(beside, mirror, 12);
    EXPECT_LT(behind, mirror / 4) << "behind the block lies in its shadow";
    EXPECT_GT(before, mirror) << "between the light and the block it is lit";

    // A block above the light shades upwards: the mapping keeps y the right way round.
    pong.table.blocks = {{155, 60, 10, 8}};
    renderer->clearTarget(0xFF000000u, Renderer::GameScreen);
    pong.drawLightWithShadows(160, 100, 0xFFFFFFFFu);
    EXPECT_LT(brightness(GlFixture::gameScreenPixel(160, 45)),
              brightness(GlFixture::gameScreenPixel(160, 155)) / 4);

    // Half-size occluders on the map: the block stands half as far from the light,
    pong.table.blocks = {{190, 94, 9, 12}};
    pong.occluderScale[0] = pong.occluderScale[1] = 0.5f;
    renderer->clearTarget(0xFF000000u, Renderer::GameScreen);
    pong.drawLightWithShadows(160, 100, 0xFFFFFFFFu);
    EXPECT_LT(brightness(GlFixture::gameScreenPixel(182, 100)), mirror / 4);
    // and is half as tall: 20 degrees below the axis is lit, though the full-size block covers it.
    EXPECT_GT(brightness(GlFixture::gameScreenPixel(216, 120)), mirror * 3 / 4);
}

TEST_F(PongScene, TheSceneRendersPaddlesScoreAndLightsOverTheGrid) {
    start(true);
    held->mx = 1200; // the player's light at the right edge, away from the left paddle
    held->my = 640;
    std::srand(5);
    ScenePong& pong = enterPong();
    pong.table.rollBlocks();
    framesUntil([&] { return pong.state == Scene::Running; });
    pong.table.leftScore = 7;
    pong.table.rightScore = 12;
    frame();
    saveWindowShot("paddle.png");

    // The left paddle (9..10 x 91..109 after its re-centring) is light grey or brighter under lights.
    const Rgba paddle = GlFixture::gameScreenPixel(9, 100);
    EXPECT_GE(paddle[0], 230);
    EXPECT_GE(paddle[1], 230);
    EXPECT_GE(paddle[2], 230);
    // The score "7": its top bar from x = 80 at y = 1..3, and nothing left of it.
    EXPECT_GE(GlFixture::gameScreenPixel(85, 2)[1], 230);
    EXPECT_LT(brightness(GlFixture::gameScreenPixel(78, 2)), brightness(GlFixture::gameScreenPixel(85, 2)));
    // Lights and the grid make many colours; a dead frame would be one.
    int distinct = 0;
    Rgba previous{};
    for (int x = 0; x < 320; x += 7) {
        const Rgba c = GlFixture::gameScreenPixel(x, 150);
        distinct += c != previous;
        previous = c;
    }
    EXPECT_GT(distinct, 10);
}
