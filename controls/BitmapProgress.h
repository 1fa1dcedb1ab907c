// A gauge drawn from two bitmaps, the bar stretched over the background, with the percentage
// centred on it.
#pragma once

#include "classlib/gui/Controls.h"

#include <cstdint>

// The bar's length in a gauge Width pixels wide; 0 when Max equals Min. Values beyond the range
// give a bar beyond the gauge (or a negative length).
std::int64_t GaugeBarLength(std::int64_t Position, std::int64_t Min, std::int64_t Max, int Width);
// The percentage text, "50.00%", with the locale's decimal separator; "0.00%" when Max equals Min.
String GaugePercentText(std::int64_t Position, std::int64_t Min, std::int64_t Max);

class TBitmapProgress : public TGraphicControl {
public:
    explicit TBitmapProgress(TComponent* AOwner);

    // Set by copying.
    TBitmap& BarBitmap() { return FBar; }
    void SetBarBitmap(TBitmap& Value);
    TBitmap& BackBitmap() { return FBack; }
    void SetBackBitmap(TBitmap& Value);

    std::int64_t Min() const { return FMin; }
    void SetMin(std::int64_t Value);
    std::int64_t Max() const { return FMax; }
    void SetMax(std::int64_t Value);
    std::int64_t Position() const { return FPosition; }
    void SetPosition(std::int64_t Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);

protected:
    void Paint() override;

private:
    void SetValue(std::int64_t& Field, std::int64_t Value);

    TBitmap FBar;
    TBitmap FBack;
    std::int64_t FMin = 0;
    std::int64_t FMax = 100;
    std::int64_t FPosition = 50;
    TColor FShadowColor = clBlack;
};
