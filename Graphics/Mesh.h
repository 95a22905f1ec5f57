#pragma once
// An indexed triangle list with its own model-view matrix, filled directly by its user; the
// renderer builds regular grids with it (the card-flip deforms one). Invariant of a draw: arrays
// shorter than the positions are left out and indices past the positions draw nothing, so a draw
// never reads outside the arrays.
#include "core/CRef.h"
#include "core/Matrix4.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

#include <cstdint>
#include <vector>

class CMaterial;

class Mesh
{
  public:
    // The most vertices u16 indices reach.
    static constexpr uint32_t kMaxVertices = 65536;

    Mesh();
    Mesh(const Mesh&);
    Mesh& operator=(const Mesh&);
    ~Mesh();

    // A grid of columns x rows vertices over rect (x0, y0, x1, y1), row by row, uv 0..1 across it,
    // normals (0, 0, -1), white; two triangles a cell. Fewer than 2 columns or rows count as 2; a
    // grid of more than kMaxVertices vertices leaves the mesh empty.
    void BuildGrid(const Vector4<float>& rect, uint32_t columns, uint32_t rows);
    // Nothing for a null-style material or no positions. The matrix replaces the model-view
    // matrix for the draw, so it must hold the view transform already.
    void Draw();

    std::vector<uint16_t> indices;
    std::vector<Vector3<float>> positions;
    std::vector<Vector3<float>> normals;
    std::vector<Vector4<float>> colours;
    std::vector<std::vector<Vector2<float>>> uvSets;
    CRef<CMaterial> material;
    Matrix4 matrix;
};
