// Gallery page: the tree-list's extras. A line hint laid over a cell whose text is cut, and a
// list under a drag, its drop target marked as accepting (the dragged picture itself is on the
// header-and-drag page).
#include "tests/gallery/Gallery.h"

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/StdCtrls.h"
#include "treelist/CvTree.h"

#include <vector>

namespace {

struct TRowText {
    const wchar_t* Name;
    const wchar_t* Size;
    const wchar_t* Description;
};

TCvTree* PlaceTree(TForm& Form, TRect Where) {
    auto* Tree = GalleryPlace<TCvTree>(Form, Where);
    Tree->SetUseXPThemes(false);
    struct TColumn {
        const wchar_t* Caption;
        int Width;
    };
    const TColumn Columns[] = {{L"Name", 110}, {L"Size", 60}, {L"Description", 110}};
    for (const TColumn& C : Columns) {
        TCvHeaderSection* S = Tree->HeaderControl().Sections().AppendSection();
        S->SetText(C.Caption);
        S->SetWidth(C.Width);
    }
    Tree->SetShowColumns(true);
    return Tree;
}

void Fill(TCvTree& Tree, const std::vector<TRowText>& Rows) {
    Tree.Items().BeginUpdate();
    for (const TRowText& R : Rows) {
        TCvTreeItem* Item = Tree.Items().AddChild(nullptr, R.Name);
        Item->ColumnTextList()->Assign({R.Size, R.Description});
    }
    Tree.Items().EndUpdate();
}

// Once the form shows: the drag over the lower list and the pointer resting on a cut cell.
void Stage(TCvTree& Source, TCvTree& Target) {
    TCvTreeView& SourceView = Source.TreeView();
    TCvTreeView& TargetView = Target.TreeView();
    const TRect Row = TargetView.GetItemRect(1);
    TargetView.DoDragOver(nullptr, 40, (Row.Top + Row.Bottom) / 2, true);
    // The cut cell: row 1's description. The pointer is put there too, so nothing hides it.
    const TRect Cut = SourceView.GetItemRect(1);
    const int X = 110 + 60 + 40;
    const int Y = (Cut.Top + Cut.Bottom) / 2;
    const TPoint Screen = SourceView.ClientToScreen(TPoint{X, Y});
    SetCursorPos(Screen.X, Screen.Y);
    SendMessageW(SourceView.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
}

void Build(TForm& Form) {
    Form.SetClientWidth(476);
    Form.SetClientHeight(320);
    GalleryCaption(Form, 8, 6, L"Line hint over a cut cell");
    TCvTree* Source = PlaceTree(Form, TRect(8, 24, 308, 144));
    Fill(*Source, {{L"Report.docx", L"12 KB", L"Board report"},
                   {L"Budget.xlsx", L"48 KB", L"Quarterly budget with every department"},
                   {L"Photo.jpg", L"2.1 MB", L"Holiday"},
                   {L"Notes.txt", L"1 KB", L"Short notes"}});
    GalleryCaption(Form, 8, 156, L"A row dragged over a list");
    TCvTree* Target = PlaceTree(Form, TRect(8, 174, 308, 294));
    Target->DragAllowed = true;
    Target->DragTrgDrawMode = TCvDragTrgDrawMode::ColorRect;
    Fill(*Target, {{L"Archive", L"", L"Old files"},
                   {L"Backup", L"", L"Drop here"},
                   {L"Music", L"", L"Albums"}});
    auto* Later = new TTimer(&Form);
    Later->SetInterval(150);
    Later->OnTimer = [Source, Target, Later](TObject*) {
        Later->SetEnabled(false);
        Stage(*Source, *Target);
    };
}

const TGalleryPage Page(L"treelist-extras", &Build);

} // namespace
