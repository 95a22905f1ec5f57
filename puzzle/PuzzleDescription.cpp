#include "puzzle/PuzzleDescription.h"

#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/TextFields.h"

#include <algorithm>

namespace
{
// A pose attribute; 0 when the text is not a valid pose (so that it counts as missing).
Pose ReadPose(const CXmlNode* element)
{
    Pose pose;
    if (element && !Pose::FromText(element->GetAttribute("pose").c_str(), pose))
        pose = Pose();
    return pose;
}

bool IsElement(const CXmlNode* node)
{
    return node->GetName() != CXmlNode::kContentName;
}
} // namespace

bool PuzzleDescription::Read(CXmlNode* root, const CString& name)
{
    *this = PuzzleDescription();
    title = name;
    par = 0;
    if (!root)
        return false;

    if (root->HasAttribute("title"))
        title = root->GetAttribute("title");
    if (root->HasAttribute("unlocks"))
        unlocks = ParseInt(root->GetAttribute("unlocks").c_str());
    category = ParseInt(root->GetAttribute("category").c_str());
    if (CXmlNode* frog = root->FindChild("frog"))
        species = frog->GetAttribute("species");

    if (CXmlNode* layout = root->FindChild("layout"))
    {
        hasLayout = true;
        for (CXmlNode* knob = layout->FirstChild(); knob; knob = knob->NextSibling())
        {
            if (knob->GetName() != "knob")
                continue;
            int32_t cell[2];
            ParseIntFields(knob->GetAttribute("position").c_str(), cell, 2);
            const Vector2<int> at(cell[0], cell[1]);
            if (std::find(knobs.begin(), knobs.end(), at) == knobs.end())
                knobs.push_back(at);
        }
    }
    home = ReadPose(root->FindChild("home"));
    goal = ReadPose(root->FindChild("goal"));

    if (CXmlNode* pond = root->FindChild("pond"))
    {
        float position[2];
        ParseFloatFields(pond->GetAttribute("position").c_str(), position, 2);
        pondPosition = Vector2<float>(position[0], position[1]);
        pondTemplate = pond->GetAttribute("template");
    }

    if (CXmlNode* hint = root->FindChild("hint"))
    {
        instructions = hint->GetAttribute("instructions");
        const CString& text = hint->GetAttribute("difficulty");
        difficulty = text.empty() ? kDefaultDifficulty : float(ParseFloat(text.c_str()));
        int32_t elements = 0;
        for (CXmlNode* child = hint->FirstChild(); child; child = child->NextSibling())
        {
            if (!IsElement(child))
                continue;
            ++elements;
            Pose step;
            // A step that does not read is left out rather than taken as the pose 0.
            if (child->GetName() == "step" && Pose::FromText(child->GetAttribute("pose").c_str(), step))
                hintSteps.push_back(step);
        }
        par = elements - 1;
    }
    if (par < 1)
        par = kDefaultPar;

    complete = hasLayout && !home.IsNone() && !goal.IsNone();
    return complete;
}

bool PuzzleDescription::Parse(std::string_view text, const CString& name)
{
    CXmlDocument document;
    if (!document.Parse(text, false))
    {
        Read(nullptr, name);
        return false;
    }
    return Read(document.GetRoot(), name);
}
