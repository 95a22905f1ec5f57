#pragma once
// The materials by name, read from the document "materials" (each child of its root is a material
// named by its tag). Invariant: a look-up never fails: a name the set does not hold becomes, and
// stays, a material showing the texture of that name; "default" is made from construction values
// when the document lacks it. Names are case-sensitive.
#include "Graphics/CMaterial.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/CString.h"

#include <map>

class CXmlNode;

class CMaterialSet : public CBase, public CSingleton<CMaterialSet>
{
  public:
    static constexpr const char* kDefaultName = "default";
    // What an empty name looks up.
    static constexpr const char* kNullName = "null";

    // Reads "<data folder>/materials.xml"; a missing or broken document leaves the set empty.
    void Init() override;

    // Never null. An empty name is "null".
    CRef<CMaterial> Find(const CString& name);
    // What CGraphics::SetMaterial (null) applies; never null, held by the set.
    CMaterial* GetDefault();
    // Reads the document again into the materials already held, so every reference to them sees
    // the new values; new names are added, names gone from the document keep their materials.
    void Reload();
    // Every child element of root becomes a material; a later one of the same name wins. With
    // inPlace a material already held loads the element itself instead of being replaced.
    void Read(CXmlNode& root, bool inPlace);

    size_t GetCount() const { return m_materials.size(); }

  private:
    friend class CSingleton<CMaterialSet>;
    CMaterialSet() = default;

    void ReadDocument(bool inPlace);

    std::map<CString, CRef<CMaterial>> m_materials; // byte-wise name order
};
