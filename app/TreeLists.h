#pragma once
// The lists of both programs' windows are tree-lists with their header shown; each window adds
// its columns by caption and width.

#include "treelist/CvTree.h"

#include <functional>
#include <vector>

class TComponent;
class TWinControl;

// A tree-list named Name on Parent, owned by Owner, with its column header shown, made as every
// list of the programs is: one selected row, the focus kept on a row, a right press focusing
// the row under it, no themes, flat 16-pixel bars.
TCvTree* MakeTreeList(TComponent& Owner, TWinControl& Parent, const String& Name,
                      const TRect& Bounds);

// Appends a column with Caption and shows the header; Width -1 sizes it to its widest cell, any
// other value fixes it.
TCvHeaderSection* AddHeaderColumn(TCvTree& Tree, const String& Caption, int Width);

class TCvTreeItem;

// Appends a row under Parent (null: the top level) with Text and the column texts. Index is the
// row's place in the list it shows (a list may sort its rows); -1 for none.
TCvTreeItem* AddTreeRow(TCvTree& Tree, TCvTreeItem* Parent, const String& Text,
                        const std::vector<String>& Columns = {}, int Index = -1);
// The place a row was added with; -1 for none or no row.
int TreeRowIndex(const TCvTreeItem* Row);
// The focused row's place as added; -1 when no row is focused.
int FocusedRowPlace(const TCvTree& Tree);
// Appends a top-level row with Text and the column texts; Image -1 shows none. With CheckBox the
// row shows an unchecked check box.
TCvTreeItem* AddListRow(TCvTree& Tree, const String& Text, std::initializer_list<String> Columns,
                        int Image, bool CheckBox);

// The focused top-level row's index, -1 without one.
int FocusedRowIndex(const TCvTree& Tree);
// Focuses the row at Index, or the last row when Index lies beyond it; nothing for -1 or an empty
// list. A list filled again keeps the user's place so.
void FocusRowAt(TCvTree& Tree, int Index);
// Empties Tree and lets AddRows fill it again in one update; the focus keeps its place, as
// FocusRowAt keeps it.
void RefillKeepingFocus(TCvTree& Tree, const std::function<void()>& AddRows);
