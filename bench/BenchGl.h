#pragma once
// The one GL window of the benchmark program, made as the game makes it (run from build/run, where
// the pack is), shared by every benchmark file.
#include <cstdint>

#include "assets/AssetPack.h"
#include "render/ResourceStore.h"

struct BenchGl {
    BenchGl();
    AssetPack pack;
    ResourceStore store;
    bool ok = false;
    int32_t sprite = -1;
};

BenchGl& benchGl();
