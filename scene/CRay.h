#pragma once
// One shaft of light of a "Rays" layer: a quad from its origin along its local +y, turned by its
// angle, that breathes in half width and opacity with a product of slow sine waves. Lengths are
// view units, angles degrees, times milliseconds of the pond's layer clock.
#include "Graphics/CMaterial.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "scene/SineWaves.h"

#include <cstdint>

class CXmlNode;

class CRay : public CBase
{
  public:
    // What a ray looks like at one moment.
    struct Look
    {
        float alpha = 0.0f;     // opacity, 0 to 1
        float halfWidth = 0.0f; // never negative
    };

    // A ray loaded from a "ray" element.
    static CRef<CRay> Create(const CXmlNode& element);

    // "position", "material", "uvs", "angle", "length", "width" and "alpha" (ranges, minimum
    // first), "frequency" (one wave each, at a random phase).
    virtual void Load(const CXmlNode& element);
    // The ray as it looks at now (ms).
    Look LookAt(int32_t now) const;
    // Draws the quad (-w, 0, w, length) about the position, turned by the angle, in white at the
    // look's alpha.
    void Draw(int32_t now) const;

    const Vector2<float>& GetPosition() const { return m_position; }
    const CRef<CMaterial>& GetMaterial() const { return m_material; }
    const Vector4<float>& GetUvs() const { return m_uvs; }
    float GetAngle() const { return m_angle; }
    const Vector2<float>& GetWidth() const { return m_width; }
    const Vector2<float>& GetAlpha() const { return m_alpha; }
    float GetLength() const { return m_length; }
    const SineWaves& GetWaves() const { return m_waves; }

  private:
    Vector2<float> m_position;
    CRef<CMaterial> m_material;
    Vector4<float> m_uvs = Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f);
    float m_angle = 0.0f;
    Vector2<float> m_width; // minimum, maximum half width
    Vector2<float> m_alpha; // minimum, maximum opacity
    float m_length = 0.0f;
    SineWaves m_waves;
};
