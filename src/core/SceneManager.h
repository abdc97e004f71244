#pragma once
// SceneManager — the table of the game's 14 scenes and which one runs.
//
// Owns: every scene, from start-up to shutdown. Never: creates or deletes a scene while the game
// runs; scenes are only entered and left, by number.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Scene.h"

class SceneManager final {
  public:
    static constexpr uint32_t kSceneCount = 14;
    // The number a scene switches to in order to end the game.
    static constexpr uint16_t kQuitScene = 999;

    // Installs `scene` in slot `number` (0..13); the manager owns it from then on.
    void install(uint32_t number, std::unique_ptr<Scene> scene);
    // Null for an empty slot or a number outside the table (999 among them).
    Scene* scene(uint32_t number) const;
    Scene* current() const { return scene(currentScene); }
    // Calls load on every installed scene in the start-up order: 2, 0, 3, 1, 4, 5, 6 .. 13.
    void loadAll();

    uint32_t currentScene = 4;
    uint32_t previousScene = 14;
    uint8_t quitRequested = 0;

  private:
    std::vector<std::unique_ptr<Scene>> scenes_ = std::vector<std::unique_ptr<Scene>>(kSceneCount);
};
