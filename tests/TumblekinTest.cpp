#include <gtest/gtest.h>

#include "GlFixture.h"
#include "LevelWorld.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "game/BulletManager.h"
#include "game/EntityObject.h"
#include "game/EntityTumblekin.h"
#include "game/LevelHud.h"
#include "game/SceneLevel.h"
#include "text/TextBox.h"

namespace {
using T = EntityTumblekin;

// Flat ground whose top row is `top` over the whole width.
void flatGround(LevelWorld& world, int top) {
    world.fill(0, top, world.level().width - 1, world.level().height - 1, LevelWorld::kGround);
}

void run(EntityTumblekin& creature, int frames, uint32_t ms = 16) {
    frameDeltaMs = ms;
    for (int i = 0; i < frames; ++i)
        creature.update();
}

std::unique_ptr<EntityTumblekin> follower(int x, int y, uint32_t state) {
    auto creature = std::make_unique<EntityTumblekin>(x, y);
    creature->state = state;
    return creature;
}
} // namespace

TEST(Tumblekin, ProbesClimbStepsUpToThreeAndWalkDownTwo) {
    LevelWorld world(200, 200);
    flatGround(world, 101);
    auto c = follower(50, 100, T::Walking);
    T::Probe flat = c->probe(1);
    EXPECT_TRUE(flat.can);
    EXPECT_EQ(flat.step, 0);
    // Rises of 1, 2, 3 pixels are climbed; 4 is a wall.
    for (int rise = 1; rise <= 4; ++rise) {
        world.fill(51, 0, 199, 199, 0);
        world.fill(51, 101 - rise, 199, 199, LevelWorld::kGround);
        const T::Probe up = c->probe(1);
        EXPECT_EQ(up.step, rise == 4 ? -4 : -rise) << "rise " << rise;
        EXPECT_EQ(up.can, rise < 4) << "rise " << rise;
    }
    // Drops of 1 and 2 are walked; 3 is a fall.
    for (int drop = 1; drop <= 3; ++drop) {
        world.fill(51, 0, 199, 199, 0);
        world.fill(51, 101 + drop, 199, 199, LevelWorld::kGround);
        const T::Probe down = c->probe(1);
        EXPECT_TRUE(down.can) << "drop " << drop;
        EXPECT_EQ(down.step, drop) << "drop " << drop;
    }
    // A ceiling too low for the body blocks even flat ground; the left probe sees the same.
    world.fill(0, 0, 199, 199, 0);
    flatGround(world, 101);
    world.fill(45, 94, 49, 96, LevelWorld::kGround);
    EXPECT_FALSE(c->probe(-1).can);
    EXPECT_TRUE(c->probe(1).can);
    // Outside the level counts as solid: the creature turns at the edges.
    auto edge = follower(199, 100, T::Walking);
    EXPECT_FALSE(edge->probe(1).can);
    auto left = follower(0, 100, T::Walking);
    EXPECT_FALSE(left->probe(-1).can);
}

TEST(Tumblekin, WalkingKeepsItsPaceAtAnyFrameRateAndFallsOffDrops) {
    LevelWorld world(400, 200);
    flatGround(world, 101);
    auto c = follower(50, 100, T::Walking);
    run(*c, 125, 16); // 2000 ms at 20 pixels a second
    EXPECT_GE(c->x, 89);
    EXPECT_LE(c->x, 90);
    EXPECT_EQ(c->y, 100);
    // A drop of 3 ahead: it falls.
    world.fill(c->x + 1, 101, c->x + 1, 101, 0);
    world.fill(c->x + 1, 101, 399, 103, 0);
    run(*c, 8, 16);
    EXPECT_EQ(c->state, T::Falling);
}

TEST(Tumblekin, FallsOfSixtySixSurviveAndSixtySevenKill) {
    LevelWorld world(200, 200);
    world.fill(0, 67, 99, 199, LevelWorld::kGround);    // feet land on row 66: a fall of 66
    world.fill(100, 68, 199, 199, LevelWorld::kGround); // feet land on row 67: a fall of 67
    auto survivor = follower(50, 0, T::Waiting);
    auto victim = follower(150, 0, T::Waiting);
    world.progress->creaturesTotal = world.progress->creaturesAlive = 2;
    for (int i = 0; i < 200; ++i) {
        frameDeltaMs = 16;
        survivor->update();
        victim->update();
    }
    EXPECT_EQ(survivor->y, 66);
    EXPECT_EQ(survivor->state == T::Standing || survivor->state == T::Walking, true);
    EXPECT_EQ(victim->y, 67);
    // Dying plays 16 frames of 60 ms, then it is dead and counted.
    EXPECT_EQ(victim->state, T::Dead);
    EXPECT_EQ(world.progress->creaturesOut, 1);
    EXPECT_EQ(world.progress->creaturesAlive, 1);
}

TEST(Tumblekin, TrappedFollowerCountsDownFiveToOneAndDiesAfterSevenSeconds) {
    LevelWorld world(200, 200);
    flatGround(world, 101);
    world.fill(45, 90, 49, 100, LevelWorld::kGround);
    world.fill(51, 90, 55, 100, LevelWorld::kGround);
    auto c = follower(50, 100, T::Standing);
    world.progress->creaturesTotal = world.progress->creaturesAlive = world.progress->creaturesOut = 1;
    run(*c, 125); // 2000 ms: not yet
    EXPECT_EQ(c->countdownVisible, 0);
    run(*c, 1); // 2016 ms
    EXPECT_EQ(c->countdownVisible, 1);
    EXPECT_EQ(c->countdownText->rawText, "5");
    run(*c, 187); // 5008 ms
    EXPECT_EQ(c->countdownText->rawText, "2");
    run(*c, 62); // 6000 ms
    EXPECT_EQ(c->countdownText->rawText, "2");
    run(*c, 1); // 6016 ms
    EXPECT_EQ(c->countdownText->rawText, "1");
    run(*c, 61); // 6992 ms
    EXPECT_EQ(c->state, T::Standing);
    run(*c, 1); // 7008 ms
    EXPECT_EQ(c->state, T::Dying);
    EXPECT_EQ(c->countdownVisible, 0);
    // Freed before the end, the count starts again.
    auto freed = follower(50, 100, T::Standing);
    run(*freed, 200);
    world.fill(51, 90, 55, 100, 0);
    run(*freed, 1);
    EXPECT_EQ(freed->state, T::Walking);
    EXPECT_EQ(freed->trappedClock, 0);
    EXPECT_EQ(freed->countdownVisible, 0);
}

TEST(Tumblekin, LeavingTheLevelOrLosingTheGroundEndsWalkingAndStanding) {
    LevelWorld world(200, 200);
    flatGround(world, 101);
    for (int x : {-1, 201}) {
        auto c = follower(x, 100, T::Walking);
        run(*c, 1);
        EXPECT_EQ(c->state, T::Dying) << x;
    }
    // Ground dug from under a standing follower: it falls, as the leader does.
    world.fill(45, 90, 49, 100, LevelWorld::kGround);
    world.fill(51, 90, 55, 100, LevelWorld::kGround);
    auto c = follower(50, 100, T::Standing);
    run(*c, 3);
    world.fill(50, 101, 50, 101, 0xFF000000u);
    run(*c, 1);
    EXPECT_EQ(c->state, T::Falling);
    EXPECT_EQ(c->fallStartY, 100);
}

TEST(Tumblekin, LeaderMovesOnlyWhileADirectionIsHeldAndItsDeathCountsNothing) {
    LevelWorld world(300, 200);
    flatGround(world, 101);
    auto leader = follower(100, 100, T::Standing);
    leader->isLeader = 1;
    world.progress->creaturesAlive = world.progress->creaturesOut = 5;
    world.input->directionsHeld = 0;
    run(*leader, 60);
    EXPECT_EQ(leader->x, 100);
    EXPECT_EQ(leader->state, T::Standing);
    world.input->directionsHeld = InputState::kLeft;
    run(*leader, 63);
    EXPECT_EQ(leader->state, T::Walking);
    EXPECT_EQ(leader->facingRight, 0);
    EXPECT_LT(leader->x, 100);
    world.input->directionsHeld = 0;
    run(*leader, 1);
    EXPECT_EQ(leader->state, T::Standing);
    const int stopped = leader->x;
    run(*leader, 30);
    EXPECT_EQ(leader->x, stopped);
    leader->x = -1;
    leader->state = T::Walking;
    world.input->directionsHeld = InputState::kLeft;
    run(*leader, 80);
    EXPECT_EQ(leader->state, T::Dead);
    EXPECT_EQ(world.progress->creaturesAlive, 5);
    EXPECT_EQ(world.progress->creaturesOut, 5);
}

TEST(Tumblekin, ColourComesFromTheFlagAndDoorEntryIsCounted) {
    LevelWorld world(200, 200);
    ResourceStore* store = GameWide<ResourceStore>::get();
    world.setPalette(1);
    store->putPixel(world.progress->flags[0].surface, 0, 0, 0xFF1464F0u); // red 240, green 100, blue 20
    auto c = follower(50, 100, T::Walking);
    EXPECT_EQ(c->tintRed, 180); // 240 x 0.75, at most 180
    EXPECT_EQ(c->tintGreen, 75);
    EXPECT_EQ(c->tintBlue, 15);
    c->state = T::Entering;
    c->animFrame = 0;
    run(*c, 40, 16); // 8 frames of 60 ms
    EXPECT_EQ(c->state, T::Saved);
    EXPECT_EQ(c->hidden, 1);
    EXPECT_EQ(world.progress->creaturesSaved, 1);
}

TEST(Entity, BoundsLightsChildrenAndFade) {
    GlFixture::get();
    Entity a(Entity::kNoImage, 10, 10, 0, 0);
    EXPECT_EQ(a.texture, -1);
    EXPECT_EQ(a.lightsTexture, -1);
    EXPECT_EQ(Entity::lightsPathFor("Assets/graphics/door.png"), "Assets/graphics/door_lights.png");
    EXPECT_EQ(Entity::lightsPathFor("abc"), "abc_lights.png");
    // Rectangles sharing only an edge do not intersect.
    EXPECT_FALSE(a.intersects({10, 0, 5, 5}));
    EXPECT_FALSE(a.intersects({0, 10, 5, 5}));
    EXPECT_TRUE(a.intersects({9, 9, 5, 5}));
    Entity child(Entity::kNoImage, 4, 4, 0, 0);
    a.addChild(&child);
    EXPECT_EQ(child.parent, &a);
    child.setActive(false);
    EXPECT_TRUE(a.children.empty());
    EXPECT_EQ(child.parent, nullptr);
    a.alpha = 250;
    frameDeltaMs = 16;
    a.update();
    EXPECT_EQ(a.alpha, 255);
    a.update();
    EXPECT_EQ(a.alpha, 255);
    // No texture: no frames; one step leaves a one-shot strip at -1 and a looping one at 0.
    EntityObject once(Entity::kNoImage, 10, 10, 0, 0);
    once.loop = 0;
    once.frameMs = 10;
    once.update();
    EXPECT_EQ(once.frameCount, 0);
    EXPECT_EQ(once.frame, -1);
    EXPECT_EQ(once.playing, 0);
    EntityObject looping(Entity::kNoImage, 10, 10, 0, 0);
    looping.frameMs = 10;
    looping.update();
    EXPECT_EQ(looping.frame, 0);
}

TEST(SceneLevelAlone, GoalTextNeedsALevelAndTheBulletPoolHoldsTwentyIdleBullets) {
    GlFixture::get();
    ProgressRecord progress;
    GameWide<ProgressRecord>::set(&progress);
    SceneLevel scene;
    scene.hud->goalBox->setRawText("before", 0, 0);
    scene.refreshGoalText();
    EXPECT_EQ(scene.hud->goalBox->rawText, "before");
    LevelInfo level;
    level.goalPercent = 7;
    progress.levels.push_back(level);
    scene.refreshGoalText();
    EXPECT_NE(scene.hud->goalBox->rawText.find("07%"), std::string::npos);
    GameWide<ProgressRecord>::set(nullptr);
    BulletManager pool;
    ASSERT_EQ(pool.bullets.size(), 20u);
    EXPECT_TRUE(pool.isKindOf(2));
    EXPECT_EQ(pool.bullets[0].active, 0);
    EXPECT_EQ(pool.bullets[19].lifetimeMs, 5000u);
    EXPECT_EQ(pool.bullets[19].boundsWidth, 16);
    EXPECT_EQ(pool.bullets[0].texture, -1);
    EXPECT_TRUE(pool.bullets[0].isKindOf(15));
    EXPECT_EQ(LevelHud::clockText(61999), "01:01");
    EXPECT_EQ(LevelHud::clockText(-5), "00:00");
}
