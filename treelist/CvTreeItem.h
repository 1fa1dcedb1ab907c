// One row of the tree-list: its texts, flags, state, images, check box and children, and the side
// effects each change has on its tree (deferred resort, auto-size, height, repaint).
#pragma once

#include "treelist/CvTreeItemTexts.h"
#include "treelist/CvTreeItemsGapList.h"
#include "treelist/CvTreeTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TCvTreeCore;
class TCvTreeItem;
class TCvTreeItems;
class TObject;
class TStream;
class TBitmap;
class TCanvas;
struct TRect;

using TCvString = std::wstring;

class TCvCellStyle;
class TPopupMenu;

// A control shown inside a cell. The style owns it; painting and input reach it through the view,
// the mouse in the cell's coordinates.
class TCvCellControl {
public:
    virtual ~TCvCellControl() = default;
    virtual void SetCellStyle(TCvCellStyle* Style) = 0;
    virtual bool Visible() const = 0;
    virtual int BorderWidth() const = 0;
    // Paints the control into Box.
    virtual void Paint(TCanvas& Canvas, const TRect& Box) = 0;
    // Answers whether the control takes the press.
    virtual bool MouseDown(bool RightButton, int X, int Y) = 0;
    // (-1, -1): the press ended elsewhere.
    virtual void MouseUp(bool RightButton, int X, int Y) = 0;
    virtual void Click() = 0;
    virtual void DoubleClick() = 0;
    // The pointer moved over the cell.
    virtual void MouseMove(int /*X*/, int /*Y*/) {}
    // Opened by a right release in the cell while its AutoPopup is on; null for none.
    virtual TPopupMenu* PopupMenu() const { return nullptr; }
};

// The look of one cell of an item.
class TCvCellStyle {
public:
    explicit TCvCellStyle(TCvTreeItem* AOwnerItem);
    ~TCvCellStyle();
    TCvCellStyle(const TCvCellStyle&) = delete;
    TCvCellStyle& operator=(const TCvCellStyle&) = delete;

    // Copies every field but OwnerItem, Tag and the control; the picture is shared.
    void Assign(const TCvCellStyle& Source);

    TCvTreeItem* OwnerItem() const { return FOwnerItem; }
    TCvCellControl* Control() const { return FControl; }
    // Takes the control (borrowed in a virtual tree), frees the previous one, repaints the item.
    void SetControl(TCvCellControl* AControl);

    std::int32_t Tag = 0;
    TCvColor CellBkColor = 0;
    TCvColor TextBkColor = 0;
    TCvColor TextColor = 0;
    std::uint32_t TextFlags = 0x8824;
    TBitmap* Picture = nullptr;
    TCvFieldType CellType = sftText;
    TCvSectionStyle Style = CvhsText;
    bool OwnerProps = false;
    bool UseBkColor = false;
    std::int32_t FontSize = 0;
    std::uint8_t FontStyles = 0; // bit 0 bold, 1 italic, 2 underline, 3 strikeout
    TCvString FontName;

private:
    bool ControlOwned() const;

    TCvTreeItem* FOwnerItem;
    TCvCellControl* FControl = nullptr;
};

// The column texts of an item, a handle on the item's packed texts; every change is reported
// to the item once.
class TCvColumnTexts {
public:
    explicit TCvColumnTexts(TCvTreeItem* AOwner) : FOwner(AOwner) {}

    int Count() const;
    // A bad index throws EStringListError.
    std::wstring_view Strings(int Index) const;
    void SetStrings(int Index, std::wstring_view S);
    int Add(std::wstring_view S);
    void Insert(int Index, std::wstring_view S);
    void Delete(int Index);
    void Clear();
    void Assign(const std::vector<TCvString>& Lines);
    std::vector<TCvString> Items() const;

private:
    void CheckIndex(int Index, int Limit) const;

    TCvTreeItem* FOwner;
};

// Rendered form of an HTML text (the renderer's, HTMLRender.h); made by the view's renderer and
// handed back by destroying it.
class TCvHTMLData;

// What few rows use, behind one pointer of the item and made on first need: the hint, the cell
// styles, the rendered HTML and the data interface.
struct TCvTreeItemExtras {
    // Both out of line, where the rendered HTML's type is complete.
    explicit TCvTreeItemExtras(TCvTreeItem* Item);
    ~TCvTreeItemExtras();
    std::shared_ptr<void> DataInterface;
    TCvString Hint;
    TCvCellStyle MainStyle;
    std::vector<std::unique_ptr<TCvCellStyle>> Styles;
    std::unique_ptr<TCvHTMLData> MainHTML;
    std::vector<std::unique_ptr<TCvHTMLData>> ColumnHTML;
};

// The children of an item, owned, in order. A leaf keeps only an empty pointer.
class TCvChildList {
public:
    using TOwned = std::unique_ptr<TCvTreeItem>;
    TCvChildList() = default;
    ~TCvChildList();
    TCvChildList(const TCvChildList&) = delete;
    TCvChildList& operator=(const TCvChildList&) = delete;

    std::size_t size() const { return FBlock ? FBlock->Items.Size() : 0; }
    bool empty() const { return size() == 0; }
    const TOwned& operator[](std::size_t I) const { return FBlock->Items[I]; }
    const TOwned& front() const { return (*this)[0]; }
    const TOwned& back() const { return (*this)[size() - 1]; }
    void Insert(std::size_t Pos, TOwned Item);
    TOwned Take(std::size_t Pos);
    // The children in one plain array for a sort, which may reorder them at will.
    std::vector<TOwned>& Contiguous();
    // Children at positions below it know their exact position.
    int ValidUpTo() const { return FBlock ? FBlock->ValidUpTo : 0; }
    void SetValidUpTo(int Value) const { FBlock->ValidUpTo = Value; }

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TOwned;
        using difference_type = std::ptrdiff_t;
        using pointer = const TOwned*;
        using reference = const TOwned&;
        const_iterator(const TCvChildList* List, std::size_t I) : FList(List), FI(I) {}
        reference operator*() const { return (*FList)[FI]; }
        const_iterator& operator++() {
            ++FI;
            return *this;
        }
        bool operator==(const const_iterator& O) const { return FI == O.FI; }

    private:
        const TCvChildList* FList;
        std::size_t FI;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    struct TBlock {
        TCvGapList<TOwned> Items;
        int ValidUpTo = 0;
    };
    std::unique_ptr<TBlock> FBlock;
};

class TCvTreeItem {
public:
    explicit TCvTreeItem(TCvTreeCore* AOwner);
    virtual ~TCvTreeItem();
    TCvTreeItem(const TCvTreeItem&) = delete;
    TCvTreeItem& operator=(const TCvTreeItem&) = delete;

    // Copies another item and rebuilds this item's subtree from the source's.
    virtual void Assign(const TCvTreeItem& Source);
    virtual TCvString GetHint() const;
    virtual void SetText(const TCvString& Value);
    virtual void SetRowBkColor(TCvColor Value);
    virtual void SetMultiline(bool Value);
    virtual int GetWidth();
    virtual void ReadData(TStream& Stream);
    virtual void WriteData(TStream& Stream);
    virtual void Delete();
    virtual TCvTreeItem* GetPrev() const;
    virtual TCvTreeItem* GetNext() const;
    virtual void MoveToIns(TCvTreeItem* Target, TItemMoveMode Mode);
    virtual TCvCellStyle* AddStyle();
    virtual void RemoveStyle(TCvCellStyle* Style);

    // Structure
    TCvTreeCore* Owner() const { return FOwner; }
    TCvTreeItems* Collection() const { return FCollection; }
    TCvTreeItem* ParentItem() const; // nil for top-level items
    TCvTreeItem* Parent() const { return FParent; }
    int Level() const;
    int IndexInParent() const { return FParent ? ChildPos() : -1; }
    int ChildrenCount() const { return static_cast<int>(FChildren.size()); }
    TCvTreeItem* GetChild(int Index) const;
    TCvTreeItem* GetFirstChild() const { return GetChild(0); }
    TCvTreeItem* GetLastChild() const { return GetChild(ChildrenCount() - 1); }
    TCvTreeItem* GetFirstVisibleChild() const;
    TCvTreeItem* GetNextSibling() const;
    TCvTreeItem* GetPrevSibling() const;
    TCvTreeItem* GetNextChild(const TCvTreeItem* Child) const;
    TCvTreeItem* GetPrevChild(const TCvTreeItem* Child) const;
    int IndexOfChild(const TCvTreeItem* Child) const;
    // The deepest last descendant; the item itself when it has no children.
    TCvTreeItem* LastDescendant() const;
    TCvTreeItem* TopAncestor() const;
    bool IsUnder(const TCvTreeItem* Item) const;
    int AbsIndex() const;
    int VisIndex() const;
    bool HasVisibleChildren() const;
    bool FullyExpanded() const;
    bool FullyVisible() const;
    // Position in the order of creation: the identity order of the sort.
    std::uint64_t Sequence() const { return FSequence; }

    // Texts
    TCvString GetItemText() const;
    std::wstring_view Text() const { return FTexts.Main(); }
    // Empty in a virtual tree, whose items keep no texts.
    std::optional<TCvColumnTexts> ColumnTextList() const;
    // Column c's text with the main column left out ("" when absent).
    TCvString CellText(int SectionIndex) const;
    void SetHint(const TCvString& Value);
    // False in a virtual tree.
    bool HasStaticData() const { return static_cast<bool>(FTexts); }

    // Check box
    bool IsChecked() const { return FCheckBoxState == 1; }
    int CheckBoxState() const { return FCheckBoxState; }
    int CheckBoxType() const { return FCheckBoxType; }
    void SetCheckBoxType(int Value) { FCheckBoxType = static_cast<std::uint8_t>(Value); }
    void SetCheckMark(bool Value);
    void SetCheckBoxState(int Value);
    void SetCheckBoxShown(bool Value);
    bool CheckBoxShown() const { return HasFlag(ifShowCheckBox); }

    // Visibility
    void SetHiddenState(bool Value);
    bool IsHiddenState() const { return HasFlag(ifHidden); }

    // Images
    int MainImage() const { return FMainImage; }
    int SecondImage() const { return FSecondImage; }
    void SetMainImage(int Index);
    void SetSecondImage(int Index);
    int MainStateImage = -1;
    int SecondStateImage = -1;
    std::int8_t OverlayIndex = -1;
    std::int8_t OverlayIndex2 = -1;

    // State
    bool IsExpanded() const { return HasState(TCvItemState::Expanded); }
    void SetExpanded(bool Value);
    void ExpandItem(bool Recursive);
    void CollapseItem(bool Recursive);
    void MakeFullyExpanded();
    bool IsSelected() const { return HasState(TCvItemState::Selected); }
    void SetSelected(bool Value);
    bool HasState(TCvItemState Member) const { return (FState & CvStateBit(Member)) != 0; }
    void SetState(TCvItemState Member, bool Value);
    std::uint16_t State() const { return FState; }

    // Flags: the ones with side effects go through their setters.
    std::uint32_t Flags() const { return FFlags; }
    bool HasFlag(TCvItemFlag Flag) const { return (FFlags & Flag) != 0; }
    void SetFlag(TCvItemFlag Flag, bool Value);

    // Children
    void MoveTo(TCvTreeItem* NewParent);
    void MoveToIndex(TCvTreeItem* NewParent, int Index);
    void ClearChildren();
    void DeleteChild(TCvTreeItem* Child);
    void SortChildren(bool Recursive);

    // Styles
    TCvCellStyle* MainStyle() const;
    TCvCellStyle* GetStyle(int Index) const;
    int StylesCount() const;

    // HTML and size
    bool IsHTML() const { return HasFlag(ifIsHTML); }
    void SetIsHTML(bool Value);
    // The rendering of the main text (ColumnIndex -1) or of a column text; null when none.
    TCvHTMLData* HTMLData(int ColumnIndex) const;
    int GetHeight();
    int OwnHeight() const { return FOwnHeight; }
    void SetOwnHeight(int Value);
    int ExpandedChildrenHeight();
    // True when the row is not the tree's uniform LineHeight high.
    bool IsVarHeight() const;

    // Repaint
    void UpdateItem();
    void RedrawItem(bool OnlyIfVisible);
    void RedrawItemPart(bool OnlyIfVisible, int Left, int Right);

    // Plain fields; BorderStyle stands next to the overlay indices, where it costs no padding.
    std::uint8_t BorderStyle = 0;
    std::int32_t Tag = 0;
    void* Data = nullptr;
    TObject* ItemObject = nullptr;
    // Kept with the rare data: few rows carry one.
    const std::shared_ptr<void>& DataInterface() const;
    void SetDataInterface(std::shared_ptr<void> Value);
    TCvColor Color = 0;
    TCvColor BkColor = 0;
    TCvColor StrikedLineColor = 0;
    TCvColor BorderSpaceColor = clCvWindow;
    TCvColor RowBkColor() const { return FRowBkColor; }
    int IndentAdjust = 0;
    int TextLeft = 0, TextTop = 0, TextRight = 0, TextBottom = 0;

private:
    friend class TCvTreeItems;
    friend class TCvTreeCore;
    friend class TCvColumnTexts;
    friend class TCvTreeSorter;
    friend class TCvTreeItemReader;

    bool Deleting() const { return HasFlag(ifDeleting); }
    // The position among the parent's children; needs a parent.
    int ChildPos() const;
    // Puts Child at Pos among the children.
    void AdoptChild(int Pos, std::unique_ptr<TCvTreeItem> Child);
    void RawSetState(TCvItemState Member, bool Value);
    void ColumnTextsChanged();
    // Auto-sizes the tree column (or marks it), refreshes the row width and repaints the row.
    void TreeColumnChanged(bool AutoSizeLater);
    // Applies a change that may move the item in or out of the tree's variable-height count.
    template <class F> void ChangeHeightKind(F&& Change) {
        const bool Before = IsVarHeight();
        Change();
        HeightKindChanged(Before);
    }
    void HeightKindChanged(bool WasVarHeight);
    // Pre-order over the descendants; Visit answers whether to enter the item's children.
    template <class F> void WalkBelow(F&& Visit) const {
        std::vector<std::pair<const TCvTreeItem*, int>> Stack{{this, 0}};
        while (!Stack.empty()) {
            auto& [Parent, Next] = Stack.back();
            if (Next >= Parent->ChildrenCount()) {
                Stack.pop_back();
                continue;
            }
            TCvTreeItem* Item = Parent->FChildren[Next++].get();
            if (Visit(Item) && Item->ChildrenCount() > 0)
                Stack.emplace_back(Item, 0);
        }
    }
    void ForgetHeight() { FCachedHeight = 0xFFFF; }
    // Made with a main style in the tree's font when first asked for.
    TCvTreeItemExtras& Extras() const;
    void RenderHTML();
    void DropHTML();
    // For a virtual tree: texts, hint, styles and renderings go; the data interface stays.
    void DropStaticData();
    void ExpandOrCollapse(bool Expand, bool Recursive);
    void SortSiblingsNow();
    void AssignFields(const TCvTreeItem& Source);
    void WriteRecord(TStream& Stream);
    void ReadRecord(TStream& Stream);
    void ReadChildren(TStream& Stream);
    void ReadStyle(TStream& Stream, TCvCellStyle& Style, bool Custom);
    void WriteStyle(TStream& Stream, TCvCellStyle& Style, bool Custom);

    TCvTreeCore* FOwner;
    TCvTreeItems* FCollection = nullptr;
    TCvTreeItem* FParent = nullptr;
    TCvChildList FChildren;
    TCvPackedTexts FTexts;
    mutable std::unique_ptr<TCvTreeItemExtras> FExtras;
    std::uint64_t FSequence = 0;
    // Exact when its parent's slot there holds this item; otherwise the parent renumbers its
    // children on the next question (a sort leaves them stale).
    mutable int FIndexInParent = 0;
    mutable int FAbsIndex = -1;
    mutable int FVisIndex = -1;
    std::uint32_t FFlags = CvNewItemFlags;
    std::uint16_t FState = 0;
    std::uint16_t FSelMirror = 0;
    // Where the item stands in its tree's selection order; -1 when it is not there.
    int FSelSlot = -1;
    std::uint16_t FCachedHeight = 0xFFFF;
    std::uint16_t FOwnHeight = 0;
    std::uint8_t FCheckBoxState = 0;
    std::uint8_t FCheckBoxType = 0;
    int FMainImage = -1;
    int FSecondImage = -1;
    TCvColor FRowBkColor = 0;
};
