#include "Graphics/Mesh.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterial.h"

#include <GLES/gl.h>
#include <algorithm>

Mesh::Mesh() = default;
Mesh::Mesh(const Mesh&) = default;
Mesh& Mesh::operator=(const Mesh&) = default;
Mesh::~Mesh() = default;

void Mesh::BuildGrid(const Vector4<float>& rect, uint32_t columns, uint32_t rows)
{
    indices.clear();
    positions.clear();
    normals.clear();
    colours.clear();
    uvSets.assign(1, {});
    // Each step divides by columns - 1 and rows - 1.
    columns = std::max(columns, 2u);
    rows = std::max(rows, 2u);
    if (uint64_t(columns) * rows > kMaxVertices)
        return;

    std::vector<Vector2<float>>& uvs = uvSets[0];
    const size_t count = size_t(columns) * rows;
    positions.reserve(count);
    uvs.reserve(count);
    for (uint32_t j = 0; j < rows; ++j)
    {
        const float v = float(j) / float(rows - 1);
        for (uint32_t i = 0; i < columns; ++i)
        {
            const float u = float(i) / float(columns - 1);
            positions.emplace_back(rect.x + u * (rect.z - rect.x), rect.y + v * (rect.w - rect.y), 0.0f);
            uvs.emplace_back(u, v);
        }
    }
    normals.assign(count, Vector3<float>(0.0f, 0.0f, -1.0f));
    colours.assign(count, Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));

    indices.reserve(6 * size_t(columns - 1) * (rows - 1));
    for (uint32_t r = 1; r < rows; ++r)
    {
        for (uint32_t c = 0; c + 1 < columns; ++c)
        {
            const uint16_t a = uint16_t((r - 1) * columns + c);
            const uint16_t b = uint16_t(r * columns + c);
            const uint16_t cell[6] = {a, b, uint16_t(b + 1), uint16_t(b + 1), uint16_t(a + 1), a};
            indices.insert(indices.end(), cell, cell + 6);
        }
    }
}

void Mesh::Draw()
{
    if ((material && material->IsNullStyle()) || positions.empty())
        return;
    const size_t count = positions.size();
    if (!indices.empty() && *std::max_element(indices.begin(), indices.end()) >= count)
        return;
    CGraphics* graphics = CGraphics::Peek();
    if (graphics == nullptr || !graphics->IsLive())
        return;
    graphics->SetMaterial(material.Get());

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(matrix.m);

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    const bool colourArray = colours.size() >= count;
    if (colourArray)
    {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, 0, colours.data());
    }
    const bool normalArray = normals.size() >= count && count > 1;
    if (normalArray)
    {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, normals.data());
    }
    else if (!normals.empty())
        glNormal3f(normals[0].x, normals[0].y, normals[0].z);
    else
        glNormal3f(0.0f, 0.0f, -1.0f);
    const size_t sets = std::min<size_t>(uvSets.size(), graphics->GetUnitCount());
    for (size_t j = 0; j < sets; ++j)
    {
        if (uvSets[j].size() < count)
            continue;
        glClientActiveTexture(GLenum(GL_TEXTURE0 + j));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, uvSets[j].data());
    }

    if (indices.empty())
        glDrawArrays(GL_TRIANGLE_FAN, 0, static_cast<GLsizei>(count));
    else
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());

    for (size_t j = sets; j-- > 0;)
    {
        glClientActiveTexture(GLenum(GL_TEXTURE0 + j));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glClientActiveTexture(GL_TEXTURE0);
    if (normalArray)
        glDisableClientState(GL_NORMAL_ARRAY);
    if (colourArray)
        glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
}
