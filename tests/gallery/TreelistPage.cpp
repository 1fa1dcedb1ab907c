// Gallery page: the tree-list control, a sortable, checkable three-column list of 10,000 rows
// with pictures, stripes, an open branch and a hot row, scrolled by messages.
#include "tests/gallery/Gallery.h"

#include "treelist/CvTree.h"

#include <string>

namespace {

// Four 16 x 16 pictures: coloured squares with a dark frame.
TImageList* MakeImages(TForm& Form) {
    auto* Images = new TImageList(&Form);
    Images->SetSize(16, 16);
    const TColor Colours[] = {0x3060D0, 0x30A040, 0xD07020, 0x8040A0};
    TBitmap Strip;
    Strip.SetSize(64, 16);
    Strip.Canvas().Brush().SetColor(clFuchsia);
    Strip.Canvas().FillRect(TRect(0, 0, 64, 16));
    for (int I = 0; I < 4; ++I) {
        Strip.Canvas().Brush().SetColor(0x404040);
        Strip.Canvas().FillRect(TRect(I * 16 + 2, 2, I * 16 + 14, 14));
        Strip.Canvas().Brush().SetColor(Colours[I]);
        Strip.Canvas().FillRect(TRect(I * 16 + 3, 3, I * 16 + 13, 13));
    }
    Images->AddMasked(Strip, clFuchsia);
    return Images;
}

void AddColumns(TCvTree& Tree) {
    struct TColumn {
        const wchar_t* Caption;
        int Width;
        TCvFieldType Type;
    };
    const TColumn Columns[] = {
        {L"Name", 200, sftText}, {L"Size", 90, sftNumber}, {L"Kind", 120, sftText}};
    for (const TColumn& C : Columns) {
        TCvHeaderSection* S = Tree.HeaderControl().Sections().AppendSection();
        S->SetText(C.Caption);
        S->SetWidth(C.Width);
        S->SetFieldType(C.Type);
    }
    Tree.HeaderControl().Sections().ItemByIndex(1)->SetAlignment(hsaRight);
}

void Build(TForm& Form) {
    Form.SetClientWidth(476);
    Form.SetClientHeight(330);
    auto* Tree = new TCvTree(&Form);
    Tree->SetUseXPThemes(false);
    Tree->SetParent(&Form);
    Tree->SetBounds(8, 8, 460, 314);
    AddColumns(*Tree);
    Tree->SetShowColumns(true);
    Tree->SetImages(MakeImages(Form));
    Tree->SetShowCheckboxes(true);
    Tree->SetStripedItems(true);
    Tree->SetStripedEvenColor(0xFFFFFF);
    Tree->SetStripedOddColor(0xF4ECE4);
    Tree->SetVerticalLines(true);
    Tree->SortMode = smClick;

    static const wchar_t* const Kinds[] = {L"Document", L"Picture", L"Archive", L"Program"};
    Tree->Items().BeginUpdate();
    TCvTreeItem* Branch = nullptr;
    for (int I = 0; I < 10000; ++I) {
        TCvTreeItem* Item = Tree->Items().AddChild(nullptr, L"File " + std::to_wstring(I));
        Item->ColumnTextList()->Add(std::to_wstring((I * 7919) % 100000));
        Item->ColumnTextList()->Add(Kinds[I % 4]);
        Item->SetMainImage(I % 4);
        Item->SetCheckBoxShown(true);
        Item->SetCheckBoxState(I % 3 == 0 ? 1 : 0);
        if (I == 1001)
            Branch = Item;
    }
    for (int I = 0; I < 3; ++I) {
        TCvTreeItem* Child = Tree->Items().AddChild(Branch, L"Part " + std::to_wstring(I));
        Child->ColumnTextList()->Add(std::to_wstring(100 * (I + 1)));
        Child->ColumnTextList()->Add(L"Piece");
        Child->SetMainImage(3);
    }
    // One row drawn from its markup, with a link.
    TCvTreeItem* Marked = Branch->GetLastChild();
    Marked->SetText(L"<html>Part 2 <b>bold</b> <a href=\"part2\">link</a></html>");
    Marked->SetIsHTML(true);
    Branch->SetExpanded(true);
    Tree->Items().EndUpdate();
    Tree->SortByHeaderClick(Tree->HeaderControl().Sections().ItemByIndex(0), false);

    // Sorted by name, "File 1001" with its open branch is the sixth row. Scrolled by messages:
    // two notches down by the wheel, one back by its alias.
    const HWND View = Tree->TreeView().Handle();
    SendMessageW(View, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    SendMessageW(View, 0xB20A, MAKEWPARAM(0, static_cast<WORD>(120)), 0);
    Tree->SetFocusedItem(Tree->Items().GetVisItem(10));
    Tree->Items().GetVisItem(10)->SetSelected(true);
    Tree->HotItem = Tree->Items().GetVisItem(12);
}

const TGalleryPage Page(L"treelist", &Build);

} // namespace
