#include "controls/HSLUtils.h"

#include "classlib/gui/Graphics.h"

#include <algorithm>
#include <cmath>

namespace {

// The processor's default rounding: to nearest, ties to even.
int RoundEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

int Red(TColor C) {
    return C & 0xFF;
}
int Green(TColor C) {
    return (C >> 8) & 0xFF;
}
int Blue(TColor C) {
    return (C >> 16) & 0xFF;
}

TColor Rgb(int R, int G, int B) {
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}

int HueToChannel(double M1, double M2, double H) {
    if (H < 0)
        H += 1;
    else if (H > 1)
        H -= 1;
    double Value;
    if (6 * H < 1)
        Value = M1 + (M2 - M1) * 6 * H;
    else if (2 * H < 1)
        Value = M2;
    else if (3 * H < 2)
        Value = M1 + (M2 - M1) * (2.0 / 3.0 - H) * 6;
    else
        Value = M1;
    return RoundEven(Value * 255);
}

} // namespace

THsl ColorToHsl(TColor Color) {
    const double R = Red(Color) / 255.0;
    const double G = Green(Color) / 255.0;
    const double B = Blue(Color) / 255.0;
    const double Max = std::max({R, G, B});
    const double Min = std::min({R, G, B});
    THsl Result;
    Result.L = (Max + Min) / 2;
    if (Max == Min)
        return Result;
    const double D = Max - Min;
    Result.S = Result.L >= 0.5 ? D / (2 - Max - Min) : D / (Max + Min);
    if (Max == R)
        Result.H = (G - B) / D;
    else if (Max == G)
        Result.H = (B - R) / D + 2;
    else
        Result.H = (R - G) / D + 4;
    Result.H /= 6;
    if (Result.H < 0)
        Result.H += 1;
    return Result;
}

TColor HslToColor(double H, double S, double L) {
    if (S == 0) {
        const int Grey = RoundEven(L * 255);
        return Rgb(Grey, Grey, Grey);
    }
    const double M2 = L > 0.5 ? L + S - L * S : L * (1 + S);
    const double M1 = 2 * L - M2;
    return Rgb(HueToChannel(M1, M2, H + 1.0 / 3.0), HueToChannel(M1, M2, H),
               HueToChannel(M1, M2, H - 1.0 / 3.0));
}

THslScaled ColorToHslScaled(TColor Color) {
    const THsl Hsl = ColorToHsl(Color);
    return {RoundEven((HslScale - 1) * Hsl.H), RoundEven(HslScale * Hsl.S),
            RoundEven(HslScale * Hsl.L)};
}

TColor HslScaledToColor(int H, int S, int L) {
    return HslToColor(H / double(HslScale - 1), S / double(HslScale), L / double(HslScale));
}

TColor ComputeAdvColor(TColor BaseColor, TColor CurrentColor, int Percent, bool Darker) {
    if (Percent == 0)
        return CurrentColor;
    THslScaled Hsl = ColorToHslScaled(static_cast<TColor>(ColorToRGB(BaseColor)));
    Hsl.L += 10;
    if (Darker)
        Hsl.L = Hsl.L - Percent < 0 ? 0 : Hsl.L - Percent;
    else
        Hsl.L = Hsl.L + Percent > 100 ? 100 : Hsl.L + Percent;
    return HslScaledToColor(Hsl.H, Hsl.S, Hsl.L);
}
