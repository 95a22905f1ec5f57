#pragma once
// Colours as data files write them: "#" and hexadecimal digit pairs, or up to four
// comma-separated numbers. The result is (red, green, blue, alpha), each 0..1 in normal use.
#include "core/Vector4.h"

// The digits after the "#". Pairs are taken from the end: with fewer than 7 characters they fill
// blue, green, red and alpha is 255; otherwise alpha, blue, green, red. A pair's last character is
// its low digit; a character that is not a hexadecimal digit counts as 0 but takes its place. So
// "ff0000" is (1, 0, 0, 1), "00ff0080" has alpha 128/255, and three digits fill blue and the low
// digit of green (there is no shorthand form). Null reads as "".
Vector4<float> ParseHexColour(const char* digits);

// An attribute's colour text: def when the text is null or empty; the hexadecimal form when it
// begins with "#"; otherwise up to four comma fields, a missing first field giving 0 and each
// later one repeating the one before ("0.5" is grey 0.5 with alpha 0.5, "1,0,0" has alpha 0).
Vector4<float> ParseColourText(const char* text, const Vector4<float>& def);
