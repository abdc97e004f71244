#pragma once
#include <array>

// A 4x4 column-major float matrix: element (row r, column c) is m[c * 4 + r], as GL expects.
struct Matrix4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Matrix4 identity() { return {}; }
    static Matrix4 translation(float x, float y, float z);
    static Matrix4 rotationZ(float radians);
    static Matrix4 scaling(float x, float y, float z);
    static Matrix4 ortho(float left, float right, float bottom, float top, float nearZ, float farZ);
    static Matrix4 lookAt(const std::array<float, 3>& eye, const std::array<float, 3>& centre,
                          const std::array<float, 3>& up);

    Matrix4 operator*(const Matrix4& other) const;
    // Applies the matrix to the point (x, y, z, 1).
    std::array<float, 4> apply(float x, float y, float z) const;
    const float* data() const { return m.data(); }
};
