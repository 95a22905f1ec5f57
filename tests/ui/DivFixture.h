#pragma once
// Builds user-interface trees from XML text and lays them out as a pane does, without a pane.
#include "core/CXmlDocument.h"
#include "ui/CDiv.h"
#include "ui/CDivLine.h"

#include <gtest/gtest.h>

// The root element of text loaded into a new plain node.
inline CRef<CDiv> BuildTree(const char* text)
{
    CXmlDocument document;
    EXPECT_TRUE(document.Parse(text, false)) << text;
    CRef<CDiv> root = CDiv::Create();
    root->Load(document.GetRoot());
    return root;
}

// The three passes over a whole tree.
inline void LayOut(CDiv& root)
{
    root.ComputeSize();
    root.Layout(CRef<CDivLine>());
    root.FinishLayout();
}

// An inline item of a given size (pixels) and trailing gap, or a box.
class TestItem : public CDiv
{
  public:
    TestItem(float width, float height, float gap = 0.0f, bool box = false) : CDiv("item")
    {
        m_box = box;
        m_inline = !box;
        m_computedSize = Vector2<float>(width, height);
        m_trailingGap = Vector2<float>(gap, 0.0f);
    }
    void SetMode(int32_t mode) { m_positionMode = mode; }
};
