#pragma once
#include "render/Shader.h"

// Draws one coloured light, dark where the shadow map says it is blocked.
class ShaderShadowRender final : public Shader {
  public:
    void locateUniforms() override;
};
