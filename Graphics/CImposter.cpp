#include "Graphics/CImposter.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/RenderTargetScope.h"
#include "core/CClock.h"
#include "core/ContentLimits.h"
#include "core/HashString.h"
#include "core/MathConstants.h"
#include "core/Matrix4.h"
#include "platform/CDirectJ.h"
#include "platform/CView.h"

#include <GLES/gl.h>
#include <algorithm>

namespace
{
constexpr const char* kScope = "global";
constexpr const char* kBlurred = CImposter::kBlurredSuffix;
constexpr const char* kBlurrable = CImposter::kBlurrableSuffix;

float SmoothStep(float s)
{
    s = std::clamp(s, 0.0f, 1.0f);
    return s * s * (3.0f - 2.0f * s);
}
} // namespace

CRef<CImposter> CImposter::Create(const CString& pass, const CString& textureName)
{
    return CRef<CImposter>::Adopt(new CImposter(pass, textureName));
}

CImposter::CImposter(const CString& pass, const CString& textureName)
    : m_name(pass), m_textureName(textureName), m_generation(CDirectJCommon::GetDisplayGeneration())
{
    CDrawing::Register(kScope, kCapturePass);
    CDrawing::Register(kScope, m_name.c_str());
}

CImposter::~CImposter()
{
    // A capture still bound would leave every later frame in the texture.
    if (m_capture)
        m_capture->BindTarget(0);
    CDrawing::Unregister(kScope, kCapturePass);
    CDrawing::Unregister(kScope, m_name.c_str());
}

void CImposter::CaptureTo(const CString& textureName)
{
    m_captureRequest = textureName;
}

void CImposter::SetBlur(float amount, float seconds)
{
    const uint32_t now = CClock::Now();
    m_blurFrom = GetBlur(now);
    m_blurTo = amount;
    m_blurStart = now;
    m_blurEnd = now + uint32_t(SecondsToMs(seconds));
    m_blurAmount = amount;
}

float CImposter::GetBlur(uint32_t now) const
{
    if (CClock::Difference(m_blurEnd, now) >= 0)
        return m_blurTo;
    if (CClock::Difference(m_blurStart, now) <= 0)
        return m_blurFrom;
    const float s = float(CClock::Difference(m_blurStart, now)) / float(CClock::Difference(m_blurStart, m_blurEnd));
    return m_blurFrom + SmoothStep(s) * (m_blurTo - m_blurFrom);
}

CString CImposter::MaterialFor(const CString& textureName, float blur, float amount)
{
    if (blur == 0.0f)
        return textureName;
    return textureName + (blur == amount ? kBlurred : kBlurrable);
}

float CImposter::AlphaFor(float blur, float amount)
{
    return blur / std::max(amount, 1.0f);
}

void CImposter::Draw()
{
    if (GetPassId() == HashString(kCapturePass))
    {
        if (m_stale)
            return;
        if (m_captureRequest.empty())
        {
            // Once the picture exists it stays as it was taken.
            if (!m_texture)
            {
                m_texture = BeginCapture(m_textureName);
                m_capture = m_texture;
                m_generation = CDirectJCommon::GetDisplayGeneration();
                LayOut();
            }
        }
        else
        {
            // The copy's texture stays bound until the own pass lets it go.
            m_capture = BeginCapture(m_captureRequest);
            m_captureRequest.clear();
        }
        return;
    }

    if (m_capture)
    {
        m_capture->BindTarget(0);
        m_capture.Reset();
    }
    const float blur = GetBlur(CClock::Now());
    if (blur > 0.0f && m_texture && !m_blurred)
        MakeBlurred();
    if (!m_texture || m_stale)
        return;
    m_quad.SetMaterial(CMaterialSet::Instance()->Find(MaterialFor(m_textureName, blur, m_blurAmount)));
    const bool blending = blur != 0.0f && blur != m_blurAmount;
    m_quad.SetColour(Vector4<float>(1.0f, 1.0f, 1.0f, blending ? AlphaFor(blur, m_blurAmount) : 1.0f));
    const CView pixels(CView::kPixels);
    m_quad.Draw();
}

bool CImposter::CoversBelow()
{
    if (m_staleOnRotation && m_generation != CDirectJCommon::GetDisplayGeneration())
        m_stale = true;
    return m_opaque && m_texture && m_captureRequest.empty() && !m_stale;
}

void CImposter::Invalidate()
{
    DropPicture();
    m_generation = CDirectJCommon::GetDisplayGeneration();
}

void CImposter::Resize()
{
    if (!m_texture)
        return;
    LayOut();
    if (CMaterial* material = CMaterialSet::Instance()->Find(m_textureName).Get())
        material->SetFilter(0, 2);
}

void CImposter::Rotate()
{
    if (m_recaptureOnRotation)
        Invalidate();
    // The turn has ended: the display it belongs to is the current one, so a kept picture shows
    // again instead of going stale at once.
    m_generation = CDirectJCommon::GetDisplayGeneration();
    m_stale = false;
}

CRef<CTexture> CImposter::BeginCapture(const CString& name)
{
    CRef<CTexture> texture = CTextureSet::Instance()->Get(name);
    if (texture->GetRenderTarget() == CTexture::kFileTexture)
        texture->SetFormat(GL_RGB, true);
    texture->SetRenderTarget(CTexture::kRenderTarget);
    texture->SetCompression(CTexture::kCompressNever);
    texture->SetGenerateMipmaps(false);
    texture->SetSize(CView::GetPhysicalSize());
    texture->EnsureLoaded();
    // Rows come back upside down from a framebuffer, and turned with the screen: sample them
    // upright in logical screen coordinates.
    Matrix4 uv;
    uv.Translate(Vector3<float>(-0.5f, -0.5f, 0.0f));
    uv.Scale(Vector3<float>(1.0f, -1.0f, 1.0f));
    uv.Rotate(CView::GetPlatformRotation() * kTwoPi / kFullTurnDegrees, Vector3<float>(0.0f, 0.0f, 1.0f));
    uv.Translate(Vector3<float>(0.5f, 0.5f, 0.0f));
    uv *= texture->GetPaddingTransform();
    texture->SetUvTransform(uv);
    texture->BindTarget(CTexture::kRenderTarget);
    // What the framebuffer held before must not show through the picture.
    if (CGraphics* graphics = CGraphics::Peek())
    {
        const CDirectJ* platform = CDirectJ::Peek();
        graphics->Clear(platform ? platform->GetClearColour() : Vector4<float>(0, 0, 0, 1),
                        platform ? platform->GetClearDepth() : 1.0f);
    }
    return texture;
}

void CImposter::MakeBlurred()
{
    CGraphics* graphics = CGraphics::Peek();
    if (!graphics || !graphics->IsLive())
        return;
    m_blurred = CTextureSet::Instance()->Get(m_textureName + kBlurred);
    m_blurred->SetRenderTarget(CTexture::kRenderTarget);
    m_blurred->SetCompression(CTexture::kCompressNever);
    m_blurred->SetFormat(m_texture->GetFormat());
    m_blurred->SetGenerateMipmaps(false);
    const Vector2<int32_t> size(std::max(1, m_texture->GetWidth() / 4), std::max(1, m_texture->GetHeight() / 4));
    m_blurred->SetSize(size);
    m_blurred->EnsureLoaded();

    CRef<CMaterial> source = CMaterialSet::Instance()->Find(m_textureName);
    CRef<CMaterial> material = CMaterial::Clone(*source);
    QuadBatch quad(Vector2<float>(), Vector4<float>(0, 0, 1, 1), material, Vector4<float>(1, 1, 1, 1),
                   Vector4<float>(0, 1, 1, 0), 0.0f);
    m_blurred->BindTarget(CTexture::kRenderTarget);
    {
        // Rotation 0: the small texture has no turned screen.
        const CView view(Vector4<int32_t>(0, 0, size.x, size.y), Vector4<float>(0, 0, 1, 1), 0.0f);
        RenderTargetScope::UseWholeTarget(size);
        const Vector2<float> texel(1.0f / float(size.x), 1.0f / float(size.y));
        // The kernel 1 2 1 / 2 4 2 / 1 2 1 over 16: the centre replaces, the rest adds.
        struct Tap
        {
            float dx, dy, weight;
        };
        const Tap taps[] = {{0, 0, 0.25f},         {0, -1, 0.125f},      {0, 1, 0.125f},
                            {-1, 0, 0.125f},       {1, 0, 0.125f},       {-1, -1, 0.0625f},
                            {1, -1, 0.0625f},      {-1, 1, 0.0625f},     {1, 1, 0.0625f}};
        for (const Tap& tap : taps)
        {
            material->SetBlend(GL_SRC_ALPHA, tap.weight == 0.25f ? GL_ZERO : GL_ONE);
            quad.SetColour(Vector4<float>(1.0f, 1.0f, 1.0f, tap.weight));
            quad.translation = Vector3<float>(tap.dx * texel.x, tap.dy * texel.y, quad.translation.z);
            quad.Draw();
        }
    }
    m_blurred->BindTarget(0);
}

void CImposter::LayOut()
{
    const Vector2<int32_t>& logical = CView::GetLogicalSize();
    m_quad.SetQuadRect(0, Vector4<float>(0.0f, 0.0f, float(logical.x), float(logical.y)));
}

void CImposter::DropPicture()
{
    if (m_blurred)
        m_blurred->ReleaseGL();
    if (m_texture)
        m_texture->ReleaseGL();
    m_blurred.Reset();
    m_texture.Reset();
}
