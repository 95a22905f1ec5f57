#pragma once
// A developer's schematic of a puzzle's board, drawn in the pass "debug": each knob a small
// square, the knobs under the home and goal poses marked magenta. Made only when asked for.
// Invariant: the cells are those of the last puzzle loaded (none when it did not load).
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "platform/CDrawing.h"
#include "puzzle/Pose.h"

#include <map>
#include <utility>

class CDebugPreview : public CBase, public CDrawing, public CSingleton<CDebugPreview>
{
  public:
    struct Cell
    {
        Vector2<float> position;
        bool knob = false;
        bool poseMark = false;
    };
    // Ordered by y, then x.
    using Key = std::pair<int, int>;

    ~CDebugPreview() override;

    // Reads "puzzle/<name>": its knobs, then the marks of its home and goal poses.
    void Load(const CString& name);
    // Marks the knobs under the pose's four limbs; cells without a knob stay unmarked.
    void MarkPose(Pose pose);

    const CString& GetName() const { return m_name; }
    const std::map<Key, Cell>& GetCells() const { return m_cells; }

    void Draw() override;

  private:
    friend class CSingleton<CDebugPreview>;
    CDebugPreview();

    CString m_name;
    std::map<Key, Cell> m_cells;
};
