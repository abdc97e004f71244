#pragma once
// BulletManager — the pool of bullets the entry point creates at start-up: 20 inactive copies of
// one template. Nothing in the game fires, updates or draws them yet.
#include <cstdint>
#include <string>
#include <vector>

#include "game/EntityBullet.h"

class BulletManager {
  public:
    static constexpr size_t kPoolSize = 20;

    BulletManager();
    virtual ~BulletManager() = default;
    virtual bool isKindOf(int kind) const { return kind == 2; }

    std::vector<EntityBullet> bullets;
    std::vector<uint32_t> slots32;
    std::vector<uint64_t> slots64;
    std::string name;
    uint32_t capacity = 256;
};
