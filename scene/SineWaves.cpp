#include "scene/SineWaves.h"

#include "core/CXmlNode.h"
#include "core/Random.h"
#include "core/TextFields.h"

#include <cmath>
#include <optional>

SineWaves ReadSineWaves(const CXmlNode& element, const char* attribute)
{
    SineWaves waves;
    const char* frequencies = element.GetAttribute(attribute).c_str();
    if (!*frequencies)
        return waves;
    for (int32_t n = 0;; ++n)
    {
        const std::optional<CString> field = FieldOf(frequencies, n);
        if (!field)
            break;
        const float phase = float(360.0 * GlobalRandom().NextFraction());
        waves.emplace_back(float(ParseFloat(field->c_str())), phase);
    }
    return waves;
}

float SineWaveProduct(const SineWaves& waves, int32_t now)
{
    double v = 1.0;
    for (const Vector2<float>& wave : waves)
    {
        const double degrees = double(wave.y) + double(wave.x) * 360.0 * double(now) / 1000.0;
        v *= (std::sin(degrees * M_PI / 180.0) + 1.0) / 2.0;
    }
    return float(v);
}
