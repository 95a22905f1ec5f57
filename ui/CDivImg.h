#pragma once
// A picture in the flow of words: the "src" material over the node's box, and optionally one of
// several frames (each child element: a material and a uv rectangle) drawn over it at the
// image's size. It is drawn one scale unit down-left while pressed and up-right while raised,
// as words are.
#include "Graphics/QuadBatch.h"
#include "ui/CDiv.h"

#include <cstdint>
#include <vector>

class CDivImg : public CDiv
{
  public:
    CDivImg();
    static CRef<CDiv> Create();

    // The common attributes and the frames, then "src", "width", "height" and "frame" (limited
    // to the last frame; a negative one is the last).
    void Load(CXmlNode* element) override;
    void Draw() override;
    // Every child element is a frame: "material", and "uvs" (0, 0, 1, 1 when empty).
    void LoadChildren(CXmlNode* element) override;

    uint32_t GetFrame() const { return m_frame; }
    const std::vector<QuadBatch>& GetFrames() const { return m_frames; }

  private:
    uint32_t m_frame = 0;
    std::vector<QuadBatch> m_frames;
};
