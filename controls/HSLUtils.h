// Hue, saturation and lightness of RGB colours, and the lighter or darker shades the flat
// controls derive from their base colour.
#pragma once

#include <cstdint>

using TColor = std::int32_t;

// The integer scale of the scaled forms: hue runs 0..HslScale - 1, saturation and lightness
// 0..HslScale.
constexpr int HslScale = 240;

struct THsl {
    double H = 0; // 0..1
    double S = 0;
    double L = 0;
};

struct THslScaled {
    int H = 0; // 0..239
    int S = 0; // 0..240
    int L = 0; // 0..240
    bool operator==(const THslScaled&) const = default;
};

// Colour is an RGB colour ($00BBGGRR); system colours must be turned into RGB first.
THsl ColorToHsl(TColor Color);
TColor HslToColor(double H, double S, double L);
THslScaled ColorToHslScaled(TColor Color);
TColor HslScaledToColor(int H, int S, int L);

// A shade of BaseColor (RGB or system colour) Percent lightness steps lighter or darker; Percent
// 0 keeps CurrentColor. The bounds 0 and 100 are on the 0..240 lightness scale, so a "lighter"
// shade of an already light base comes out darker: controls rely on that look.
TColor ComputeAdvColor(TColor BaseColor, TColor CurrentColor, int Percent, bool Darker);
