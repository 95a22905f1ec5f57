#pragma once
// Shapes and patterns for painting textures: signed distances (negative inside, in the caller's
// units), the coverage an edge gives a pixel, colour mixing and deterministic tiling noise.
#include "core/Vector2.h"
#include "core/Vector4.h"

#include <cstdint>
#include <vector>

using Point = Vector2<float>;
using Rgba = Vector4<float>;

// Coverage 0..1 of a pixel whose centre lies at signed distance d from an edge, with an edge
// softness of width (at least the pixel's size, for antialiasing).
float Coverage(float d, float width);
float SmoothStep(float edge0, float edge1, float x);
float Mix(float a, float b, float t);
Rgba Mix(const Rgba& a, const Rgba& b, float t);
// The colour with its alpha multiplied by coverage.
Rgba WithCover(const Rgba& colour, float coverage);
// 0xRRGGBB as an opaque colour.
Rgba Hex(uint32_t rgb, float alpha = 1.0f);

float CircleDistance(const Point& p, const Point& centre, float radius);
// An ellipse with half axes (rx, ry) turned by angle radians; approximate away from the edge.
float EllipseDistance(const Point& p, const Point& centre, float rx, float ry, float angle);
// A segment from a to b whose radius runs from ra at a to rb at b.
float CapsuleDistance(const Point& p, const Point& a, const Point& b, float ra, float rb);
float RoundBoxDistance(const Point& p, const Point& centre, float halfWidth, float halfHeight, float radius);
// A closed polygon, corners in order.
float PolygonDistance(const Point& p, const std::vector<Point>& corners);
// Corners of a star with points tips, the first straight up (towards -y) after turning by angle.
std::vector<Point> StarCorners(const Point& centre, float outer, float inner, int points, float angle);

// Value noise with smooth interpolation, 0..1, repeating every period lattice cells in x and y,
// different for every seed.
float TileNoise(float x, float y, int32_t period, uint32_t seed);
// Octaves of TileNoise, each twice as fine and half as strong, 0..1.
float TileFractal(float x, float y, int32_t period, int octaves, uint32_t seed);
// A hash of the integers to 0..1.
float Hash01(int32_t x, int32_t y, uint32_t seed);
