#include <array>
#include <gtest/gtest.h>
#include <tuple>

#include "LevelWorld.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "game/EntityObject.h"
#include "game/LevelHud.h"
#include "game/SceneLevel.h"
#include "text/TextBox.h"

namespace {
using T = EntityTumblekin;

void run(EntityTumblekin& creature, int frames, uint32_t ms = 16) {
    frameDeltaMs = ms;
    for (int i = 0; i < frames; ++i)
        creature.update();
}

// Ground from row 101 down, so a creature at y 100 stands on it; `walls` boxes it in at x 50.
struct Flat : LevelWorld {
    explicit Flat(int width = 200, bool walls = false) : LevelWorld(width, 200) {
        fill(0, 101, width - 1, 199, kGround);
        if (walls) fill(45, 90, 49, 100, kGround), fill(51, 90, 55, 100, kGround);
    }
};
} // namespace

TEST(Tumblekin, ProbesClimbUpToThreeWalkDownTwoAndFallFromThree) {
    const struct {
        int groundTop; // of the columns right of the creature
        bool can;
        int step;
    } cases[] = {{101, true, 0},  {100, true, -1}, {99, true, -2}, {98, true, -3},
                 {97, false, -4}, {102, true, 1},  {103, true, 2}, {104, true, 3}};
    for (const auto& c : cases) {
        LevelWorld world(200, 200);
        world.fill(0, 101, 50, 199, LevelWorld::kGround);
        world.fill(51, c.groundTop, 199, 199, LevelWorld::kGround);
        const T::Probe p = world.creature(50, 100, T::Walking)->probe(1);
        EXPECT_EQ(std::tuple(p.can, p.step), std::tuple(c.can, c.step)) << c.groundTop;
    }
    // A ceiling too low for the body blocks flat ground; outside the level counts as solid.
    Flat world;
    world.fill(45, 94, 49, 96, LevelWorld::kGround);
    for (auto [x, direction, can] : {std::array{50, -1, 0}, {50, 1, 1}, {199, 1, 0}, {0, -1, 0}})
        EXPECT_EQ(world.creature(x, 100, T::Walking)->probe(direction).can, can) << x << " " << direction;
}

TEST(Tumblekin, WalkingKeepsItsPaceDiesOffTheLevelAndFallsOffDropsOrDugGround) {
    Flat world(400);
    auto c = world.creature(50, 100, T::Walking);
    run(*c, 125, 16); // 2000 ms at 20 pixels a second
    EXPECT_TRUE((c->x == 89 || c->x == 90) && c->y == 100) << c->x << "," << c->y;
    world.fill(c->x + 1, 101, 399, 103, 0); // a drop of 3 ahead
    run(*c, 8, 16);
    EXPECT_EQ(c->state, T::Falling);
    for (int x : {-1, 401}) {
        auto out = world.creature(x, 100, T::Walking);
        run(*out, 1);
        EXPECT_EQ(out->state, T::Dying) << x;
    }
    // Ground dug from under a boxed-in standing follower: it falls, as the leader does.
    Flat boxed(200, true);
    auto standing = boxed.creature(50, 100, T::Standing);
    run(*standing, 3);
    boxed.fill(50, 101, 50, 101, 0xFF000000u);
    run(*standing, 1);
    EXPECT_EQ(std::tuple(standing->state, standing->fallStartY), std::tuple(T::Falling, 100));
}

TEST(Tumblekin, FallsOfSixtySixSurviveAndSixtySevenKill) {
    LevelWorld world(200, 200);
    world.fill(0, 67, 99, 199, LevelWorld::kGround);    // feet land on row 66: a fall of 66
    world.fill(100, 68, 199, 199, LevelWorld::kGround); // feet land on row 67: a fall of 67
    auto survivor = world.creature(50, 0, T::Waiting), victim = world.creature(150, 0, T::Waiting);
    world.progress.creaturesTotal = world.progress.creaturesAlive = 2;
    for (int i = 0; i < 200; ++i)
        run(*survivor, 1), run(*victim, 1);
    EXPECT_TRUE(survivor->y == 66 && (survivor->state == T::Standing || survivor->state == T::Walking))
        << survivor->y << " " << survivor->state;
    // Dying plays 16 frames of 60 ms, then the creature is dead and counted.
    EXPECT_EQ(std::tuple(victim->y, victim->state), std::tuple(67, T::Dead));
    EXPECT_EQ(std::tuple(world.progress.creaturesOut, world.progress.creaturesAlive), std::tuple(1, 1));
}

TEST(Tumblekin, TrappedFollowerCountsDownFiveToOneAndDiesAfterSevenSeconds) {
    Flat world(200, true);
    auto c = world.creature(50, 100, T::Standing);
    // Frames of 16 ms run, then the digit shown (none when empty) and the state.
    for (auto [frames, digit, state] : {std::tuple{125, "", T::Standing},
                                        {1, "5", T::Standing},
                                        {187, "2", T::Standing},
                                        {62, "2", T::Standing},
                                        {1, "1", T::Standing},
                                        {61, "1", T::Standing},
                                        {1, "", T::Dying}}) {
        run(*c, frames);
        EXPECT_EQ(std::tuple(c->state, c->countdownVisible, *digit ? c->countdownText->rawText : ""),
                  std::tuple(uint32_t(state), uint8_t(*digit ? 1 : 0), std::string(digit)))
            << frames;
    }
    // Freed before the end, the count starts again.
    auto freed = world.creature(50, 100, T::Standing);
    run(*freed, 200);
    world.fill(51, 90, 55, 100, 0);
    run(*freed, 1);
    EXPECT_EQ(std::tuple(freed->state, freed->trappedClock, freed->countdownVisible),
              std::tuple(T::Walking, 0, 0));
}

TEST(Tumblekin, LeaderMovesOnlyWhileADirectionIsHeldAndItsDeathCountsNothing) {
    Flat world(300);
    auto leader = world.creature(100, 100, T::Standing);
    leader->isLeader = 1;
    world.progress.creaturesAlive = world.progress.creaturesOut = 5;
    run(*leader, 60);
    EXPECT_EQ(std::tuple(leader->x, leader->state), std::tuple(100, T::Standing));
    world.input.directionsHeld = InputState::kLeft;
    run(*leader, 63);
    EXPECT_TRUE(leader->state == T::Walking && !leader->facingRight && leader->x < 100);
    world.input.directionsHeld = 0;
    run(*leader, 1);
    const int stopped = leader->x;
    run(*leader, 30);
    EXPECT_EQ(std::tuple(leader->x, leader->state), std::tuple(stopped, T::Standing));
    leader->x = -1;
    leader->state = T::Walking;
    world.input.directionsHeld = InputState::kLeft;
    run(*leader, 80);
    EXPECT_EQ(leader->state, T::Dead);
    EXPECT_EQ(std::tuple(world.progress.creaturesAlive, world.progress.creaturesOut), std::tuple(5, 5));
}

TEST(Tumblekin, ColourComesFromTheFlagAndDoorEntryIsCounted) {
    LevelWorld world(200, 200);
    world.surface(1, 1, 0xFF1464F0u, true); // red 240, green 100, blue 20
    auto c = world.creature(50, 100, T::Entering);
    // Three quarters of each channel, at most 180.
    EXPECT_EQ(std::tuple(c->tintRed, c->tintGreen, c->tintBlue), std::tuple(180, 75, 15));
    run(*c, 40, 16); // 8 frames of 60 ms
    EXPECT_EQ(std::tuple(c->state, c->hidden, world.progress.creaturesSaved), std::tuple(T::Saved, 1, 1));
}

TEST(Entity, BoundsLightsChildrenAndFade) {
    Entity a(Entity::kNoImage, 10, 10, 0, 0), child(Entity::kNoImage, 4, 4, 0, 0);
    EXPECT_EQ(Entity::lightsPathFor("Assets/graphics/door.png") + Entity::lightsPathFor("abc"),
              "Assets/graphics/door_lights.pngabc_lights.png");
    // Rectangles sharing only an edge do not intersect.
    EXPECT_EQ(
        std::tuple(a.intersects({10, 0, 5, 5}), a.intersects({0, 10, 5, 5}), a.intersects({9, 9, 5, 5})),
        std::tuple(false, false, true));
    a.addChild(&child);
    child.setActive(false);
    EXPECT_EQ(std::tuple(a.children.size(), child.parent), std::tuple(0u, nullptr));
    a.alpha = 250;
    frameDeltaMs = 16;
    a.update();
    EXPECT_EQ(a.alpha, 255);
    // No texture: no frames; one step leaves a one-shot strip at -1 and a looping one at 0.
    EntityObject once(Entity::kNoImage, 10, 10, 0, 0), looping(Entity::kNoImage, 10, 10, 0, 0);
    once.loop = 0;
    once.frameMs = looping.frameMs = 10;
    once.update();
    looping.update();
    EXPECT_EQ(std::tuple(once.frame, once.playing, looping.frame), std::tuple(-1, 0, 0));
}

TEST(SceneLevelAlone, GoalTextNeedsALevelAndTheClockReadsMinutesAndSeconds) {
    ProgressRecord progress;
    GameWide<ProgressRecord>::set(&progress);
    SceneLevel scene;
    scene.hud->goalBox->setRawText("before", 0, 0);
    scene.refreshGoalText();
    EXPECT_EQ(scene.hud->goalBox->rawText, "before");
    progress.levels.push_back(LevelInfo{});
    progress.levels[0].goalPercent = 7;
    scene.refreshGoalText();
    EXPECT_NE(scene.hud->goalBox->rawText.find("07%"), std::string::npos);
    GameWide<ProgressRecord>::set(nullptr);
    EXPECT_EQ(LevelHud::clockText(61999) + LevelHud::clockText(-5), "01:0100:00");
}
