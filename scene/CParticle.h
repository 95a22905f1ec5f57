#pragma once
// One animated sprite that draws itself at the time its owner gives: the pulse that marks a
// reachable knob ("Entice") or a twinkle on a scene layer ("Sparkle"). Made by kind name from
// ParticleKindMap. Unlike a particle system it keeps no clock and no schedule of its own.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/Vector2.h"

#include <cstdint>
#include <string_view>

class CXmlNode;

class CParticle : public CBase
{
  public:
    // A new particle of the registered kind (any case), or null for an unknown name.
    static CRef<CParticle> Create(std::string_view kind);
    // The kind named by the element's "type", loaded from the element; null for an unknown kind.
    static CRef<CParticle> CreateFromXml(const CXmlNode& element);

    // Draws the particle as it looks at now, the owner's clock in milliseconds.
    virtual void Draw(int32_t now) = 0;
    // Reads the kind's attributes; nothing for a kind that has none.
    virtual void Load(const CXmlNode& element);

    // In the owner's drawing units; the owner may set it directly.
    Vector2<float> position;
};
