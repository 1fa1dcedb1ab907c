#include "app/TreeLists.h"

#include "classlib/gui/NamedChild.h"

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
    return Section;
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
