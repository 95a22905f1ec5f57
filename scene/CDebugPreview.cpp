#include "scene/CDebugPreview.h"

#include "Graphics/CGraphics.h"
#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/TextFields.h"
#include "core/Vector4.h"

REGISTER_SINGLETON(CDebugPreview, "hanging", 50);

CDebugPreview::CDebugPreview()
{
    RegisterInCurrentScope("debug");
}

CDebugPreview::~CDebugPreview() = default;

void CDebugPreview::Load(const CString& name)
{
    m_cells.clear();
    m_name = name;
    CXmlDocument document("puzzle/" + name, CFileSystem::kInDataFolder);
    CXmlNode* root = document.GetRoot();
    if (!document.IsLoaded() || !root)
        return;
    if (CXmlNode* layout = root->FindChild("layout"))
        for (CXmlNode* knob = layout->FirstChild(); knob; knob = knob->NextSibling())
        {
            if (knob->GetName() != "knob")
                continue;
            int32_t cell[2];
            ParseIntFields(knob->GetAttribute("position").c_str(), cell, 2);
            Cell& at = m_cells[Key(cell[1], cell[0])];
            at.position = Vector2<float>(float(cell[0]), float(cell[1]));
            at.knob = true;
            at.poseMark = false;
        }
    for (const char* element : {"home", "goal"})
        if (CXmlNode* node = root->FindChild(element))
        {
            Pose pose;
            Pose::FromText(node->GetAttribute("pose").c_str(), pose);
            MarkPose(pose);
        }
}

void CDebugPreview::MarkPose(Pose pose)
{
    for (int limb = 0; limb < 4; ++limb)
    {
        const Vector2<int> cell = Pose::GetCell(pose, limb);
        const auto at = m_cells.find(Key(cell.y, cell.x));
        if (at != m_cells.end())
            at->second.poseMark = true;
    }
}

void CDebugPreview::Draw()
{
    CGraphics* graphics = CGraphics::Instance();
    for (const auto& [key, cell] : m_cells)
    {
        if (!cell.knob)
            continue;
        const Vector2<float> at(cell.position.x * 0.2f - 2.0f, cell.position.y * 0.2f + 5.0f);
        graphics->DrawSquare(at, 0.04f, Vector4<float>(0.1f, 0.1f, 0.1f, 1.0f));
        graphics->DrawSquare(at, 0.03f, cell.poseMark ? Vector4<float>(1.0f, 0.0f, 1.0f, 1.0f)
                                                      : Vector4<float>(1.0f, 1.0f, 1.0f, 1.0f));
    }
}
