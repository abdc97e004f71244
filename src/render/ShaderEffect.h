#pragma once
#include <cstdint>

#include "render/Shader.h"

// A full-screen effect: its vertex shader makes a strip from the vertex index alone, so it needs
// no quad, only an empty vertex array, the time and the resolution.
class ShaderEffect final : public Shader {
  public:
    ~ShaderEffect() override;
    void locateUniforms() override;
    void draw() override;

    float resolution[2] = {320, 200};
    int32_t timeLocation = -1;
    int32_t resolutionLocation = -1;
    uint32_t vertexArray = 0;

  protected:
    void afterLink() override;
};
