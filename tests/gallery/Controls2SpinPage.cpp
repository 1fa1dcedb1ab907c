// Skinned controls II: spin edits (whole and floating-point numbers) in their states, and spin
// buttons on their own.
#include "controls/FlatSpinEdit.h"
#include "tests/gallery/Gallery.h"

namespace {

template <class T> T* Put(TWinControl& Parent, int Left, int Top, int Width) {
    auto* Control = GalleryPlace<T>(Parent, Bounds(Left, Top, Width, 19));
    Control->BeginLoading();
    Control->EndLoading();
    return Control;
}

void Build(TForm& Form) {
    Form.SetClientWidth(440);
    Form.SetClientHeight(230);
    Form.SetColor(0xE1EAEB);

    // Left column: whole numbers.
    GalleryCaption(Form, 10, 13, L"Plain");
    Put<TFlatSpinEditInteger>(Form, 100, 10, 90)->SetValue(42);
    GalleryCaption(Form, 10, 43, L"Focused, 1..31");
    auto* Focused = Put<TFlatSpinEditInteger>(Form, 100, 40, 90);
    Focused->MinValue = 1;
    Focused->MaxValue = 31;
    Focused->SetValue(31);
    GalleryCaption(Form, 10, 73, L"Read-only");
    auto* ReadOnly = Put<TFlatSpinEditInteger>(Form, 100, 70, 90);
    ReadOnly->SetValue(7);
    ReadOnly->SetReadOnly(true);
    GalleryCaption(Form, 10, 103, L"Disabled");
    auto* Disabled = Put<TFlatSpinEditInteger>(Form, 100, 100, 90);
    Disabled->SetValue(3);
    Disabled->SetEnabled(false);
    GalleryCaption(Form, 10, 136, L"Larger font");
    auto* Big = Put<TFlatSpinEditInteger>(Form, 100, 130, 90);
    Big->Font().SetSize(14);
    Big->SetValue(1000);

    // Right column: floating-point numbers and spin buttons alone.
    GalleryCaption(Form, 220, 13, L"Float");
    Put<TFlatSpinEditFloat>(Form, 320, 10, 100);
    GalleryCaption(Form, 220, 43, L"Float 0.5..10");
    auto* Ranged = Put<TFlatSpinEditFloat>(Form, 320, 40, 100);
    Ranged->MinValue = 0.5;
    Ranged->MaxValue = 10;
    Ranged->SetValue(2.5);
    GalleryCaption(Form, 220, 73, L"Fixed, 3 digits");
    auto* Fixed = Put<TFlatSpinEditFloat>(Form, 320, 70, 100);
    Fixed->SetFloatFormat(ffFixed);
    Fixed->SetDigits(3);
    Fixed->SetValue(1.25);
    GalleryCaption(Form, 220, 106, L"Spin buttons");
    GalleryPlace<TSpinButton>(Form, Bounds(320, 103, 21, 14));
    GalleryPlace<TSpinButton>(Form, Bounds(350, 100, 21, 30));
    auto* Off = GalleryPlace<TSpinButton>(Form, Bounds(380, 103, 21, 14));
    Off->SetEnabled(false);

    Form.SetActiveControl(Focused);
}

const TGalleryPage Page(L"controls-2-spin", &Build);

} // namespace
