#pragma once
// One node of a user-interface tree, and the base of every node kind. A node is built from an
// XML element (kinds made by tag name), carries an inline style sheet whose unset values are
// inherited from the parent, and is placed by a single pass of inline flow into line boxes.
// Invariants: a child's parent link is this node; lengths given by getters are in layout pixels
// (em times the inherited scale); "unset" is the largest finite float for a float or every
// component of a vector, 3 for an alignment, 4 for a font style, the empty text for names.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/MathConstants.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
// Complete, for the inline line link below; it declares CDiv only ahead.
#include "ui/CDivLine.h"

#include <cstdint>
#include <vector>

class CDivContent;
class CDivLine;
class CMaterial;
class CPaneTransition;
class CScheduler;
class CXmlNode;
struct InputEvent;

class CDiv : public CBase
{
  public:
    using Creator = CRef<CDiv> (*)();

    enum Align : int32_t
    {
        kAlignStart = 0, // left or top
        kAlignMiddle = 1,
        kAlignEnd = 2, // right or bottom
        kAlignInherit = 3,
    };
    enum FontStyle : int32_t
    {
        kFontNormal = 0,
        kFontItalic = 1,
        kFontOblique = 2,
        kFontBold = 3,
        kFontInherit = 4,
    };
    enum PositionMode : int32_t
    {
        kPositionAbsolute = 0,
        kPositionRelative = 1,
        kPositionFlow = 2,
    };
    // Handler mask bits: the input operations this node or a descendant handles.
    enum HandlerBit : uint32_t
    {
        kHandlesEvent = 1,
        kHandlesMotion = 2,
        kHandlesClick = 4,
        kHandlesPress = 8,
        kHandlesRelease = 16,
        kHandlesDragBegin = 32,
        kHandlesDragEnd = 128,
        kHandlesDragCancel = 256,
    };

    // className is the kind's lower-case name ("div", "text", "word").
    explicit CDiv(const char* className);
    ~CDiv() override;

    // A plain "div" node: the creator of the tag "Div" and of every unregistered tag.
    static CRef<CDiv> Create();
    // For the static initialisers of node kinds; names match without regard to case, and a
    // later registration of a name replaces the creator.
    static void RegisterTag(const char* tag, Creator creator);
    // The node the registry makes for tag; a plain "div" when none is registered or the creator
    // makes nothing. Never null.
    static CRef<CDiv> CreateForTag(const char* tag);

    // Resets the node, then reads "style", "id", "onclick", "width", "height", "align", "halign",
    // "valign", "z" and the children. Nothing for a null element. A node may be loaded again:
    // nothing of the earlier load survives but the shown state, the handler mask and the dummy.
    virtual void Load(CXmlNode* element);

    // Layout, run by the pane over the whole tree: ComputeSize, Layout, FinishLayout.
    // Computed size = the specified size times the scale (0 where absent), recursively.
    virtual void ComputeSize();
    // Places the node and its subtree into line, returning the line to continue with. A box gets
    // a line stack of its own for its children and then sits on a line of its own. Without a line
    // the node is the root of the layout: its stack starts at (0, 0) and it is no item of any line.
    virtual CRef<CDivLine> Layout(CRef<CDivLine> line);
    // Aligns the lines of every box and sizes the background and shadow quads.
    virtual void FinishLayout();
    // Width left for the children in pixels: the box width less the side paddings, at least 0.
    virtual float GetInnerWidth();
    // Sets the position only; the line stack stays where it is.
    virtual void SetPosition(const Vector2<float>& position);
    // Moves the node and its own line stack by delta (pixels).
    virtual void Move(const Vector2<float>& delta);

    // The two drawing passes, in the pane's layout pixels under the pane's view.
    virtual void Draw();
    virtual void DrawShadow();
    // Whether the node is drawn raised or pressed: the parent's answer, false at the root.
    virtual bool IsRaised();
    virtual bool IsPressed();

    // A node whose id equals name (case-sensitive; an empty name matches every node), counted
    // down one path: a match with index 0 is the result, a match with a larger index searches
    // its children with index - 1, any other node passes index on; children are searched in
    // order, each with that same index. Empty when there is none.
    virtual CLink<CDiv> FindById(const CString& name, int32_t index);
    // The first node with that id, or a detached node kept for misses: never null, so that
    // operations on a missing id act on nothing that is drawn.
    virtual CDiv* GetById(const CString& name);
    // Set the flag on the node and its whole subtree.
    virtual void SetEnabled(bool enabled);
    virtual void SetActive(bool active);

    // Show or hide the subtree with the style's durations and delays, or with explicit ones
    // (seconds; kFloatMax: from the style). A change starts a fade on the node's clock that
    // continues from the alpha reached so far; a zero duration is instant.
    virtual void Show(bool show);
    virtual void ShowTimed(bool show, float duration, float delay);
    // The fade progress 0 (hidden) to 1 (shown); advances the fade by the clock time since the
    // last call, at most 100 ms at a time. Nodes without a fade of their own follow the parent.
    virtual float GetTransitionAlpha();
    // Whether anything of the subtree is shown or still fading.
    bool IsShowing() const;

    // Style getters; lengths in pixels. Inherited values come from the parent when unset here.
    virtual float GetScale();
    // Stores a different scale and drops the line stack, so that the tree is laid out again.
    virtual void SetScale(float scale);
    virtual int32_t GetHAlign();
    virtual int32_t GetVAlign();
    // Reads an inline style sheet ('font-size: 1.5; colour: #ff8000;') into the style fields.
    virtual void ParseStyle(const CString& text);
    virtual float GetFontSize();
    // Bounds of "default/fontsize": a size beyond the largest screen lays nothing out.
    static constexpr int32_t kMinDefaultFontSize = 1;
    static constexpr int32_t kMaxDefaultFontSize = 256;
    virtual CString GetFontFace();
    virtual int32_t GetFontStyle();
    // Own values only, each given side times the scale, 0 elsewhere: (left, top, right, bottom).
    virtual Vector4<float> GetMargin();
    virtual Vector4<float> GetPadding();
    // The disabled colour while disabled (when set), else the colour; inherited.
    virtual Vector4<float> GetColour();
    virtual void SetColour(const Vector4<float>& colour);
    virtual Vector4<float> GetShadowColour();
    virtual void SetShadowColour(const Vector4<float>& colour);
    virtual bool IsGlow();
    virtual Vector4<float> GetBackgroundColour();
    // The background quads' material, inherited; null at the root.
    virtual CMaterial* GetMaterial();
    // Empty for every node while the preference "fonttransitions" is off.
    virtual CString GetFontTransition();
    // Seconds.
    virtual float GetTransitionIn();
    virtual float GetTransitionOut();
    virtual float GetTransitionInDelay();
    virtual float GetTransitionOutDelay();
    // The scheduler whose clock times the fades: the parent's; at the root the current scope's.
    virtual CScheduler* GetClock();

    // Input on nodes; positions in the pane's layout pixels. An event goes down only into
    // subtrees whose handler mask has its bit (AddHandlerBits), and to the children in order
    // until one takes it; inactive nodes take nothing. Motion goes to every child.
    virtual Vector2<float> GetTouchPosition();
    // The node's box (its trailing gap included) or any child's holds point.
    virtual bool HitTest(const Vector2<float>& point);
    virtual bool OnEvent(const InputEvent& event);
    virtual bool OnMotion(const InputEvent& event);
    // A node with an "onclick" posts it as a named command when the click hits it (the root
    // without a test: the pane has tested its rectangle); otherwise the children are offered it.
    virtual bool OnClick(const InputEvent& event);
    virtual bool OnPress(const InputEvent& event);
    virtual bool OnRelease(const InputEvent& event);
    virtual bool OnDragBegin(const InputEvent& event);
    virtual bool OnDragEnd(const InputEvent& event);
    virtual bool OnDragCancel(const InputEvent& event);
    // Appends emboss spots, six floats each (x, y, radius, half width, half height, height,
    // screen pixels); the base passes the list to the children.
    virtual void CollectEmboss(std::vector<float>& spots);
    // Builds a node for every child element (those with ignore="true" or non-zero skipped).
    virtual void LoadChildren(CXmlNode* element);

    // The computed size, with each specified component (times the scale) in its place; pixels.
    Vector2<float> GetSize();
    // The top-most ancestor.
    CLink<CDiv> GetRoot();
    // ORs bits into the handler mask of this node and every ancestor.
    void AddHandlerBits(uint32_t bits);

    const CString& GetClassName() const { return m_className; }
    const CString& GetId() const { return m_id; }
    const CString& GetOnClick() const { return m_onclick; }
    CDiv* GetParent() const { return m_parent.Get(); }
    void SetParent(CDiv* parent) { m_parent.Set(parent); }
    const std::vector<CRef<CDiv>>& GetChildren() const { return m_children; }
    void AddChild(const CRef<CDiv>& child);
    bool IsBox() const { return m_box; }
    bool IsInline() const { return m_inline; }
    bool IsEnabled() const { return m_enabled; }
    bool IsActive() const { return m_active; }
    bool IsShown() const { return m_shown; }
    int32_t GetPositionMode() const { return m_positionMode; }
    uint32_t GetHandlerMask() const { return m_handlerMask; }
    float GetZ() const { return m_z; }
    const Vector2<float>& GetPosition() const { return m_position; }
    const Vector2<float>& GetComputedSize() const { return m_computedSize; }
    void SetComputedSize(const Vector2<float>& size) { m_computedSize = size; }
    const Vector2<float>& GetSpecifiedSize() const { return m_specifiedSize; }
    const Vector2<float>& GetTrailingGap() const { return m_trailingGap; }
    float GetLineHeight() const { return m_lineHeight; }
    float GetLineDescent() const { return m_lineDescent; }
    void SetLineHeight(float height) { m_lineHeight = height; }
    void SetLineDescent(float descent) { m_lineDescent = descent; }
    CDivLine* GetLine() const { return m_line.Get(); }
    void SetLine(CDivLine* line) { m_line.Set(line); }
    // The first line of the node's own stack; null when there is no layout.
    const CRef<CDivLine>& GetLines() const { return m_lines; }
    void DropLines();
    // Own style values as set, unset markers included.
    const Vector4<float>& GetOffsets() const { return m_offsets; }
    const Vector4<float>& GetOwnPadding() const { return m_padding; }
    const Vector4<float>& GetOwnMargin() const { return m_margin; }
    const CRef<CPaneTransition>& GetPaneTransition() const { return m_paneTransition; }
    QuadBatch& GetBackgroundQuads() { return m_backgroundQuads; }
    QuadBatch& GetShadowQuads() { return m_shadowQuads; }
    void SetContent(const CRef<CDivContent>& content);

  protected:
    using Handler = bool (CDiv::*)(const InputEvent&);
    // The first active child (up to a null one) that takes the event ends the walk with true.
    bool OfferToChildren(const InputEvent& event, Handler handler);
    // Back to the state of a new node, but for the shown state, handler mask and dummy.
    void Reset();
    // One declaration of a style sheet.
    void ApplyStyle(const CString& key, const CString& value);

    CRef<CDivContent> m_content;
    CLink<CDiv> m_parent;
    CString m_className;
    bool m_box = true;
    bool m_inline = false;
    CString m_id;
    std::vector<CRef<CDiv>> m_children;
    CLink<CDivLine> m_line;
    Vector2<float> m_position;
    CRef<CDivLine> m_lines;
    CString m_onclick;
    Vector2<float> m_computedSize;
    Vector2<float> m_specifiedSize = kUnsetVector2f; // em
    Vector2<float> m_trailingGap;                    // pixels: x after the node, y a second gap
    float m_lineHeight = 0.0f;
    float m_lineDescent = 0.0f;
    float m_z = 1.0f;

    // Show and hide fade, in milliseconds of the node's clock.
    bool m_shown = false;
    int32_t m_lastClock = INT32_MAX;
    int32_t m_elapsed = 0; // negative while a delay runs
    int32_t m_total = 0;   // 0: no fade of its own

    int32_t m_hAlign = kAlignInherit;
    int32_t m_vAlign = kAlignInherit;
    float m_scale = kFloatMax;
    CRef<CDiv> m_dummy;
    uint32_t m_handlerMask = 0;
    float m_fontSize = kFloatMax; // em
    CString m_fontFace;
    int32_t m_fontStyle = kFontInherit;
    int32_t m_positionMode = kPositionFlow;
    Vector4<float> m_offsets = kUnsetVector4f; // left, top, right, bottom in em
    Vector4<float> m_padding = kUnsetVector4f;
    Vector4<float> m_margin = kUnsetVector4f;
    Vector4<float> m_disabledColour = kUnsetVector4f;
    Vector4<float> m_colour = kUnsetVector4f;
    Vector4<float> m_backgroundColour = kUnsetVector4f;
    Vector4<float> m_shadowColour = kUnsetVector4f;
    bool m_glow = false;
    QuadBatch m_backgroundQuads;
    QuadBatch m_shadowQuads;
    CString m_fontTransition;
    CRef<CPaneTransition> m_paneTransition;
    float m_transitionIn = kFloatMax; // seconds
    float m_transitionOut = kFloatMax;
    float m_transitionInDelay = kFloatMax;
    float m_transitionOutDelay = kFloatMax;
    bool m_enabled = true;
    bool m_active = true;
};
