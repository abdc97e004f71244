#pragma once
#include "render/Shader.h"

// Reads the occlusion map into the one-row shadow map.
class ShaderShadow1D final : public Shader {
  public:
    void locateUniforms() override;
};
