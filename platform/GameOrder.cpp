#include "platform/GameOrder.h"

#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/HashString.h"

std::vector<uint32_t> ReadGameOrder(const char* section)
{
    std::vector<uint32_t> order;
    CXmlDocument document("game", CFileSystem::kInDataFolder);
    CXmlNode* root = document.GetRoot();
    CXmlNode* parent = root ? root->FindChild(section) : nullptr;
    if (!parent)
        return order;
    for (CXmlNode* child = parent->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == CXmlNode::kContentName)
            continue;
        const CString& id = child->GetAttribute("id");
        if (!id.empty())
            order.push_back(HashString(id.c_str()));
    }
    return order;
}
