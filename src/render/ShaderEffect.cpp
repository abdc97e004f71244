#include "render/ShaderEffect.h"

#include <glad/gl.h>

#include "base/FrameClock.h"
#include "render/Renderer.h"

ShaderEffect::~ShaderEffect() {
    if (vertexArray) glDeleteVertexArrays(1, &vertexArray);
}

void ShaderEffect::afterLink() {
    glGenVertexArrays(1, &vertexArray);
    const Renderer* renderer = Renderer::instance();
    resolution[0] = static_cast<float>(renderer->logicalWidth);
    resolution[1] = static_cast<float>(renderer->logicalHeight);
}

void ShaderEffect::locateUniforms() {
    timeLocation = glGetUniformLocation(program, "fGlobalTime");
    resolutionLocation = glGetUniformLocation(program, "v2Resolution");
    uniformsByName.emplace("fGlobalTime", timeLocation);
    uniformsByName.emplace("v2Resolution", resolutionLocation);
}

void ShaderEffect::draw() {
    if (!valid) return;
    glUseProgram(program);
    glUniform1f(timeLocation, static_cast<float>(frameTimeMs) / 1000.0f);
    glUniform2f(resolutionLocation, resolution[0], resolution[1]);
    glBindVertexArray(vertexArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
}
