#pragma once
#include "render/Shader.h"

// A texture whose red channel picks a colour from a second "palette" texture.
class ShaderPaletteTexture final : public Shader {
  public:
    void locateUniforms() override;
};
