// The class library's containers: panels and their bevels, bevel shapes, a notebook, the month
// calendar, the busy animation and a control that owns a pop-up menu.
#include "classlib/gui/ComCtrls.h"
#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/StdCtrls.h"
#include "tests/gallery/Gallery.h"

namespace {

TLabel* Caption(TWinControl& Parent, int Left, int Top, const String& Text) {
    auto* Label = GalleryPlace<TLabel>(Parent, Bounds(Left, Top, 0, 0));
    Label->SetCaption(Text);
    return Label;
}

void Build(TForm& Form) {
    Form.SetClientWidth(520);
    Form.SetClientHeight(400);

    // Panels: the default raised edge, raised over lowered, a wide lowered one, captions placed.
    auto* Plain = GalleryPlace<TPanel>(Form, Bounds(12, 12, 150, 40));
    Plain->SetCaption(L"Raised panel");
    auto* Double = GalleryPlace<TPanel>(Form, Bounds(12, 60, 150, 40));
    Double->SetBevelInner(bvLowered);
    Double->SetAlignment(taLeftJustify);
    Double->SetCaption(L"Inner lowered, left");
    auto* Wide = GalleryPlace<TPanel>(Form, Bounds(12, 108, 150, 40));
    Wide->SetBevelOuter(bvLowered);
    Wide->SetBevelWidth(3);
    Wide->SetAlignment(taRightJustify);
    Wide->SetCaption(L"Lowered 3, right");

    // Bevel shapes, lowered above and raised below.
    const TBevelShape Shapes[] = {bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine};
    for (int I = 0; I < 6; ++I)
        for (const TBevelStyle Style : {bsLowered, bsRaised}) {
            auto* Bevel = GalleryPlace<TBevel>(
                Form, Bounds(180 + I * 36, Style == bsLowered ? 12 : 48, 28, 28));
            Bevel->SetShape(Shapes[I]);
            Bevel->SetStyle(Style);
        }

    // A notebook showing its second page, framed by a panel.
    auto* Frame = GalleryPlace<TPanel>(Form, Bounds(12, 160, 180, 100));
    Frame->SetBevelOuter(bvLowered);
    auto* Book = GalleryPlace<TNotebook>(*Frame, Bounds(0, 0, 0, 0));
    Book->SetAlign(alClient);
    Caption(*Book->AddPage(L"Drives"), 8, 8, L"Page one: Drives");
    TPage* Folders = Book->AddPage(L"Folders");
    Caption(*Folders, 8, 8, L"Notebook page \"Folders\"");
    Caption(*Folders, 8, 28, L"(the second of two)");
    Book->SetActivePage(L"Folders");

    // The calendar with week numbers.
    auto* Calendar = GalleryPlace<TMonthCalendar>(Form, Bounds(210, 90, 290, 180));
    Calendar->SetWeekNumbers(true);
    Calendar->SetDate(EncodeDate(2026, 12, 10));

    // The busy animation, running and stopped.
    Caption(Form, 12, 276, L"Busy animation, running and stopped:");
    auto* Running = GalleryPlace<TAnimate>(Form, Bounds(12, 296, 160, 16));
    Running->SetCommonAVI(aviCopyFiles);
    Running->SetActive(true);
    auto* Stopped = GalleryPlace<TAnimate>(Form, Bounds(184, 296, 160, 16));
    Stopped->SetCommonAVI(aviDeleteFile);

    // A panel that owns a pop-up menu (a right click opens it).
    auto* Menu = new TPopupMenu(&Form);
    for (const wchar_t* Text : {L"Open", L"-", L"Delete"}) {
        auto* Item = new TMenuItem(&Form);
        Item->Caption = Text;
        Menu->Items().Add(Item);
    }
    auto* Owner = GalleryPlace<TPanel>(Form, Bounds(12, 324, 220, 40));
    Owner->SetCaption(L"Right-click for its pop-up menu");
    Owner->SetPopupMenu(Menu);
}

const TGalleryPage Page(L"classlib-2-containers", &Build);

} // namespace
