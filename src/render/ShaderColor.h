#pragma once
#include "render/Shader.h"

// A flat colour over the quad: rectangles and curtains.
class ShaderColor final : public Shader {
  public:
    void locateUniforms() override;
};
