#include "render/ShaderShadowRender.h"

void ShaderShadowRender::locateUniforms() {
    Shader::locateUniforms();
    locate(Colour, "color");
    locate(Texture, "textura");
    locate(Resolution, "resolution");
}
