#include "ui/CDivText.h"

#include "Graphics/CMaterialSet.h"
#include "core/CDictionary.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/Random.h"
#include "ui/CDivLine.h"
#include "ui/CDivWord.h"

#include <algorithm>

namespace
{
const Vector4<float> kDefaultTransitionMap(0.0f, 1.0f, 1.0f, 0.0f);
constexpr const char* kBlanks = " \t\r\n";

const bool s_registered =
    (CDiv::RegisterTag("Text", &CDivText::Create), CDiv::RegisterTag("__content", &CDivText::Create), true);
} // namespace

CDivText::CDivText() : CDiv("text")
{
    m_box = false;
    m_inline = true;
}

CRef<CDiv> CDivText::Create()
{
    return CRef<CDiv>::Adopt(new CDivText());
}

void CDivText::Load(CXmlNode* element)
{
    if (!element)
        return;
    CDiv::Load(element);
    m_transitionMap = ParseColourText(element->GetAttribute("transitionmap").c_str(), kDefaultTransitionMap);
    if (element->FindOwnAttribute("material"))
        m_backgroundQuads.SetMaterial(
            CSingleton<CMaterialSet>::Instance()->Find(element->GetAttribute("material")));
    m_content = element->GetAttribute("content");
}

CRef<CDivLine> CDivText::Layout(CRef<CDivLine> line)
{
    m_children.clear();
    // The dictionary is made on first use, which loads its document: only for texts that need it.
    const CString text = CString::FindChar(m_content, '%') >= 0
                             ? CSingleton<CDictionary>::Instance()->ExpandReferences(m_content)
                             : m_content;

    if (CString::FindChar(text, '<') >= 0 && CountTextAncestors() < kMaxFragmentDepth)
    {
        CXmlDocument fragment;
        fragment.Parse(text, true);
        LoadChildren(fragment.GetRoot());
        return CDiv::Layout(line);
    }

    if (!line)
        return line;
    line->AddItemInPlace(this);
    CRef<CDivLine> current = line;
    for (int32_t start = CString::FindFirstNotOf(text, kBlanks); start >= 0;)
    {
        int32_t end = CString::FindFirstOf(text, kBlanks, start);
        if (end < 0)
            end = int32_t(text.size());
        CRef<CDivWord> word = CDivWord::Create(this, CString::SubString(text, start, end - start));
        m_children.emplace_back(word);
        current = word->Layout(current);
        start = CString::FindFirstNotOf(text, kBlanks, end);
    }
    ScheduleWords();
    Show(true);
    return current;
}

void CDivText::Draw()
{
    for (const CRef<CDiv>& child : m_children)
    {
        if (!child)
            break;
        if (child->GetClassName() == "word")
            child->DrawShadow();
    }
}

void CDivText::DrawShadow() {}

void CDivText::ScheduleWords()
{
    const float start = m_transitionMap.x, length = m_transitionMap.y;
    const float span = length * m_transitionMap.z;
    if (span >= 1.0f)
        return; // every word keeps span 1 and delay 0: they fade with the text
    const float jitter = length * m_transitionMap.w * 0.5f;
    const int32_t n = int32_t(m_children.size()) - 1;
    const float last = start + length - span;
    int32_t i = 0;
    for (const CRef<CDiv>& child : m_children)
    {
        if (child->GetClassName() != "word")
            continue;
        const float base = n > 0 ? start + (length - span) * float(i) / float(n) : start;
        float delay = base - jitter;
        if (jitter > 0.0f)
            delay += float(GlobalRandom().NextFraction()) * 2.0f * jitter;
        // Between 0 and the last start that still ends within the map, whichever way round.
        delay = last >= 0.0f ? std::clamp(delay, 0.0f, last) : std::clamp(delay, last, 0.0f);
        static_cast<CDivWord*>(child.Get())->SetSchedule(span, delay);
        ++i;
    }
}

int32_t CDivText::CountTextAncestors() const
{
    int32_t count = 0;
    for (const CDiv* node = GetParent(); node; node = node->GetParent())
        if (node->GetClassName() == "text")
            ++count;
    return count;
}
