#pragma once
// Something a node draws inside its padding box (a picture, a widget), held by the node through a
// counted reference. The node never lays it out: the content fills whatever box it is given.
#include "core/CBase.h"
#include "core/Vector4.h"

class CDivContent : public CBase
{
  public:
    // rect is (x, y, width, height) in the pane's layout pixels; scale is the node's em in pixels.
    virtual void Draw(const Vector4<float>& rect, float scale) = 0;
};
