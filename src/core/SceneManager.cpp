#include "core/SceneManager.h"

void SceneManager::install(uint32_t number, std::unique_ptr<Scene> scene) {
    if (number < kSceneCount) scenes_[number] = std::move(scene);
}

Scene* SceneManager::scene(uint32_t number) const {
    return number < kSceneCount ? scenes_[number].get() : nullptr;
}

void SceneManager::loadAll() {
    static constexpr uint32_t kOrder[kSceneCount] = {
        kOptionsScene,    kPongScene,  kAdviceScene, kLevelScene,    kStudioLogoScene,
        kSecondLogoScene, kMainScene,  kSelectScene, kBriefingScene, kGameOverScene,
        kWinScene,        kPauseScene, kHowToScene,  kCreditsScene};
    for (uint32_t number : kOrder)
        if (Scene* s = scene(number)) s->load();
}
