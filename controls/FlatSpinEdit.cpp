#include "controls/FlatSpinEdit.h"

#include <algorithm>
#include <climits>

namespace {

// The text on the clipboard; empty when it holds none.
String ClipboardText(HWND Owner) {
    if (!OpenClipboard(Owner))
        return String();
    String Text;
    if (const HANDLE Data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* Chars = static_cast<const wchar_t*>(GlobalLock(Data))) {
            Text = Chars;
            GlobalUnlock(Data);
        }
    }
    CloseClipboard();
    return Text;
}

void RemoveAll(String& Text, const String& Part) {
    if (Part.empty())
        return;
    for (std::size_t At = Text.find(Part); At != String::npos; At = Text.find(Part, At))
        Text.erase(At, Part.size());
}

} // namespace

bool SpinEditAcceptsChar(wchar_t Key, bool EditorEnabled, wchar_t DecimalSeparator) {
    const bool Accepted = Key == L'+' || Key == L'-' || (Key >= L'0' && Key <= L'9') ||
                          Key == DecimalSeparator || (Key < L' ' && Key != L'\r');
    if (!Accepted)
        return false;
    // With the editor off only keys that leave the text alone pass.
    return EditorEnabled || (Key < L' ' && Key != L'\b');
}

int WrapSpinValue(std::int64_t Value, int MinValue, int MaxValue) {
    if (MinValue == MaxValue)
        return static_cast<int>(std::clamp<std::int64_t>(Value, INT_MIN, INT_MAX));
    if (Value < MinValue)
        return MaxValue;
    if (Value > MaxValue)
        return MinValue;
    return static_cast<int>(Value);
}

double ClampSpinValue(double Value, double MinValue, double MaxValue) {
    if (MinValue == MaxValue)
        return Value;
    if (Value < MinValue)
        return MinValue;
    if (Value > MaxValue)
        return MaxValue;
    return Value;
}

bool ParseSpinFloat(String Text, const TFormatSettings& Settings, double& Value) {
    RemoveAll(Text, Settings.CurrencyString);
    std::erase_if(Text, [&](wchar_t C) { return C == L' ' || C == Settings.ThousandSeparator; });
    if (Text.empty()) {
        Value = 0;
        return true;
    }
    bool Negative = false;
    if (const std::size_t Open = Text.find(L'('); Open != String::npos) {
        Text.erase(Open, 1);
        if (const std::size_t Close = Text.find(L')'); Close != String::npos)
            Text.erase(Close, 1);
        Negative = true;
    }
    double Read = 0;
    if (!TryStrToFloat(Text, Read, Settings))
        return false;
    Value = Negative ? -Read : Read;
    return true;
}

int SpinEditMinHeight(const TFont& Font) {
    return GetFontMetrics(Font).tmHeight + 7;
}

// ------------------------------------------------------------ TCustomFlatSpinEdit

TCustomFlatSpinEdit::TCustomFlatSpinEdit(TComponent* AOwner) : TCustomFlatEdit(AOwner) {
    ControlStyle.Exclude(csSetCaption);
    FButton = new TSpinButton(this);
    FButton->SetBounds(0, 0, 22, 10);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject*) { StepUp(); };
    FButton->OnDownClick = [this](TObject*) { StepDown(); };
}

bool TCustomFlatSpinEdit::AcceptsChar(wchar_t Key) const {
    return SpinEditAcceptsChar(Key, EditorEnabled, FormatSettings().DecimalSeparator);
}

void TCustomFlatSpinEdit::CreateParams(TCreateParams& Params) const {
    TCustomFlatEdit::CreateParams(Params);
    // Only a multi-line edit keeps its text out of the rectangle the spin button covers.
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TCustomFlatSpinEdit::CreateWnd() {
    TCustomFlatEdit::CreateWnd();
    PlaceButton();
}

void TCustomFlatSpinEdit::Loaded() {
    TCustomFlatEdit::Loaded();
    FitToFont();
}

void TCustomFlatSpinEdit::FitToFont() {
    const int MinHeight = SpinEditMinHeight(Font());
    if (Height() < MinHeight)
        SetHeight(MinHeight); // places the button when the window sizes
    PlaceButton();
}

void TCustomFlatSpinEdit::PlaceButton() {
    FButton->SetBounds(Width() - FButton->Width() - 5, 0, FButton->Width(), Height() - 6);
    SetTextRect();
}

void TCustomFlatSpinEdit::SetTextRect() {
    if (!HandleAllocated())
        return;
    RECT Text{0, 0, ClientWidth() - FButton->Width() - 3, ClientHeight()};
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&Text));
}

bool TCustomFlatSpinEdit::PasteAllowed() {
    if (!EditorEnabled || ReadOnly())
        return false;
    // Typing is filtered key by key; a paste must not bring in what typing could not.
    const String Text = ClipboardText(Handle());
    const bool Clean = std::all_of(Text.begin(), Text.end(),
                                   [this](wchar_t C) { return C >= L' ' && AcceptsChar(C); });
    if (!Clean)
        Beep();
    return Clean;
}

void TCustomFlatSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_UP)
        StepUp();
    else if (Key == VK_DOWN)
        StepDown();
    TCustomFlatEdit::KeyDown(Key, Shift);
}

void TCustomFlatSpinEdit::KeyPress(wchar_t& Key) {
    if (!AcceptsChar(Key)) {
        Key = 0;
        Beep();
    }
    if (Key != 0)
        TCustomFlatEdit::KeyPress(Key);
}

void TCustomFlatSpinEdit::EnabledChanged() {
    TCustomFlatEdit::EnabledChanged();
    FButton->SetEnabled(Enabled());
}

void TCustomFlatSpinEdit::Beep() {
    MessageBeep(0);
}

void TCustomFlatSpinEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CUT:
        if (!EditorEnabled || ReadOnly())
            return;
        break;
    case WM_PASTE:
        if (!PasteAllowed())
            return;
        break;
    case WM_SIZE:
        TCustomFlatEdit::WndProc(Message);
        FitToFont();
        return;
    case WM_GETDLGCODE:
        // Multi-line only to keep its text clear of the arrows: like any one-line edit, it
        // leaves Enter and Escape to the form.
        TCustomFlatEdit::WndProc(Message);
        Message.Result &= ~DLGC_WANTALLKEYS;
        return;
    case CM_EXIT: {
        const TAliveToken Alive = AliveToken();
        TCustomFlatEdit::WndProc(Message);
        if (Alive.Alive())
            RangeCheckOnExit();
        return;
    }
    default:
        break;
    }
    TCustomFlatEdit::WndProc(Message);
}

// ------------------------------------------------------------ TFlatSpinEditInteger

TFlatSpinEditInteger::TFlatSpinEditInteger(TComponent* AOwner) : TCustomFlatSpinEdit(AOwner) {
    SetValue(0);
}

int TFlatSpinEditInteger::Value() const {
    int Read = 0;
    return TryStrToInt(Text(), Read) ? Read : MinValue;
}

void TFlatSpinEditInteger::SetWideValue(std::int64_t Value) {
    SetText(IntToStr(WrapSpinValue(Value, MinValue, MaxValue)));
}

void TFlatSpinEditInteger::StepUp() {
    if (ReadOnly())
        Beep();
    else
        SetWideValue(std::int64_t{Value()} + Increment);
}

void TFlatSpinEditInteger::StepDown() {
    if (ReadOnly())
        Beep();
    else
        SetWideValue(std::int64_t{Value()} - Increment);
}

void TFlatSpinEditInteger::RangeCheckOnExit() {
    const int Current = Value();
    if (WrapSpinValue(Current, MinValue, MaxValue) != Current)
        SetValue(Current);
}

bool TFlatSpinEditInteger::SameFlatClass(const TWinControl& Other) const {
    return dynamic_cast<const TFlatSpinEditInteger*>(&Other) != nullptr;
}

// ------------------------------------------------------------ TFlatSpinEditFloat

TFlatSpinEditFloat::TFlatSpinEditFloat(TComponent* AOwner) : TCustomFlatSpinEdit(AOwner) {
    SetText(String(L"0") + FormatSettings().DecimalSeparator + L"00");
}

double TFlatSpinEditFloat::Value() const {
    double Read = 0;
    return ParseSpinFloat(Text(), FormatSettings(), Read) ? Read : MinValue;
}

void TFlatSpinEditFloat::SetValue(double Value) {
    SetText(
        FloatToStrF(ClampSpinValue(Value, MinValue, MaxValue), FFloatFormat, FPrecision, FDigits));
}

void TFlatSpinEditFloat::SetDigits(int Value) {
    FDigits = Value;
    SetValue(this->Value());
}

void TFlatSpinEditFloat::SetPrecision(int Value) {
    FPrecision = Value;
    SetValue(this->Value());
}

void TFlatSpinEditFloat::SetFloatFormat(TFloatFormat Value) {
    FFloatFormat = Value;
    SetValue(this->Value());
}

void TFlatSpinEditFloat::StepUp() {
    if (ReadOnly())
        Beep();
    else
        SetValue(Value() + Increment);
}

void TFlatSpinEditFloat::StepDown() {
    if (ReadOnly())
        Beep();
    else
        SetValue(Value() - Increment);
}

void TFlatSpinEditFloat::RangeCheckOnExit() {
    const double Current = Value();
    if (ClampSpinValue(Current, MinValue, MaxValue) != Current)
        SetValue(Current);
}

bool TFlatSpinEditFloat::SameFlatClass(const TWinControl& Other) const {
    return dynamic_cast<const TFlatSpinEditFloat*>(&Other) != nullptr;
}
