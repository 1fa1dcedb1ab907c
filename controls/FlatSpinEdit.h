// Flat edits holding a number, with a spin button inside their right edge: whole numbers whose
// range wraps around, and floating-point numbers whose range clamps.
#pragma once

#include "controls/FlatEdit.h"
#include "controls/FlatSpinButton.h"

#include <cstdint>

// Whether a spin edit lets the typed character Key through: signs, digits, the decimal separator
// and control characters other than carriage return; with the editor off, none that changes the
// text (printable characters and Backspace).
bool SpinEditAcceptsChar(wchar_t Key, bool EditorEnabled, wchar_t DecimalSeparator);

// Value within MinValue..MaxValue, wrapping: below the range gives MaxValue, above it MinValue.
// Equal bounds are no range; the result then stays within int.
int WrapSpinValue(std::int64_t Value, int MinValue, int MaxValue);
// Value within MinValue..MaxValue, clamped; equal bounds are no range.
double ClampSpinValue(double Value, double MinValue, double MaxValue);

// Reads a number as people write amounts: currency strings, blanks and thousands separators are
// ignored, a number in parentheses is negative, and an empty text is 0. False when it is no
// number.
bool ParseSpinFloat(String Text, const TFormatSettings& Settings, double& Value);

// The lowest height a spin edit in Font takes: the text and room for the arrows.
int SpinEditMinHeight(const TFont& Font);

// What both spin edits share: the spin button and its place, the text rectangle beside it, the
// arrow keys, the filter of typed and pasted characters and the range check on leaving.
class TCustomFlatSpinEdit : public TCustomFlatEdit {
public:
    // Another part restyles the arrows through it.
    TSpinButton& Button() { return *FButton; }
    // Typing, cutting and pasting are allowed; the arrows step either way.
    bool EditorEnabled = true;

    virtual bool AcceptsChar(wchar_t Key) const;
    // Value plus or minus Increment; a read-only edit only beeps.
    virtual void StepUp() = 0;
    virtual void StepDown() = 0;

protected:
    explicit TCustomFlatSpinEdit(TComponent* AOwner);

    void CreateParams(TCreateParams& Params) const override;
    void CreateWnd() override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    // The arrows of a disabled edit are disabled too.
    void EnabledChanged() override;

    // The simple beep of a refused key, a refused paste and a step of a read-only edit.
    virtual void Beep();
    // On leaving: a value the range would change is set again, so the text shows it in range.
    virtual void RangeCheckOnExit() = 0;

private:
    void PlaceButton();
    void SetTextRect();
    void FitToFont();
    bool PasteAllowed();

    TSpinButton* FButton;
};

class TFlatSpinEditInteger : public TCustomFlatSpinEdit {
public:
    explicit TFlatSpinEditInteger(TComponent* AOwner);

    // The text as a number; MinValue when it is none.
    int Value() const;
    // Wrapped into the range, written to Text.
    void SetValue(int Value) { SetWideValue(Value); }
    // Equal bounds are no range; changing them leaves the text.
    int MinValue = 0;
    int MaxValue = 0;
    int Increment = 1;

    void StepUp() override;
    void StepDown() override;

protected:
    bool SameFlatClass(const TWinControl& Other) const override;
    void RangeCheckOnExit() override;

private:
    void SetWideValue(std::int64_t Value);
};

class TFlatSpinEditFloat : public TCustomFlatSpinEdit {
public:
    explicit TFlatSpinEditFloat(TComponent* AOwner);

    // The text read by ParseSpinFloat; MinValue when it is no number.
    double Value() const;
    // Clamped into the range, written to Text as FloatFormat, Precision and Digits say.
    void SetValue(double Value);
    // Equal bounds are no range; changing them leaves the text.
    double MinValue = 0;
    double MaxValue = 0;
    double Increment = 0.5;
    // Each of these writes the text again in the new form.
    int Digits() const { return FDigits; }
    void SetDigits(int Value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    TFloatFormat FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(TFloatFormat Value);

    void StepUp() override;
    void StepDown() override;

protected:
    bool SameFlatClass(const TWinControl& Other) const override;
    void RangeCheckOnExit() override;

private:
    int FDigits = 2;
    int FPrecision = 9;
    TFloatFormat FFloatFormat = ffGeneral;
};
