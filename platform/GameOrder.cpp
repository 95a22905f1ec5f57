#include "platform/GameOrder.h"

#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/HashString.h"

#include <set>

namespace
{
// Which of the names the game uses one section of the root lacks, or "" when it names them all.
// Other names, and children without an id, are the content's own: an unused pass is never
// drawn and an unused group never offered anything.
CString CheckSection(CXmlNode& root, const char* section, const char* what,
                     const std::vector<std::string_view>& used)
{
    CXmlNode* parent = root.FindChild(section);
    if (!parent)
        return CString::Format("no \"%s\" element", section);
    std::set<std::string_view> named;
    for (CXmlNode* child = parent->FirstChild(); child; child = child->NextSibling())
        named.insert(child->GetAttribute("id"));
    for (std::string_view name : used)
        if (!named.count(name))
            return CString::Format("the %s \"%.*s\" is missing from \"%s\"", what, int(name.size()),
                                   name.data(), section);
    return CString();
}
} // namespace

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

const std::vector<std::string_view>& GamePasses()
{
    static const std::vector<std::string_view> passes = {
        "predraw1",     "predraw", "preposter", "pond",   "knobs",     "fly",     "body",   "ui",
        "floaters",     "popout",  "overlays",  "petals", "statframe", "preplay", "replay", "border",
        "instructions", "post",    "post1",     "debug",  "console",   "cursor"};
    return passes;
}

const std::vector<std::string_view>& GameControlGroups()
{
    static const std::vector<std::string_view> groups = {
        "gesture", "ui", "modal", "game", "modaloverlay", "frontend", "puzzle", "skeleton", "app", "console"};
    return groups;
}

CString CheckGameOrder(CXmlNode& root)
{
    CString problem = CheckSection(root, "draw", "pass", GamePasses());
    if (problem.empty())
        problem = CheckSection(root, "control", "group", GameControlGroups());
    return problem;
}
