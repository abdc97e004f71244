#include "render/ShaderPaletteTexture.h"

void ShaderPaletteTexture::locateUniforms() {
    Shader::locateUniforms();
    locate(Colour, "color");
    locate(ColourAdd, "colorAdd");
    locate(Texture, "textura");
    locate(Flip, "flip");
    locate(TexClamp, "texClamp");
    locate(Palette, "palette");
}
