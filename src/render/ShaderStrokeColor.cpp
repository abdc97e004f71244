#include "render/ShaderStrokeColor.h"

void ShaderStrokeColor::locateUniforms() {
    Shader::locateUniforms();
    locate(Colour, "color");
    locate(TexelStep, "pasoGrueso");
    locate(Texture, "textura");
    locate(Flip, "flip");
    locate(TexClamp, "texClamp");
}
