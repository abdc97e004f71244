#pragma once
#include "render/Shader.h"

// An outline of one colour around the opaque texels of a texture.
class ShaderStrokeColor final : public Shader {
  public:
    void locateUniforms() override;
};
