#include "scene/CHintsView.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/CScreenFlip.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/RenderTargetScope.h"
#include "core/CRule.h"
#include "core/HashString.h"
#include "creatures/BoardTranslation.h"
#include "creatures/CFrog.h"
#include "scene/CInstructions.h"
#include "creatures/CFrogServices.h"
#include "creatures/CSkeleton.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "puzzle/CHints.h"

#include <GLES/gl.h>
#include <algorithm>

REGISTER_SINGLETON(CHintsView, "maingame", 50);

namespace
{
// The ghost darkens the board by the frog's shadow colour plus its alpha times this: below 1 the
// silhouette reads on the bright day ponds, which a factor near 1 leaves untouched.
CRule<float> s_ghostAlpha("hints/ghostalpha", 0.0f, 1.0f);
constexpr const char* kScope = "maingame";
constexpr const char* kPrepass = "predraw";
constexpr const char* kPass = "overlays";
const uint32_t kPassId = HashString(kPass);
// The ghost is blank where the frog is not: white with no alpha multiplies the board by one.
const Vector4<float> kGhostClear(1.0f, 1.0f, 1.0f, 0.0f);

// The offset the board layer draws at; (0, 0) without a pond or a board.
Vector2<float> BoardOffset()
{
    Vector2<float> offset;
    if (!CFrogServices::Get().GetBoardOffset(offset))
        offset = Vector2<float>();
    return offset;
}
} // namespace

bool CHintsView::Services::IsTutorialBusy()
{
    const CInstructions* instructions = CInstructions::Peek();
    return instructions && instructions->IsBusy();
}

void CHintsView::Services::StartFlip()
{
    if (CScreenFlip* flip = CScreenFlip::Peek())
        flip->Flip();
}

void CHintsView::Services::GetLimbPoints(std::vector<Vector2<float>>& points)
{
    points.clear();
    CFrog* frog = CFrog::Peek();
    if (!frog)
        return;
    const CSkeleton* skeleton = frog->GetSkeleton();
    const CView& view = CView::GetCurrent();
    const Vector2<float> offset = BoardOffset();
    const unsigned limbs = std::min(4u, std::min(skeleton->GetLimbJointCount(), skeleton->GetJointCount()));
    for (unsigned joint = 0; joint < limbs; ++joint)
        points.push_back(
            ToButtonSpace(view.ViewToScreen(skeleton->GetJointPosition(joint) + offset), view.GetViewport()));
}

void CHintsView::Services::ShowHint(Pose pose)
{
    if (CHintsView* view = CHintsView::Peek())
        view->RenderGhost(pose);
}

void CHintsView::DrawHintOnBoard()
{
    // The front end's ponds may hold a board too; the hints only live in "maingame".
    if (CHints::Peek())
        if (CHintsView* view = Peek())
            view->DrawOnBoard();
}

void CHintsView::Init()
{
    CControl::Register(kScope, "puzzle");
    CDrawing::Register(kScope, kPrepass);
    CDrawing::Register(kScope, kPass);
    const CHints* hints = CHints::Instance();
    const float r = hints->GetButtonRadius();
    m_button = QuadBatch(hints->GetButtonPosition(), Vector4<float>(-r, -r, r, r), CMaterialSet::Instance()->Find("hint"),
                         Vector4<float>(1, 1, 1, 1), Vector4<float>(0, 0, 1, 1), 0.0f);
}

CHintsView::~CHintsView()
{
    CControl::Unregister();
    CDrawing::Unregister(kScope, kPrepass);
    CDrawing::Unregister(kScope, kPass);
}

bool CHintsView::OnClick(const InputEvent& event)
{
    CHints* hints = CHints::Peek();
    const CView& view = CView::GetCurrent();
    return hints && hints->OnClick(ToButtonSpace(event.position, view.GetViewport()));
}

bool CHintsView::OnMessage(const InputEvent& event)
{
    CHints* hints = CHints::Peek();
    return hints && hints->OnMessage(event.name);
}

void CHintsView::Draw()
{
    const CHints* hints = CHints::Peek();
    if (GetPassId() != kPassId || !hints || !(hints->GetAlpha() > 0.0f))
        return;
    // A view whose unit is the viewport's shorter side: its coordinates are button space.
    const CView& screen = CView::GetCurrent();
    const Vector4<int32_t>& viewport = screen.GetViewport();
    const float side = float(std::max(1, std::min(viewport.z, viewport.w)));
    const CView buttonView(viewport, Vector4<float>(0.0f, 0.0f, float(viewport.z) / side, float(viewport.w) / side));
    for (float factor : CHints::DrawFactors(hints->GetAlpha()))
    {
        m_button.SetColour(Vector4<float>(factor, factor, factor, factor));
        m_button.Draw();
    }
}

void CHintsView::RenderGhost(Pose pose)
{
    CGraphics* graphics = CGraphics::Peek();
    CFrog* frog = CFrog::Peek();
    if (!graphics || !graphics->IsLive() || !frog)
        return;
    const Vector4<float> rect = CView::GetCurrent().GetRect();
    if (!m_texture)
    {
        const Vector4<int32_t>& viewport = CView::GetCurrent().GetViewport();
        m_texture = CTextureSet::Instance()->Get("_hint");
        m_texture->SetRenderTarget(CTexture::kRenderTarget);
        m_texture->SetCompression(CTexture::kCompressNever);
        m_texture->SetFormat(GL_RGBA);
        m_texture->SetSize(Vector2<int32_t>(std::max(1, viewport.z / 2), std::max(1, viewport.w / 2)));
        m_texture->EnsureLoaded();
    }
    {
        // The scope stores the rows flipped, so the picture reads upright with v down, as a
        // file texture does.
        const RenderTargetScope target(m_texture, rect);
        graphics->ClearColour(kGhostClear);
        // The frog draws itself at the board's offset; the picture is drawn at it later.
        const BoardTranslation unshifted(-BoardOffset());
        frog->DrawAtPose(pose, nullptr);
    }
    CRef<CMaterial> material = CMaterialSet::Instance()->Find("_hint");
    material->SetBlend(GL_DST_COLOR, GL_SRC_ALPHA);
    // White where the picture is clear, so the board around the ghost stays as it is.
    m_picture = QuadBatch(Vector2<float>(), Vector4<float>(rect.x, rect.y, rect.x + rect.z, rect.y + rect.w), material,
                          Vector4<float>(1, 1, 1, s_ghostAlpha.Get()), Vector4<float>(0, 0, 1, 1), 0.0f);
}

void CHintsView::DrawOnBoard()
{
    const CHints* hints = CHints::Peek();
    if (!hints || !hints->HasHint() || !m_texture || !m_texture->IsValid())
        return;
    const BoardTranslation shifted(BoardOffset());
    m_picture.Draw();
}

Vector2<float> CHintsView::ToButtonSpace(const Vector2<float>& screen, const Vector4<int32_t>& viewport)
{
    const float side = float(std::max(1, std::min(viewport.z, viewport.w)));
    return Vector2<float>((screen.x - float(viewport.x)) / side, (screen.y - float(viewport.y)) / side);
}
