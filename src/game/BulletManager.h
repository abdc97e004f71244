#pragma once
// BulletManager — owner of the level's bullets. Holds none until the gameplay fills it.
class BulletManager {
  public:
    virtual ~BulletManager() = default;
    virtual bool isKindOf(int kind) const { return kind == 2; }
};
