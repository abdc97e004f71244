#include "render/Shader.h"

#include <glad/gl.h>
#include <iostream>

#include "assets/AssetPack.h"
#include "base/GameWide.h"

namespace {
// The whole entry as one source string, however long: a fixed buffer would cut long shaders.
std::string sourceOf(const std::string& entry) {
    const AssetPack* pack = GameWide<AssetPack>::get();
    const auto buffer = pack ? pack->readFile(entry) : nullptr;
    if (!buffer) return {};
    return std::string(buffer->data.begin(), buffer->data.end());
}

bool compile(uint32_t object, const std::string& source) {
    const char* text = source.c_str();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(object, 1, &text, &length);
    glCompileShader(object);
    GLint ok = GL_FALSE;
    glGetShaderiv(object, GL_COMPILE_STATUS, &ok);
    return ok == GL_TRUE;
}

std::string shaderLog(uint32_t object) {
    char log[1024] = {};
    GLsizei length = 0;
    glGetShaderInfoLog(object, sizeof log, &length, log);
    return std::string(log, static_cast<size_t>(length));
}
} // namespace

Shader::~Shader() {
    if (program) glDeleteProgram(program);
}

void Shader::load(const std::string& name) {
    if (valid) return;
    program = glCreateProgram();
    const uint32_t vertex = glCreateShader(GL_VERTEX_SHADER);
    const uint32_t fragment = glCreateShader(GL_FRAGMENT_SHADER);

    if (!compile(vertex, sourceOf("Assets/shaders/" + name + ".vertex")))
        std::cerr << "*** Compilacion del vertex shader " << name << ": " << std::endl
                  << shaderLog(vertex) << std::endl;
    if (!compile(fragment, sourceOf("Assets/shaders/" + name + ".fragment")))
        std::cerr << "*** Compilacion del fragment shader " << name << ": ERROR:" << std::endl
                  << shaderLog(fragment) << std::endl;

    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    // GLSL 1.40 cannot fix attribute locations in the source: the quad's layout is bound here.
    glBindAttribLocation(program, 0, "position");
    glBindAttribLocation(program, 1, "texCoord");
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        char log[1024] = {};
        GLsizei length = 0;
        glGetProgramInfoLog(program, sizeof log, &length, log);
        std::cerr << "*** Enlace de shaders a program: " << std::endl
                  << std::string(log, static_cast<size_t>(length)) << std::endl;
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    if (linked != GL_TRUE) return;

    glUseProgram(program);
    slots.assign(SlotCount, -1);
    uniformsByName.clear();
    afterLink();
    locateUniforms();
    glUseProgram(0);
    valid = 1;
}

void Shader::locate(Slot slot, const char* name) {
    const int32_t location = glGetUniformLocation(program, name);
    slots[static_cast<size_t>(slot)] = location;
    uniformsByName.emplace(name, location);
}

void Shader::locateNamed(const char* name) {
    uniformsByName.emplace(name, glGetUniformLocation(program, name));
}

void Shader::locateUniforms() {
    locate(Model, "model");
    locate(View, "view");
    locate(Projection, "projection");
}
