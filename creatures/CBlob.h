#pragma once
// A small sprite fixed to a point of a body piece: a spot or wart on the frog's skin. Its picture
// comes from a named blob type that the species defines once under "body"/"blob", so that many
// spots share one material. Drawn upright, sized by the piece's width scale only. Picture
// coordinates are texture units of the piece's picture.
#include "Graphics/CMaterial.h"
#include "core/CRef.h"
#include "core/Matrix3.h"
#include "core/Vector2.h"
#include "core/Vector4.h"

class CXmlNode;

struct CBlob
{
    // Reads a "blob" element of a "flap" and looks its type up four levels above it (the flap,
    // its group, "flaps", "body"). False when the type is missing or its material is of the
    // "null" style: the piece drops such a blob.
    bool Load(CXmlNode& element);
    // Where the sprite lies for the piece's transform (picture to board): centre and rect in
    // board cells. False for a blob of scale 0, which is never drawn.
    bool Place(const Matrix3& transform, Vector2<float>& position, Vector4<float>& rect) const;
    void Draw(const Matrix3& transform) const;

    CRef<CMaterial> material;
    Vector4<float> uv;
    Vector2<float> position;
    float scale = 0.0f; // relative to the piece
};
