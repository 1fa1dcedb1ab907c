// The items of one tree: a hidden root whose children are the top-level rows, the flat list of
// every item in tree order, index questions, walks, filling from lines, and the item stream.
#pragma once

#include "treelist/CvTreeItem.h"

#include <algorithm>
#include <functional>
#include <vector>

class TStrings;

// Walk callback: clear Continue to stop the walk.
using TCvIterateProc = std::function<void(TCvTreeItem* Item, int Index, bool& Continue,
                                          void* IterateData, TCvTreeCore* Tree)>;
using TCvLookForItemProc = std::function<bool(TCvTreeItem* Item, void* SearchData)>;

class TCvTreeItems {
public:
    explicit TCvTreeItems(TCvTreeCore* AOwner);
    virtual ~TCvTreeItems();
    TCvTreeItems(const TCvTreeItems&) = delete;
    TCvTreeItems& operator=(const TCvTreeItems&) = delete;

    // The item factory.
    virtual std::unique_ptr<TCvTreeItem> CreateItem(TCvTreeCore* AOwner);
    // Copies every item of Source.
    virtual void Assign(const TCvTreeItems& Source);
    virtual void LoadFromStream(TStream& Stream);
    virtual void SaveToStream(TStream& Stream);
    // The stored form holds "Data" only when there are items.
    bool HasData() const { return TotalCount() > 0; }

    TCvTreeCore* Owner() const { return FOwner; }
    TCvTreeItem* Root() const { return FRoot.get(); }

    TCvTreeItem* AddItem(TCvTreeItem* Item, const TCvString& Text);
    TCvTreeItem* AddChild(TCvTreeItem* Parent, const TCvString& Text);
    TCvTreeItem* AddChildFirst(TCvTreeItem* Parent, const TCvString& Text);
    TCvTreeItem* AddChildObject(TCvTreeItem* Parent, const TCvString& Text, TObject* Obj);
    TCvTreeItem* AddChildObjectFirst(TCvTreeItem* Parent, const TCvString& Text, TObject* Obj);
    TCvTreeItem* AddFirst(TCvTreeItem* Item, const TCvString& Text);
    TCvTreeItem* AddObject(TCvTreeItem* Item, const TCvString& Text, TObject* Obj);
    TCvTreeItem* AddObjectFirst(TCvTreeItem* Item, const TCvString& Text, TObject* Obj);
    TCvTreeItem* Insert(TCvTreeItem* Item, const TCvString& Text);
    TCvTreeItem* InsertObject(TCvTreeItem* Item, const TCvString& Text, TObject* Obj);
    TCvTreeItem* InsertAfter(TCvTreeItem* Item, const TCvString& Text);
    TCvTreeItem* InsertAfterObject(TCvTreeItem* Item, const TCvString& Text, TObject* Obj);
    void Delete(TCvTreeItem* Item) { RemoveItem(Item); }
    void BeginUpdate();
    void EndUpdate();

    TCvTreeItem* AppendChild(TCvTreeItem* Parent);
    // Throws ECvTreeError "CvTree item index out of bounds." for an index outside 0..count.
    TCvTreeItem* InsertChildAt(int Index, TCvTreeItem* Parent);
    void RemoveItem(TCvTreeItem* Item);
    void RemoveAll();

    int TotalCount() const;
    TCvTreeItem* ItemAtIndex(int Index) const;
    int AbsIndexOf(const TCvTreeItem* Item) const;
    TCvTreeItem* GetVisItem(int Index) const;
    int VisIndexOf(const TCvTreeItem* Item) const;

    void Iterate(bool VisibleOnly, bool IntoCollapsed, const TCvIterateProc& Proc, void* Data);
    void IterateFrom(bool VisibleOnly, bool IntoCollapsed, TCvTreeItem* Start,
                     const TCvIterateProc& Proc, void* Data);
    void IterateBackwards(bool VisibleOnly, bool IntoCollapsed, const TCvIterateProc& Proc,
                          void* Data);
    void IterateBackFrom(bool VisibleOnly, bool IntoCollapsed, TCvTreeItem* Start,
                         const TCvIterateProc& Proc, void* Data);
    TCvTreeItem* LookForItem(TCvTreeItem* Start, int SectionIndex, const TCvLookForItemProc& Match,
                             void* Data, bool VisibleOnly, bool IntoCollapsed, bool IncludeStart,
                             bool SubtreeOnly);

    void AssignLines(const TStrings& Lines);
    void AssignLines(const std::vector<TCvString>& Lines);
    void AddFromText(int Index, const TCvString& Line);

private:
    friend class TCvTreeItem;
    friend class TCvTreeCore;
    friend class TCvTreeSorter;

    TCvTreeItem* MakeItem(TCvTreeItem* Parent, int ChildIndex);
    // Fresh texts.
    void GiveStaticData(TCvTreeItem* Item) const;
    // A new main style takes the tree font.
    void InitMainStyle(TCvCellStyle& Style) const;
    TCvTreeItem* SiblingAt(TCvTreeItem* Item, bool After, const TCvString& Text, TObject* Obj,
                           bool SetObject);
    // Flat-list positions; positions below FValidUpTo carry their exact index.
    int FlatIndexOf(const TCvTreeItem* Item) const;
    TCvTreeItem* FlatAt(int Pos) const;
    void FlatInsert(int Pos, TCvTreeItem* Item);
    void FlatErase(int Pos, int Count);
    void FlatChanged(int FromPos);
    // The shown rows: rebuilt on demand after a change it cannot follow, spliced for the ones it
    // can (a row added or removed, a node expanded or collapsed) and renumbered lazily from the
    // splice point.
    void VisibilityChanged() { FVisValid = false; }
    void BuildVisList() const;
    int VisCount() const;
    void RowAdded(TCvTreeItem* Item);
    // Before a row without children leaves the tree.
    void RowRemoving(TCvTreeItem* Item);
    // After the item's Expanded state changed.
    void ExpansionChanged(TCvTreeItem* Item);
    void VisChanged(int FromPos) const { FVisValidUpTo = std::min(FVisValidUpTo, FromPos); }
    // The item's shown descendants, in tree order, whatever its own state.
    std::vector<TCvTreeItem*> ShownBelow(const TCvTreeItem* Item) const;
    bool WalkShows(const TCvTreeItem* Item, bool VisibleOnly, bool IntoCollapsed) const;

    TCvTreeCore* FOwner;
    std::unique_ptr<TCvTreeItem> FRoot;
    // Every item but the root, in tree order; each subtree is one block of it.
    TCvGapList<TCvTreeItem*> FFlat;
    mutable int FValidUpTo = 0;
    mutable TCvGapList<TCvTreeItem*> FVisList;
    mutable bool FVisValid = false;
    mutable int FVisValidUpTo = 0;
    std::uint64_t FNextSequence = 0;
};
