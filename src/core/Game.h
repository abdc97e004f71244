#pragma once
// Game — the entry point's work: the game-wide objects, created and deleted in a fixed order.
//
// Owns: the pack, the resource store, the audio system, the progress record, the input, the
// scene table, the bullets and the texts (the renderer is its own singleton, deleted here last).
// Never: runs game logic; the scenes do.
// On failure: startUp() returns the process exit code (1, 3 or 4) with the message written.
#include <memory>

class AssetPack;
class AudioSystem;
class BulletManager;
class GameTexts;
class InputState;
class MainLoop;
class ProgressRecord;
class ResourceStore;
class SceneManager;

class Game final {
  public:
    Game();
    ~Game();

    int startUp();
    void run();
    void shutDown();

    SceneManager* scenes() const { return scenes_.get(); }
    MainLoop* loop() const { return loop_.get(); }
    InputState* input() const { return input_.get(); }
    bool firstRun() const { return firstRun_; }

  private:
    void buildScenes();

    std::unique_ptr<AssetPack> pack_;
    std::unique_ptr<ResourceStore> store_;
    std::unique_ptr<AudioSystem> audio_;
    std::unique_ptr<ProgressRecord> progress_;
    std::unique_ptr<InputState> input_;
    std::unique_ptr<SceneManager> scenes_;
    std::unique_ptr<BulletManager> bullets_;
    std::unique_ptr<GameTexts> texts_;
    std::unique_ptr<MainLoop> loop_;
    bool firstRun_ = false;
    bool renderer_ = false;
};
