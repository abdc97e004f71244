#include "render/Matrix4.h"

#include <cmath>

Matrix4 Matrix4::translation(float x, float y, float z) {
    Matrix4 t;
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    return t;
}

Matrix4 Matrix4::rotationZ(float radians) {
    Matrix4 r;
    const float c = std::cos(radians), s = std::sin(radians);
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    return r;
}

Matrix4 Matrix4::scaling(float x, float y, float z) {
    Matrix4 s;
    s.m[0] = x;
    s.m[5] = y;
    s.m[10] = z;
    return s;
}

Matrix4 Matrix4::ortho(float left, float right, float bottom, float top, float nearZ, float farZ) {
    Matrix4 o;
    o.m[0] = 2.0f / (right - left);
    o.m[5] = 2.0f / (top - bottom);
    o.m[10] = -2.0f / (farZ - nearZ);
    o.m[12] = -(right + left) / (right - left);
    o.m[13] = -(top + bottom) / (top - bottom);
    o.m[14] = -(farZ + nearZ) / (farZ - nearZ);
    return o;
}

Matrix4 Matrix4::lookAt(const std::array<float, 3>& eye, const std::array<float, 3>& centre,
                        const std::array<float, 3>& up) {
    auto normalise = [](std::array<float, 3> v) {
        const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (length > 0)
            for (float& x : v)
                x /= length;
        return v;
    };
    auto cross = [](const std::array<float, 3>& a, const std::array<float, 3>& b) {
        return std::array<float, 3>{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                    a[0] * b[1] - a[1] * b[0]};
    };
    auto dot = [](const std::array<float, 3>& a, const std::array<float, 3>& b) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    };
    const auto f = normalise({centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]});
    const auto s = normalise(cross(f, up));
    const auto u = cross(s, f);
    Matrix4 v;
    v.m[0] = s[0];
    v.m[4] = s[1];
    v.m[8] = s[2];
    v.m[1] = u[0];
    v.m[5] = u[1];
    v.m[9] = u[2];
    v.m[2] = -f[0];
    v.m[6] = -f[1];
    v.m[10] = -f[2];
    v.m[12] = -dot(s, eye);
    v.m[13] = -dot(u, eye);
    v.m[14] = dot(f, eye);
    return v;
}

Matrix4 Matrix4::operator*(const Matrix4& o) const {
    Matrix4 r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += m[k * 4 + row] * o.m[c * 4 + k];
            r.m[c * 4 + row] = sum;
        }
    return r;
}

std::array<float, 4> Matrix4::apply(float x, float y, float z) const {
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    return out;
}
