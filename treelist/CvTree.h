// The multi-column tree-list control: a container window that owns the item model (through its
// windowless core), the inner view that shows the rows, the column header and two owner-drawn
// scroll bars. Here: its parts, its properties with their side effects, the header's wiring,
// measuring, column auto-size, scroll bars, layout and frame.
#pragma once

#include "classlib/gui/ExtCtrls.h"
#include "classlib/gui/Forms.h"
#include "classlib/gui/ImgList.h"
#include "treelist/CvHeader.h"
#include "treelist/CvScrollBar.h"
#include "treelist/CvTreeDrag.h"
#include "treelist/CvTreeCore.h"
#include "treelist/CvTreeView.h"
#include "treelist/CvVCLUtils.h"
#include "treelist/CvXPThemedControl.h"

#include <functional>
#include <memory>

class TCvHintWindow;
class TCvTreeInplaceEditor;
class TCvHook;
class TStream;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TSTSelModes { smUsual, smSimple };
enum TCvDblClickMode { dcmNone, dcmExpand, dcmEdit };
enum TCvDragType { dtOLE, dtDelphi, dtBoth };
enum class TCvDragTrgDrawMode {
    ColorFrame,
    ColorRect,
    SelColorRect,
    dtdNone,
    dtdUpColorLine,
    dtdDownColorLine,
    dtdUpSelColorLine,
    dtdDownSelColorLine,
};
enum THintModes { shmNone, shmLong, shmAll };
enum TLineHintType { lhtMainTextOnly, lhtCellTextOnly, lhtSmart };
enum TCvHintType { shtMainText, shtHintOnly, shtHintOrText };

// Measures the text of cells: the size DrawTextWide would give the text in Font with Flags
// (DT_CALCRECT is added), in a box Width pixels wide.
class ICvTextMeasurer {
public:
    virtual ~ICvTextMeasurer() = default;
    virtual TSize TextSize(const TFont& Font, const TCvString& Text, UINT Flags, int Width) = 0;
};

// The rectangles LayoutParts gives the header, the view, the bars and the corner.
struct TCvTreeLayout {
    TRect Header, View, HorzBar, VertBar, Corner;
    bool ShowHeader = false, ShowHorz = false, ShowVert = false;
};
struct TCvTreeLayoutInput {
    TRect Client;
    bool Columns = false;
    int HeaderHeight = 0;
    bool StickySections = false;
    bool CustomBars = true;
    bool HorzVisible = false, VertVisible = false;
    int HorzHeight = 16, VertWidth = 16;
    bool VertOnRight = true; // RightAlignedText equals ScrollbarOpposite
};
TCvTreeLayout LayoutOf(const TCvTreeLayoutInput& In);

// One bar's numbers as UpdateScrollBars sets them.
struct TCvBarState {
    bool Visible = false;
    int Max = 0;
    int Page = 1;
    int Position = 0;
};
// The horizontal bar: content width against the view's width.
TCvBarState HorzBarOf(int Content, int ViewWidth, int LeftPosition, bool Hide);
// The vertical bar. RangeMax: the largest top index it must reach; Page: the page's rows.
TCvBarState VertBarOf(int RangeMax, int Page, int TopIndex, int RowsHeight, int ViewHeight,
                      int RowCount, bool Hide);

// Where the pictures of an item's tree cell go: widths and the gaps before each.
struct TCvPictureLayout {
    int Second = -1, Main = -1; // image indices, -1 for none
    bool SecondShown = false, MainShown = false;
    int SecondGap = 0, SecondWidth = 0, MainGap = 0, MainWidth = 0;
};

// The tree's item, part and hit-test rules that measuring, painting and the hit test share.
// The state image shows for a focused, selected or expanded item.
bool UsesStateImage(const TCvTreeItem& Item);

class TCustomCvTree : public TCvXPThemedControl, public TCvTreeCore {
public:
    explicit TCustomCvTree(TComponent* AOwner);
    ~TCustomCvTree() override;

    TCvTreeView& TreeView() const { return *FView; }
    TCvHeader& HeaderControl() const { return *FHeader; }
    TCvScrollBar& HorzScrollBar() const { return *FHorzBar; }
    TCvScrollBar& VertScrollBar() const { return *FVertBar; }
    TCvScrollBarStyles& HorzScrollBarStyles() const { return *FHorzStyles; }
    TCvScrollBarStyles& VertScrollBarStyles() const { return *FVertStyles; }

    // ---- items and structure
    void SetShowColumns(bool Value);
    bool AutoResizeColumns = true;
    wchar_t PathSeparator = L'\\';

    // ---- appearance
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor Value);
    void SetLineHeight(int Value);
    void SetAutoLineHeight(bool Value);
    int ItemIndent() const { return FItemIndent; }
    void SetItemIndent(int Value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool Value) { Relayout(FShowLines, Value); }
    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool Value) { Relayout(FShowRoot, Value); }
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool Value) { Relayout(FShowButtons, Value); }
    bool ShowRootButtons() const { return FShowRootButtons; }
    void SetShowRootButtons(bool Value) { Relayout(FShowRootButtons, Value); }
    bool ShowLeafButton() const { return FShowLeafButton; }
    void SetShowLeafButton(bool Value) { Relayout(FShowLeafButton, Value); }
    void SetShowImages(bool Value);
    void SetShowEmptyImages(bool Value);
    void SetShowEmptyImages2(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { SetImageList(FImages, Value); }
    TCustomImageList* Images2() const { return FImages2; }
    void SetImages2(TCustomImageList* Value) { SetImageList(FImages2, Value); }
    void SetShowCheckboxes(bool Value);
    // The theme's check-box size while a theme is applied.
    int CheckBoxSize() const;
    void SetCheckBoxSize(int Value);
    bool CustomCheckboxes() const { return FCustomCheckboxes; }
    void SetCustomCheckboxes(bool Value);
    TBitmap& CheckBoxGlyph() { return FCheckBoxGlyph; }
    TBitmap& RadioButtonGlyph() { return FRadioButtonGlyph; }
    bool CustomPlusMinus() const { return FCustomPlusMinus; }
    void SetCustomPlusMinus(bool Value) { Relayout(FCustomPlusMinus, Value); }
    TBitmap& PlusPicture() { return FPlusPicture; }
    TBitmap& MinusPicture() { return FMinusPicture; }
    TBitmap& LeafPicture() { return FLeafPicture; }
    bool PlusMinusTransparent() const { return FPlusMinusTransparent; }
    void SetPlusMinusTransparent(bool Value) { Repaint(FPlusMinusTransparent, Value); }
    TPenStyle LinesStyle() const { return FLinesStyle; }
    void SetLinesStyle(TPenStyle Value) { Repaint(FLinesStyle, Value); }
    TColor LinesColor() const { return FLinesColor; }
    void SetLinesColor(TColor Value) { Repaint(FLinesColor, Value); }
    bool HorizontalLines() const { return FHorizontalLines; }
    void SetHorizontalLines(bool Value);
    bool VerticalLines() const { return FVerticalLines; }
    void SetVerticalLines(bool Value) { Repaint(FVerticalLines, Value); }
    bool VerticalLinesLong() const { return FVerticalLinesLong; }
    void SetVerticalLinesLong(bool Value) { Repaint(FVerticalLinesLong, Value); }
    TColor HorzDivLinesColor() const { return FHorzDivLinesColor; }
    void SetHorzDivLinesColor(TColor Value) { Repaint(FHorzDivLinesColor, Value); }
    TColor VertDivLinesColor() const { return FVertDivLinesColor; }
    void SetVertDivLinesColor(TColor Value) { Repaint(FVertDivLinesColor, Value); }
    bool BarStyle() const { return FBarStyle; }
    void SetBarStyle(bool Value);
    bool BarStyleVerticalLines() const { return FBarStyleVerticalLines; }
    void SetBarStyleVerticalLines(bool Value) { Repaint(FBarStyleVerticalLines, Value); }
    bool StripedItems() const { return FStripedItems; }
    void SetStripedItems(bool Value) { Repaint(FStripedItems, Value); }
    TColor StripedOddColor() const { return FStripedOddColor; }
    void SetStripedOddColor(TColor Value) { Repaint(FStripedOddColor, Value); }
    TColor StripedEvenColor() const { return FStripedEvenColor; }
    void SetStripedEvenColor(TColor Value) { Repaint(FStripedEvenColor, Value); }
    TBitmap& Background() { return FBackground; }
    TCvBkGndType BackgroundType() const { return FBackgroundType; }
    void SetBackgroundType(TCvBkGndType Value);
    TColor GradientStartColor() const { return FGradientStartColor; }
    void SetGradientStartColor(TColor Value);
    TColor GradientEndColor() const { return FGradientEndColor; }
    void SetGradientEndColor(TColor Value);
    int GradientSteps() const { return FGradientSteps; }
    void SetGradientSteps(int Value);
    bool ScrollBackground = false;
    bool RightAlignedText() const { return FRightAlignedText; }
    void SetRightAlignedText(bool Value);
    bool RightAlignedTree() const { return FRightAlignedTree; }
    void SetRightAlignedTree(bool Value);
    bool OwnerDrawByColumn = true;
    TCvString OwnerDrawMask = L"~~@~~";
    TCvFieldType MainTextType = sftText;
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value);
    bool DoubleBufferedOnResize = true;
    void SetUseXPThemes(bool Value) override;
    TColor LinkColor() const { return FLinkColor; }
    void SetLinkColor(TColor Value);
    TFontStyles LinkStyle() const { return FLinkStyle; }
    void SetLinkStyle(TFontStyles Value);
    TCursor LinkCursor = crHandPoint;

    // ---- selection and focus
    TSTSelModes SelectionMode = smUsual;
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool FullRowSelect = true;
    int SelectColumn() const { return FSelectColumn; }
    void SetSelectColumn(int Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value) { Repaint(FHideSelection, Value); }
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool Value) { Repaint(FHideFocusRect, Value); }
    bool DrawFocusRect() const { return FDrawFocusRect; }
    void SetDrawFocusRect(bool Value) { Repaint(FDrawFocusRect, Value); }
    TColor FocusedSelectColor() const { return FFocusedSelectColor; }
    void SetFocusedSelectColor(TColor Value) { Repaint(FFocusedSelectColor, Value); }
    TColor FocusedSelectTextColor() const { return FFocusedSelectTextColor; }
    void SetFocusedSelectTextColor(TColor Value) { Repaint(FFocusedSelectTextColor, Value); }
    TColor HideSelectColor() const { return FHideSelectColor; }
    void SetHideSelectColor(TColor Value) { Repaint(FHideSelectColor, Value); }
    TColor HideSelectTextColor() const { return FHideSelectTextColor; }
    void SetHideSelectTextColor(TColor Value) { Repaint(FHideSelectTextColor, Value); }
    bool NoBlendSelected() const { return FNoBlendSelected; }
    void SetNoBlendSelected(bool Value) { Repaint(FNoBlendSelected, Value); }
    bool AlwaysKeepFocus = false;
    bool AlwaysKeepSelection = true;
    bool RightClickSelect = true;
    bool ChangeStateImage() const { return FChangeStateImage; }
    void SetChangeStateImage(bool Value) { Repaint(FChangeStateImage, Value); }
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value) { Repaint(FTracking, Value); }
    TColor TrackColor() const { return FTrackColor; }
    void SetTrackColor(TColor Value) { Repaint(FTrackColor, Value); }
    bool RowHotTrack() const { return FRowHotTrack; }
    void SetRowHotTrack(bool Value) { Repaint(FRowHotTrack, Value); }
    bool UnderlineTracked() const { return FUnderlineTracked; }
    void SetUnderlineTracked(bool Value) { Repaint(FUnderlineTracked, Value); }
    bool MouseFrameVisible = true;
    bool MouseFrameSelect = true;

    // ---- header pass-through
    int HeaderHeight() const;
    void SetHeaderHeight(int Value);
    bool HeaderHotTrack() const { return FHeaderHotTrack; }
    void SetHeaderHotTrack(bool Value);
    TFont& HeaderFont() { return FHeaderFont; }
    bool HeaderUseTreeFont() const { return FHeaderUseTreeFont; }
    void SetHeaderUseTreeFont(bool Value);
    bool DraggableSections() const { return FHeader->AllowDrag; }
    void SetDraggableSections(bool Value) { FHeader->AllowDrag = Value; }
    TColor HeaderColor() const { return FHeader->Color(); }
    void SetHeaderColor(TColor Value) { FHeader->SetColor(Value); }
    bool HeaderFlat() const { return FHeader->Flat(); }
    void SetHeaderFlat(bool Value) { FHeader->SetFlat(Value); }
    TColor HeaderFilterColor() const { return FHeader->FilterColor(); }
    void SetHeaderFilterColor(TColor Value) { FHeader->SetFilterColor(Value); }
    TColor HeaderActiveFilterColor() const { return FHeader->ActiveFilterColor(); }
    void SetHeaderActiveFilterColor(TColor Value) { FHeader->SetActiveFilterColor(Value); }
    TCustomImageList* HeaderImages() const { return FHeader->Images(); }
    void SetHeaderImages(TCustomImageList* Value) { FHeader->SetImages(Value); }
    bool HeaderWrapCaptions() const { return FHeader->WrapCaptions(); }
    void SetHeaderWrapCaptions(bool Value) { FHeader->SetWrapCaptions(Value); }
    bool HeaderInvertSortArrows() const { return FHeader->InvertSortArrows(); }
    void SetHeaderInvertSortArrows(bool Value) { FHeader->SetInvertSortArrows(Value); }
    TPopupMenu* HeaderPopupMenu() const { return FHeader->PopupMenu(); }
    void SetHeaderPopupMenu(TPopupMenu* Value) { FHeader->SetPopupMenu(Value); }
    TCvHeaderSections& HeaderSections() const { return FHeader->Sections(); }
    void SetHeaderSections(const TCvHeaderSections& Value) { FHeader->SetSections(Value); }
    bool MoveColumnOnDrag() const { return FHeader->MoveOnDrag; }
    void SetMoveColumnOnDrag(bool Value) { FHeader->MoveOnDrag = Value; }
    bool StickyHeaderSections() const { return FHeader->StickySections(); }
    void SetStickyHeaderSections(bool Value) { FHeader->SetStickySections(Value); }
    bool LockHeaderHeight() const { return FHeader->LockHeight(); }
    void SetLockHeaderHeight(bool Value) { FHeader->SetLockHeight(Value); }
    int DefaultSectionWidth() const { return FHeader->DefaultWidth; }
    void SetDefaultSectionWidth(int Value) { FHeader->DefaultWidth = Value; }
    bool AutoLookup = false;

    // ---- scroll bars and frame
    bool UseCustomScrollBars() const { return FUseCustomScrollBars; }
    void SetUseCustomScrollBars(bool Value);
    bool HideHorzScrollBar() const { return FHideHorzScrollBar; }
    void SetHideHorzScrollBar(bool Value);
    bool HideVertScrollBar() const { return FHideVertScrollBar; }
    void SetHideVertScrollBar(bool Value);
    TScrollStyle ForcedScrollBars() const { return FForcedScrollBars; }
    void SetForcedScrollBars(TScrollStyle Value);
    bool ScrollbarOpposite() const { return FScrollbarOpposite; }
    void SetScrollbarOpposite(bool Value);
    bool ScrollTracking = false;
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TCvBorderSides BorderSides() const { return FBorderSides; }
    void SetBorderSides(TCvBorderSides Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool FlatFocusedScrollbars = true;
    TCvFlatBorderType ActiveBorderType() const { return FActiveBorderType; }
    void SetActiveBorderType(TCvFlatBorderType Value);
    TCvFlatBorderType InactiveBorderType() const { return FInactiveBorderType; }
    void SetInactiveBorderType(TCvFlatBorderType Value);
    TColor LineBorderActiveColor = 0;
    TColor LineBorderInactiveColor = 0;
    int LeftPosition() const { return FLeftPosition; }
    void SetLeftPosition(int Value);
    bool HorzBarVisible() const { return FHorzBarVisible; }
    bool VertBarVisible() const { return FVertBarVisible; }

    // ---- hints, drag, editing and search (their machinery comes with the extras)
    TCvHintType HintType = shtHintOrText;
    THintModes LineHintMode = shmLong;
    TLineHintType LineHintType = lhtSmart;
    TColor LineHintColor = clWindow;
    int LineHintTimeout = 3000;
    bool HideHintOnMove = true;
    bool HideHintOnTimer = false;
    bool UseSystemHintColors = false;
    bool DragAllowed = false;
    TCvDragType DragType() const { return FDragType; }
    void SetDragType(TCvDragType Value);
    TCvDragTrgDrawMode DragTrgDrawMode = TCvDragTrgDrawMode::SelColorRect;
    TColor DragRectAcceptColor = clGreen;
    TColor DragRectDenyColor = clRed;
    bool DropAccepted = false;
    int DragScrollInterval = 100;
    int DragExpandDelay = 500;
    bool ExpandOnDragOver = false;
    TDragImgMode DragImageMode = dimNever;
    bool DoInplaceEdit = true;
    int InplaceEditorDelay = 500;
    bool QuickEditMode = false;
    bool ExplorerEditMode = false;
    TCvDblClickMode DblClickMode() const { return FDblClickMode; }
    void SetDblClickMode(TCvDblClickMode Value);
    bool ExpandOnDblClick() const { return FExpandOnDblClick; }
    void SetExpandOnDblClick(bool Value);
    bool IncrementalSearch = false;
    int IncrementalSearchTimeout = 500;

    // ---- measuring
    ICvTextMeasurer& Measurer() const { return *FMeasurer; }
    // Null goes back to the screen measurer.
    void SetMeasurer(ICvTextMeasurer* Value);
    int DefineLineHeight();
    TSize MeasureItemPart(TCvTreeItem& Item, int SectionIndex);
    // True when an item-part gap follows the cell.
    bool MeasureCell(TCvTreeItem& Item, int SectionIndex, TSize& Size);
    int WidestCell(int SectionIndex, bool VisibleOnly);
    void AutoSizeColumn(int SectionIndex);
    void AutoSizeAllColumns();
    void UpdateScrollBars();
    // Moves the thumb of the bar that shows (custom or the window's own) to Position.
    void SetBarPosition(TScrollBarKind Kind, int Position);
    void LayoutParts();
    // The text a cell shows: the column text, or the mask of a password column.
    TCvString ShownCellText(TCvTreeItem& Item, int SectionIndex);
    // The font a text cell is measured and drawn in.
    void CellFontOf(TCvTreeItem& Item, const TCvCellStyle* Style, TFont& Font) const;
    // DrawTextWide's flags for the item's text: no prefix, single line unless multi-line.
    UINT TextFlagsOf(const TCvTreeItem& Item) const;
    TCvPictureLayout PicturesOf(TCvTreeItem& Item);
    // The style that governs a cell, or null.
    TCvCellStyle* CellStyleOf(TCvTreeItem& Item, int SectionIndex);
    // Whether the cell is handed to OnItemDraw.
    bool IsOwnerDrawnCell(TCvTreeItem& Item, int SectionIndex, TCvCellStyle* Style);
    // The rendering an HTML cell shows: the item's own, or one made into Fresh in a virtual
    // tree. Null for plain text, also for markup the renderer refused (shown as it stands).
    TCvHTMLData* CellHTML(TCvTreeItem& Item, int SectionIndex, std::unique_ptr<TCvHTMLData>& Fresh);
    // The image index shown for the item's first or second picture, -1 for none.
    int PictureIndexOf(TCvTreeItem& Item, bool Second);
    // Root indent, IndentAdjust and the levels: where the item's button column begins,
    // from the cell's left edge.
    int ButtonColumnOf(TCvTreeItem& Item);
    // A button shows for the item.
    bool HasButton(TCvTreeItem& Item);
    // The item's top-level ancestor suppresses its buttons (and the column they take).
    bool ButtonsSuppressed(TCvTreeItem& Item);
    // Width of the item's check box, 0 when it shows none.
    int CheckBoxWidthOf(TCvTreeItem& Item);
    // The section of the column the tree draws in, or null without columns.
    TCvHeaderSection* SectionOf(int SectionIndex) const;

    // ---- the view's hit tests in tree coordinates
    TRect GetItemRect(int RowIndex) const;
    TCvTreeItem* GetItemAtY(int Y) const;
    TCvTreeItem* GetItemAt(int X, int Y, int& SectionIndex, TCvItemPart& ItemPart) const;
    bool IsInView(const TCvTreeItem* Item) const;
    TCvTreeItem* GetTopItem() const;
    void SetTopItem(TCvTreeItem* Item);
    int BottomIndex() const { return FView->BottomIndex(); }
    void SetTopIndex(int Value);
    // Opens the in-place editor of the cell (with DoInplaceEdit); ends the view's edit.
    void EditItem(TCvTreeItem* Item, int SectionIndex);
    void EndEdit(bool ByCancel);
    // One line per item: Level - 1 spaces, the main text, CR LF (the ANSI code page).
    void SaveTextToStream(TStream& Stream);
    void Assign(const TPersistent& Source) override;
    void Loaded() override;

    // ---- events of the view and the header (in tree coordinates)
    TColor PaintRowBkColor = clWindow;
    TColor PaintRowTextColor = clWindowText;
    bool InSizeMove = false;
    std::function<void(TObject* Sender, TCvTreeItem* Item, TCanvas& Surface, const TRect& R,
                       int SectionIndex)>
        OnItemDraw;
    std::function<void(TObject* Sender, TCvTreeItem* Item)> OnItemPreDraw;
    std::function<void(TObject* Sender, TCanvas& Canvas, TCvTreeItem* Item, const TRect& ItemRect,
                       bool& DrawFocusRect)>
        OnItemPostDraw;
    std::function<void(TObject* Sender, TCvTreeItem* Item, int& ImageIndex)> OnItemPicDraw;
    std::function<void(TObject* Sender, TCvTreeItem* Item, int& ImageIndex)> OnItemPicDraw2;
    std::function<void(TObject* Sender, TCvTreeItem* Item, int PartIndex, TSize& Size)>
        OnMeasureItemPart;
    std::function<void(TObject* Sender, int SectionIndex)> OnHeaderColumnClick;
    std::function<void(TObject* Sender, int SectionIndex)> OnHeaderColumnResize;
    TCvSectionRedrawEvent OnHeaderColumnDraw;
    std::function<void(TObject* Sender, TCvHeaderSection* Section, int OldPos, int NewPos)>
        OnHeaderColumnMove;
    TCvHeaderLookupEvent OnHeaderLookup;
    TCvHeaderLookupDoneEvent OnHeaderLookupDone;
    TCvHeaderSectionEvent OnHeaderSectionExpand;
    TCvHeaderSectionEvent OnHeaderSectionCollapse;
    std::function<void(TObject* Sender, int SectionIndex)> OnHeaderSectionAutoSize;
    std::function<void(TObject* Sender, int SectionIndex)> OnHeaderSectionFilterCall;
    TNotifyEvent OnHeaderResize;
    TMeasureSectionEvent OnHeaderSectionMeasure;
    TMouseEvent OnHeaderMouseDown;
    std::function<void(TObject* Sender, TScrollBarKind Kind, int ScrollCode)> OnScroll;
    TCvScrollDrawPartEvent OnHorzScrollDrawPart;
    TCvScrollDrawPartEvent OnVertScrollDrawPart;
    TCvScrollHintNeededEvent OnHorzScrollHintNeeded;
    TCvScrollHintNeededEvent OnVertScrollHintNeeded;
    // May change the line hint's text or refuse it; MousePos in tree coordinates.
    std::function<void(TObject* Sender, TCvTreeItem* Item, TCvHeaderSection* Section,
                       TCvString& Text, TCvHintWindow* HintWindow, TPoint MousePos,
                       bool& DoShowHint)>
        OnShowLineHint;
    // May supply or replace the editor EditItem found for the cell.
    std::function<void(TObject* Sender, TCvTreeItem* Item, int SectionIndex,
                       TCvFieldType SupposedFieldType, TCvTreeInplaceEditor*& Editor)>
        OnInplaceEditorNeeded;
    // The row under a drag changed; ItemRect in tree coordinates.
    std::function<void(TObject* Sender, TCvTreeItem* Item, const TRect& ItemRect, int X, int Y)>
        OnDragTargetChange;
    // Supplies the data and the drop source of an OLE drag; without both nothing is dragged.
    std::function<void(TObject* Sender, IDataObject*& Data, IDropSource*& Source,
                       TDragTypes& OKEffects)>
        OnOleDragStart;
    std::function<void(TObject* Sender, TDragType Type, HRESULT Result)> OnOleDragFinish;
    TTargetDragEvent OnOleTargetDrag;
    TTargetDropEvent OnOleTargetDrop;
    // A click on a link of an HTML cell, and the pictures HTML texts name.
    TCvHTMLLinkClickEvent OnLinkClick;
    TCvHTMLImageNeededEvent OnHTMLImageNeeded;

    virtual void DoItemDraw(TCvTreeItem* Item, TCanvas& Surface, const TRect& R, int SectionIndex);
    virtual void DoAfterItemDraw(TCanvas& Canvas, TCvTreeItem* Item, const TRect& ItemRect,
                                 bool& DrawFocusRect);
    virtual int DoGetPicture(TCvTreeItem* Item);
    virtual int DoGetPicture2(TCvTreeItem* Item);
    virtual void DoMeasureItemPart(TCvTreeItem* Item, int PartIndex, TSize& Size);
    virtual void DoColumnClick(int SectionIndex);
    virtual void DoColumnResize(int SectionIndex);
    virtual void DoOnScroll(TScrollBarKind Kind, int ScrollCode);
    virtual void DoHTMLImageNeeded(const String& Src, HBITMAP& Image);
    virtual void DoLinkClick(const String& HRef);
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoEnterNotify();
    virtual void DoExitNotify();
    virtual void DoKeyDownNotify(WORD& Key, TShiftState Shift);
    virtual void DoKeyPressNotify(wchar_t& Key);
    virtual void DoKeyUpNotify(WORD& Key, TShiftState Shift);
    // Positions in tree coordinates.
    virtual void DoMouseDownNotify(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoMouseMoveNotify(TShiftState Shift, int X, int Y);
    virtual void DoMouseUpNotify(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Source: the tree for its own rows' drag; Accept starts false.
    virtual void DoDragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DoDragDrop(TObject* Source, int X, int Y);
    virtual void DoStartDragNotify(TDragObject*& Object);
    virtual void DoEndDragNotify(TObject* Target, int X, int Y);
    virtual void DoHeaderSectionMeasure(TCvHeaderSection* Section, TSize& Size);
    virtual void DoColumnDraw(TCanvas& Canvas, TCvHeaderSection* Section, const TRect& R,
                              bool Pressed);
    virtual void DoColumnMove(TCvHeaderSection* Section, int OldPos, int NewPos);
    virtual void DoShowHint(TCvTreeItem* Item, TCvHeaderSection* Section, TCvString& Text,
                            TCvHintWindow* HintWindow, TPoint MousePos, bool& DoShowHint);
    virtual void DoHeaderLookup(TCvHeaderSection* Section, String& Text);
    virtual void DoHeaderLookupDone(TCvHeaderSection* Section, const String& Text, bool Accepted);
    virtual void DoHeaderSectionExpand(TCvHeaderSection* Section);
    virtual void DoHeaderSectionCollapse(TCvHeaderSection* Section);
    virtual void DoHeaderResize();
    virtual void DoOleTargetDrag(TDragState State, TOleDragObject* Source, TShiftState Shift, int X,
                                 int Y, TDragType& Type);
    virtual void DoOleTargetDrop(TOleDragObject* Source, TShiftState Shift, int X, int Y,
                                 TDragType& Type);
    virtual void DoOleDragStart(IDataObject*& Data, IDropSource*& Source, TDragTypes& OKEffects);
    virtual void DoOleDragFinish(TDragType Type, HRESULT Result);
    virtual void DoInplaceEditorNeeded(TCvTreeItem* Item, int SectionIndex,
                                       TCvFieldType SupposedFieldType,
                                       TCvTreeInplaceEditor*& Editor);

    // Tests and the view: the tree sorts as a header click with or without Ctrl would.
    void SortByHeaderClick(TCvHeaderSection* Section, bool Ctrl);

    // The answer to CM_PROBEROW (classlib/gui/WindowProbe.h): brings the first shown row whose
    // text is RowText into view and gives the screen centre of its text or check box.
    LRESULT AnswerProbeRow(WPARAM Query, const String& RowText);

protected:
    String GetThemedClassName() const override { return L"TREEVIEW"; }
    void CreateParams(TCreateParams& Params) const override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void FontChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void FrameCalcSize(TMessage& Message) override;
    void FramePaint(TMessage& Message) override;

private:
    class THeaderLink;
    class TChangeTimer;
    friend class TCvTreeView;

    template <class T> void Relayout(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        MarkRelayout();
    }
    template <class T> void Repaint(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        RepaintNowOrLater();
    }
    void MarkRelayout();
    void DeriveLineHeight();
    void SetImageList(TCustomImageList*& Field, TCustomImageList* Value);
    void ImageListChanged();
    void RebuildAndRepaint();
    void BackgroundChanged();
    void WireHeader();
    void HeaderSectionResize(TCvHeaderSection* Section);
    void HeaderSectionDelete();
    void HeaderSectionAutoSize(TCvHeaderSection* Section);
    void HeaderLookup(TCvHeaderSection* Section, String& Text);
    void HeaderResized();
    void ApplyHeaderFont();
    bool UpdateHorzBar();
    bool UpdateVertBar();
    // The window's own bar (SB_HORZ, SB_VERT), shown instead of the custom ones.
    void ApplyWindowBar(int Bar, const TCvBarState& S, bool Forced);
    // A scroll code of the window's own bar, passed on to the view like a custom bar's.
    void WindowBarScroll(int Bar, int Code);
    void ForwardViewEvents();
    void PlaceParts();
    TRect FrameInsetsOf() const;
    void PaintFrame(HDC DC, const TRect& Outer);
    bool FrameActive() const;

    TCvTreeView* FView;
    TCvHeader* FHeader;
    TCvScrollBar* FHorzBar;
    TCvScrollBar* FVertBar;
    std::unique_ptr<THeaderLink> FHeaderLink;
    std::unique_ptr<TCvScrollBarStyles> FHorzStyles;
    std::unique_ptr<TCvScrollBarStyles> FVertStyles;
    std::unique_ptr<TChangeTimer> FChangeTimer;
    std::unique_ptr<ICvTextMeasurer> FScreenMeasurer;
    std::unique_ptr<TCvCellStyle> FVirtualStyle;
    ICvTextMeasurer* FMeasurer;
    TChangeLink FImageLink;
    TCvHook* FFormHook;

    TColor FBkColor = clWindow;
    TColor FTextColor = clWindowText;
    int FItemIndent = 17;
    bool FShowLines = true;
    bool FShowRoot = false;
    bool FShowButtons = true;
    bool FShowRootButtons = true;
    bool FShowLeafButton = false;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FImages2 = nullptr;
    int FCheckBoxSize = 15;
    // The themed check-box size is asked per row while measuring: kept for the theme it came from.
    mutable HTHEME FSizedTheme = nullptr;
    mutable int FThemedCheckBoxSize = 0;
    bool FCustomCheckboxes = false;
    TBitmap FCheckBoxGlyph;
    TBitmap FRadioButtonGlyph;
    bool FCustomPlusMinus = false;
    TBitmap FPlusPicture;
    TBitmap FMinusPicture;
    TBitmap FLeafPicture;
    bool FPlusMinusTransparent = false;
    TPenStyle FLinesStyle = psDot;
    TColor FLinesColor = clBtnFace;
    bool FHorizontalLines = false;
    bool FVerticalLines = false;
    bool FVerticalLinesLong = true;
    TColor FHorzDivLinesColor = clBtnFace;
    TColor FVertDivLinesColor = clBtnFace;
    bool FBarStyle = false;
    bool FBarStyleVerticalLines = false;
    bool FStripedItems = false;
    TColor FStripedOddColor = clBtnShadow;
    TColor FStripedEvenColor = clBtnHighlight;
    TBitmap FBackground;
    TCvBkGndType FBackgroundType = bgtColorFill;
    TColor FGradientStartColor = 0;
    TColor FGradientEndColor = 0;
    int FGradientSteps = 64;
    bool FRightAlignedText = false;
    bool FRightAlignedTree = false;
    bool FDoubleBuffered = true;
    TColor FLinkColor = clBlue;
    TFontStyles FLinkStyle{fsUnderline};
    bool FRowSelect = true;
    int FSelectColumn = -1;
    bool FHideSelection = false;
    bool FHideFocusRect = false;
    bool FDrawFocusRect = true;
    TColor FFocusedSelectColor = clHighlight;
    TColor FFocusedSelectTextColor = clHighlightText;
    TColor FHideSelectColor = clBtnFace;
    TColor FHideSelectTextColor = clBtnShadow;
    bool FNoBlendSelected = false;
    bool FChangeStateImage = false;
    bool FTracking = true;
    TColor FTrackColor = clHighlight;
    bool FRowHotTrack = false;
    bool FUnderlineTracked = true;
    bool FHeaderHotTrack = true;
    TFont FHeaderFont;
    bool FHeaderUseTreeFont = true;
    int FLoadedHeaderHeight = -1;
    // The header height the last layout gave the view room for.
    int FLaidHeaderHeight = 0;
    bool FUseCustomScrollBars = true;
    bool FHideHorzScrollBar = false;
    bool FHideVertScrollBar = false;
    TScrollStyle FForcedScrollBars = ssNone;
    bool FScrollbarOpposite = false;
    TFormBorderStyle FBorderStyle = bsSingle;
    TCvBorderSides FBorderSides = TCvBorderSides::All();
    bool FFlat = false;
    TCvFlatBorderType FActiveBorderType = fbtSunken;
    TCvFlatBorderType FInactiveBorderType = fbtSunkenOuter;
    int FLeftPosition = 0;
    bool FHorzBarVisible = false;
    bool FVertBarVisible = false;
    bool FLayingOut = false;
    bool FLayoutAgain = false;
    bool FFramePosted = false;
    bool FAutoSizingAll = false;
    bool FMouseInside = false;
    TCvDragType FDragType = dtDelphi;
    TCvDblClickMode FDblClickMode = dcmExpand;
    bool FExpandOnDblClick = true;
};

class TCvTree : public TCustomCvTree {
public:
    using TCustomCvTree::TCustomCvTree;
};

// The unit's start-up, run once by the first tree: the drag cursors 20001-20003 from OLE32.DLL
// (the drawn ones stay where it has none) and the recoloured button pictures.
void StartTreeUnit();

// The default expand-button pictures (9 x 9), recoloured to the system colours.
struct TCvTreeBitmaps {
    TBitmap Plus, Minus, Leaf;
};
TCvTreeBitmaps& TreeButtonBitmaps();
// Black becomes the window text colour, grey 128 the button shadow, white the window colour.
void RecolourButtonBitmaps();
