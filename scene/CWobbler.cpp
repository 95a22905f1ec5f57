#include "scene/CWobbler.h"

#include "core/CXmlNode.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"

#include <cmath>
#include <optional>

CWobbler::CWobbler(const CXmlNode& element)
{
    unit = ParseInt(element.GetAttribute("unit").c_str());
    uvs = ReadColourAttribute(&element, "uvs", Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f));

    const char* translate = element.GetAttribute("translate").c_str();
    if (!*translate)
        return;
    amplitude = float(ParseFloat(translate));
    for (int32_t n = 1;; n += 2)
    {
        const std::optional<CString> x = FieldOf(translate, n);
        if (!x)
            break;
        const std::optional<CString> y = FieldOf(translate, n + 1);
        const float fx = float(ParseFloat(x->c_str()));
        terms.emplace_back(fx, y ? float(ParseFloat(y->c_str())) : fx);
    }
}

Vector4<float> CWobbler::Evaluate(int32_t nowMs) const
{
    // In double: a clock of days in milliseconds would lose the phase in float.
    const double t = double(nowMs) * 0.001 * 2.0 * M_PI;
    double sx = 0.0, sy = 0.0;
    for (const Vector2<float>& term : terms)
    {
        sx += std::cos(double(term.x) * t);
        sy += std::sin(double(term.y) * t);
    }
    const float du = float(amplitude * sx);
    const float dv = float(amplitude * sy);
    return Vector4<float>(uvs.x + du, uvs.y + dv, uvs.z + du, uvs.w + dv);
}
