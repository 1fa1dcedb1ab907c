// The column header of the tree-list: its sections (one per column, stored as the "Data" stream
// of form layouts) and the control that lays them out, paints them and turns mouse input into
// section events.
#pragma once

#include "classlib/gui/Controls.h"
#include "classlib/gui/ImgList.h"
#include "treelist/CvColumnTypes.h"
#include "treelist/CvXPThemedControl.h"
#include "classlib/rtl/Classes.h"
#include "treelist/HTMLRender.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TComboBox;
class TCustomCvHeader;
class TCvHeaderSection;
class TCvHeaderSections;
class TPopupMenu;
struct THintInfo;

class ECvHeaderError : public Exception {
public:
    using Exception::Exception;
};

// Stored in the "Data" stream: never reorder.
enum TCvSAlignment : std::uint8_t { hsaLeft = 0, hsaRight = 1, hsaCenter = 2 };
using TCvTextLayout = TTextLayout; // the class library's, one byte in the stream

enum TSectionChangeMode {
    scmCaption,
    scmFieldName,
    scmFieldType,
    scmAlign,
    scmStyle,
    scmEditable,
    scmPassword
};
enum TCvSectionResizingState { trsBegin, trsMove, trsEnd };

// ------------------------------------------------------------ one section

class TCvHeaderSection : public TPersistent {
public:
    ~TCvHeaderSection() override;
    TCvHeaderSection(const TCvHeaderSection&) = delete;
    TCvHeaderSection& operator=(const TCvHeaderSection&) = delete;

    // Copies every property but FieldName, FilterIsActive and LookupHistory, and also the
    // SectionIndex and PopupMenuName; the parent is found by its SectionIndex here.
    void Assign(const TPersistent& Source) override;

    TCustomCvHeader* Header() const { return FHeader; }
    TCvHeaderSections* Owner() const;
    int ListPosition() const;
    int LeftEdge() const;
    int RightEdge() const;
    // Own flag set, and every parent visible and expanded.
    bool Visible() const;
    bool OwnVisible() const { return FVisible; }
    void InvalidateSection();

    const String& Text() const { return FText; }
    void SetText(const String& Value);
    TCvSectionStyle Style() const { return FStyle; }
    void SetStyle(TCvSectionStyle Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    TCvSSortMode SortMode() const { return FSortMode; }
    void SetSortMode(TCvSSortMode Value);
    bool AllowClick() const { return FAllowClick; }
    void SetAllowClick(bool Value) { FAllowClick = Value; }
    TCvSAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TCvSAlignment Value);
    TCvSAlignment PictureAlign() const { return FPictureAlign; }
    void SetPictureAlign(TCvSAlignment Value);
    void SetVisible(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    const std::string& FieldName() const { return FFieldName; }
    virtual void SetFieldName(const std::string& Value);
    TCvFieldType FieldType() const { return FFieldType; }
    virtual void SetFieldType(TCvFieldType Value);
    bool Editable() const { return FEditable; }
    virtual void SetEditable(bool Value);
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    bool Resizable() const { return FResizable; }
    virtual void SetResizable(bool Value);
    bool ClickSelect() const { return FClickSelect; }
    void SetClickSelect(bool Value) { FClickSelect = Value; }
    bool Expandable() const { return FExpandable; }
    void SetExpandable(bool Value);
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool Value);
    TCvHeaderSection* ParentSection() const { return FParentSection; }
    void SetParentSection(TCvHeaderSection* Value);
    bool LookupEnabled() const { return FLookupEnabled; }
    void SetLookupEnabled(bool Value);
    TStringList& LookupHistory() { return FLookupHistory; }
    void SetLookupHistory(const TStrings& Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);
    bool UseMainStyle() const { return FUseMainStyle; }
    void SetUseMainStyle(bool Value);
    TCvTextLayout TextLayout() const { return FTextLayout; }
    void SetTextLayout(TCvTextLayout Value);
    bool FilterEnabled() const { return FFilterEnabled; }
    void SetFilterEnabled(bool Value);
    bool FilterIsActive() const { return FFilterIsActive; }
    void SetFilterIsActive(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool ShowSortMark() const { return FShowSortMark; }
    void SetShowSortMark(bool Value);
    std::int32_t Tag = 0;

    // The section's stable number, by which the tree and the programs address a column.
    int SectionIndex() const { return FSectionIndex; }
    std::int32_t SectionId() const { return FSectionId; }
    void SetSectionId(std::int32_t Value) { FSectionId = Value; }
    float ShareOfWidth() const { return FShareOfWidth; }
    int SavedWidth() const { return FSavedWidth; }
    // The component name of the section's popup menu, kept so that it can be found after loading.
    const std::string& PopupMenuName() const { return FPopupMenuName; }
    // Opens on a right click over the section instead of the header's own menu.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

private:
    friend class TCvHeaderSections;
    friend class TCustomCvHeader;
    friend class TCvSectionStreamer;
    explicit TCvHeaderSection(TCustomCvHeader* AHeader);

    void AutoSizeNotice();
    void ChangeNotice(TSectionChangeMode Mode);
    void EnsureButtonHeight();
    bool IsLast() const;
    bool IsDescendantOf(const TCvHeaderSection* Section) const;
    void ApplyWidth(int W);
    void ApplyVisible(bool V);
    void WatchPopupMenu();

    TCustomCvHeader* FHeader;
    String FText;
    TCvSectionStyle FStyle = CvhsText;
    int FWidth = 120;
    int FMaxWidth = 10000;
    int FMinWidth = 0;
    TCvSSortMode FSortMode = hsmNone;
    bool FAllowClick = true;
    TCvSAlignment FAlignment = hsaLeft;
    TCvSAlignment FPictureAlign = hsaLeft;
    bool FVisible = true;
    int FImageIndex = -1;
    std::string FFieldName;
    TCvFieldType FFieldType = sftText;
    bool FEditable = false;
    bool FPassword = false;
    bool FResizable = true;
    bool FClickSelect = true;
    bool FExpandable = false;
    bool FExpanded = false;
    TCvHeaderSection* FParentSection = nullptr;
    TPopupMenu* FPopupMenu = nullptr;
    bool FLookupEnabled = false;
    TStringList FLookupHistory;
    bool FParentColor = true;
    TColor FColor = 0;
    TColor FFontColor = 0;
    bool FUseMainStyle = false;
    TCvTextLayout FTextLayout = tlCenter;
    bool FFilterEnabled = false;
    bool FFilterIsActive = false;
    String FHint;
    bool FAutoSize = false;
    bool FShowSortMark = true;

    int FSectionIndex = 0;
    std::int32_t FSectionId = 0;
    float FShareOfWidth = 0;
    int FSavedWidth = -1;
    std::string FPopupMenuName;
    int FParentIndexOnLoad = -1;
};

// ------------------------------------------------------------ the collection

// The sections of one header in display order; it owns them.
class TCvHeaderSections : public TPersistent {
public:
    explicit TCvHeaderSections(TCustomCvHeader* AHeader) : FHeader(AHeader) {}
    ~TCvHeaderSections() override;
    TCvHeaderSections(const TCvHeaderSections&) = delete;
    TCvHeaderSections& operator=(const TCvHeaderSections&) = delete;

    void Assign(const TPersistent& Source) override;

    TCustomCvHeader* Header() const { return FHeader; }
    int SectionCount() const { return static_cast<int>(FItems.size()); }
    TCvHeaderSection* ItemAt(int Position) const;
    // Null when no section has that number.
    virtual TCvHeaderSection* ItemByIndex(int SectionIndex) const;
    virtual TCvHeaderSection* FindById(std::int32_t Id) const;
    int IndexOf(const TCvHeaderSection* Section) const;

    TCvHeaderSection* AppendSection() { return InsertSection(SectionCount()); }
    TCvHeaderSection* InsertSection(int Position);
    void DeleteSection(TCvHeaderSection* Section);
    void MoveSection(TCvHeaderSection* Section, int Position);
    // Frees every section without notices.
    void RemoveAllSections();

    TCvHeaderSection* LastVisibleSection() const;
    TCvHeaderSection* PrevVisibleSection(const TCvHeaderSection* Section) const;

    // The "Data" stream: written as version -12; read from every version stored layouts hold.
    virtual void SaveToStream(TStream& Stream) const;
    virtual void LoadFromStream(TStream& Stream);

    // "i<index>:w<width>:v<t|f>," per section in list order.
    std::string SectionsOrder() const;
    void SetSectionsOrder(const std::string& Value);

protected:
    virtual std::unique_ptr<TCvHeaderSection> CreateSection();

private:
    friend class TCvHeaderSection;
    std::int32_t UniqueSectionId(const TCvHeaderSection* Section) const;
    int SmallestFreeIndex() const;
    void Renumber();

    TCustomCvHeader* FHeader;
    std::vector<std::unique_ptr<TCvHeaderSection>> FItems;
};

// ------------------------------------------------------------ the control

using TCvHeaderSectionEvent = std::function<void(TObject* Sender, TCvHeaderSection* Section)>;
using TPictureNeededEvent =
    std::function<void(TObject* Sender, TCvHeaderSection* Section, int& ImageIndex)>;
using TCvSectionMoveEvent =
    std::function<void(TObject* Sender, TCvHeaderSection* Section, int OldPos, int NewPos)>;
using TCvSectionResizingEvent = std::function<void(TObject* Sender, TCvHeaderSection* Section,
                                                   TCvSectionResizingState State, int Width)>;
using TCvSectionRedrawEvent = std::function<void(
    TObject* Sender, TCanvas& Canvas, TCvHeaderSection* Section, const TRect& R, bool Pressed)>;
using TSectionChangeEvent =
    std::function<void(TObject* Sender, TCvHeaderSection* Section, TSectionChangeMode Change)>;
using TCvHeaderLookupEvent =
    std::function<void(TObject* Sender, TCvHeaderSection* Section, String& Text)>;
using TCvHeaderLookupDoneEvent = std::function<void(TObject* Sender, TCvHeaderSection* Section,
                                                    const String& Text, bool Accepted)>;
using TMeasureSectionEvent =
    std::function<void(TObject* Sender, TCvHeaderSection* Section, TSize& Size)>;

// The five small pictures the header draws from; made once and shared by every header.
struct TCvHeaderBitmaps {
    TBitmap Ascend;     // 9 x 6
    TBitmap Descend;    // 9 x 6
    TBitmap LeftArrow;  // 5 x 7
    TBitmap RightArrow; // 5 x 7
    TBitmap Point;      // 5 x 5
};
const TCvHeaderBitmaps& HeaderBitmaps();
// Inverts a one-pixel column from the top of DC: drawn twice, it leaves no trace.
void InvertColumn(HDC DC, int X, int Height);
// A section's background in the drag look: a quarter less lightness.
TColor DragLookColor(TColor Background);

// Keeps the visible widths summing to ClientWidth - 1; see the layout rules in the source.
class TCustomCvHeader : public TCvXPThemedControl {
public:
    explicit TCustomCvHeader(TComponent* AOwner);
    ~TCustomCvHeader() override;

    TCvHeaderSections& Sections() { return *FSections; }
    const TCvHeaderSections& Sections() const { return *FSections; }
    void SetSections(const TCvHeaderSections& Value) { FSections->Assign(Value); }
    int SectionsWidth() const;

    int DefaultWidth = 120;
    bool AllowDrag = true;
    bool MoveOnDrag = false;
    bool ResizeOnDrag = false;
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value);
    bool StickySections() const { return FStickySections; }
    void SetStickySections(bool Value);
    bool MultiSort = false;
    bool InvertSortArrows() const { return FInvertSortArrows; }
    void SetInvertSortArrows(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool LockHeight() const { return FLockHeight; }
    void SetLockHeight(bool Value);
    bool WrapCaptions() const { return FWrapCaptions; }
    virtual void SetWrapCaptions(bool Value);
    // Right-to-left reading with mirrored alignment; the window is made again for it.
    bool RightAlignedText() const { return FRightAlignedText; }
    void SetRightAlignedText(bool Value);
    // The sections in reverse order.
    bool RightAlignedOrder() const { return FRightAlignedOrder; }
    void SetRightAlignedOrder(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TColor FilterColor() const { return FFilterColor; }
    void SetFilterColor(TColor Value);
    TColor ActiveFilterColor() const { return FActiveFilterColor; }
    void SetActiveFilterColor(TColor Value);
    // The wide hint; the class library's Hint holds it packed.
    const String& WideHint() const { return FWideHint; }
    void SetWideHint(const String& Value);

    int ScrollOffset() const { return FScrollOffset; }
    void SetScrollOffset(int Value);
    TCvHeaderSection* LockedSection() const { return FLockedSection; }
    void SetLockedSection(TCvHeaderSection* Value) { FLockedSection = Value; }

    // Geometry in client coordinates; see the source for how the locked section stays put.
    TCvHeaderSection* SectionAt(int X, int Y) const;
    TRect SectionRect(int SectionIndex) const;
    void InvalidateFrom(int SectionIndex);
    void LockUpdates();
    void UnlockUpdates();
    void Update() override;
    // The natural width of a section; TextWidth and Height get the caption's extent.
    int MeasureSectionWidth(TCvHeaderSection* Section, int& TextWidth, int& Height);
    void AdjustHeightToFont();
    // The height AdjustHeightToFont gives.
    int MeasuredHeight();
    void ComputeWidthShares();
    void FitSections(const TCvHeaderSection* Except);
    bool IsLoading() const;
    bool ApplyingSticky() const { return FApplyingSticky; }
    // The header's width as its layout rules see it.
    int HeaderWidth() const { return Width(); }

    // Draws one section into R of Canvas; DragLook is the see-through copy that follows the mouse.
    void DrawSection(TCanvas& Canvas, TCvHeaderSection* Section, bool DragLook, const TRect& R);

    // Mouse interaction state, read by the tree and by tests.
    TCvHeaderSection* PressedSection() const { return FPressedSection; }
    TCvHeaderSection* HotSection() const { return FHotSection; }
    TCvHeaderSection* DragSection() const { return FDragSection; }
    TCvHeaderSection* ResizeSection() const { return FResizing ? FResizeSection : nullptr; }
    // The inverted line's x while a resize without ResizeOnDrag runs.
    int ResizeLineX() const { return FResizeLineX; }
    virtual bool InResizeArea(int X, TCvHeaderSection*& Section) const;

    // Opens the lookup box over Section, with its history; Enter takes the text, Escape or
    // leaving the box drops it (OnHeaderLookupDone either way).
    void ShowLookup(TCvHeaderSection* Section);
    TComboBox* LookupBox() const { return FLookupBox; }
    TCvHeaderSection* LookupSection() const { return FLookupSection; }
    // The section whose hint shows, or null.
    TCvHeaderSection* HintSection() const { return FHintSection; }

    TPictureNeededEvent OnPictureNeeded;
    TCvHeaderSectionEvent OnSectionShowHide;
    TCvHeaderSectionEvent OnSectionDelete;
    TCvSectionMoveEvent OnSectionMove;
    TCvSectionResizingEvent OnSectionResizing;
    TCvHeaderSectionEvent OnSectionResize;
    TCvHeaderSectionEvent OnSectionClick;
    TCvSectionRedrawEvent OnSectionDraw;
    TSectionChangeEvent OnSectionChange;
    TCvHeaderSectionEvent OnSectionExpand;
    TCvHeaderSectionEvent OnSectionCollapse;
    TCvHeaderSectionEvent OnSectionCreate;
    TCvHeaderLookupEvent OnHeaderLookup;
    TCvHeaderLookupDoneEvent OnHeaderLookupDone;
    TCvHeaderSectionEvent OnSectionAutoSize;
    TCvHeaderSectionEvent OnFilterCall;
    TMeasureSectionEvent OnMeasureSection;
    TCvHTMLImageNeededEvent OnHTMLImageNeeded;
    // The header's size changed (its own height through images, buttons or wrapped captions, or
    // bounds given by its parent).
    TNotifyEvent OnResize;

    virtual int GetSectionPicture(TCvHeaderSection* Section);
    virtual void NotifySectionShowHide(TCvHeaderSection* Section);
    virtual void NotifySectionDelete(TCvHeaderSection* Section);
    virtual void NotifySectionMove(TCvHeaderSection* Section, int OldPos, int NewPos);
    virtual void NotifySectionResizing(TCvHeaderSection* Section, TCvSectionResizingState State,
                                       int NewWidth);
    virtual void NotifySectionResize(TCvHeaderSection* Section);
    virtual void NotifySectionClick(TCvHeaderSection* Section);
    virtual void NotifySectionDraw(TCanvas& Canvas, TCvHeaderSection* Section, const TRect& R,
                                   bool Pressed);
    virtual void NotifySectionChange(TCvHeaderSection* Section, TSectionChangeMode Change);
    virtual void NotifySectionExpand(TCvHeaderSection* Section);
    virtual void NotifySectionCollapse(TCvHeaderSection* Section);
    virtual void NotifySectionCreate(TCvHeaderSection* Section);
    virtual void NotifyHeaderLookup(TCvHeaderSection* Section, String& Text);
    virtual void NotifyHeaderLookupDone(TCvHeaderSection* Section, const String& Text,
                                        bool Accepted);
    virtual void NotifySectionAutoSize(TCvHeaderSection* Section);
    virtual void NotifyFilterCall(TCvHeaderSection* Section);
    virtual void NotifyMeasureSection(TCvHeaderSection* Section, TSize& Size);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    String GetThemedClassName() const override { return L"HEADER"; }
    void CreateParams(TCreateParams& Params) const override;
    void Paint() override;
    void WndProc(TMessage& Message) override;
    void WMWindowPosChanged(TWMWindowPosChanged& Message) override;
    void FontChanged() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void DoExit() override;
    // A lost capture ends a resize, a drag or a press as a left release at (-1, -1) would.
    void CaptureLost() override;
    // The split cursor over a resizable edge and while one is resized.
    bool WMSetCursor(TWMSetCursor& Message) override;

private:
    friend class TCvHeaderSection;
    friend class TCvHeaderSections;

    void InvalidateFromSection(const TCvHeaderSection* Section);
    void ImagesChanged();
    int VisibleWidthSum() const;
    int SectionImage(TCvHeaderSection* Section);
    void MeasureCaption(TCvHeaderSection* Section, TCanvas& Canvas, int& TextWidth,
                        int& TextHeight);
    void DrawImage(TCanvas& Canvas, int Index, int X, int Y, const TRect& Clip);
    void PaintRest(TCanvas& C);
    void DrawCaption(TCanvas& Canvas, TCvHeaderSection* Section, const TRect& Area, TColor Back,
                     bool Themed);
    void SizeChanged();
    void ApplyStickyWidths();
    void SectionDeleted(TCvHeaderSection* Section);
    bool IsThemed() const;
    int ShiftOf(const TCvHeaderSection* Section) const;
    void EnsureButtonHeight();
    // Mouse gestures.
    void StartResize(TCvHeaderSection* Section, int X);
    void ToggleResizeLine();
    void EndResize();
    void ResizeTo(int X);
    void StartDrag();
    void MakeDragImage();
    void DragTo(int X, int Y);
    void EndDrag(int X, int Y);
    void PressAt(int X, int Y);
    void ReleaseAt(int X, int Y);
    void ReverseSections();
    void ForgetHot();
    void MouseLeft();
    void CancelGestures();
    bool ShowSectionMenu(int X, int Y);
    void RefreshHint(int X, int Y);
    void HintShow(THintInfo& Info);
    void LookupChanged();
    void LookupKeyDown(WORD& Key, TShiftState Shift);
    void LookupKeyUp(WORD& Key, TShiftState Shift);
    void CloseLookup(bool Accepted);

    std::unique_ptr<TCvHeaderSections> FSections;
    std::unique_ptr<TCvHTMLRender> FHTML;
    TChangeLink FImageLink;
    bool FSizing = false;
    TCvHeaderSection* FHintSection = nullptr;
    String FShownHint; // the text HintShow last gave
    bool FTracking = true;
    bool FRightAlignedText = false;
    bool FRightAlignedOrder = false;
    bool FStickySections = false;
    bool FInvertSortArrows = false;
    bool FFlat = false;
    bool FLockHeight = false;
    bool FWrapCaptions = false;
    TCustomImageList* FImages = nullptr;
    TColor FFilterColor = clBtnText;
    TColor FActiveFilterColor = clBlack;
    String FWideHint;
    int FScrollOffset = 0;
    TCvHeaderSection* FLockedSection = nullptr;
    int FUpdateLock = 0;
    bool FPendingCreate = false;
    bool FPendingDelete = false;
    bool FApplyingSticky = false;
    int FLastStickyWidth = -1;
    TSize FNotifiedSize{-1, -1};
    bool FPainting = false;

    // Interaction.
    TCvHeaderSection* FPressedSection = nullptr;
    bool FPressed = false;
    bool FPressedKept = false; // the mouse left while pressing: the look comes back on return
    TPoint FMouseDown;
    TCvHeaderSection* FHotSection = nullptr;
    bool FMouseInside = false;
    TCvHeaderSection* FDragSection = nullptr;
    TCvHeaderSection* FDropSection = nullptr;
    TCvHeaderSection* FResizeSection = nullptr;
    bool FResizing = false;
    int FResizeLineX = 0;
    int FResizeGrab = 0;
    THeldDC FResizeDC;
    bool FResizeLineShown = false;
    int FLastDragX = 0;
    std::unique_ptr<TBitmap> FDragImage; // see-through where the drag look's background is
    bool FMenuShownOnPress = false;      // the release's context menu is not shown again

    // The lookup box: owned as a component, parented by the header's parent.
    TComboBox* FLookupBox = nullptr;
    TCvHeaderSection* FLookupSection = nullptr; // while the box is open
    bool FSettingLookupText = false;
    HWND FFocusBeforeLookup = nullptr;
};

// TCustomCvHeader with the published face; it adds no behaviour.
class TCvHeader : public TCustomCvHeader {
public:
    using TCustomCvHeader::TCustomCvHeader;
};
