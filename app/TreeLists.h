#pragma once
// The lists of both programs' windows are tree-lists with their header shown; each window adds
// its columns by caption and width.

#include "treelist/CvTree.h"

class TComponent;
class TWinControl;

// A tree-list named Name on Parent, owned by Owner, with its column header shown.
TCvTree* MakeTreeList(TComponent& Owner, TWinControl& Parent, const String& Name,
                      const TRect& Bounds);

// Appends a column with Caption and shows the header; Width -1 sizes it to its widest cell, any
// other value fixes it.
TCvHeaderSection* AddHeaderColumn(TCvTree& Tree, const String& Caption, int Width);

// Appends a top-level row with Text and the column texts; Image -1 shows none. With CheckBox the
// row shows an unchecked check box.
TCvTreeItem* AddListRow(TCvTree& Tree, const String& Text, std::initializer_list<String> Columns,
                        int Image, bool CheckBox);

// The focused top-level row's index, -1 without one.
int FocusedRowIndex(const TCvTree& Tree);
// Focuses the row at Index, or the last row when Index lies beyond it; nothing for -1 or an empty
// list. A list filled again keeps the user's place so.
void FocusRowAt(TCvTree& Tree, int Index);
