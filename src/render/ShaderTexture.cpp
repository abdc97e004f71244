#include "render/ShaderTexture.h"

void ShaderTexture::locateUniforms() {
    Shader::locateUniforms();
    locate(Colour, "color");
    locate(ColourAdd, "colorAdd");
    locate(Texture, "textura");
    locate(Flip, "flip");
    locate(TexClamp, "texClamp");
}
