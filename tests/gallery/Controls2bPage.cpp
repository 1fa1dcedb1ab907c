// Skinned controls II: flat edits in their states, and flat hint boxes facing each quadrant.
#include "controls/FlatEdit.h"
#include "controls/FlatHint.h"
#include "controls/FlatMaskEdit.h"
#include "tests/gallery/Gallery.h"

namespace {

// A flat hint box drawn in place, as the hint window draws it for a pointer on Side.
class THintSample : public TCustomControl {
public:
    THintSample(TComponent* AOwner, int Side) : TCustomControl(AOwner), FSide(Side) {}

protected:
    void Paint() override {
        PaintFlatHint(Canvas(), FSide, ClientRect(), TFlatHintLook{},
                      L"Side " + IntToStr(FSide) + L": a hint that wraps & keeps its ampersand");
    }

private:
    int FSide;
};

template <class T> T* Put(TWinControl& Parent, int Left, int Top, const String& Text) {
    auto* Control = GalleryPlace<T>(Parent, Bounds(Left, Top, 160, 19));
    Control->SetText(Text);
    Control->BeginLoading();
    Control->EndLoading();
    return Control;
}

void Build(TForm& Form) {
    Form.SetClientWidth(470);
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
    for (int Side = 0; Side < 4; ++Side) {
        GalleryPlace<THintSample>(
            Form, Bounds(200 + (Side % 2) * 130, 60 + (Side / 2) * 70, 120, 60), Side);
    }
    Form.SetActiveControl(Focused);
}

const TGalleryPage Page(L"controls-2b", &Build);

} // namespace
