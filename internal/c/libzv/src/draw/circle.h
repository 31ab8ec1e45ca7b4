// CIRCLE: circles, ellipses, arcs and pie segments.
#pragma once
#include <cstdint>

// CIRCLE [STEP] (x, y), radius[, [colour][, [start][, [end][, aspect]]]]. passed bits:
// 1 STEP, 2 colour, 4 start, 8 end, 16 aspect. A negative start or end also draws a
// radius line to that end of the arc.
void sub_circle(double x, double y, double radius, uint32_t col, double start, double end, double aspect,
                int32_t passed);

// The ratio of vertical to horizontal pixel size that CIRCLE and DRAW assume for a
// legacy mode: 5 / 6, 5 / 12, 35 / 48, or 1 for square pixels.
double legacy_mode_aspect(uint16_t legacy_mode);
