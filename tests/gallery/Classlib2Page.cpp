// The class library's system controls: edits, combo boxes and buttons in their states.
#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/HintWindow.h"
#include "classlib/gui/StdCtrls.h"
#include "tests/gallery/Gallery.h"

#include <type_traits>

namespace {

// Edits, combo boxes and labels are 21 high; buttons the usual 25.
template <class TControlClass>
TControlClass* Add(TForm& Form, int Left, int Top, int Width, const String& Caption = String()) {
    const int Height = std::is_same_v<TControlClass, TButton> ? 25 : 21;
    auto* Control = GalleryPlace<TControlClass>(Form, Bounds(Left, Top, Width, Height));
    if (!Caption.empty())
        Control->SetCaption(Caption);
    return Control;
}

void AddLabel(TForm& Form, int Left, int Top, const String& Caption) {
    Add<TLabel>(Form, Left, Top, 0, Caption);
}

void AddEdits(TForm& Form) {
    AddLabel(Form, 12, 12, L"Edits");
    Add<TEdit>(Form, 12, 32, 150, L"Normal edit");
    auto* ReadOnly = Add<TEdit>(Form, 12, 60, 150, L"Read-only edit");
    ReadOnly->SetReadOnly(true);
    auto* Password = Add<TEdit>(Form, 12, 88, 150, L"secret");
    Password->SetPasswordChar(L'*');
    auto* Coloured = Add<TEdit>(Form, 12, 116, 150, L"Coloured edit");
    Coloured->SetColor(0xC0FFFF);
    Coloured->Font().SetColor(0x800000);
    auto* Disabled = Add<TEdit>(Form, 12, 144, 150, L"Disabled edit");
    Disabled->SetEnabled(false);
}

void AddCombos(TForm& Form) {
    AddLabel(Form, 190, 12, L"Combo boxes");
    const struct {
        TComboBoxStyle Style;
        const wchar_t* Name;
    } Styles[] = {
        {csDropDown, L"csDropDown"},
        {csDropDownList, L"csDropDownList"},
        {csOwnerDrawFixed, L"csOwnerDrawFixed"},
        {csOwnerDrawVariable, L"csOwnerDrawVariable"},
        {csSimple, L"csSimple"},
    };
    int Top = 32;
    // csSimple last: its list stays open below its edit.
    for (const auto& Entry : Styles) {
        auto* Combo = Add<TComboBox>(Form, 190, Top, 170);
        Combo->SetStyle(Entry.Style);
        for (const wchar_t* Item : {L"first item", L"second item", L"third item"})
            Combo->Items().Add(Item);
        Combo->Items().Insert(0, Entry.Name);
        Combo->SetItemIndex(0);
        if (Entry.Style == csSimple)
            Combo->SetHeight(80);
        Top += 28;
    }
}

void AddButtons(TForm& Form) {
    AddLabel(Form, 12, 184, L"Buttons");
    auto* Ok = Add<TButton>(Form, 12, 204, 75, L"OK");
    Ok->SetDefault(true);
    auto* Cancel = Add<TButton>(Form, 95, 204, 75, L"Cancel");
    Cancel->Cancel = true;
    auto* Disabled = Add<TButton>(Form, 12, 236, 75, L"&Disabled");
    Disabled->SetEnabled(false);
}

void Build(TForm& Form) {
    Form.SetClientWidth(400);
    Form.SetClientHeight(300);
    AddEdits(Form);
    AddCombos(Form);
    AddButtons(Form);
    // A hint as the application shows one, over the form's lower right corner, once the form
    // is up (as hints come: a window shown before it would end up below it on the X server).
    auto* Hint = new THintWindow(&Form);
    auto* Later = new TTimer(&Form);
    Later->SetInterval(100);
    Later->OnTimer = [&Form, Hint, Later](TObject*) {
        Later->SetEnabled(false);
        const String Text = GetShortHint(L"A hint window: on top, not activated|long part");
        const TPoint At = Form.ClientToScreen(TPoint{190, 250});
        const TRect Size = Hint->CalcHintRect(200, Text, nullptr);
        Hint->ActivateHint(Bounds(At.X, At.Y, Size.Width(), Size.Height()), Text);
    };
}

const TGalleryPage Page(L"classlib-2", &Build);

} // namespace
