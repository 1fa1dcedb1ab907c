#include "app/TreeLists.h"

#include "classlib/gui/NamedChild.h"

#include <cstdint>
#include <algorithm>

namespace {

constexpr int BarSize = 16;

// Flat 16-pixel bars drawn by the tree itself; only the vertical one tells where a dragged
// thumb would take the list.
void StyleBar(TCvScrollBarStyles& Styles, bool TrackHint) {
    Styles.SetUseSystemMetrics(false);
    Styles.SetWidth(BarSize);
    Styles.SetShowTrackHint(TrackHint);
    TCustomCvScrollBar& Bar = Styles.Bar();
    Bar.SetButtonSize(BarSize);
    Bar.Flat = true;
    Bar.ActiveFlat = true;
    Bar.OwnerDraw = true;
    Bar.DrawBars = false;
}

} // namespace

TCvTree* MakeTreeList(TComponent& Owner, TWinControl& Parent, const String& Name,
                      const TRect& Bounds) {
    auto* Tree = MakeNamedChild<TCvTree>(Owner, Parent, Name, Bounds);
    Tree->SetShowColumns(true);
    Tree->SetRowSelect(true);
    Tree->SetHideSelection(false);
    // A command acts on the focused row: one row is chosen, a right press chooses it, and a
    // press beside the rows leaves the choice alone.
    Tree->SetMultiSelect(false);
    Tree->AlwaysKeepFocus = true;
    Tree->RightClickSelect = true;
    Tree->SetUseXPThemes(false);
    StyleBar(Tree->HorzScrollBarStyles(), false);
    StyleBar(Tree->VertScrollBarStyles(), true);
    return Tree;
}

TCvHeaderSection* AddHeaderColumn(TCvTree& Tree, const String& Caption, int Width) {
    TCvHeaderSection* Section = Tree.HeaderControl().Sections().AppendSection();
    Section->SetText(Caption);
    if (Width == -1) {
        Section->SetAutoSize(true);
    } else {
        Section->SetAutoSize(false);
        Section->SetWidth(Width);
    }
    // The tree refuses to show a header without sections, so the first one switches it on.
    Tree.SetShowColumns(true);
    return Section;
}

TCvTreeItem* AddTreeRow(TCvTree& Tree, TCvTreeItem* Parent, const String& Text,
                        const std::vector<String>& Columns, int Index) {
    TCvTreeItem* Row = Tree.Items().AddChild(Parent, Text);
    // Kept one up, so that no row reads as place 0.
    Row->Data = reinterpret_cast<void*>(static_cast<std::intptr_t>(Index + 1));
    if (auto Texts = Row->ColumnTextList(); Texts && !Columns.empty())
        Texts->Assign(std::vector<TCvString>(Columns.begin(), Columns.end()));
    return Row;
}

int TreeRowIndex(const TCvTreeItem* Row) {
    return Row ? static_cast<int>(reinterpret_cast<std::intptr_t>(Row->Data)) - 1 : -1;
}

int FocusedRowPlace(const TCvTree& Tree) {
    return TreeRowIndex(Tree.GetFocusedItem());
}

TCvTreeItem* AddListRow(TCvTree& Tree, const String& Text, std::initializer_list<String> Columns,
                        int Image, bool CheckBox) {
    TCvTreeItem* Item = Tree.Items().AddChild(nullptr, Text);
    for (const String& Column : Columns)
        Item->ColumnTextList()->Add(Column);
    if (Image >= 0)
        Item->SetMainImage(Image);
    if (CheckBox) {
        Item->SetCheckBoxShown(true);
        Item->SetCheckBoxState(0);
    }
    return Item;
}

int FocusedRowIndex(const TCvTree& Tree) {
    const TCvTreeItem* Focused = Tree.GetFocusedItem();
    return Focused ? Focused->AbsIndex() : -1;
}

void FocusRowAt(TCvTree& Tree, int Index) {
    const int Count = Tree.Items().TotalCount();
    if (Index < 0 || Count == 0)
        return;
    Tree.SetFocusedItem(Tree.Items().ItemAtIndex(std::min(Index, Count - 1)));
}

void RefillKeepingFocus(TCvTree& Tree, const std::function<void()>& AddRows) {
    const int Focused = FocusedRowIndex(Tree);
    Tree.Items().BeginUpdate();
    Tree.Items().RemoveAll();
    AddRows();
    Tree.Items().EndUpdate();
    FocusRowAt(Tree, Focused);
}
