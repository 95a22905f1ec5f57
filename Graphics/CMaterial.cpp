#include "Graphics/CMaterial.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/MaterialCaps.h"
#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/ParseBool.h"
#include "core/TextFields.h"

namespace
{

// A child element named name, the first after the cursor, walking without touching the cursor.
CXmlNode* NextChildNamed(CXmlNode& parent, CXmlNode* after, std::string_view name)
{
    CXmlNode* child = after ? after->NextSibling() : parent.FirstChild();
    while (child != nullptr && child->GetName() != name)
        child = child->NextSibling();
    return child;
}

bool ReadFlag(const CXmlNode& element, std::string_view name, bool def)
{
    const CString* text = element.FindOwnAttribute(name);
    return text == nullptr || text->empty() ? def : ParseBool(text->c_str());
}

} // namespace

CRef<CMaterial> CMaterial::Create(CXmlNode& element)
{
    CRef<CMaterial> material = CRef<CMaterial>::Adopt(new CMaterial());
    material->Load(element);
    return material;
}

CRef<CMaterial> CMaterial::CreateDefault()
{
    return CRef<CMaterial>::Adopt(new CMaterial());
}

CRef<CMaterial> CMaterial::CreateForTexture(const CString& name)
{
    CRef<CMaterial> material = CreateDefault();
    material->m_name = name;
    material->m_units.emplace_back();
    material->m_units[0].texture = CTextureSet::Instance()->Get(name);
    return material;
}

CRef<CMaterial> CMaterial::Clone(const CMaterial& other)
{
    CRef<CMaterial> material = CreateDefault();
    material->m_units = other.m_units;
    material->m_blendSource = other.m_blendSource;
    material->m_blendDestination = other.m_blendDestination;
    return material;
}

CMaterial::~CMaterial()
{
    // A later material may take this address; the cache must not take it for this one.
    if (CGraphics* graphics = CGraphics::Peek())
        graphics->ForgetMaterial(this);
}

void CMaterial::Load(CXmlNode& element)
{
    Load(element, MaterialCaps::Current());
}

void CMaterial::Load(CXmlNode& element, const MaterialCaps& caps)
{
    m_name = element.GetName();
    CXmlNode* variant = NextChildNamed(element, nullptr, "variant");
    if (variant == nullptr)
    {
        Parse(element, caps);
        return;
    }
    for (uint32_t index = 0; variant != nullptr;
         ++index, variant = NextChildNamed(element, variant, "variant"))
    {
        if (caps.Check(variant->GetAttribute("caps").c_str()))
        {
            Parse(*variant, caps);
            m_variant = index;
            return;
        }
    }
}

void CMaterial::Parse(CXmlNode& element, const MaterialCaps& caps)
{
    m_units.clear();
    auto store = [&](const CXmlNode& unitElement)
    {
        TextureUnit unit(unitElement, caps);
        if (unit.unit >= caps.textureUnits)
            return;
        if (m_units.size() <= unit.unit)
            m_units.resize(unit.unit + 1);
        m_units[unit.unit] = unit;
    };
    CXmlNode* unitElement = NextChildNamed(element, nullptr, "textureunit");
    if (unitElement == nullptr)
        store(element);
    for (; unitElement != nullptr; unitElement = NextChildNamed(element, unitElement, "textureunit"))
        store(*unitElement);

    m_blendSource = TextureUnit::ReadBlendFactor(GetAttributeOr(element, "blend-src", "src_alpha"));
    m_blendDestination =
        TextureUnit::ReadBlendFactor(GetAttributeOr(element, "blend-dst", "one_minus_src_alpha"));
    m_depthTest = ReadFlag(element, "depthtest", false);
    m_depthWrite = ReadFlag(element, "depthset", true);
    const CString colourSet = GetAttributeOr(element, "colourset", "1,1,1,1");
    int32_t mask[4] = {1, 1, 1, 1};
    ParseIntFields(colourSet.c_str(), mask, 4);
    for (int i = 0; i < 4; ++i)
        m_colourMask[i] = mask[i] != 0 ? 1 : 0;
    const CString threshold = GetAttributeOr(element, "alphathreshold", "");
    m_alphaThreshold = threshold.empty() ? -1.0f : static_cast<float>(ParseFloat(threshold.c_str()));
    m_nullStyle = EqualsNoCase(element.GetAttribute("style"), "null");
    if (m_nullStyle)
    {
        m_depthWrite = false;
        std::fill(m_colourMask, m_colourMask + 4, 0u);
    }
}

void CMaterial::NextVariant()
{
    const uint32_t wanted = ++m_variant;
    CXmlDocument document;
    if (!document.Load("materials", CFileSystem::kInDataFolder))
        return;
    CXmlNode* root = document.GetRoot();
    CXmlNode* element = NextChildNamed(*root, nullptr, m_name);
    if (element == nullptr)
        return;
    const MaterialCaps caps = MaterialCaps::Current();
    uint32_t index = 0;
    for (CXmlNode* variant = NextChildNamed(*element, nullptr, "variant"); variant != nullptr;
         variant = NextChildNamed(*element, variant, "variant"), ++index)
    {
        if (index >= wanted && caps.Check(variant->GetAttribute("caps").c_str()))
        {
            Parse(*variant, caps);
            return;
        }
    }
}

void CMaterial::Apply()
{
    CGraphics* graphics = CGraphics::Instance();
    graphics->SetTextureUnits(m_units);
    const CTexture* first = m_units.empty() ? nullptr : m_units[0].texture.Get();
    if (first == nullptr || first->IsLoaded())
    {
        graphics->SetBlend(m_blendSource, m_blendDestination);
        graphics->SetDepthFunc(m_depthTest ? GL_LEQUAL : GL_ALWAYS);
        graphics->SetDepthMask(m_depthWrite);
        graphics->SetColourMask(m_colourMask[0] != 0, m_colourMask[1] != 0, m_colourMask[2] != 0,
                                m_colourMask[3] != 0);
        graphics->SetAlphaFunc(m_alphaThreshold >= 0.0f ? GL_GREATER : GL_ALWAYS, m_alphaThreshold);
        return;
    }
    // The picture could not be loaded: the geometry still goes down but writes nothing, rather
    // than showing as a white or black shape.
    graphics->SetDepthMask(false);
    graphics->SetColourMask(false, false, false, false);
}

CRef<CTexture> CMaterial::GetTexture(uint32_t i) const
{
    return i < m_units.size() ? m_units[i].texture : CRef<CTexture>();
}

void CMaterial::SetTexture(uint32_t i, const CRef<CTexture>& texture)
{
    if (GrowTo(i))
        m_units[i].texture = texture;
}

void CMaterial::SetFilter(uint32_t i, uint32_t filter)
{
    if (GrowTo(i))
        m_units[i].filter = filter;
}

void CMaterial::SetMatrix(uint32_t i, const Matrix4& matrix)
{
    if (!GrowTo(i))
        return;
    m_units[i].matrix = matrix;
    Forget();
}

void CMaterial::SetBlend(GLenum source, GLenum destination)
{
    if (source == m_blendSource && destination == m_blendDestination)
        return;
    m_blendSource = source;
    m_blendDestination = destination;
    Forget();
}

void CMaterial::SetColourMask(bool red, bool green, bool blue, bool alpha)
{
    const uint32_t mask[4] = {red, green, blue, alpha};
    if (std::equal(mask, mask + 4, m_colourMask))
        return;
    std::copy(mask, mask + 4, m_colourMask);
    Forget();
}

void CMaterial::SetDepthWrite(bool write)
{
    if (write == m_depthWrite)
        return;
    m_depthWrite = write;
    Forget();
}

void CMaterial::SetDepthTest(bool test)
{
    if (test == m_depthTest)
        return;
    m_depthTest = test;
    Forget();
}

bool CMaterial::GrowTo(uint32_t i)
{
    if (i >= MaterialCaps::Current().textureUnits)
        return false;
    if (m_units.size() <= i)
        m_units.resize(i + 1);
    return true;
}

void CMaterial::Forget()
{
    if (CGraphics* graphics = CGraphics::Peek())
        graphics->ForgetMaterial(this);
}
