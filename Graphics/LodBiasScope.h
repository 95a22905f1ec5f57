#pragma once
// Sets the texture level-of-detail bias for as long as it lives, then puts back the bias it replaced.
// Invariant: GL is called only when the bias really changes, so nested scopes with the same bias
// cost nothing. The bias belongs to the active texture unit, as GL_TEXTURE_FILTER_CONTROL does.
class LodBiasScope
{
  public:
    explicit LodBiasScope(float bias);
    ~LodBiasScope();
    LodBiasScope(const LodBiasScope&) = delete;
    LodBiasScope& operator=(const LodBiasScope&) = delete;

  private:
    // A flag, not a sentinel value: a negative bias is as real as a positive one.
    bool m_saved = false;
    float m_previous = 0.0f;
};
