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
    // The tree refuses to show a header without sections, so the first one switches it on.
    Tree.SetShowColumns(true);
    return Section;
}
