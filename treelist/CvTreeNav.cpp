// Where a navigation key moves the focus.
#include "treelist/CvTreeNav.h"

#include <algorithm>

namespace {

bool Usable(const TCvTreeCore& Tree, const TCvTreeItem* Item) {
    return Item && (Tree.IgnoreEnabled || Item->HasFlag(ifEnabled));
}

// The first usable visible item from From on, stepping by Step; -1 when there is none.
int NextUsable(const TCvTreeCore& Tree, int From, int Step) {
    const int Count = Tree.TotalVisCount();
    for (int V = From; V >= 0 && V < Count; V += Step)
        if (Usable(Tree, Tree.Items().GetVisItem(V)))
            return V;
    return -1;
}

// Walks Steps usable items away from Start (the start counting as the first step); the last
// usable item reached, or Start when there is none.
int PageFrom(const TCvTreeCore& Tree, int Start, int Step, int Steps) {
    int Reached = Start;
    for (int Left = std::max(1, Steps - 1); Left > 0; --Left) {
        const int Next = NextUsable(Tree, Reached + Step, Step);
        if (Next < 0)
            break;
        Reached = Next;
    }
    return Reached;
}

} // namespace

TCvNavTarget NavigationTargetOf(const TCvTreeCore& Tree, TCvNavKey Key, int PageSteps) {
    TCvTreeItem* const Focused = Tree.GetFocusedItem();
    const int FocusedIndex = Focused ? Focused->VisIndex() : -1;
    auto At = [&Tree](int V) {
        return V < 0 ? TCvNavTarget{} : TCvNavTarget{Tree.Items().GetVisItem(V), V};
    };
    const TCvNavTarget Stay{Focused, std::max(0, FocusedIndex)};
    if (!Focused || FocusedIndex < 0) {
        // Only the arrows find a start without a focused item.
        if (Key == TCvNavKey::Up || Key == TCvNavKey::Down)
            return At(NextUsable(Tree, 0, 1));
        return {};
    }
    int Found = -1;
    switch (Key) {
    case TCvNavKey::Up:
        Found = NextUsable(Tree, FocusedIndex - 1, -1);
        break;
    case TCvNavKey::Down:
        Found = NextUsable(Tree, FocusedIndex + 1, 1);
        break;
    case TCvNavKey::PageUp:
        Found = PageFrom(Tree, FocusedIndex, -1, PageSteps);
        break;
    case TCvNavKey::PageDown:
        Found = PageFrom(Tree, FocusedIndex, 1, PageSteps);
        break;
    case TCvNavKey::Home:
        Found = NextUsable(Tree, 0, 1);
        break;
    case TCvNavKey::End:
        Found = NextUsable(Tree, Tree.TotalVisCount() - 1, -1);
        break;
    }
    return Found < 0 ? Stay : At(Found);
}
