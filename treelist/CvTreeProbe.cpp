// The tree-list's answer to a test driving the program from outside: where, on screen, the text or
// the check box of a row with a given text is. It scrolls the row into view; it changes nothing
// else.
#include "classlib/gui/WindowProbe.h"
#include "treelist/CvTree.h"

#include <algorithm>

namespace {

// A row hidden by the filter, or under a hidden parent, can never be clicked.
bool HiddenByFilter(const TCustomCvTree& Tree, const TCvTreeItem& Item) {
    if (!Tree.FilteredVisibility())
        return false;
    for (const TCvTreeItem* I = &Item; I && I->Parent(); I = I->Parent())
        if (I->IsHiddenState())
            return true;
    return false;
}

TCvTreeItem* FirstRowWithText(const TCustomCvTree& Tree, const String& Text) {
    const TCvTreeItems& Items = Tree.Items();
    for (int I = 0; I < Items.TotalCount(); ++I) {
        TCvTreeItem* Item = Items.ItemAtIndex(I);
        if (Item->GetItemText() == Text && !HiddenByFilter(Tree, *Item))
            return Item;
    }
    return nullptr;
}

int RowIndexOf(const TCvTreeView& View, const TCvTreeItem& Item) {
    const auto& Rows = View.Rows();
    const auto It = std::find(Rows.begin(), Rows.end(), &Item);
    return It == Rows.end() ? -1 : static_cast<int>(It - Rows.begin());
}

// The middle x of the first run of the view's columns where the hit test at Y finds Part on Item;
// -1 when the part is not in view. Asking the hit test keeps the answer where a click acts.
int MiddleOfPart(const TCvTreeView& View, const TCvTreeItem& Item, int Y, TCvItemPart Part) {
    int First = -1, Last = -1;
    for (int X = 0; X < View.ClientWidth(); ++X) {
        int Section = -1;
        TCvItemPart Got = ipOutside;
        const bool Hit = View.GetItemAt(X, Y, Section, Got) == &Item && Got == Part;
        if (Hit) {
            if (First < 0)
                First = X;
            Last = X;
        } else if (First >= 0) {
            break;
        }
    }
    return First < 0 ? -1 : (First + Last) / 2;
}

} // namespace

LRESULT TCustomCvTree::AnswerProbeRow(WPARAM Query, const String& RowText) {
    if (Query != pqRowText && Query != pqRowCheckBox)
        return 0;
    TCvTreeItem* Item = FirstRowWithText(*this, RowText);
    if (!Item || (Query == pqRowCheckBox && !(ShowCheckboxes && Item->CheckBoxShown())))
        return 0;
    EnsureVisible(Item);
    if (RowIndexOf(*FView, *Item) < 0 || FView->IsLastRowCutOff(*Item))
        SetTopIndex(FView->FirstOfLastPage(Item->VisIndex()));
    // Painting records where the text went; the hit test reads it.
    FView->RepaintNow();
    const int Row = RowIndexOf(*FView, *Item);
    if (Row < 0)
        return 0;
    const TRect Bounds = FView->GetItemRect(Row);
    const int Y = (Bounds.Top + std::min(Bounds.Bottom, FView->ClientHeight())) / 2;
    const TCvItemPart Part = Query == pqRowText ? ipMainText : ipCheckBox;
    int X = MiddleOfPart(*FView, *Item, Y, Part);
    if (X < 0 && LeftPosition() != 0) {
        SetLeftPosition(0);
        FView->RepaintNow();
        X = MiddleOfPart(*FView, *Item, Y, Part);
    }
    if (X < 0)
        return 0;
    return ProbeFoundPoint(FView->ClientToScreen(TPoint{X, Y}));
}
