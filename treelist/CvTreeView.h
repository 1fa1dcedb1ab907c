// The inner window of the tree-list: the rows on screen, their geometry (row rectangles, the hit
// test, paging and scrolling), bringing the screen up to date at the end of a batch, and painting.
// Mouse and keyboard input live in CvTreeInput.cpp.
#pragma once

#include "classlib/gui/Controls.h"
#include "classlib/gui/ImgList.h"
#include "treelist/CvScrollBar.h"
#include "treelist/CvTreeCore.h"
#include "treelist/CvTreeDrag.h"
#include "treelist/HTMLRender.h"

#include <exception>
#include <memory>
#include <vector>

class TCustomCvTree;
class TCvHeader;
class TCvHeaderSection;
class TCvHintWindow;
class TCvTreeDragObject;
class TCvTreeInplaceEditor;
class TCvTreeSearch;
class TTimer;

// One update batch of the tree. Closed by an exception, the end-of-batch work's own errors do not
// replace the one under way.
class TCvTreeBatch {
public:
    explicit TCvTreeBatch(TCvTreeCore& Tree)
        : FTree(Tree), FExceptions(std::uncaught_exceptions()) {
        FTree.SetUpdating(true);
    }
    ~TCvTreeBatch() noexcept(false) {
        if (std::uncaught_exceptions() == FExceptions) {
            FTree.SetUpdating(false);
            return;
        }
        try {
            FTree.SetUpdating(false);
        } catch (...) {
        }
    }
    TCvTreeBatch(const TCvTreeBatch&) = delete;
    TCvTreeBatch& operator=(const TCvTreeBatch&) = delete;

private:
    TCvTreeCore& FTree;
    int FExceptions;
};

// What a point of the view hits (GetItemAt).
enum TCvItemPart {
    ipButton = 0,
    ipMainText = 1,
    ipColumn = 2,
    ipInside = 3,
    ipPicture = 4,
    ipPicture2 = 5,
    ipCheckBox = 6,
    ipOutside = 7,
};

// Number of rows of LineHeight a page holds: whole rows and the row cut off at the bottom.
int VisibleRowCountOf(int ViewHeight, int LineHeight);
// The largest top index with fixed row heights; negative when everything fits.
int MaxTopIndexOf(int TotalVisCount, int ViewHeight, int LineHeight);
// The scroll code a second arrow button stands for under its bar's SecondBtnKind.
TCvScrollCode MapSecondButton(TCvScrollCode Code, TCvSecButtonsKind Kind);

class TCvTreeView : public TCustomControl, public ICvTreeView {
public:
    // Owner is the tree, which the view serves for its whole life.
    explicit TCvTreeView(TCustomCvTree* ATree);
    ~TCvTreeView() override;

    TCustomCvTree& Tree() const { return *FTree; }

    // ---- rows and geometry
    const std::vector<TCvTreeItem*>& Rows() const { return FRows; }
    int BottomIndex() const { return FBottomIndex; }
    int GetVisibleRowCount() const;
    // Whole rows of LineHeight and the pixels left below them.
    std::pair<int, int> GetPageFit() const;
    int RowsHeight() const;
    // The row's rectangle in client coordinates; empty outside the rows.
    TRect GetItemRect(int RowIndex) const;
    // The same for an item; empty when it has no row on screen.
    TRect GetItemRectOf(const TCvTreeItem& Item) const;
    TCvTreeItem* GetItemAtY(int Y) const;
    // The hit test; SectionIndex is left alone when no row is there.
    TCvTreeItem* GetItemAt(int X, int Y, int& SectionIndex, TCvItemPart& ItemPart) const;
    // The largest top index (fixed heights: count less the page's rows plus one).
    int MaxTopIndex();
    void SetTopIndex(int Index);
    void SetHPosition(int X);
    int LastOfPage(int VisIndex);
    // Expands the item and scrolls its children into view, unless an expand handler deleted it.
    void ExpandShowingChildren(TCvTreeItem& Item, bool Recurse);
    void MakeChildrenVisible(TCvTreeItem* Item);
    // The bars' OnScroll handlers.
    void ScrollVert(TObject* Sender, TCvScrollCode ScrollCode, int& ScrollPos, bool& DoChange);
    void ScrollHorz(TObject* Sender, TCvScrollCode ScrollCode, int& ScrollPos, bool& DoChange);
    // Scrolls by a wheel delta (lines from the system's setting).
    void WheelScroll(int Delta, UINT Lines);
    bool HasFocus() const { return FHasFocus; }
    bool Painting() const { return FPainting; }

    // ---- ICvTreeView
    bool HandleAllocated() const override { return TCustomControl::HandleAllocated(); }
    void InvalidateItem(TCvTreeItem& Item) override;
    void InvalidateItemPart(TCvTreeItem& Item, int Left, int Right) override;
    void InvalidateSection(TCvTreeItem& Item, int SectionIndex) override;
    void RepaintNow() override;
    bool IsRow(const TCvTreeItem& Item) const override;
    void RemoveRow(TCvTreeItem& Item) override;
    void ClearRows() override;
    void ForgetItem(TCvTreeItem& Item) override;
    void BuildRowList(int StartIndex) override;
    void FillRows(int Index) override;
    void UpdateScrollBars() override;
    void UpdateView() override;
    void UpdateMaxRowWidth() override;
    int DefineLineHeight() override;
    int MeasureItemHeight(TCvTreeItem& Item) override;
    int MeasureItemWidth(TCvTreeItem& Item) override;
    void AutoSizeColumn(int SectionIndex) override;
    void AutoSizeAllColumns() override;
    int FirstOfLastPage(int VisIndex) override;
    bool IsLastRowCutOff(const TCvTreeItem& Item) const override;
    // Laid out in the tree's font and link look; null for markup the renderer refuses.
    std::unique_ptr<TCvHTMLData> RenderHTML(const TCvString& Text) override;

    // ---- painting
    // Paints the rows of the clip box into DC (a back buffer or a test's surface).
    void PaintTo(HDC DC, const TRect& Box);
    // Renders the background picture for the current size and background settings.
    void PrepareBackground();

    // ---- input (CvTreeInput.cpp)
    // The item a navigation key moves the focus to, with its visible index; WasSelected tells
    // whether it was selected before. Null: the focus stays.
    virtual TCvTreeItem* GetNavigationTarget(WORD Key, int& VisIndex, bool& WasSelected);

    // ---- extras: incremental search, hints, in-place editing, drag (each in its own unit)
    TCvTreeSearch& Search();
    // Line hints (CvTreeHints.cpp). Section -1: the tree column without columns.
    void TryShowLineHint(int X, int Y);
    TCvString GetLineHintText(TCvTreeItem& Item, int SectionIndex);
    // The cell's text is cut by its box or by the edges of the view.
    bool LineTextCut(TCvTreeItem& Item, int SectionIndex);
    // Where the hint for the cell goes, in client coordinates.
    TRect LineHintRect(TCvTreeItem& Item, int SectionIndex, const TCvString& Text);
    void ShowLineHint(TCvTreeItem& Item, int SectionIndex);
    void HideLineHint();
    void LineHintTimerTick();
    TCvTreeItem* HintItem() const { return FHintItem; }
    // The line-hint timer while it is armed, else null.
    TTimer* HintTimer() const;
    TCvHintWindow* LineHintWindow() const { return FHintWindow.get(); }
    // In-place editing (CvTreeInplace.cpp).
    void EditItem(TCvTreeItem* Item, int SectionIndex);
    void EndEdit(bool ByCancel);
    // Cancels an edit for good, errors ignored: the tree goes.
    void DropEdit() noexcept;
    void EditOperationAccepted();
    void EditOperationCancelled();
    void StartEditTimer(TCvTreeItem* Item, int SectionIndex, bool Immediate);
    void StopEditTimer();
    void EditTimerTick();
    TTimer* EditTimer() const { return FEditTimer.get(); }
    TCvTreeInplaceEditor* Editor() const { return FEditor; }
    // An editor is open and shows.
    bool EditorShown() const;
    // Where an editor of the cell goes, in client coordinates; scrolls it into view sideways.
    TRect EditCellRect(TCvTreeItem& Item, int SectionIndex);
    // Dragging (CvTreeDrag.cpp). Source: the class library's drag object, null for OLE.
    void DoDragOver(TDragObject* Source, int X, int Y, bool Accepted);
    void DragScrollTick();
    void DragExpandTick();
    void DoEndDrag(TObject* Target, int X, int Y);
    void BuildDragImage();
    TBitmap* DragImage() const { return FDragImage.get(); }
    int DragImageTop() const { return FDragImageTop; }
    TPoint DragHotSpot() const { return FDragHotSpot; }
    // The dragged rows' picture under the pointer; tests put one of their own in.
    TScreenDragImage& ScreenDragImage() const { return *FScreenDragImage; }
    void SetScreenDragImage(std::unique_ptr<TScreenDragImage> Value);
    // The tree's drag object reports the pointer and the painting it does under the picture.
    void MoveDragImage(TPoint ScreenPos);
    void HideDragImage();
    void ShowDragImage();
    TTimer* DragScrollTimer() const { return FDragScrollTimer.get(); }
    TTimer* DragExpandTimer() const { return FDragExpandTimer.get(); }
    bool DragOverView() const { return FDragOverView; }
    // An OLE drop target while the tree's DragType is not dtDelphi, and its two handlers.
    void UpdateOleTarget();
    void OleTargetDrag(TDragState State, TOleDragObject* Source, TShiftState Shift, int X, int Y,
                       TDragType& Type);
    void OleTargetDrop(TOleDragObject* Source, TShiftState Shift, int X, int Y, TDragType& Type);
    // Ends an edit and a drag for good, errors ignored: the tree goes.
    void Shutdown() noexcept;
    // Takes the keyboard focus (a press on the rows or on the tree's bars).
    void FocusView();
    bool ScrollPaused() const { return FScrollPaused; }
    bool FrameSelecting() const { return FFrameSelecting; }
    // Paints through the back buffer: DoubleBuffered, or DoubleBufferedOnResize while the form
    // is sized.
    bool PaintsBuffered() const;

protected:
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void WMPaint(HDC DC) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;

    // Window messages of the input (CvTreeInput.cpp).
    void WMLButtonDown(TMessage& Message);
    void WMLButtonUp(TMessage& Message);
    void WMLButtonDblClk(TMessage& Message);
    void WMRButtonDown(TMessage& Message);
    void WMRButtonUp(TMessage& Message);
    void WMRButtonDblClk(TMessage& Message);
    void WMMouseMove(TMessage& Message);
    void CMMouseLeave(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMCancelMode(TMessage& Message);
    void CMDeactivate(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);

    bool FHasFocus = false;

private:
    // ---- input (CvTreeInput.cpp)
    struct THit {
        TCvTreeItem* Item = nullptr;
        int Section = -1;
        TCvItemPart Part = ipOutside;
    };
    THit HitAt(int X, int Y) const;
    // Enabled, or any item while the tree ignores the flag.
    bool Usable(const TCvTreeItem& Item) const;
    bool ClickEdits(const THit& Hit) const;
    void PressLeft(int X, int Y);
    bool ReleaseLeft(int X, int Y);
    bool ReleaseRight(int X, int Y);
    bool DoubleClickLeft(int X, int Y);
    bool DoubleClickRight(int X, int Y);
    void ProcessMouseMove(TShiftState Shift, int X, int Y);
    void ToggleExpanded(TCvTreeItem& Item);
    void SelectByLeftPress(TCvTreeItem& Item, TShiftState Shift);
    void SelectByRightPress(TCvTreeItem* Item, TShiftState Shift);
    void ApplyDeferredSelect();
    void SelectFromAnchorTo(TCvTreeItem& Item);
    void CycleCheckBox(TCvTreeItem& Item);
    void SetHotItem(TCvTreeItem* Item);
    // A mouse move where the pointer is, after the rows moved under it.
    void MoveAtPointer();
    void Navigate(WORD Key, TShiftState Shift);
    void NavigateTo(TCvTreeItem* Target, WORD Key, TShiftState Shift);
    void ScrollToFocused(WORD Key);
    bool RowFullyShown(const TCvTreeItem& Item) const;
    // Frame selection with the mouse.
    void StartFrame(TShiftState Shift);
    void MoveFrame(int X, int Y);
    void EndFrame();
    // Forgets the frame without drawing.
    void DropFrame();
    void DrawFrame();
    void FrameCorner(int X, int Y, TCvTreeItem*& Item, int& CornerX, int& CornerY);
    void RecomputeFrameSelection(bool Below);
    // Drops the input's references to an item that goes.
    void ForgetInputItem(const TCvTreeItem& Item);
    // The visible control of the column cell hit, or null.
    TCvCellControl* CellControlAt(const THit& Hit) const;
    // The cell's own coordinates of a client point.
    TPoint CellPoint(const THit& Hit, int X, int Y) const;
    // The cell control under a release gets it (and a click when it had the press); a control
    // pressed elsewhere hears a release at (-1, -1).
    void ReleaseCellControl(const THit& Hit, bool RightButton, int X, int Y);
    // Whether the point lies on a link of the HTML cell hit, where that cell was last painted.
    bool LinkAt(const THit& Hit, int X, int Y, String& Href);
    // The tree's cursor, or its link cursor over a link.
    void UpdateCursor(const THit& Hit, int X, int Y);

    bool FButtonDown = false;
    int FPressX = 0, FPressY = 0;
    bool FDragHappened = false;
    bool FSecondClick = false;
    int FClickX = 0, FClickY = 0;
    TCvTreeItem* FLastClickItem = nullptr;
    int FLastClickSection = -2;
    bool FDeferredSelect = false;
    TCvTreeItem* FDeferredItem = nullptr;
    TShiftState FDeferredShift;
    bool FFrameSelecting = false;
    TCvTreeItem* FFrameStartItem = nullptr;
    int FFrameStartX = 0, FFrameStartY = 0;
    TCvTreeItem* FFrameEndItem = nullptr;
    int FFrameEndX = 0, FFrameEndY = 0;
    std::vector<TCvTreeItem*> FFrameSelection;
    // The cell whose control took the last press; its control is looked up when needed, so a
    // control freed in between is never reached.
    TCvTreeItem* FPressedItem = nullptr;
    int FPressedSection = -1;

    void WMSize(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    void CMSysColorChange(TMessage& Message);
    int RowHeightOf(TCvTreeItem& Item) const;
    // The hit test's walk left of the text (right of it in a right-aligned tree).
    TCvItemPart HitInsideMainCell(TCvTreeItem& Item, int X, TCvItemPart Default) const;

    // Painting (CvTreePaint*.cpp).
    struct TCellColours {
        TColor Back, Text;
        bool Filled;
    };
    void DrawRows(TCanvas& Canvas, const TRect& Clip);
    void DrawRowEdge(HDC DC, TCvTreeItem& Item, TRect RowRect, int ColumnsRight);
    void ChooseRowColours(TCvTreeItem& Item, int RowIndex);
    // The selection shows in its focused colours.
    bool SelectionFocused() const;
    // 1 when cells give their last pixel column to the vertical divider.
    int VLineOf(const TCvTreeItem& Item) const;
    void DrawItem(TCanvas& Canvas, TCvTreeItem& Item, int RowIndex, TRect ContentRect,
                  TRect RowRect);
    void DrawStrikeLine(HDC DC, TCvTreeItem& Item, const TRect& RowRect);
    void DrawFocusAndMarks(TCanvas& Canvas, TCvTreeItem& Item, const TRect& RowRect, int VLine);
    void DrawColumnCell(TCanvas& Canvas, TCvTreeItem& Item, TCvHeaderSection& Section,
                        const TRect& RowRect);
    UINT CellTextAlignOf(const TCvHeaderSection& Section) const;
    TRect ColumnCellOf(TCvTreeItem& Item, const TCvHeaderSection& Section,
                       const TRect& RowRect) const;
    TCellColours CellColoursOf(TCvTreeItem& Item, const TCvCellStyle* Style,
                               bool SelectColumn) const;
    void DrawCellText(TCanvas& Canvas, TCvTreeItem& Item, const TCvCellStyle* Style,
                      int SectionIndex, const TRect& Cell, UINT Align, const TCellColours& Colours);
    static void DrawCellPicture(HDC DC, TBitmap& Picture, const TRect& Cell);
    void DrawMainCell(TCanvas& Canvas, TCvTreeItem& Item, const TRect& RowRect);
    void DrawTreeLines(HDC DC, TCvTreeItem& Item, const TRect& RowRect, const TRect& Cell,
                       int RootLeft);
    void DrawLine(HDC DC, int X1, int Y1, int X2, int Y2, const TRect& Cell);
    void DrawButton(HDC DC, TCvTreeItem& Item, const TRect& Area, bool HasChildren);
    void DrawCheckBox(HDC DC, TCvTreeItem& Item, const TRect& Area);
    void DrawImage(TCanvas& Canvas, TCvTreeItem& Item, TCustomImageList& Images, int Index,
                   int Overlay, int X, const TRect& Cell);
    void DrawMainText(TCanvas& Canvas, TCvTreeItem& Item, const TCvCellStyle* Style, TRect Cell,
                      TCellColours Colours, bool Bare);
    // Paints a rendering into Box; the runs without colours of their own take Text on Back
    // (CvColorNone: no background).
    void DrawHTML(HDC DC, TCvHTMLData& Data, const TRect& Box, TColor Text, TColor Back);

    TCustomCvTree* FTree;
    std::vector<TCvTreeItem*> FRows;
    int FBottomIndex = 0;
    bool FPainting = false;
    bool FRowColoured = false;
    bool FRowOwnColour = false;
    TBitmap FBackground;

    // The extras, made on first use.
    std::unique_ptr<TCvTreeSearch> FSearch;
    // Line and item hints (CvTreeHints.cpp).
    void ArmLineHint(int X, int Y);
    void PrepareItemHint(int X, int Y);
    void CMHintShow(TMessage& Message);
    void HideLineHintFor(const TMessage& Message);
    bool PointerOverView() const;
    // A content x of the section (or of the tree column, Section -1) in client coordinates.
    int ClientXOf(int X, int SectionIndex) const;
    std::unique_ptr<TTimer> FHintTimer;
    std::unique_ptr<TCvHintWindow> FHintWindow;
    int FHintX = -1, FHintY = -1;
    TCvTreeItem* FHintItem = nullptr;
    TCvTreeItem* FItemHintItem = nullptr;
    bool FDragOverView = false;
    // A vertical bar action while an editor is open pauses the scroll (once).
    bool FScrollPaused = false;
    bool FPausingScroll = false;
    // Dragging (CvTreeDrag.cpp).
    bool CanStartDrag() const;
    void StartDrag();
    void DoStartDrag(TDragObject*& Object);
    int DragRowWidth() const;
    void PaintDragRows(TCanvas& Canvas);
    void PaintDragRow(TCanvas& Canvas, TCvTreeItem& Item, const TRect& R);
    bool RowsBelow() const;
    int DragScrollBand(int Y) const;
    void ClearDropTarget(TDragObject* Source);
    void EndDragOver(bool FreeExpandTimer);
    void CMDragTree(TMessage& Message);
    std::unique_ptr<TCvTreeDragObject> FDragObject;
    std::unique_ptr<TBitmap> FDragImage;
    std::unique_ptr<TScreenDragImage> FScreenDragImage = std::make_unique<TScreenDragImage>();
    int FDragImageTop = 0;
    TPoint FDragHotSpot;
    TPoint FDragPoint;
    TDragObject* FDragSource = nullptr;
    std::unique_ptr<TTimer> FDragScrollTimer;
    std::unique_ptr<TTimer> FDragExpandTimer;
    std::unique_ptr<TCvDropTarget> FOleTarget;
    // In-place editing (CvTreeInplace.cpp).
    std::unique_ptr<TTimer> FEditTimer;
    TCvTreeInplaceEditor* FEditor = nullptr;
    TCvTreeItem* FEditedItem = nullptr;
    TCvTreeItem* FPendingEditItem = nullptr;
    int FPendingEditSection = -1;
    TCvHTMLRender FHTMLRender;
};
