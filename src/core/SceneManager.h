#pragma once
// SceneManager — the table of the game's 14 scenes and which one runs.
//
// Owns: every scene, from start-up to shutdown. Never: creates or deletes a scene while the game
// runs; scenes are only entered and left, by number.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Scene.h"

// Every scene's fixed number. A scene leaves by naming the next one here; kQuitScene is no slot but
// the request to end the game.
enum SceneNumber : uint16_t {
    kPongScene = 0,
    kLevelScene = 1,
    kOptionsScene = 2,
    kAdviceScene = 3,
    kStudioLogoScene = 4,
    kSecondLogoScene = 5,
    kMainScene = 6,
    kSelectScene = 7,
    kBriefingScene = 8,
    kGameOverScene = 9,
    kWinScene = 10,
    kPauseScene = 11,
    kHowToScene = 12,
    kCreditsScene = 13,
    kSceneCount = 14,
    kQuitScene = 999,
};

class SceneManager final {
  public:
    // Installs `scene` in slot `number` (0..13); the manager owns it from then on.
    void install(uint32_t number, std::unique_ptr<Scene> scene);
    // Null for an empty slot or a number outside the table (999 among them).
    Scene* scene(uint32_t number) const;
    Scene* current() const { return scene(currentScene); }
    // Calls load on every installed scene in the start-up order: 2, 0, 3, 1, 4, 5, 6 .. 13.
    void loadAll();

    uint32_t currentScene = kStudioLogoScene;
    uint32_t previousScene = kSceneCount;
    uint8_t quitRequested = 0;

  private:
    std::vector<std::unique_ptr<Scene>> scenes_ = std::vector<std::unique_ptr<Scene>>(kSceneCount);
};
