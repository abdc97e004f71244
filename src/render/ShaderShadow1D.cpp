#include "render/ShaderShadow1D.h"

void ShaderShadow1D::locateUniforms() {
    Shader::locateUniforms();
    locate(Texture, "textura");
    locate(Resolution, "resolution");
}
