#include "render/ShaderColor.h"

void ShaderColor::locateUniforms() {
    Shader::locateUniforms();
    locate(Colour, "color");
}
