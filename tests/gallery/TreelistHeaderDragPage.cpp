// Gallery page: the tree-list's header grown by tall images, with the rows starting right below
// it, beside a plain one; and rows dragged from one list over another, their picture under the
// pointer.
#include "tests/gallery/Gallery.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/ImgList.h"
#include "classlib/gui/StdCtrls.h"
#include "treelist/CvTree.h"

#include <vector>

namespace {

TCvTree* PlaceList(TForm& Form, TRect Where, const std::vector<const wchar_t*>& Rows) {
    auto* Tree = GalleryPlace<TCvTree>(Form, Where);
    Tree->SetUseXPThemes(false);
    for (const wchar_t* Caption : {L"Name", L"Size"}) {
        TCvHeaderSection* S = Tree->HeaderControl().Sections().AppendSection();
        S->SetText(Caption);
        S->SetWidth(Caption[0] == L'N' ? 150 : 80);
    }
    Tree->SetShowColumns(true);
    Tree->Items().BeginUpdate();
    for (const wchar_t* Row : Rows) {
        TCvTreeItem* Item = Tree->Items().AddChild(nullptr, Row);
        Item->ColumnTextList()->Assign({L"12 KB"});
    }
    Tree->Items().EndUpdate();
    return Tree;
}

// A 28-pixel picture for each header section: taller than the caption, so the header grows.
void GiveTallHeaderImages(TCvTree& Tree, TImageList& Images) {
    Images.SetSize(28, 28);
    const TColor Colours[] = {TColor(0x3C8DE0), TColor(0x4CB050)};
    for (const TColor Colour : Colours) {
        TBitmap Picture;
        Picture.SetSize(28, 28);
        Picture.Canvas().Brush().SetColor(clFuchsia);
        Picture.Canvas().FillRect(TRect(0, 0, 28, 28));
        Picture.Canvas().Brush().SetColor(Colour);
        Picture.Canvas().FillRect(TRect(3, 3, 25, 25));
        Images.AddMasked(Picture, clFuchsia);
    }
    for (int I = 0; I < 2; ++I)
        Tree.HeaderControl().Sections().ItemAt(I)->SetImageIndex(I);
    Tree.SetHeaderImages(&Images);
}

// Once the form shows: two rows pressed and dragged over the lower list, the pointer resting
// below its rows.
void StageDrag(TCvTree& Source, TCvTree& Target) {
    TCvTreeView& View = Source.TreeView();
    Source.Items().GetVisItem(1)->SetSelected(true);
    Source.Items().GetVisItem(2)->SetSelected(true);
    const TRect Row = View.GetItemRect(1);
    const int X = 40, Y = (Row.Top + Row.Bottom) / 2;
    const TPoint Press = View.ClientToScreen(TPoint{X, Y});
    SetCursorPos(Press.X, Press.Y);
    SendMessageW(View.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
    SendMessageW(View.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X + 6, Y + 6));
    // Below the target's rows, so that the picture stands on a clear background.
    TCvTreeView& Over = Target.TreeView();
    const TRect Last = Over.GetItemRect(2);
    const TPoint At = Over.ClientToScreen(TPoint{60, Last.Bottom + 12});
    SetCursorPos(At.X, At.Y);
    // The drag holds the mouse in a window of its own at the screen's origin.
    if (const HWND Capture = GetCapture())
        SendMessageW(Capture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(At.X, At.Y));
}

void Build(TForm& Form) {
    Form.SetClientWidth(560);
    Form.SetClientHeight(300);
    GalleryCaption(Form, 8, 6, L"Header with tall images");
    TCvTree* Tall = PlaceList(Form, TRect(8, 24, 270, 144), {L"Report.docx", L"Budget.xlsx"});
    auto* Images = new TImageList(&Form);
    GalleryCaption(Form, 8, 156, L"Plain header");
    PlaceList(Form, TRect(8, 174, 270, 294), {L"Report.docx", L"Budget.xlsx"});

    GalleryCaption(Form, 284, 6, L"Two rows being dragged");
    TCvTree* Source =
        PlaceList(Form, TRect(284, 24, 552, 144), {L"Archive.zip", L"Photo.jpg", L"Notes.txt"});
    Source->DragAllowed = true;
    Source->DragImageMode = dimAll;
    GalleryCaption(Form, 284, 156, L"over another list");
    TCvTree* Target =
        PlaceList(Form, TRect(284, 174, 552, 294), {L"Documents", L"Backup", L"Music"});
    Target->DragTrgDrawMode = TCvDragTrgDrawMode::ColorRect;
    Target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) {
        Accept = true;
    };
    auto* Later = new TTimer(&Form);
    Later->SetInterval(150);
    // The header measures its pictures with its window, so they come once the form shows.
    Later->OnTimer = [Tall, Images, Source, Target, Later](TObject*) {
        Later->SetEnabled(false);
        GiveTallHeaderImages(*Tall, *Images);
        StageDrag(*Source, *Target);
    };
}

const TGalleryPage Page(L"treelist-header-drag", &Build);

} // namespace
