#include "Graphics/QuadBatch.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"
#include "Graphics/MaterialCaps.h"

#include <GLES/gl.h>
#include <algorithm>

static_assert(sizeof(Vector2<float>) == 2 * sizeof(float) && sizeof(Vector3<float>) == 3 * sizeof(float) &&
                  sizeof(Vector4<float>) == 4 * sizeof(float),
              "vertex arrays are handed to GL as packed floats");

namespace
{
const Vector4<float> kWholeTexture(0.0f, 0.0f, 1.0f, 1.0f);
}

QuadBatch::QuadBatch() = default;

QuadBatch::QuadBatch(const Vector2<float>& position, const Vector4<float>& rect,
                     const CRef<CMaterial>& material_, const Vector4<float>& colour, const Vector4<float>& uv,
                     float rotation_)
    : QuadBatch(Vector3<float>(position.x, position.y, 1.0f), rect, material_, colour, uv, rotation_)
{
}

QuadBatch::QuadBatch(const Vector3<float>& position, const Vector4<float>& rect,
                     const CRef<CMaterial>& material_, const Vector4<float>& colour, const Vector4<float>& uv,
                     float rotation_)
    : translation(position), rotation(rotation_), material(material_), m_colour(colour)
{
    SetQuadRect(0, rect);
    SetQuadUv(0, 0, uv);
}

QuadBatch::QuadBatch(const QuadBatch&) = default;
QuadBatch& QuadBatch::operator=(const QuadBatch&) = default;
QuadBatch::~QuadBatch() = default;

void QuadBatch::Reserve(uint32_t quads)
{
    m_positions.reserve(4 * size_t(std::min(quads, kMaxQuads)));
}

void QuadBatch::SetQuadCount(uint32_t n)
{
    n = std::min(n, kMaxQuads);
    if (n < GetQuadCount())
    {
        const size_t vertices = 4 * size_t(n);
        m_positions.resize(vertices);
        for (UvSet& set : m_uvSets)
            set.resize(std::min(set.size(), vertices));
        m_colours.resize(std::min(m_colours.size(), vertices));
        // The indices of the cut quads must go before the next draw.
        m_dirty = true;
        return;
    }
    while (GetQuadCount() < n)
        AddQuad(Vector4<float>(-1.0f, -1.0f, 1.0f, 1.0f), kWholeTexture,
                Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
}

void QuadBatch::SetQuadRect(uint32_t i, const Vector4<float>& rect)
{
    if (i >= kMaxQuads)
        return;
    const size_t first = GrowTo(i);
    m_positions[first + 0] = Vector3<float>(rect.x, rect.w, 0.0f);
    m_positions[first + 1] = Vector3<float>(rect.z, rect.w, 0.0f);
    m_positions[first + 2] = Vector3<float>(rect.z, rect.y, 0.0f);
    m_positions[first + 3] = Vector3<float>(rect.x, rect.y, 0.0f);
}

Vector4<float> QuadBatch::GetQuadRect(uint32_t i) const
{
    if (i >= GetQuadCount())
        return Vector4<float>();
    const Vector3<float>& low = m_positions[4 * size_t(i) + 3];
    const Vector3<float>& high = m_positions[4 * size_t(i) + 1];
    return Vector4<float>(low.x, low.y, high.x, high.y);
}

void QuadBatch::TransformQuad(uint32_t i, const Matrix3& transform)
{
    if (i >= kMaxQuads)
        return;
    const size_t first = GrowTo(i);
    for (size_t v = first; v < first + 4; ++v)
    {
        const Vector2<float> moved =
            transform.TransformPoint(Vector2<float>(m_positions[v].x, m_positions[v].y));
        m_positions[v].x = moved.x;
        m_positions[v].y = moved.y;
    }
}

void QuadBatch::SetQuadUv(uint32_t i, uint32_t j, const Vector4<float>& uv)
{
    m_dirty = true;
    if (j >= MaterialCaps::Current().textureUnits || i >= kMaxQuads)
        return;
    if (m_uvSets.size() <= j)
        m_uvSets.resize(j + 1);
    WriteUv(m_uvSets[j], i, uv);
}

Vector4<float> QuadBatch::GetQuadUv(uint32_t i, uint32_t j) const
{
    if (j >= m_uvSets.size() || m_uvSets[j].size() < 4 * size_t(i) + 4)
        return Vector4<float>();
    const Vector2<float>& low = m_uvSets[j][4 * size_t(i) + 3];
    const Vector2<float>& high = m_uvSets[j][4 * size_t(i) + 1];
    return Vector4<float>(low.x, low.y, high.x, high.y);
}

void QuadBatch::SetColour(const Vector4<float>& colour)
{
    m_colour = colour;
    m_colours.clear();
    m_dirty = true;
}

void QuadBatch::SetQuadColour(uint32_t i, const Vector4<float>& colour)
{
    m_dirty = true;
    if (i >= kMaxQuads)
        return;
    const size_t first = 4 * size_t(i);
    // Only vertices without a colour take the batch colour: later quads keep theirs.
    const size_t needed = std::max(first + 4, m_positions.size());
    if (m_colours.size() < needed)
        m_colours.resize(needed, m_colour);
    std::fill(m_colours.begin() + first, m_colours.begin() + first + 4, colour);
}

Vector4<float> QuadBatch::GetQuadColour(uint32_t i) const
{
    if (m_colours.empty())
        return m_colour;
    return 4 * size_t(i) < m_colours.size() ? m_colours[4 * size_t(i)] : Vector4<float>();
}

void QuadBatch::AddQuad(const Vector4<float>& rect, const Vector4<float>& uv, const Vector4<float>& colour)
{
    AddQuad(rect, std::vector<Vector4<float>>{uv}, colour);
}

void QuadBatch::AddQuad(const Vector4<float>& rect, const std::vector<Vector4<float>>& uvs,
                        const Vector4<float>& colour)
{
    const uint32_t n = GetQuadCount();
    if (n >= kMaxQuads)
        return;
    SetQuadRect(n, rect);
    for (uint32_t j = 0; j < uvs.size(); ++j)
        SetQuadUv(n, j, uvs[j]);
    if (n > 0 && (colour != m_colour || !m_colours.empty()))
        SetQuadColour(n, colour);
    m_colour = colour;
}

void QuadBatch::SetMaterial(const CRef<CMaterial>& material_)
{
    material = material_;
}

void QuadBatch::Clear()
{
    m_positions.clear();
    m_uvSets.clear();
    m_colours.clear();
    m_indices.clear();
    material.Reset();
    translation = Vector3<float>(0.0f, 0.0f, 0.0f);
    rotation = 0.0f;
    scale = Vector2<float>(1.0f, 1.0f);
    m_dirty = true;
}

void QuadBatch::Prepare()
{
    if (m_positions.empty())
        SetQuadRect(0, Vector4<float>());
    const uint32_t n = GetQuadCount();
    const size_t vertices = 4 * size_t(n);

    const size_t sets = std::max<size_t>(MaterialUnitCount(), 1);
    if (m_uvSets.size() < sets)
        m_uvSets.resize(sets);

    if (m_colours.size() < vertices)
        m_colours.resize(vertices, m_colour);

    for (UvSet& set : m_uvSets)
        for (uint32_t q = static_cast<uint32_t>(set.size() / 4); q < n; ++q)
            WriteUv(set, q, kWholeTexture);

    // Exactly six a quad: indices left from quads since cut would point past the vertices.
    const size_t wanted = n > 1 ? 6 * size_t(n) : 0;
    const uint32_t kept = static_cast<uint32_t>(std::min(m_indices.size(), wanted) / 6);
    m_indices.resize(6 * size_t(kept));
    for (uint32_t q = kept; 6 * size_t(q) < wanted; ++q)
    {
        const uint16_t base = static_cast<uint16_t>(4 * q);
        const uint16_t quad[6] = {base, uint16_t(base + 1), uint16_t(base + 2), uint16_t(base + 3),
                                  base, uint16_t(base + 2)};
        m_indices.insert(m_indices.end(), quad, quad + 6);
    }
    m_dirty = false;
}

void QuadBatch::Draw()
{
    if (material && material->IsNullStyle())
        return;
    if (scale.x == 0.0f && scale.y == 0.0f)
        return;
    CGraphics* graphics = CGraphics::Peek();
    if (graphics == nullptr || !graphics->IsLive())
        return;
    if (NeedsPrepare())
        Prepare();
    graphics->SetMaterial(material.Get());

    const bool placed = translation != Vector3<float>(0.0f, 0.0f, 0.0f) || rotation != 0.0f ||
                        scale != Vector2<float>(1.0f, 1.0f);
    if (placed)
    {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        if (translation != Vector3<float>(0.0f, 0.0f, 0.0f))
            glTranslatef(translation.x, translation.y, translation.z);
        if (rotation != 0.0f)
            glRotatef(rotation, 0.0f, 0.0f, 1.0f);
        if (scale != Vector2<float>(1.0f, 1.0f))
            glScalef(scale.x, scale.y, 1.0f);
    }

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, m_positions.data());
    if (normal != kUnsetVector3f)
        glNormal3f(normal.x, normal.y, normal.z);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, m_colours.data());
    const size_t sets = std::min<size_t>(m_uvSets.size(), graphics->GetUnitCount());
    for (size_t j = 0; j < sets; ++j)
    {
        glClientActiveTexture(GLenum(GL_TEXTURE0 + j));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, m_uvSets[j].data());
    }

    if (m_indices.empty())
        glDrawArrays(GL_TRIANGLE_FAN, 0, static_cast<GLsizei>(m_positions.size()));
    else
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m_indices.size()), GL_UNSIGNED_SHORT,
                       m_indices.data());

    for (size_t j = sets; j-- > 0;)
    {
        glClientActiveTexture(GLenum(GL_TEXTURE0 + j));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    if (placed)
        glPopMatrix();
}

size_t QuadBatch::GrowTo(uint32_t i)
{
    const size_t first = 4 * size_t(i);
    if (m_positions.size() < first + 4)
    {
        m_positions.resize(first + 4, Vector3<float>(0.0f, 0.0f, 0.0f));
        m_dirty = true;
    }
    return first;
}

bool QuadBatch::NeedsPrepare() const
{
    if (m_dirty || m_positions.empty())
        return true;
    const uint32_t n = GetQuadCount();
    const size_t vertices = 4 * size_t(n);
    if (m_colours.size() < vertices || m_indices.size() != (n > 1 ? 6 * size_t(n) : 0))
        return true;
    // A material with more units than the batch has uv sets may have come in since the last Prepare.
    if (m_uvSets.size() < std::max<size_t>(MaterialUnitCount(), 1))
        return true;
    return std::any_of(m_uvSets.begin(), m_uvSets.end(),
                       [&](const UvSet& set) { return set.size() < vertices; });
}

uint32_t QuadBatch::MaterialUnitCount() const
{
    return material ? material->GetUnitCount() : 0;
}

void QuadBatch::WriteUv(UvSet& set, uint32_t i, const Vector4<float>& uv)
{
    const size_t first = 4 * size_t(i);
    // Quads skipped on the way get the whole texture, as Prepare gives quads without uvs.
    for (uint32_t q = static_cast<uint32_t>(set.size() / 4); q < i; ++q)
        WriteUv(set, q, kWholeTexture);
    if (set.size() < first + 4)
        set.resize(first + 4);
    set[first + 0] = Vector2<float>(uv.x, uv.w);
    set[first + 1] = Vector2<float>(uv.z, uv.w);
    set[first + 2] = Vector2<float>(uv.z, uv.y);
    set[first + 3] = Vector2<float>(uv.x, uv.y);
}
