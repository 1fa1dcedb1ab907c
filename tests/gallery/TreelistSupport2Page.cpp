// Gallery page: the column header in its states, scroll bars (classic, flat, owner-drawn) and a
// wide hint window.
#include "tests/gallery/Gallery.h"

#include "treelist/CvHeader.h"
#include "treelist/CvHintWnd.h"
#include "treelist/CvScrollBar.h"

namespace {

TCvHeader* AddHeader(TForm& Form, int Top, bool Flat) {
    auto* Header = new TCvHeader(&Form);
    Header->SetUseXPThemes(false);
    Header->SetAlign(alNone);
    Header->SetParent(&Form);
    Header->SetFlat(Flat);
    Header->SetBounds(8, Top, 460, 22);
    const wchar_t* Captions[] = {L"Name", L"Size", L"Modified", L"A caption too long to show"};
    for (const wchar_t* Caption : Captions) {
        TCvHeaderSection* S = Header->Sections().AppendSection();
        S->SetText(Caption);
        S->SetWidth(100);
    }
    Header->Sections().ItemAt(0)->SetSortMode(hsmAscend);
    Header->Sections().ItemAt(1)->SetFilterEnabled(true);
    Header->Sections().ItemAt(1)->SetAlignment(hsaRight);
    Header->Sections().ItemAt(2)->SetExpandable(true);
    Header->Sections().ItemAt(2)->SetLookupEnabled(true);
    Header->Sections().ItemAt(3)->SetWidth(110);
    return Header;
}

TCvScrollBar* AddBar(TForm& Form, const TRect& R, TScrollBarKind Kind) {
    auto* Bar = new TCvScrollBar(&Form);
    Bar->SetUseXPThemes(false);
    Bar->SetParent(&Form);
    Bar->SetKind(Kind);
    Bar->SetUseSystemMetrics(false);
    Bar->SetButtonSize(16);
    Bar->SetBoundsRect(R);
    Bar->SetPosition(30);
    return Bar;
}

void Build(TForm& Form) {
    Form.SetClientWidth(476);
    Form.SetClientHeight(300);
    AddHeader(Form, 8, false);
    TCvHeader* Flat = AddHeader(Form, 38, true);
    Flat->Sections().ItemAt(1)->SetFilterIsActive(true);
    Flat->Sections().ItemAt(0)->SetSortMode(hsmDescend);

    TCvScrollBar* Classic = AddBar(Form, Bounds(8, 80, 300, 17), sbHorizontal);
    Classic->Flat = false;
    Classic->SystemBkColor = false;
    AddBar(Form, Bounds(8, 104, 300, 17), sbHorizontal)->SetSecondaryButtons(true);
    TCvScrollBar* Drawn = AddBar(Form, Bounds(8, 128, 300, 17), sbHorizontal);
    Drawn->OwnerDraw = true;
    Drawn->OnDrawPart = [](TObject*, TCanvas& Canvas, const TRect& R, TCvScrollBarPart Part, bool,
                           bool, bool, bool& DefaultDraw) {
        if (Part != sbpThumb)
            return;
        Canvas.Brush().SetColor(0x3080E0);
        Canvas.FillRect(R);
        DefaultDraw = false;
    };
    TCvScrollBar* Vertical = AddBar(Form, Bounds(440, 80, 17, 200), sbVertical);
    Vertical->Flat = false;

    auto* Hint = new TCvHintWindow(&Form);
    const String Text = L"A wide hint: Gr\u00f6\u00dfe, \u00e9t\u00e9";
    const TRect Size = Hint->MeasureHint(300, Text);
    // Shown once the form stands on the screen, as a hint would be.
    Form.OnActivate = [&Form, Hint, Text, Size](TObject*) {
        const TPoint Corner = Form.ClientToScreen(TPoint{20, 160});
        Hint->ActivateWideHint(Bounds(Corner.X, Corner.Y, Size.Width(), Size.Height()), Text);
    };
}

const TGalleryPage Page(L"treelist-support-2", &Build);

} // namespace
