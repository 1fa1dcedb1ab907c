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
