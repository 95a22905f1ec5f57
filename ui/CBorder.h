#pragma once
// A frame of constant thickness round the edge of the screen, drawn from one texture as a
// nine-slice ring whose centre is open: the corners keep their texture unstretched in proportion
// to the screen height while the edges stretch along the sides. Drawn in its own pass and over
// every pane backdrop. Invariant: the geometry matches the viewport of the last draw since the
// last resize.
#include "Graphics/Mesh.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CSingleton.h"
#include "core/Vector4.h"
#include "platform/CDrawing.h"

class CMaterial;

class CBorder : public CBase, public CDrawing, public CResizes, public CSingleton<CBorder>
{
  public:
    // The pane renderer's border drawer: the singleton's Draw.
    static void DrawFrame();

    // Builds the frame for the current viewport when it has none, then draws it in a pixel
    // view of the whole screen.
    void Draw() override;
    // The next draw builds the frame for the new viewport.
    void Resize() override;

    // The 16 corner points (pixels) and their uvs for a viewport (x, y, width, height).
    void BuildFrame(const Vector4<int32_t>& viewport);
    const Mesh& GetMesh() const { return m_mesh; }
    float GetThickness() const { return m_thickness; }

  private:
    friend class CSingleton<CBorder>;
    // Reads the "border/" tuning values and joins the pass "border" of the scope "global".
    CBorder();
    ~CBorder() override;

    CRef<CMaterial> m_material;
    Vector4<float> m_uvOuter;
    Vector4<float> m_uvInner;
    float m_thickness = 0.0f;
    Mesh m_mesh;
};
