#pragma once
#include "render/Shader.h"

// A texture through a source rectangle, tinted and flipped: every sprite.
class ShaderTexture final : public Shader {
  public:
    void locateUniforms() override;
};
