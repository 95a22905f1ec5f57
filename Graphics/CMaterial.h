#pragma once
// Everything fixed-function drawing needs besides geometry: texture units, blending, depth test and
// write, colour write mask, alpha threshold, and the "null" style of geometry that is never drawn.
// Invariant: the units never outnumber the texture units GL offered when they were set, and unit i
// is applied to GL unit i. Made current only through CGraphics::SetMaterial.
#include "Graphics/TextureUnit.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CString.h"

#include <GLES/gl.h>
#include <cstdint>
#include <vector>

class CXmlNode;
struct MaterialCaps;

class CMaterial : public CBase
{
  public:
    // Construction values, then Load (element).
    static CRef<CMaterial> Create(CXmlNode& element);
    // Construction values: no units, (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA), no depth test, depth
    // writes, all channels, alpha test GL_GREATER 0.
    static CRef<CMaterial> CreateDefault();
    // Construction values and one default unit showing the texture of name.
    static CRef<CMaterial> CreateForTexture(const CString& name);
    // Construction values with other's units (textures shared) and blend factors; nothing else.
    static CRef<CMaterial> Clone(const CMaterial& other);
    ~CMaterial() override;

    // Takes the element's tag as name, then the element itself, or the first "variant" child whose
    // "caps" pass; when none passes, everything stays as it was.
    void Load(CXmlNode& element);
    void Load(CXmlNode& element, const MaterialCaps& caps);
    // Reads every setting from element (missing attributes give the document defaults, which
    // differ from construction: no alpha test).
    void Parse(CXmlNode& element, const MaterialCaps& caps);
    // Re-reads the "materials" document for the next variant after the current one that passes.
    // A material whose element or variants are missing keeps everything.
    void NextVariant();

    // Binds and configures the units, then the blend, depth and mask state. A unit 0 whose
    // texture failed to load writes nothing: depth and colour writes go off.
    void Apply();

    const CString& GetName() const { return m_name; }
    uint32_t GetVariant() const { return m_variant; }
    const std::vector<TextureUnit>& GetUnits() const { return m_units; }
    uint32_t GetUnitCount() const { return static_cast<uint32_t>(m_units.size()); }
    // The texture of unit i; null for a unit the material does not have.
    CRef<CTexture> GetTexture(uint32_t i) const;
    // Ignored for i at or beyond the texture units GL offers; otherwise the units grow with default
    // units to reach i. Like a Reload, not seen by CGraphics until the material is made current
    // again after another one.
    void SetTexture(uint32_t i, const CRef<CTexture>& texture);
    void SetFilter(uint32_t i, uint32_t filter);
    // The texture matrix of unit i (applied before the texture's own uv transform); CGraphics is
    // told, so it reaches GL at the next SetMaterial even while this material is current.
    void SetMatrix(uint32_t i, const Matrix4& matrix);

    // These take effect at the next SetMaterial, even while this material is current.
    void SetBlend(GLenum source, GLenum destination);
    void SetColourMask(bool red, bool green, bool blue, bool alpha);
    void SetDepthWrite(bool write);
    void SetDepthTest(bool test);

    GLenum GetBlendSource() const { return m_blendSource; }
    GLenum GetBlendDestination() const { return m_blendDestination; }
    bool GetDepthTest() const { return m_depthTest; }
    bool GetDepthWrite() const { return m_depthWrite; }
    // Four flags, red, green, blue, alpha: non-zero = written.
    const uint32_t* GetColourMask() const { return m_colourMask; }
    // Null style: the geometry is not drawn at all.
    bool IsNullStyle() const { return m_nullStyle; }
    // At least 0: pixels with alpha at or below it are discarded; below 0: no alpha test.
    float GetAlphaThreshold() const { return m_alphaThreshold; }

  private:
    CMaterial() = default;
    // Where SetTexture and SetFilter may write: unit i exists afterwards, or false.
    bool GrowTo(uint32_t i);
    void Forget();

    CString m_name;
    uint32_t m_variant = 0;
    std::vector<TextureUnit> m_units;
    GLenum m_blendSource = GL_SRC_ALPHA;
    GLenum m_blendDestination = GL_ONE_MINUS_SRC_ALPHA;
    bool m_depthTest = false;
    bool m_depthWrite = true;
    uint32_t m_colourMask[4] = {1, 1, 1, 1};
    bool m_nullStyle = false;
    float m_alphaThreshold = 0.0f;
};
