// Skinned controls II: flat edits in their states.
#include "controls/FlatEdit.h"
#include "controls/FlatMaskEdit.h"
#include "tests/gallery/Gallery.h"

namespace {

template <class T> T* Put(TWinControl& Parent, int Left, int Top, const String& Text) {
    auto* Control = new T(&Parent);
    Control->SetParent(&Parent);
    Control->SetBounds(Left, Top, 160, 19);
    Control->SetText(Text);
    Control->BeginLoading();
    Control->EndLoading();
    return Control;
}

void Build(TForm& Form) {
    Form.SetClientWidth(400);
    Form.SetClientHeight(200);
    Form.SetColor(0xE1EAEB);
    Put<TFlatEdit>(Form, 10, 10, L"Plain flat edit");
    auto* Focused = Put<TFlatEdit>(Form, 10, 40, L"Focused flat edit");
    Put<TFlatMaskEdit>(Form, 10, 70, L"Masked edit");
    auto* Own = Put<TFlatEdit>(Form, 10, 100, L"Own flat colour");
    Own->SetColorFlat(0xC0E0FF);
    auto* Disabled = Put<TFlatEdit>(Form, 10, 130, L"Disabled");
    Disabled->SetEnabled(false);
    auto* Big = Put<TFlatEdit>(Form, 200, 10, L"Larger font");
    Big->Font().SetSize(14);
    Form.SetActiveControl(Focused);
}

const TGalleryPage Page(L"controls-2b", &Build);

} // namespace
