#pragma once
// Shader — one GLSL program built from "Assets/shaders/<name>.vertex" and ".fragment" in the pack.
//
// Owns: the GL program and the locations of the uniforms its class uses, by slot number.
// Never: draws by itself (except the full-screen effect); the draw calls set its uniforms.
// On failure: compile and link errors are written to the error stream with the GL log, and the
// shader stays not valid (the store then gives -1). Never throws.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Shader {
  public:
    enum Slot {
        Model = 0,
        View = 1,
        Projection = 2,
        Colour = 3,
        ColourAdd = 4,
        Texture = 5,
        Flip = 6,
        TexClamp = 7,
        Palette = 8,
        Resolution = 9,
        TexelStep = 10,
        SlotCount = 11
    };

    virtual ~Shader();
    virtual void load(const std::string& name);
    virtual void locateUniforms();
    virtual void draw() {}

    int32_t uniform(Slot slot) const { return slots[static_cast<size_t>(slot)]; }

    uint32_t program = 0;
    uint8_t valid = 0;
    std::map<std::string, int32_t> uniformsByName;
    std::vector<int32_t> slots = std::vector<int32_t>(SlotCount, -1);

  protected:
    void locate(Slot slot, const char* name);
    void locateNamed(const char* name);
    // Called with the program current, before locateUniforms; the effect shader makes its vertex array.
    virtual void afterLink() {}
};
