#include "game/SceneLevel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "assets/StringHelpers.h"
#include "audio/AudioSystem.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "core/SceneManager.h"
#include "game/EntityObject.h"
#include "game/EntityTumblekin.h"
#include "game/LevelHud.h"
#include "game/Terrain.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "render/ResourceStore.h"
#include "text/TextBox.h"

namespace {
ProgressRecord* progress() {
    return GameWide<ProgressRecord>::get();
}
ResourceStore* store() {
    return GameWide<ResourceStore>::get();
}
AudioSystem* audio() {
    return GameWide<AudioSystem>::get();
}

ClipRect wholeTexture(int32_t texture) {
    const ResourceStore* resources = store();
    const TextureRecord* record = resources ? resources->texture(texture) : nullptr;
    if (!record) return {};
    return {0, 0, static_cast<uint16_t>(record->width), static_cast<uint16_t>(record->height)};
}

int32_t percentOf(int32_t part, int32_t whole) {
    return whole > 0 ? static_cast<int32_t>(static_cast<int64_t>(part) * 100 / whole) : 0;
}

// A ring of the fonts' dark band one pixel round the text: the creatures paint the ground in any
// flag's colours, white and yellow among them, and a shadow on one side is lost on those.
void drawOutline(TextBox& box) {
    constexpr uint8_t kInkBand = 1;
    for (int16_t dy = -1; dy <= 1; ++dy)
        for (int16_t dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) box.drawInBand(kInkBand, dx, dy);
}
} // namespace

SceneLevel::SceneLevel() {
    fadeInDuration = 1000;
    fadeOutDuration = 2000;
    hud = std::make_unique<LevelHud>(logicalWidth, logicalHeight);
    messageBox = std::make_unique<TextBox>(0, 0);
    if (ResourceStore* resources = store()) {
        brushSurface = resources->surfaces().getOrLoad("Assets/graphics/brush.png");
        resources->surfaces().convertToRgba(brushSurface);
        if (const ImageData* brush = resources->surfaces().get(brushSurface)) {
            brushWidth = static_cast<uint16_t>(brush->width());
            brushHeight = static_cast<uint16_t>(brush->height());
        }
        actionPointerTexture = resources->getOrLoadTexture("Assets/hud/mouseaction.png");
    }
}

SceneLevel::~SceneLevel() = default;

void SceneLevel::load() {
    Scene::load();
    mouseEnabled = 1;
    pauseAllowed = 1;
    if (ResourceStore* resources = store()) {
        loadingTexture = resources->getOrLoadTexture("Assets/gui/loading.png");
        loadingClip = wholeTexture(loadingTexture);
    }
}

void SceneLevel::refreshGoalText() {
    ProgressRecord* record = progress();
    const LevelInfo* level = record ? record->currentLevelInfo() : nullptr;
    if (level) hud->setGoal(level->goalPercent);
}

void SceneLevel::enter() {
    setButtonTips(2);
    state = fadeInOnEnter ? FadingIn : Running;
    switchRequested = 0;
    entered = 1;
    fadeInClock = 0;
    if (InputState* input = GameWide<InputState>::get()) input->stopRumble();
    fadeInDuration = 1000;
    fadeOutDuration = 2000;
    pauseAllowed = 1;
    ProgressRecord* record = progress();
    if (!fadeInOnEnter) {
        if (record && record->levelTimer.paused()) record->levelTimer.resume();
        if (phaseTimer.paused()) phaseTimer.resume();
    } else {
        setUp();
    }
    if (InputState* input = GameWide<InputState>::get()) {
        input->inputLockEnabled = 0;
        input->inputLockMs = 150;
    }
    pauseLatch = 0;
    if (AudioSystem* sound = audio()) sound->resumeEffects();
}

void SceneLevel::setUp() {
    ProgressRecord* record = progress();
    ResourceStore* resources = store();
    refreshGoalText();
    fadeInClock = -1;
    fadeOutClock = 0;
    flagIndex = record ? static_cast<int32_t>(record->currentFlag) : -1;
    flag = record ? record->currentFlagInfo() : nullptr;
    flagClip = flag ? ClipRect{0, 0, Flag::kShownWidth, Flag::kShownHeight} : ClipRect{};
    levelIndex = record ? static_cast<int32_t>(record->currentLevel) : -1;
    levelInfo = record ? record->currentLevelInfo() : nullptr;
    levelClip = levelInfo ? ClipRect{0, 0, levelInfo->width, levelInfo->height} : ClipRect{};
    const ImageData* stamp =
        resources && levelInfo ? resources->surfaces().get(levelInfo->stampSurface) : nullptr;
    stampClip =
        stamp ? ClipRect{0, 0, static_cast<uint16_t>(stamp->width()), static_cast<uint16_t>(stamp->height())}
              : ClipRect{};

    if (record && resources) {
        terrain = std::make_unique<Terrain>(*record, resources->surfaces());
        terrain->setSurfaces(levelInfo ? levelInfo->stampSurface : -1, flag ? flag->surface : -1,
                             brushSurface);
        terrain->audio = audio();
        record->paintedPixels = 0;
        record->paintedPercent = 0;
        record->paintablePixels =
            Terrain::countPaintable(resources->surfaces().get(record->terrainSurface),
                                    levelInfo ? levelInfo->width : 0, levelInfo ? levelInfo->height : 0);
    } else {
        terrain.reset();
    }
    fadeInClock = -1;
    drawFadeInCurtain();

    const int32_t startX = levelInfo ? levelInfo->startX : 0, startY = levelInfo ? levelInfo->startY : 0;
    // The creatures read the counters and the terrain they are handed, never the registry; with no
    // store (never in the game) they see no terrain, fall and die.
    static const SurfaceStore kNoSurfaces;
    const SurfaceStore& surfaces = resources ? resources->surfaces() : kNoSurfaces;
    leader.reset();
    followers.clear();
    if (record) {
        leader = std::make_unique<EntityTumblekin>(*record, surfaces, startX, startY);
        leader->isLeader = 1;
        const int32_t count = std::max(0, record->creaturesTotal);
        const int32_t interval = levelInfo ? levelInfo->spawnIntervalMs : 0;
        for (int32_t i = 0; i < count; ++i) {
            auto follower = std::make_unique<EntityTumblekin>(*record, surfaces, startX, startY);
            follower->spawnDelayMs = i * interval + static_cast<int32_t>(kFirstSpawnMs);
            follower->leader = leader.get();
            followers.push_back(std::move(follower));
        }
    }
    entryDoor = std::make_unique<EntityObject>("Assets/graphics/door.png", 43, 25, startX - 21, startY - 18);
    entryDoor->loop = 0;
    entryDoor->frameMs = 100;
    const int32_t exitX = levelInfo ? levelInfo->exitX : 0, exitY = levelInfo ? levelInfo->exitY : 0;
    exitDoor = std::make_unique<EntityObject>("Assets/graphics/outdoor.png", 40, 24, exitX - 20, exitY - 24);
    exitDoor->loop = 1;
    exitDoor->frameMs = 100;
    if (exitHasRows(2)) exitDoor->frameY = 24;
    exitLabel = std::make_unique<TextBox>(1, 0);
    setExitLabel("Closed");
    exitZone = {exitX - 2, exitY - 2, 4, 4};

    camera = std::make_unique<CameraMouse>();
    camera->levelWidth = levelInfo ? levelInfo->width : 0;
    camera->levelHeight = levelInfo ? levelInfo->height : 0;
    camera->viewWidth = logicalWidth;
    camera->viewHeight = logicalHeight;
    camera->pointerX = &mouseX;
    camera->pointerY = &mouseY;
    camera->placeOn(startX, startY);
    view = {camera->viewX, camera->viewY, camera->viewWidth, camera->viewHeight};

    if (AudioSystem* sound = audio()) {
        sound->selectMusic("GAMEOVER", true);
        sound->selectMusic("WIN", false);
        sound->selectMusic("LOOP" + std::to_string(std::rand() % 4), false);
    }
    phase = Start;
    messageBox->setColour(0);
    messageVisible = 0;
    endMusicStarted = 0;
    lastGameOverBits = 0;
}

bool SceneLevel::exitHasRows(int rows) const {
    const TextureRecord* record = store() && exitDoor ? store()->texture(exitDoor->texture) : nullptr;
    return record && record->height / 24 >= rows;
}

void SceneLevel::setExitLabel(const std::string& text) {
    if (!exitLabel) return;
    const int32_t exitX = levelInfo ? levelInfo->exitX : 0, exitY = levelInfo ? levelInfo->exitY : 0;
    exitLabel->setRawText(text, exitX - 2, exitY - 2);
    exitLabel->setAlignment(2, 1);
}

void SceneLevel::updateFadeIn() {
    ProgressRecord* record = progress();
    if (fadeInClock == -1) {
        fadeInClock = 0;
        if (AudioSystem* sound = audio()) {
            sound->stopLoopingEffects();
            sound->startMusic(128, 128);
        }
    } else if (fadeInClock > fadeDelay + fadeInDuration) {
        state = Running;
        if (record && record->levelTimer.paused()) record->levelTimer.resume();
        if (phaseTimer.paused()) phaseTimer.resume();
    }
    if (fadeInClock >= 0) fadeInClock += static_cast<int32_t>(frameDeltaMs);
}

void SceneLevel::refreshCounters() {
    ProgressRecord* record = progress();
    if (!record) return;
    record->paintedPercent = percentOf(record->paintedPixels, record->paintablePixels);
    const int64_t limit = levelInfo ? static_cast<int64_t>(levelInfo->timeLimitMinutes) * 60000 : 0;
    record->timeLeftMs = static_cast<int32_t>(std::max<int64_t>(0, limit - record->levelClockMs));
}

void SceneLevel::updateRunning() {
    if (ProgressRecord* record = progress(); record && record->levelTimer.running())
        record->levelClockMs += frameDeltaMs;
    if (phase < Lost)
        handleInput();
    else if (AudioSystem* sound = audio())
        sound->haltLoopingEffects();
    if (camera) view = {camera->viewX, camera->viewY, camera->viewWidth, camera->viewHeight};
    if (exitDoor) exitDoor->update();
    if (phase > Intro && leader) {
        leader->update();
        for (auto& follower : followers) {
            follower->update();
            // Only a creature out and about goes in: one still in the entry door never counted as out.
            if (phase == ExitOpen && follower->state >= EntityTumblekin::Falling &&
                follower->state <= EntityTumblekin::Walking && follower->intersects(exitZone)) {
                follower->animFrame = 0;
                follower->animClock = 0;
                follower->state = EntityTumblekin::Entering;
                follower->animate();
                if (AudioSystem* sound = audio()) {
                    if (!sound->isMusicChannel(13)) {
                        if (sound->isPlaying(13)) sound->haltChannel(13);
                        sound->playSound("Sound/GoInDoor.ogg", 13, 0);
                    }
                }
            }
        }
    }
    if (camera) camera->update();
    refreshCounters();
    phaseStep();
}

void SceneLevel::showMessage(const char* key, uint8_t colour) {
    messageBox->setText(key, logicalWidth / 2, logicalHeight + 30);
    messageBox->setAlignment(2, 1);
    messageBox->setColour(colour);
    messageVisible = 1;
}

void SceneLevel::scrollMessage(uint32_t t, uint32_t duration) {
    const int32_t H = logicalHeight;
    const auto travelled =
        static_cast<int32_t>(static_cast<int64_t>(H + 60) * t / std::max<uint32_t>(1, duration));
    messageBox->setY(H - travelled + 30);
}

void SceneLevel::riseMessage(uint32_t t, uint32_t duration) {
    const int32_t H = logicalHeight;
    const int32_t halfway = H / 2; // whole pixels: the box stops on a pixel row
    const auto risen =
        static_cast<int32_t>(std::trunc(static_cast<double>(t) / std::max<uint32_t>(1, duration) * halfway));
    messageBox->setY(std::max(halfway, H - risen + 30));
}

void SceneLevel::gameOverTest() {
    ProgressRecord* record = progress();
    const int32_t alive = record ? record->creaturesAlive : 0;
    const int32_t total = record ? record->creaturesTotal : 0;
    uint32_t bits = 0;
    if (levelInfo && percentOf(alive, total) < levelInfo->minSurvivorPercent) bits |= 1;
    if (!record || record->timeLeftMs <= 0) bits |= 2;
    if (alive == 0) bits |= 4;
    if (bits == 0 && (!leader || leader->state != EntityTumblekin::Dead)) return;
    lastGameOverBits = bits;
    phaseTimer.start();
    const char* key = "LEVELTEXT_GAMEOVER_LEADER";
    if (bits == 1 || bits == 4 || bits == 5)
        key = "LEVELTEXT_GAMEOVER_VEDEZAVIVA";
    else if (bits == 2)
        key = "LEVELTEXT_GAMEOVER_TIME";
    showMessage(key, 2);
    phase = Lost;
    if (AudioSystem* sound = audio()) sound->stopMusic(true);
}

void SceneLevel::phaseStep() {
    const uint32_t t = phaseTimer.read();
    switch (phase) {
    case Start:
        phaseTimer.start();
        phase = Intro;
        showMessage("LEVELTEXT_START", 0);
        break;
    case Intro:
        stepIntro(t);
        break;
    case Playing:
        stepPlaying(t);
        break;
    case ExitOpen:
        stepExitOpen(t);
        break;
    case Lost:
    case Won:
        stepEnding(t);
        break;
    default:
        break;
    }
}

int32_t SceneLevel::paintedPercent() const {
    const ProgressRecord* record = progress();
    return record ? record->paintedPercent : 0;
}

int32_t SceneLevel::goalPercent() const {
    return levelInfo ? levelInfo->goalPercent : 0;
}

// The first follower leaves the door 3200 ms after the intro, when the level clock starts.
void SceneLevel::stepIntro(uint32_t t) {
    scrollMessage(t, 3000);
    if (t > 1000 && entryDoor) entryDoor->update();
    if (t <= 3000) return;
    phase = Playing;
    phaseTimer.stop();
    messageVisible = 0;
    if (ProgressRecord* record = progress()) {
        record->levelTimer.start();
        record->levelClockMs = 0;
    }
    refreshCounters();
}

// Scrolls the phase's message up over `duration`, then hides it.
void SceneLevel::scrollOrHideMessage(uint32_t t, uint32_t duration) {
    if (!messageVisible) return;
    if (t <= duration) {
        scrollMessage(t, duration);
    } else {
        phaseTimer.stop();
        messageVisible = 0;
    }
}

void SceneLevel::stepPlaying(uint32_t t) {
    scrollOrHideMessage(t, 3000);
    if (goalPercent() <= paintedPercent()) {
        phase = ExitOpen;
        phaseTimer.start();
        showMessage("LEVELTEXT_READYTOWIN", 0);
        if (exitHasRows(1)) exitDoor->frameY = 0;
        setExitLabel("GO IN");
    }
    gameOverTest();
}

// Digging the painted share below the goal closes the exit again.
void SceneLevel::stepExitOpen(uint32_t t) {
    if (goalPercent() > paintedPercent()) {
        phase = Playing;
        phaseTimer.start();
        showMessage("LEVELTEXT_CLOSEDOOR", 0);
        if (exitHasRows(2)) exitDoor->frameY = 24;
        setExitLabel("Closed");
        return;
    }
    scrollOrHideMessage(t, 5000);
    gameOverTest();
    ProgressRecord* record = progress();
    if (record && record->creaturesSaved > 0)
        setExitLabel("IN " + toStringPadded(static_cast<uint32_t>(record->creaturesSaved), 2));
    // A loss in the same update holds: the win is only looked for while the exit is still open.
    if (phase == ExitOpen && record && record->creaturesAlive == record->creaturesSaved &&
        record->creaturesSaved > 0) {
        phase = Won;
        record->levelTimer.stop();
        // Kept the moment it is won: a game closed during the win message has still painted it.
        record->recordWin();
        if (AudioSystem* sound = audio()) sound->stopMusic(true);
        phaseTimer.start();
        showMessage("LEVELTEXT_WIN", 4);
    }
}

// Lost or won: the end music once the level's music has faded, the message rising, then the menu.
void SceneLevel::stepEnding(uint32_t t) {
    AudioSystem* sound = audio();
    if (!endMusicStarted && (!sound || !sound->musicState().fadingOut)) {
        if (sound) {
            sound->selectMusic(phase == Lost ? "GAMEOVER" : "WIN", false);
            sound->startMusic(128, 128);
        }
        endMusicStarted = 1;
    }
    riseMessage(t, phase == Lost ? 3000 : 2500);
    if (t > (phase == Lost ? 6000u : 5000u) && state == Running) {
        phaseTimer.stop();
        requestExit(1, phase == Lost ? kGameOverScene : kWinScene);
        Renderer::instance()->clearTarget(0, Renderer::HudLayer);
    }
}

void SceneLevel::handleInput() {
    InputState* input = GameWide<InputState>::get();
    const bool pauseAsked =
        input && ((input->actionsHeld & 0x400) || input->escapePressed || input->windowUnfocused);
    if (pauseAsked && pauseAllowed) {
        if (pauseLatch) requestExit(1, kPauseScene);
    } else {
        pauseLatch = 1;
    }
    const uint32_t buttons = input ? input->mouseButtons() : 0;
    if (buttons & 5)
        pointerTexture = actionPointerTexture;
    else if (buttons == 0)
        pointerTexture = defaultPointerTexture;
    if (terrain) terrain->applyBrush(view.x + mouseX, view.y + mouseY, buttons, frameDeltaMs);
}

void SceneLevel::focusLost() {
    // The main loop skips updates while the window is away, so the pause input is never read then:
    // the level pauses here, before the clocks run on behind the player's back.
    if (state != Running || phase >= Lost || !pauseAllowed) return;
    ProgressRecord* record = progress();
    if (record && record->levelTimer.running()) record->levelTimer.pause();
    if (phaseTimer.running()) phaseTimer.pause();
    requestExit(1, kPauseScene);
    switchScene();
}

void SceneLevel::updateFadeOut() {
    if (nextScene == kLevelScene || nextScene == kGameOverScene || nextScene == kWinScene) {
        if (fadeOutClock > fadeDelay + fadeOutDuration && switchRequested) switchScene();
        if (fadeOutClock >= 0) fadeOutClock += static_cast<int32_t>(frameDeltaMs);
        return;
    }
    if (switchRequested) switchScene();
}

void SceneLevel::switchScene() {
    if (!switchRequested) return;
    pauseAllowed = 1;
    SceneManager* manager = GameWide<SceneManager>::get();
    ProgressRecord* record = progress();
    Renderer* renderer = Renderer::instance();
    auto leaveFor = [&](uint16_t number, uint8_t fadeIn) {
        entered = 0;
        fadeInOnEnter = fadeIn;
        if (!manager) return;
        manager->previousScene = manager->currentScene;
        manager->currentScene = number;
    };
    switch (nextScene) {
    case kLevelScene:
        leaveFor(kLevelScene, 1);
        if (record && record->levelTimer.running()) record->levelTimer.pause();
        if (phaseTimer.running()) phaseTimer.pause();
        break;
    case kGameOverScene:
    case kWinScene:
        if (renderer->window()) {
            renderer->clearTarget(0, Renderer::SecondLayer);
            renderer->clearTarget(0, Renderer::HudLayer);
        }
        leaveFor(nextScene, 1);
        if (record) record->levelTimer.stop();
        if (phaseTimer.running()) phaseTimer.pause();
        if (AudioSystem* sound = audio()) sound->haltLoopingEffects();
        break;
    case kPauseScene:
        if (renderer->window()) {
            renderer->clearTarget(0, Renderer::SecondLayer);
            renderer->clearTarget(0, Renderer::HudLayer);
        }
        leaveFor(kPauseScene, 0);
        if (record && record->levelTimer.running()) record->levelTimer.pause();
        if (phaseTimer.running()) phaseTimer.pause();
        // The brush noise must not play on behind the pause menu; the return resumes it.
        if (AudioSystem* sound = audio()) sound->pauseLoopingEffects();
        break;
    default:
        break;
    }
}

void SceneLevel::paintPass() {
    if (!terrain) return;
    for (const auto& follower : followers)
        if (follower->state == EntityTumblekin::Falling || follower->state == EntityTumblekin::Walking)
            terrain->paintStamp(follower->x, follower->y);
}

void SceneLevel::uploadChanges() {
    ProgressRecord* record = progress();
    ResourceStore* resources = store();
    if (!terrain || !record || !resources) return;
    for (auto [dirty, surface, texture] :
         {std::tuple{&terrain->terrainDirty, record->terrainSurface, record->terrainTexture},
          std::tuple{&terrain->paintDirty, record->paintSurface, record->paintTexture}}) {
        if (dirty->empty()) continue;
        resources->uploadSurfaceRect(surface, texture, dirty->x0, dirty->y0, dirty->x1 - dirty->x0 + 1,
                                     dirty->y1 - dirty->y0 + 1);
        dirty->clear();
    }
}

void SceneLevel::drawWorld() {
    Renderer* renderer = Renderer::instance();
    renderer->bindGameScreen();
    renderer->clearTarget(kWorldClearColour, Renderer::Keep);
    if (camera) view = {camera->viewX, camera->viewY, camera->viewWidth, camera->viewHeight};
    uploadChanges();
    if (ProgressRecord* record = progress()) {
        const auto x = static_cast<int16_t>(-view.x), y = static_cast<int16_t>(-view.y);
        drawSprite(record->terrainTexture, levelClip, x, y);
        drawSprite(record->paintTexture, levelClip, x, y);
    }
}

void SceneLevel::drawFadeIn() {
    drawWorld();
    drawFadeInCurtain();
}

void SceneLevel::drawRunning() {
    paintPass();
    drawWorld();
    const CameraPoint camera{view.x, view.y};
    if (entryDoor) entryDoor->draw(camera);
    if (exitDoor) {
        exitDoor->draw(camera);
        const GameTexts* texts = GameWide<GameTexts>::get();
        const Font* font = texts ? texts->font(exitLabel->fontIndex) : nullptr;
        const int32_t labelX = exitDoor->frameWidth / 2 - view.x + exitDoor->x;
        const int32_t labelY = exitDoor->y - view.y - (font ? font->size : 0);
        if (exitLabel->x != labelX || exitLabel->y != labelY) exitLabel->setPosition(labelX, labelY);
        drawOutline(*exitLabel);
        exitLabel->drawInBand(0, 0, 0);
    }
    for (const auto& follower : followers)
        follower->draw(camera);
    if (leader) leader->draw(camera);
    if (messageVisible) {
        drawOutline(*messageBox);
        messageBox->draw();
    }
    Renderer* renderer = Renderer::instance();
    // The HUD layer is cleared before each draw, or the gauges and numbers would smear.
    renderer->clearTarget(0, Renderer::HudLayer);
    if (state == Running) {
        ProgressRecord* record = progress();
        InputState* input = GameWide<InputState>::get();
        if (record)
            hud->draw(*record, levelInfo, mouseX, mouseY, input ? input->mouseButtons() : 0,
                      record->levelClockMs);
    }
    renderer->bindGameScreen();
    drawButtonTips();
    renderer->bindGameScreen();
}

void SceneLevel::drawFadeOut() {
    drawRunning();
    drawFadeOutCurtain();
}

void SceneLevel::drawStillFadeIn() {
    drawStill();
    drawFadeInCurtain();
}

void SceneLevel::drawStillFadeOut() {
    drawStill();
    drawFadeOutCurtain();
}

void SceneLevel::drawLoadingScreen(int alpha) {
    const auto a = static_cast<uint8_t>(alpha);
    const ClipRect curtain = fadeClip;
    if (fadeInDuration > 0)
        drawTexture(fadeTexture, curtain, 0, 0, 0, logicalWidth, logicalHeight, nullptr, 0, a);
    drawSpriteAlpha(loadingTexture, loadingClip, static_cast<int16_t>(logicalWidth / 2 - loadingClip.w / 2),
                    static_cast<int16_t>(logicalHeight / 2 - loadingClip.h / 2), a);
    if (flag)
        drawSpriteAlpha(flag->texture, flagClip,
                        static_cast<int16_t>(logicalWidth / 2 - Flag::kShownWidth / 2), 50, a);
}

void SceneLevel::drawFadeInCurtain() {
    Renderer* renderer = Renderer::instance();
    if (!renderer->window()) return;
    renderer->bindGameScreen();
    if (fadeInClock == -1 || fadeInClock < fadeDelay) {
        renderer->clearTarget(0, Renderer::Keep);
        drawLoadingScreen(255);
        renderer->present();
        return;
    }
    int alpha = 0;
    if (fadeInClock - fadeDelay <= fadeInDuration && fadeInDuration > 0)
        alpha = static_cast<uint8_t>((fadeDelay - fadeInClock) * 255 / fadeInDuration - 1);
    drawLoadingScreen(alpha);
}
