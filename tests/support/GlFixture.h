#pragma once
// A real OpenGL ES 1.1 context on a surfaceless pbuffer for each test, with the renderer's state
// cache set up on it the way the platform does after a video mode, and everything torn down after.
// The stores that materials and textures bring up keep to an application folder of the test's.
#include "Graphics/CGraphics.h"
#include "Graphics/COpenGL.h"
#include "platform/CEglContext.h"
#include "support/AppFolder.h"
#include "support/KeepGlDriver.h"

#include <GLES/gl.h>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>

class GlFixture : public ::testing::Test
{
  protected:
    static constexpr int kWidth = 32;
    static constexpr int kHeight = 32;

    void SetUp() override
    {
        ASSERT_TRUE(m_context.CreatePbuffer(kWidth, kHeight, CEglContext::Attributes()))
            << "no ES 1.1 pbuffer context: " << m_context.GetFailure();
        m_context.SetReleaseHook(&GlFixture::ReleaseRenderer);
        KeepGlDriverLoaded();
        m_graphics = CGraphics::Instance();
        m_graphics->InitState();
    }

    void TearDown() override
    {
        m_context.Release();
        CGraphics::Toggle(false);
        COpenGL::Toggle(false);
    }

    // As the platform does before the context goes.
    static void ReleaseRenderer()
    {
        if (CGraphics* graphics = CGraphics::Peek())
            graphics->ReleaseState();
    }

    std::array<uint8_t, 4> ReadPixel(int x, int y) const
    {
        std::array<uint8_t, 4> pixel{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return pixel;
    }

    static GLint GetInteger(GLenum name)
    {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }

    static float GetFloat(GLenum name)
    {
        GLfloat value = 0;
        glGetFloatv(name, &value);
        return value;
    }

    AppFolder m_appFolder;
    CEglContext m_context;
    CGraphics* m_graphics = nullptr;
};
