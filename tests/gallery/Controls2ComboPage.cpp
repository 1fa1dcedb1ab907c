// Skinned controls II: flat combo boxes in their styles and states.
#include "controls/FlatComboBox.h"
#include "tests/gallery/Gallery.h"

namespace {

TFlatComboBox* Put(TWinControl& Parent, int Left, int Top, TComboBoxStyle Style) {
    auto* Combo = GalleryPlace<TFlatComboBox>(Parent, Bounds(Left, Top, 150, 21));
    Combo->SetStyle(Style);
    for (const wchar_t* Item : {L"Kilobytes", L"Megabytes", L"Gigabytes"})
        Combo->Items().Add(Item);
    return Combo;
}

void Build(TForm& Form) {
    Form.SetClientWidth(520);
    Form.SetClientHeight(200);
    Form.SetColor(0xE1EAEB);

    // Left column: with an edit.
    GalleryCaption(Form, 10, 13, L"Drop-down");
    Put(Form, 100, 10, csDropDown);
    GalleryCaption(Form, 10, 43, L"With text");
    Put(Form, 100, 40, csDropDown)->SetText(L"Typed text");
    GalleryCaption(Form, 10, 73, L"Disabled");
    auto* Disabled = Put(Form, 100, 70, csDropDown);
    Disabled->SetItemIndex(1);
    Disabled->SetEnabled(false);
    GalleryCaption(Form, 10, 103, L"Simple");
    auto* Simple = Put(Form, 100, 100, csSimple);
    Simple->SetHeight(80);
    Simple->SetItemIndex(0);

    // Right column: list styles.
    GalleryCaption(Form, 270, 13, L"List, focused");
    auto* Focused = Put(Form, 360, 10, csDropDownList);
    Focused->SetItemIndex(1);
    GalleryCaption(Form, 270, 43, L"List");
    Put(Form, 360, 40, csDropDownList)->SetItemIndex(2);
    GalleryCaption(Form, 270, 73, L"List, disabled");
    auto* Off = Put(Form, 360, 70, csDropDownList);
    Off->SetItemIndex(0);
    Off->SetEnabled(false);
    GalleryCaption(Form, 270, 103, L"Owner-drawn");
    Put(Form, 360, 100, csOwnerDrawFixed)->SetItemIndex(0);
    GalleryCaption(Form, 270, 133, L"Derived colours");
    auto* Derived = Put(Form, 360, 130, csDropDownList);
    Derived->SetUseAdvColors(true);
    Derived->SetItemIndex(0);

    Form.SetActiveControl(Focused);
}

const TGalleryPage Page(L"controls-2-combo", &Build);

} // namespace
