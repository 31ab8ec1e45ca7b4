// Colour functions: _RGB and its family, the nearest palette entry, HSB colours.
#pragma once
#include <cstdint>

#include "image/img_struct.h"

// The nearest entry (sum of channel distances; lowest index on ties) of a record's
// palette: entries 0-15 of a text image, else 0 to the pixel mask.
int32_t matchcol(int32_t r, int32_t g, int32_t b, const img_struct* im);
// The same on the write image.
int32_t matchcol(int32_t r, int32_t g, int32_t b);

uint32_t func__rgb(int32_t r, int32_t g, int32_t b, int32_t handle, int32_t passed);
uint32_t func__rgba(int32_t r, int32_t g, int32_t b, int32_t a, int32_t handle, int32_t passed);
int32_t func__alpha(uint32_t colour, int32_t handle, int32_t passed);
int32_t func__red(uint32_t colour, int32_t handle, int32_t passed);
int32_t func__green(uint32_t colour, int32_t handle, int32_t passed);
int32_t func__blue(uint32_t colour, int32_t handle, int32_t passed);

struct hsb_color {
    double h;  // degrees 0-360
    double s;  // 0-1
    double b;  // 0-1
};
struct rgb_color {
    double r, g, b;  // 0-1
};
// HSV to RGB on 0-1 values; the output is left alone for a sector outside 0-5.
void hsb2rgb(const hsb_color* in, rgb_color* out);
// RGB to HSV; black gives hue and saturation 0.
void rgb2hsb(const rgb_color* in, hsb_color* out);

uint32_t func__hsb32(double h, double s, double b);
uint32_t func__hsba32(double h, double s, double b, double a);
double func__hue32(uint32_t colour);
double func__sat32(uint32_t colour);
double func__bri32(uint32_t colour);
