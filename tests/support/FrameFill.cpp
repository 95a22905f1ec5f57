#include "support/FrameFill.h"

#include <EGL/egl.h>
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <array>
#include <cmath>
#include <vector>

extern "C"
{
void __real_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void __real_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void __real_glClear(GLbitfield mask);
void __wrap_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void __wrap_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void __wrap_glClear(GLbitfield mask);
}

namespace
{
bool s_counting = false;
double s_drawn = 0.0;
double s_cleared = 0.0;
int32_t s_draws = 0;

using Clip = std::array<float, 4>; // x, y, z, w

// What one draw needs to place its vertices on the window.
struct DrawState
{
    std::array<float, 16> matrix{}; // projection times model-view, column-major
    std::array<GLint, 4> viewport{};
    const uint8_t* vertices = nullptr;
    GLint size = 0;
    GLint stride = 0;
    bool readable = false;
};

std::array<float, 16> Multiply(const std::array<float, 16>& a, const std::array<float, 16>& b)
{
    std::array<float, 16> product{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                product[size_t(column * 4 + row)] += a[size_t(k * 4 + row)] * b[size_t(column * 4 + k)];
    return product;
}

DrawState ReadDrawState()
{
    DrawState state;
    std::array<float, 16> projection{};
    std::array<float, 16> modelView{};
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    state.matrix = Multiply(projection, modelView);
    glGetIntegerv(GL_VIEWPORT, state.viewport.data());
    GLint type = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_TYPE, &type);
    glGetIntegerv(GL_VERTEX_ARRAY_SIZE, &state.size);
    glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &state.stride);
    void* pointer = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    state.vertices = static_cast<const uint8_t*>(pointer);
    // Buffer objects would hold offsets, not addresses; the game draws from client memory.
    GLint buffer = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &buffer);
    state.readable = type == GL_FLOAT && state.size >= 2 && state.vertices && buffer == 0 &&
                     glIsEnabled(GL_VERTEX_ARRAY);
    if (state.stride == 0)
        state.stride = GLint(sizeof(float)) * state.size;
    return state;
}

Clip ToClip(const DrawState& state, int32_t index)
{
    float vertex[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const auto* source = reinterpret_cast<const float*>(state.vertices + size_t(index) * size_t(state.stride));
    for (int i = 0; i < state.size && i < 4; ++i)
        vertex[i] = source[i];
    Clip clip{};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k)
            clip[size_t(row)] += state.matrix[size_t(k * 4 + row)] * vertex[k];
    return clip;
}

// The part of a polygon inside one plane of the view volume: w + sign * coordinate >= 0.
std::vector<Clip> ClipPlane(const std::vector<Clip>& polygon, int axis, float sign)
{
    std::vector<Clip> kept;
    const auto distance = [&](const Clip& p) { return p[3] + sign * p[size_t(axis)]; };
    for (size_t i = 0; i < polygon.size(); ++i)
    {
        const Clip& a = polygon[i];
        const Clip& b = polygon[(i + 1) % polygon.size()];
        const float da = distance(a);
        const float db = distance(b);
        if (da >= 0.0f)
            kept.push_back(a);
        if ((da >= 0.0f) != (db >= 0.0f))
        {
            const float t = da / (da - db);
            Clip crossing{};
            for (size_t c = 0; c < 4; ++c)
                crossing[c] = a[c] + t * (b[c] - a[c]);
            kept.push_back(crossing);
        }
    }
    return kept;
}

// Window pixels of one triangle, clipped as GL clips it.
double TriangleArea(const DrawState& state, const Clip& a, const Clip& b, const Clip& c)
{
    std::vector<Clip> polygon = {a, b, c};
    for (int axis = 0; axis < 3 && polygon.size() >= 3; ++axis)
    {
        polygon = ClipPlane(polygon, axis, 1.0f);
        polygon = ClipPlane(polygon, axis, -1.0f);
    }
    if (polygon.size() < 3)
        return 0.0;
    const double halfWidth = state.viewport[2] * 0.5;
    const double halfHeight = state.viewport[3] * 0.5;
    double twice = 0.0;
    for (size_t i = 0; i < polygon.size(); ++i)
    {
        const Clip& p = polygon[i];
        const Clip& q = polygon[(i + 1) % polygon.size()];
        if (p[3] <= 0.0f || q[3] <= 0.0f)
            return 0.0;
        const double px = p[0] / p[3] * halfWidth;
        const double py = p[1] / p[3] * halfHeight;
        const double qx = q[0] / q[3] * halfWidth;
        const double qy = q[1] / q[3] * halfHeight;
        twice += px * qy - qx * py;
    }
    return std::fabs(twice) * 0.5;
}

// The vertex indices of a draw, in draw order.
template <typename Index>
double DrawArea(GLenum mode, GLsizei count, const Index& index)
{
    const DrawState state = ReadDrawState();
    if (!state.readable || count < 3)
        return 0.0;
    double area = 0.0;
    const auto triangle = [&](GLsizei i, GLsizei j, GLsizei k) {
        area += TriangleArea(state, ToClip(state, index(i)), ToClip(state, index(j)), ToClip(state, index(k)));
    };
    if (mode == GL_TRIANGLES)
        for (GLsizei i = 0; i + 2 < count; i += 3)
            triangle(i, i + 1, i + 2);
    else if (mode == GL_TRIANGLE_STRIP)
        for (GLsizei i = 0; i + 2 < count; ++i)
            triangle(i, i + 1, i + 2);
    else if (mode == GL_TRIANGLE_FAN)
        for (GLsizei i = 1; i + 1 < count; ++i)
            triangle(0, i, i + 1);
    return area;
}

double SurfaceArea()
{
    GLint framebuffer = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &framebuffer);
    if (framebuffer != 0)
    {
        std::array<GLint, 4> viewport{};
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        return double(viewport[2]) * double(viewport[3]);
    }
    EGLint width = 0;
    EGLint height = 0;
    const EGLDisplay display = eglGetCurrentDisplay();
    const EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    eglQuerySurface(display, surface, EGL_WIDTH, &width);
    eglQuerySurface(display, surface, EGL_HEIGHT, &height);
    return double(width) * double(height);
}
} // namespace

extern "C" void __wrap_glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    if (s_counting)
    {
        ++s_draws;
        s_drawn += DrawArea(mode, count, [first](GLsizei i) { return int32_t(first + i); });
    }
    __real_glDrawArrays(mode, first, count);
}

extern "C" void __wrap_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    if (s_counting)
    {
        ++s_draws;
        if (type == GL_UNSIGNED_SHORT)
        {
            const auto* shorts = static_cast<const uint16_t*>(indices);
            s_drawn += DrawArea(mode, count, [shorts](GLsizei i) { return int32_t(shorts[i]); });
        }
        else if (type == GL_UNSIGNED_BYTE)
        {
            const auto* bytes = static_cast<const uint8_t*>(indices);
            s_drawn += DrawArea(mode, count, [bytes](GLsizei i) { return int32_t(bytes[i]); });
        }
    }
    __real_glDrawElements(mode, count, type, indices);
}

extern "C" void __wrap_glClear(GLbitfield mask)
{
    if (s_counting && (mask & GL_COLOR_BUFFER_BIT) != 0)
        s_cleared += SurfaceArea();
    __real_glClear(mask);
}

namespace FrameFill
{
void Start()
{
    s_drawn = 0.0;
    s_cleared = 0.0;
    s_draws = 0;
    s_counting = true;
}

void Stop()
{
    s_counting = false;
}

double DrawnPixels()
{
    return s_drawn;
}

double ClearedPixels()
{
    return s_cleared;
}

int32_t DrawCount()
{
    return s_draws;
}
} // namespace FrameFill
