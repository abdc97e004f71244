#include "game/BulletManager.h"

BulletManager::BulletManager() {
    EntityBullet bullet(Entity::kNoImage, 28, 28, 0, 0);
    bullet.lifetimeMs = 5000;
    bullet.flag = 1;
    bullet.active = 0;
    bullet.frameMs = 100;
    bullet.boundsWidth = 16;
    bullet.boundsHeight = 8;
    bullet.marginX = bullet.marginY = 1;
    bullets.reserve(kPoolSize);
    for (size_t i = 0; i < kPoolSize; ++i)
        bullets.push_back(bullet);
    slots32.assign(kPoolSize, 0);
    slots64.assign(kPoolSize, 0);
}
