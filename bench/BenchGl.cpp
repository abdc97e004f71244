#include "BenchGl.h"

#include <cstdlib>

#include "base/GameWide.h"
#include "render/Renderer.h"

BenchGl::BenchGl() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    pack.loadIndex();
    GameWide<AssetPack>::set(&pack);
    GameWide<ResourceStore>::set(&store);
    Renderer::instance()->fullscreen = 0;
    ok = Renderer::instance()->initialise() == 0;
    sprite = store.getOrLoadTexture("Assets/hud/mousenormal.png");
}

BenchGl& benchGl() {
    static BenchGl instance;
    return instance;
}
