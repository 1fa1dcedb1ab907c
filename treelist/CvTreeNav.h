// Where a navigation key moves the focus: a function of the visible items, the focused item and
// the page size, free of any window.
#pragma once

#include "treelist/CvTreeCore.h"

enum class TCvNavKey { Up, Down, PageUp, PageDown, Home, End };

struct TCvNavTarget {
    TCvTreeItem* Item = nullptr; // null: the focus stays where it is
    int VisIndex = 0;
};

// Disabled items are skipped (unless the tree ignores the flag). PageSteps: how many enabled items
// a page key walks over, the focused item counting as the first.
TCvNavTarget NavigationTargetOf(const TCvTreeCore& Tree, TCvNavKey Key, int PageSteps);
