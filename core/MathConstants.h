#pragma once
// Named values shared by every subsystem. All constexpr, so that a static
// initialiser in any translation unit reads them already set.
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector4.h"

#include <climits>
#include <limits>

inline constexpr float kFloatMax = std::numeric_limits<float>::max(); // 3.4028235e38
inline constexpr float kFloatZero = 0.0f;
inline constexpr float kTwoPi = 6.2831855f;       // radians in a full turn
inline constexpr float kFullTurnDegrees = 360.0f; // degrees in a full turn

// "Unset" markers: state caches compare against these to know that nothing was set yet.
inline constexpr Vector2<float> kUnsetVector2f{kFloatMax, kFloatMax};
inline constexpr Vector3<float> kUnsetVector3f{kFloatMax, kFloatMax, kFloatMax};
inline constexpr Vector4<float> kUnsetVector4f{kFloatMax, kFloatMax, kFloatMax, kFloatMax};
inline constexpr Vector2<int> kUnsetVector2i{INT_MAX, INT_MAX};
inline constexpr Vector4<int> kUnsetVector4i{INT_MAX, INT_MAX, INT_MAX, INT_MAX};

inline constexpr Vector2<float> kZeroVector2f{};
inline constexpr Vector3<float> kZeroVector3f{};
inline constexpr Vector4<float> kZeroVector4f{};
inline constexpr Vector2<int> kZeroVector2i{};
inline constexpr Vector4<int> kZeroVector4i{};

// Colours: float components in 0..1, int components in 0..255.
inline constexpr Vector4<float> kWhite{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr Vector4<float> kBlack{0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Vector4<int> kWhite255{255, 255, 255, 255};
inline constexpr Vector4<int> kBlack255{0, 0, 0, 255};

inline constexpr Vector3<float> kAxisX{1.0f, 0.0f, 0.0f};
inline constexpr Vector3<float> kAxisY{0.0f, 1.0f, 0.0f};
inline constexpr Vector3<float> kAxisZ{0.0f, 0.0f, 1.0f};
