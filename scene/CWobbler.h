#pragma once
// A drift of one texture unit's uv rectangle: the rest rectangle moved by a sum of cosine (u) and
// sine (v) terms of the game clock, its size unchanged. A plain value read from a "wobbler"
// element of a layer; evaluating it is a pure function of the time given.
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>
#include <vector>

class CXmlNode;

class CWobbler
{
  public:
    CWobbler() = default;
    // "unit" (uv set, default 0), "uvs" (rest rectangle, default 0,0,1,1), "translate"
    // (amplitude, then x,y frequency pairs in cycles per second; a missing y repeats its x).
    explicit CWobbler(const CXmlNode& element);

    // The uv rectangle (u0, v0, u1, v1) at the game clock nowMs (milliseconds).
    Vector4<float> Evaluate(int32_t nowMs) const;

    int32_t unit = 0;
    Vector4<float> uvs{0.0f, 0.0f, 1.0f, 1.0f};
    float amplitude = 0.0f;
    std::vector<Vector2<float>> terms; // (x frequency, y frequency), cycles per second
};
