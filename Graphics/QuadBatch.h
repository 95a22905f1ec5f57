#pragma once
// Textured, coloured quads that share one material and one placement, drawn with client arrays in
// one call: sprites, buttons, glyphs, particles and board pieces are all quad batches.
// Quad i owns vertices 4i..4i+3; for a rectangle (x0, y0, x1, y1) they are (x0, y1), (x1, y1),
// (x1, y0), (x0, y0), and a uv rectangle goes to the same corners. Invariant: at most kMaxQuads
// quads (u16 indices); after Prepare the colours cover every vertex, every uv set covers every
// quad and there are exactly 6 indices a quad (none for a single quad, drawn as a fan), so a draw
// never reads past an array.
#include "core/CRef.h"
#include "core/MathConstants.h"
#include "core/Matrix3.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

#include <cstdint>
#include <vector>

class CMaterial;

class QuadBatch
{
  public:
    static constexpr uint32_t kMaxQuads = 16384;
    using UvSet = std::vector<Vector2<float>>;

    // Empty: batch colour white, no normal, translation (0, 0, 1), no material (the default one).
    QuadBatch();
    // One quad: rect at position (z 1 for the 2-D form), uv set 0 = uv, rotation in degrees.
    QuadBatch(const Vector2<float>& position, const Vector4<float>& rect, const CRef<CMaterial>& material,
              const Vector4<float>& colour, const Vector4<float>& uv, float rotation);
    QuadBatch(const Vector3<float>& position, const Vector4<float>& rect, const CRef<CMaterial>& material,
              const Vector4<float>& colour, const Vector4<float>& uv, float rotation);
    QuadBatch(const QuadBatch&);
    QuadBatch& operator=(const QuadBatch&);
    ~QuadBatch();

    uint32_t GetQuadCount() const { return static_cast<uint32_t>(m_positions.size() / 4); }
    void Reserve(uint32_t quads);
    // Cuts to n quads (positions, uvs, colours), or adds white quads (-1, -1, 1, 1) with the whole
    // texture until there are n.
    void SetQuadCount(uint32_t n);

    // Writes quad i's corners at z 0; quads up to i that do not exist yet appear at the origin.
    // Ignored for i at or beyond kMaxQuads.
    void SetQuadRect(uint32_t i, const Vector4<float>& rect);
    // (x0, y0, x1, y1) of quad i; zero when it does not exist.
    Vector4<float> GetQuadRect(uint32_t i) const;
    // A 2-D affine transform of quad i's corners (creating the quad at the origin first).
    void TransformQuad(uint32_t i, const Matrix3& transform);

    // Uv set j feeds texture unit j; ignored for a set at or beyond the texture units GL offers.
    // Never cuts what later quads have.
    void SetQuadUv(uint32_t i, uint32_t j, const Vector4<float>& uv);
    Vector4<float> GetQuadUv(uint32_t i, uint32_t j) const;

    // One colour for every quad: the per-vertex colours go.
    void SetColour(const Vector4<float>& colour);
    // Switches to per-vertex colours; vertices that had none take the batch colour.
    void SetQuadColour(uint32_t i, const Vector4<float>& colour);
    Vector4<float> GetQuadColour(uint32_t i) const;
    const Vector4<float>& GetColour() const { return m_colour; }

    // Appends a quad; the batch stays uniform (no per-vertex colours) while every quad has the
    // batch colour. Ignored once the batch holds kMaxQuads.
    void AddQuad(const Vector4<float>& rect, const Vector4<float>& uv, const Vector4<float>& colour);
    void AddQuad(const Vector4<float>& rect, const std::vector<Vector4<float>>& uvs,
                 const Vector4<float>& colour);

    void SetMaterial(const CRef<CMaterial>& material);
    // Empties the quads and drops the material; translation (0, 0, 0), no rotation, scale (1, 1).
    void Clear();

    // Completes colours, uv sets and indices for the current quads (Draw does it when needed).
    void Prepare();
    // Nothing for a null-style material or a scale of exactly (0, 0). Uses CGraphics::SetMaterial
    // and the model-view matrix (pushed only when the placement is not the identity).
    void Draw();

    const std::vector<Vector3<float>>& GetPositions() const { return m_positions; }
    const std::vector<Vector4<float>>& GetColours() const { return m_colours; }
    const std::vector<UvSet>& GetUvSets() const { return m_uvSets; }
    const std::vector<uint16_t>& GetIndices() const { return m_indices; }
    bool IsDirty() const { return m_dirty; }

    // Placement, set directly: translation, rotation in degrees about z, scale, and the normal
    // (kUnsetVector3f: none sent).
    Vector3<float> translation{0.0f, 0.0f, 1.0f};
    float rotation = 0.0f;
    Vector2<float> scale{1.0f, 1.0f};
    Vector3<float> normal = kUnsetVector3f;
    CRef<CMaterial> material;

  private:
    // Makes quad i exist (new quads at the origin); its first vertex.
    size_t GrowTo(uint32_t i);
    // Whether the arrays fall short of the invariant for the current quads and material.
    bool NeedsPrepare() const;
    uint32_t MaterialUnitCount() const;
    void WriteUv(UvSet& set, uint32_t i, const Vector4<float>& uv);

    std::vector<uint16_t> m_indices;
    std::vector<Vector3<float>> m_positions;
    std::vector<Vector4<float>> m_colours; // empty: every vertex has the batch colour
    std::vector<UvSet> m_uvSets;
    Vector4<float> m_colour{1.0f, 1.0f, 1.0f, 1.0f};
    bool m_dirty = true;
};
