#pragma once
// SceneLevel — the playing screen (scene 1): a country, its column of creatures, the doors, the
// brush, the HUD, and the phases intro -> playing -> exit open -> lost or won.
//
// Owns: the leader, the followers, both doors, the camera, the HUD, the message and exit texts and
// the terrain operations; all are replaced at every set-up. The level's images and counters are
// the progress record's.
// Never: makes or knows the menus; it leaves by scene number (9 game over, 10 win, 11 pause, 1 a
// new attempt).
// On failure: missing pictures are not drawn; an empty level list gives a level with no
// followers, which is lost at once; a missing brush builds and digs nothing.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/PausableTimer.h"
#include "core/Scene.h"
#include "game/Camera.h"
#include "game/Entity.h"

class EntityObject;
class EntityTumblekin;
class LevelHud;
class Terrain;
class TextBox;
struct Flag;
struct LevelInfo;

class SceneLevel final : public Scene {
  public:
    enum Phase : uint32_t { Start = 0, Intro = 1, Playing = 2, ExitOpen = 3, Lost = 4, Won = 5 };
    static constexpr uint32_t kFirstSpawnMs = 3200;
    // Behind the terrain: a night sky rather than black, so ground painted with a flag's black
    // stripe (and a flag whose left edge is black) still shows against it.
    static constexpr uint32_t kWorldClearColour = 0xFF2A3450;

    SceneLevel();
    ~SceneLevel() override;

    const char* className() const override { return "SceneLevel"; }
    void load() override;
    void enter() override;
    void updateFadeIn() override;
    void updateRunning() override;
    void updateFadeOut() override;
    void handleInput() override;
    void switchScene() override;
    void drawFadeIn() override;
    void drawRunning() override;
    void drawFadeOut() override;
    void drawStillFadeIn() override;
    void drawStillFadeOut() override;
    void drawFadeInCurtain() override;
    void focusLost() override;

    // The goal line of the HUD from the current level; left alone with no level.
    void refreshGoalText();
    // The stamps of every falling or walking follower, on the memory surfaces only.
    void paintPass();
    // The changed rectangles of the terrain and the paint into their textures.
    void uploadChanges();
    // The counters the phase machine reads: painted share and time left.
    void refreshCounters();

    std::unique_ptr<LevelHud> hud;
    int32_t loadingTexture = -1;
    ClipRect loadingClip;
    uint8_t pauseAllowed = 1;
    uint8_t pauseLatch = 0;
    uint32_t phase = Start;
    PausableTimer phaseTimer;
    int32_t flagIndex = -1;
    const Flag* flag = nullptr;
    ClipRect flagClip;
    int32_t levelIndex = -1;
    LevelInfo* levelInfo = nullptr;
    ClipRect levelClip;
    ClipRect stampClip;
    std::unique_ptr<CameraMouse> camera;
    ClipRect view;
    std::unique_ptr<TextBox> messageBox;
    uint8_t messageVisible = 0;
    uint8_t endMusicStarted = 0;
    std::unique_ptr<EntityTumblekin> leader;
    std::vector<std::unique_ptr<EntityTumblekin>> followers;
    std::unique_ptr<EntityObject> entryDoor, exitDoor;
    std::unique_ptr<TextBox> exitLabel;
    ClipRect exitZone;
    int32_t brushSurface = -1;
    uint16_t brushWidth = 0, brushHeight = 0;
    int32_t actionPointerTexture = -1;
    std::unique_ptr<Terrain> terrain;
    // Set by the level; tests read it.
    uint32_t lastGameOverBits = 0;

  private:
    void setUp();
    void phaseStep();
    void stepIntro(uint32_t t);
    void stepPlaying(uint32_t t);
    void stepExitOpen(uint32_t t);
    void stepEnding(uint32_t t);
    void scrollOrHideMessage(uint32_t t, uint32_t duration);
    int32_t paintedPercent() const;
    int32_t goalPercent() const;
    void gameOverTest();
    void showMessage(const char* key, uint8_t colour);
    void scrollMessage(uint32_t t, uint32_t duration);
    void riseMessage(uint32_t t, uint32_t duration);
    void drawWorld();
    void drawLoadingScreen(int alpha);
    bool exitHasRows(int rows) const;
    void setExitLabel(const std::string& text);
};
