#pragma once
// AudioSystem — the mixer, its channels and every loaded sound.
//
// For now only the calls the main loop makes each frame; the mixer itself opens when sounds
// arrive. Never throws.
class AudioSystem final {
  public:
    void update() {}
    void pauseAll() {}
    void resumeAll() {}
};
