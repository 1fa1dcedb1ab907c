#include "app/TreeLists.h"

#include "classlib/gui/NamedChild.h"

#include <cstdint>

TCvTree* MakeTreeList(TComponent& Owner, TWinControl& Parent, const String& Name,
                      const TRect& Bounds) {
    auto* Tree = MakeNamedChild<TCvTree>(Owner, Parent, Name, Bounds);
    Tree->SetShowColumns(true);
    Tree->SetRowSelect(true);
    Tree->SetHideSelection(false);
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

int FocusedRowIndex(const TCvTree& Tree) {
    return TreeRowIndex(Tree.GetFocusedItem());
}
