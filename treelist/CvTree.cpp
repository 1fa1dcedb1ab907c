// The tree-list control: its parts, properties and the wiring of its header and view.
#include "treelist/CvTree.h"

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/WinApi.h"
#include "classlib/gui/WindowProbe.h"
#include "treelist/CvHook.h"
#include "treelist/CvTreeError.h"

#include <algorithm>

// The header as the model reads it: sections by their index.
class TCustomCvTree::THeaderLink : public ICvTreeHeader {
public:
    explicit THeaderLink(TCvHeader& AHeader) : FHeader(AHeader) {}
    int SectionCount() const override { return FHeader.Sections().SectionCount(); }
    TCvFieldType FieldType(int SectionIndex) const override {
        const TCvHeaderSection* S = FHeader.Sections().ItemByIndex(SectionIndex);
        return S ? S->FieldType() : sftText;
    }
    TCvSortMark SortMark(int SectionIndex) const override {
        const TCvHeaderSection* S = FHeader.Sections().ItemByIndex(SectionIndex);
        return S ? S->SortMode() : hsmNone;
    }

private:
    TCvHeader& FHeader;
};

// The change timer of the delayed focus event.
class TCustomCvTree::TChangeTimer : public ICvTreeTimer {
public:
    explicit TChangeTimer(TCvTreeCore& Tree) : FTimer(nullptr) {
        FTimer.SetEnabled(false);
        FTimer.OnTimer = [&Tree](TObject*) { Tree.ChangeTimerTick(); };
    }
    void Start(int IntervalMs) override {
        FTimer.SetEnabled(false);
        FTimer.SetInterval(static_cast<UINT>(std::max(1, IntervalMs)));
        FTimer.SetEnabled(true);
    }
    void Stop() override { FTimer.SetEnabled(false); }

private:
    TTimer FTimer;
};

namespace {

// Measures on a memory DC of the screen. Rows are measured one after another with fonts made
// afresh for each but mostly alike: the font stays selected and is made and selected again only
// when face, height or style differ (a selection costs more than the measuring).
class TScreenMeasurer : public ICvTextMeasurer {
public:
    TScreenMeasurer() : FOriginal(GetCurrentObject(FDC.Handle(), OBJ_FONT)) {}
    ~TScreenMeasurer() override { SelectObject(FDC.Handle(), FOriginal); }
    TScreenMeasurer(const TScreenMeasurer&) = delete;
    TScreenMeasurer& operator=(const TScreenMeasurer&) = delete;

    TSize TextSize(const TFont& Font, const TCvString& Text, UINT Flags, int Width) override {
        if (!FSelected || Font.Name() != FFont.Name() || Font.Height() != FFont.Height() ||
            Font.Style() != FFont.Style()) {
            // The old handle is deselected before the copy deletes it.
            SelectObject(FDC.Handle(), FOriginal);
            FFont.Assign(Font);
            SelectObject(FDC.Handle(), FFont.Handle());
            FSelected = true;
        }
        TRect R(0, 0, std::max(Width, 1), 0);
        DrawTextWide(FDC.Handle(), Text.c_str(), static_cast<int>(Text.size()), R,
                     Flags | DT_CALCRECT);
        return TSize{R.Width(), R.Height()};
    }

private:
    TMemoryDC FDC{nullptr};
    TFont FFont;
    const HGDIOBJ FOriginal;
    bool FSelected = false;
};

} // namespace

bool UsesStateImage(const TCvTreeItem& Item) {
    return Item.HasState(TCvItemState::Focused) || Item.HasState(TCvItemState::Selected) ||
           Item.HasState(TCvItemState::Expanded);
}

// ------------------------------------------------------------------ creation

TCustomCvTree::TCustomCvTree(TComponent* AOwner)
    : TCvXPThemedControl(AOwner), FHeaderLink(nullptr),
      FScreenMeasurer(std::make_unique<TScreenMeasurer>()), FMeasurer(FScreenMeasurer.get()) {
    StartTreeUnit();
    ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(Left(), Top(), 200, 100);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);

    FView = new TCvTreeView(this);
    FView->SetTabStop(true);
    ForwardViewEvents();

    FHorzBar = new TCvScrollBar(this);
    FHorzBar->SetKind(sbHorizontal);
    FHorzBar->SetVisible(false);
    FHorzBar->SetHeight(GetSystemMetrics(SM_CYVTHUMB));
    FHorzBar->OnScroll = [this](TObject* S, TCvScrollCode C, int& P, bool& D) {
        FView->ScrollHorz(S, C, P, D);
    };
    FHorzBar->OnDrawPart = [this](auto&&... Args) {
        if (OnHorzScrollDrawPart)
            OnHorzScrollDrawPart(Args...);
    };
    FHorzBar->OnScrollHintNeeded = [this](TObject* S, int Pos, String& Hint) {
        if (OnHorzScrollHintNeeded)
            OnHorzScrollHintNeeded(S, Pos, Hint);
    };
    // A press on either bar gives the rows the keyboard focus, as a press on them would.
    FHorzBar->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
        FView->FocusView();
    };
    FHorzStyles = std::make_unique<TCvScrollBarStyles>(FHorzBar, this);
    FHorzStyles->OnChange = [this](TObject*) {
        if (!FLayingOut) {
            LayoutParts();
            UpdateScrollBars();
        }
    };

    FVertBar = new TCvScrollBar(this);
    FVertBar->SetKind(sbVertical);
    FVertBar->SetVisible(false);
    FVertBar->SetWidth(GetSystemMetrics(SM_CXHTHUMB));
    FVertBar->ShowTrackHint = true;
    FVertBar->OnMouseDown = FHorzBar->OnMouseDown;
    FVertBar->OnScroll = [this](TObject* S, TCvScrollCode C, int& P, bool& D) {
        FView->ScrollVert(S, C, P, D);
    };
    FVertBar->OnDrawPart = [this](auto&&... Args) {
        if (OnVertScrollDrawPart)
            OnVertScrollDrawPart(Args...);
    };
    FVertBar->OnScrollHintNeeded = [this](TObject* S, int Pos, String& Hint) {
        if (OnVertScrollHintNeeded)
            OnVertScrollHintNeeded(S, Pos, Hint);
        if (!Hint.empty())
            return;
        if (TCvTreeItem* Top = Items().GetVisItem(Pos))
            Hint = ColumnText(Top, SortSection());
    };
    FVertStyles = std::make_unique<TCvScrollBarStyles>(FVertBar, this);
    FVertStyles->OnChange = FHorzStyles->OnChange;

    FHeader = new TCvHeader(this);
    FHeader->SetAlign(alNone);
    FHeader->SetTabStop(false);
    FHeader->SetVisible(false);
    FHeader->AllowDrag = false;
    FHeader->MultiSort = true;
    FHeader->SetFont(Font());
    FHeaderLink = std::make_unique<THeaderLink>(*FHeader);
    TCvTreeCore::SetHeader(FHeaderLink.get());
    WireHeader();

    SetView(FView);
    FontSize = Font().Size();
    FontName = Font().Name();
    SetLineHeight(0);
    FImageLink.OnChange = [this](TObject*) {
        if (!FView->Painting())
            DeriveLineHeight();
    };
    FBackground.OnChange = [this](TObject*) { BackgroundChanged(); };
    FHeaderFont.Assign(Font());
    FHeaderFont.OnChange = [this](TObject*) { ApplyHeaderFont(); };
    const TNotifyEvent GlyphChanged = [this](TObject*) {
        if (FCustomCheckboxes && !FView->Painting())
            DeriveLineHeight();
    };
    FCheckBoxGlyph.OnChange = GlyphChanged;
    FRadioButtonGlyph.OnChange = GlyphChanged;
    const TNotifyEvent PictureChanged = [this](TObject*) {
        if (FCustomPlusMinus && !FView->Painting())
            DeriveLineHeight();
    };
    FPlusPicture.OnChange = PictureChanged;
    FMinusPicture.OnChange = PictureChanged;
    FLeafPicture.OnChange = PictureChanged;
    FChangeTimer = std::make_unique<TChangeTimer>(*this);
    SetChangeTimer(FChangeTimer.get());
    FFormHook = new TCvHook(this);
    FFormHook->OnBeforeProcess = [this](TObject*, TMessage& Msg, bool&) {
        if (Msg.Msg == WM_ENTERSIZEMOVE)
            InSizeMove = true;
        else if (Msg.Msg == WM_EXITSIZEMOVE)
            InSizeMove = false;
    };
    DragCursor = crDrag;

    FView->SetParent(this);
    FHorzBar->SetParent(this);
    FVertBar->SetParent(this);
    FHeader->SetParent(this);
}

TCustomCvTree::~TCustomCvTree() {
    // The items go (with their deletion events) in the core's destructor, after the view and
    // header links are cut here.
    BeginDestroy();
    FView->Shutdown();
    FView->ClearRows();
    SetView(nullptr);
    TCvTreeCore::SetHeader(nullptr);
    SetChangeTimer(nullptr);
    SetImageList(FImages, nullptr);
    SetImageList(FImages2, nullptr);
}

void TCustomCvTree::ForwardViewEvents() {
    const auto Shifted = [this](int& X, int& Y) {
        X += FView->Left();
        Y += FView->Top();
    };
    FView->OnMouseDown = [this, Shifted](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
        Shifted(X, Y);
        DoMouseDownNotify(B, S, X, Y);
    };
    FView->OnMouseUp = [this, Shifted](TObject*, TMouseButton B, TShiftState S, int X, int Y) {
        Shifted(X, Y);
        DoMouseUpNotify(B, S, X, Y);
    };
    FView->OnMouseMove = [this, Shifted](TObject*, TShiftState S, int X, int Y) {
        Shifted(X, Y);
        DoMouseMoveNotify(S, X, Y);
    };
    FView->OnClick = [this](TObject*) { DoClick(); };
    FView->OnDblClick = [this](TObject*) { DoDblClick(); };
    FView->OnEnter = [this](TObject*) { DoEnterNotify(); };
    FView->OnExit = [this](TObject*) { DoExitNotify(); };
    FView->OnKeyDown = [this](TObject*, WORD& Key, TShiftState S) { DoKeyDownNotify(Key, S); };
    FView->OnKeyUp = [this](TObject*, WORD& Key, TShiftState S) { DoKeyUpNotify(Key, S); };
    FView->OnKeyPress = [this](TObject*, wchar_t& Key) { DoKeyPressNotify(Key); };
    FView->OnMouseWheel = [this](TObject*, TShiftState S, int Delta, TPoint Pos, bool& Handled) {
        if (OnMouseWheel)
            OnMouseWheel(this, S, Delta, Pos, Handled);
    };
    // A tree's rows are dragged by its view: the tree stands for it, also in another tree.
    const auto SourceOf = [](TObject* Source) -> TObject* {
        if (auto* View = dynamic_cast<TCvTreeView*>(Source))
            return &View->Tree();
        return Source;
    };
    FView->OnDragOver = [this, Shifted, SourceOf](TObject*, TObject* Source, int X, int Y,
                                                  TDragState State, bool& Accept) {
        Accept = false;
        Shifted(X, Y);
        DoDragOver(SourceOf(Source), X, Y, State, Accept);
    };
    FView->OnDragDrop = [this, Shifted, SourceOf](TObject*, TObject* Source, int X, int Y) {
        Shifted(X, Y);
        DoDragDrop(SourceOf(Source), X, Y);
    };
}

void TCustomCvTree::CreateParams(TCreateParams& Params) const {
    TCvXPThemedControl::CreateParams(Params);
    Params.WindowClassStyle &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
    Params.Style |= WS_CLIPCHILDREN;
    if (!FUseCustomScrollBars)
        Params.Style |= WS_HSCROLL | WS_VSCROLL;
    if (FRightAlignedText)
        Params.ExStyle |= WS_EX_RTLREADING | WS_EX_RIGHT;
}

void TCustomCvTree::CreateWnd() {
    TCvXPThemedControl::CreateWnd();
    FFramePosted = false;
    // The form being moved or sized paints without the double-buffer shortcut.
    FFormHook->SetControl(FindParentForm(this));
    FFormHook->SetActive(FDoubleBuffered);
    LayoutParts();
}

// ------------------------------------------------------------ property effects

void TCustomCvTree::MarkRelayout() {
    TCvTreeBatch Batch(*this);
    RepaintAll = true;
    ViewUpdatePending = true;
    if (!ShowColumns())
        MaxRowWidth = -1;
}

void TCustomCvTree::RebuildAndRepaint() {
    TCvTreeBatch Batch(*this);
    MarkRowsChanged();
}

void TCustomCvTree::DeriveLineHeight() {
    if (IsDestroying())
        return;
    // The end of the batch derives the height and rebuilds the rows when it changed.
    TCvTreeBatch Batch(*this);
    RepaintAll = true;
    ViewUpdatePending = true;
    if (!ShowColumns())
        MaxRowWidth = -1;
}

void TCustomCvTree::SetShowColumns(bool Value) {
    TCvTreeBatch Batch(*this);
    TCvTreeCore::SetShowColumns(Value);
    if (FBackgroundType != bgtColorFill && FBackgroundType != bgtCenterBitmap)
        FView->PrepareBackground();
    LayoutParts();
}

void TCustomCvTree::SetBkColor(TColor Value) {
    if (Value == FBkColor)
        return;
    FBkColor = Value;
    BackgroundChanged();
    RebuildAndRepaint();
}

void TCustomCvTree::SetTextColor(TColor Value) {
    if (Value == FTextColor)
        return;
    FTextColor = Value;
    RebuildAndRepaint();
}

void TCustomCvTree::SetLineHeight(int Value) {
    TCvTreeBatch Batch(*this);
    TCvTreeCore::SetLineHeight(Value);
}

void TCustomCvTree::SetAutoLineHeight(bool Value) {
    if (Value == AutoLineHeight)
        return;
    AutoLineHeight = Value;
    DeriveLineHeight();
}

void TCustomCvTree::SetItemIndent(int Value) {
    if (Value == FItemIndent)
        return;
    FItemIndent = Value;
    DeriveLineHeight();
}

void TCustomCvTree::SetShowImages(bool Value) {
    if (Value == ShowImages)
        return;
    ShowImages = Value;
    DeriveLineHeight();
}

void TCustomCvTree::SetShowEmptyImages(bool Value) {
    if (Value == ShowEmptyImages)
        return;
    ShowEmptyImages = Value;
    if (ShowImages && FImages)
        MarkRelayout();
}

void TCustomCvTree::SetShowEmptyImages2(bool Value) {
    if (Value == ShowEmptyImages2)
        return;
    ShowEmptyImages2 = Value;
    if (ShowImages && FImages)
        MarkRelayout();
}

void TCustomCvTree::SetShowCheckboxes(bool Value) {
    if (Value == ShowCheckboxes)
        return;
    ShowCheckboxes = Value;
    DeriveLineHeight();
}

int TCustomCvTree::CheckBoxSize() const {
    if (!IsThemeApplied())
        return FCheckBoxSize;
    if (FSizedTheme != Theme()) {
        SIZE Size{};
        FThemedCheckBoxSize = ThemedClassPartSize(L"BUTTON", 3, 1, Size) ? Size.cx : FCheckBoxSize;
        FSizedTheme = Theme();
    }
    return FThemedCheckBoxSize;
}

void TCustomCvTree::SetCheckBoxSize(int Value) {
    if (Value == FCheckBoxSize)
        return;
    FCheckBoxSize = Value;
    FSizedTheme = nullptr;
    if (ShowCheckboxes)
        MarkRelayout();
}

void TCustomCvTree::SetCustomCheckboxes(bool Value) {
    if (Value == FCustomCheckboxes)
        return;
    FCustomCheckboxes = Value;
    if (ShowCheckboxes)
        DeriveLineHeight();
}

void TCustomCvTree::SetHorizontalLines(bool Value) {
    if (Value == FHorizontalLines)
        return;
    FHorizontalLines = Value;
    DeriveLineHeight();
}

void TCustomCvTree::SetBarStyle(bool Value) {
    if (Value == FBarStyle)
        return;
    FBarStyle = Value;
    if (Value) {
        FBkColor = clBtnFace;
        FTextColor = clBtnText;
        FLinesColor = clBtnShadow;
        BackgroundChanged();
    }
    DeriveLineHeight();
}

void TCustomCvTree::BackgroundChanged() {
    if (IsUpdating() && FBackgroundType != bgtColorFill)
        return;
    FView->PrepareBackground();
    if (!IsLoading())
        RepaintNowOrLater();
}

void TCustomCvTree::SetBackgroundType(TCvBkGndType Value) {
    const bool NeedsBitmap = FBackgroundType == bgtTileBitmap ||
                             FBackgroundType == bgtStretchBitmap ||
                             FBackgroundType == bgtCenterBitmap;
    if (Value == FBackgroundType)
        return;
    FBackgroundType = FBackground.Empty() && NeedsBitmap ? bgtColorFill : Value;
    BackgroundChanged();
}

void TCustomCvTree::SetGradientStartColor(TColor Value) {
    if (Value == FGradientStartColor)
        return;
    FGradientStartColor = Value;
    BackgroundChanged();
}

void TCustomCvTree::SetGradientEndColor(TColor Value) {
    if (Value == FGradientEndColor)
        return;
    FGradientEndColor = Value;
    BackgroundChanged();
}

void TCustomCvTree::SetGradientSteps(int Value) {
    if (Value < 1 || Value == FGradientSteps)
        return;
    FGradientSteps = Value;
    BackgroundChanged();
}

void TCustomCvTree::SetRightAlignedText(bool Value) {
    if (Value == FRightAlignedText)
        return;
    FRightAlignedText = Value;
    FHeader->SetRightAlignedText(Value);
    if (TCvXPThemedControl::HandleAllocated())
        RecreateWnd();
}

void TCustomCvTree::SetRightAlignedTree(bool Value) {
    if (Value == FRightAlignedTree)
        return;
    FRightAlignedTree = Value;
    FHeader->SetRightAlignedOrder(Value);
    MarkRelayout();
}

void TCustomCvTree::SetDoubleBuffered(bool Value) {
    FDoubleBuffered = Value;
    FFormHook->SetActive(Value);
}

void TCustomCvTree::SetUseXPThemes(bool Value) {
    TCvXPThemedControl::SetUseXPThemes(Value);
    FHorzBar->SetUseXPThemes(Value);
    FVertBar->SetUseXPThemes(Value);
    FHeader->SetUseXPThemes(Value);
}

void TCustomCvTree::SetLinkColor(TColor Value) {
    if (Value == FLinkColor)
        return;
    FLinkColor = Value;
    RenderAllHTML();
    RepaintNowOrLater();
}

void TCustomCvTree::SetLinkStyle(TFontStyles Value) {
    if (Value == FLinkStyle)
        return;
    FLinkStyle = Value;
    RenderAllHTML();
    RepaintNowOrLater();
}

void TCustomCvTree::SetRowSelect(bool Value) {
    if (Value == FRowSelect)
        return;
    FRowSelect = Value;
    if (!Value)
        FullRowSelect = false;
    RebuildAndRepaint();
}

void TCustomCvTree::SetSelectColumn(int Value) {
    if (Value == FSelectColumn)
        return;
    if ((Value < -1 || Value >= SectionCount()) && !IsLoading())
        return;
    FSelectColumn = Value;
    if (!FRowSelect)
        RepaintNowOrLater();
}

void TCustomCvTree::SetDblClickMode(TCvDblClickMode Value) {
    FDblClickMode = Value;
    if (Value != dcmExpand)
        FExpandOnDblClick = false;
}

void TCustomCvTree::SetExpandOnDblClick(bool Value) {
    FExpandOnDblClick = Value;
    if (Value)
        FDblClickMode = dcmExpand;
}

void TCustomCvTree::SetDragType(TCvDragType Value) {
    FDragType = Value;
    FView->UpdateOleTarget();
}

void TCustomCvTree::SetImageList(TCustomImageList*& Field, TCustomImageList* Value) {
    if (Field == Value)
        return;
    TCvTreeBatch Batch(*this);
    if (Field)
        Field->UnRegisterChanges(&FImageLink);
    SetNotifiedReference(Field, Value);
    if (Value)
        Value->RegisterChanges(&FImageLink);
    if (IsDestroying())
        return;
    ImageListChanged();
    if (ShowColumns() && &Field == &FImages)
        if (TCvHeaderSection* Main = SectionOf(MainTreeColumn()); Main && Main->AutoSize())
            AutoSizeColumn(MainTreeColumn());
}

void TCustomCvTree::ImageListChanged() {
    DeriveLineHeight();
    if (!ShowColumns())
        MaxRowWidth = -1;
}

void TCustomCvTree::Notification(TComponent* AComponent, TOperation Operation) {
    TCvXPThemedControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages) {
        FImages = nullptr;
        ImageListChanged();
    }
    if (AComponent == FImages2) {
        FImages2 = nullptr;
        ImageListChanged();
    }
}

void TCustomCvTree::SetLeftPosition(int Value) {
    FView->SetHPosition(Value);
}

void TCustomCvTree::SetTopIndex(int Value) {
    FView->SetTopIndex(Value);
}

void TCustomCvTree::SetUseCustomScrollBars(bool Value) {
    if (Value == FUseCustomScrollBars)
        return;
    FUseCustomScrollBars = Value;
    if (TCvXPThemedControl::HandleAllocated())
        RecreateWnd();
}

void TCustomCvTree::SetHideHorzScrollBar(bool Value) {
    if (Value == FHideHorzScrollBar)
        return;
    FHideHorzScrollBar = Value;
    RebuildAndRepaint();
    LayoutParts();
}

void TCustomCvTree::SetHideVertScrollBar(bool Value) {
    if (Value == FHideVertScrollBar)
        return;
    FHideVertScrollBar = Value;
    RebuildAndRepaint();
    LayoutParts();
}

void TCustomCvTree::SetForcedScrollBars(TScrollStyle Value) {
    if (Value == FForcedScrollBars)
        return;
    FForcedScrollBars = Value;
    TCvTreeBatch Batch(*this);
    ViewUpdatePending = true;
}

void TCustomCvTree::SetScrollbarOpposite(bool Value) {
    if (Value == FScrollbarOpposite)
        return;
    FScrollbarOpposite = Value;
    LayoutParts();
}

void TCustomCvTree::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    if (TCvXPThemedControl::HandleAllocated())
        RecreateWnd();
}

void TCustomCvTree::SetBorderSides(TCvBorderSides Value) {
    if (Value.Bits() == FBorderSides.Bits())
        return;
    FBorderSides = Value;
    if (TCvXPThemedControl::HandleAllocated())
        RecreateWnd();
}

void TCustomCvTree::SetFlat(bool Value) {
    if (Value == FFlat)
        return;
    FFlat = Value;
    if (Value)
        SetCtl3D(true);
    if (TCvXPThemedControl::HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomCvTree::SetActiveBorderType(TCvFlatBorderType Value) {
    FActiveBorderType = Value;
    if (TCvXPThemedControl::HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TCustomCvTree::SetInactiveBorderType(TCvFlatBorderType Value) {
    FInactiveBorderType = Value;
    if (TCvXPThemedControl::HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// ----------------------------------------------------------------- the header

int TCustomCvTree::HeaderHeight() const {
    return FHeader->Height();
}

void TCustomCvTree::SetHeaderHeight(int Value) {
    if (IsLoading()) {
        FLoadedHeaderHeight = Value;
        return;
    }
    FHeader->SetHeight(Value);
    LayoutParts();
    BackgroundChanged();
    RebuildAndRepaint();
}

void TCustomCvTree::SetHeaderHotTrack(bool Value) {
    FHeaderHotTrack = Value;
    FHeader->SetTracking(Value);
}

void TCustomCvTree::SetHeaderUseTreeFont(bool Value) {
    if (Value == FHeaderUseTreeFont)
        return;
    FHeaderUseTreeFont = Value;
    ApplyHeaderFont();
}

void TCustomCvTree::ApplyHeaderFont() {
    FHeader->SetFont(FHeaderUseTreeFont ? Font() : FHeaderFont);
    LayoutParts();
}

void TCustomCvTree::FontChanged() {
    TCvXPThemedControl::FontChanged();
    FontSize = Font().Size();
    FontName = Font().Name();
    if (FHeaderUseTreeFont) {
        FHeaderFont.Assign(Font());
        ApplyHeaderFont();
    }
    DeriveLineHeight();
    RenderAllHTML();
}

TCvHeaderSection* TCustomCvTree::SectionOf(int SectionIndex) const {
    if (SectionIndex < 0)
        return nullptr;
    return FHeader->Sections().ItemByIndex(SectionIndex);
}

void TCustomCvTree::WireHeader() {
    TCvHeader& H = *FHeader;
    H.OnSectionClick = [this](TObject*, TCvHeaderSection* S) {
        DoColumnClick(S->SectionIndex());
        if (SortMode == smClick || SortMode == smAddClick)
            SortByHeaderClick(S, GetKeyState(VK_CONTROL) < 0);
    };
    H.OnSectionResize = [this](TObject*, TCvHeaderSection* S) { HeaderSectionResize(S); };
    H.OnSectionDraw = [this](TObject*, TCanvas& C, TCvHeaderSection* S, const TRect& R, bool P) {
        DoColumnDraw(C, S, R, P);
    };
    H.OnSectionDelete = [this](TObject*, TCvHeaderSection*) { HeaderSectionDelete(); };
    H.OnSectionMove = [this](TObject*, TCvHeaderSection* S, int OldPos, int NewPos) {
        {
            TCvTreeBatch Batch(*this);
            RepaintAll = true;
            ViewUpdatePending = true;
        }
        DoColumnMove(S, OldPos, NewPos);
    };
    H.OnSectionShowHide = [this](TObject*, TCvHeaderSection*) {
        TCvTreeBatch Batch(*this);
        RepaintAll = true;
        ViewUpdatePending = true;
        MaxRowWidth = -1;
        if (FHeader->SectionsWidth() < FView->Width()) {
            FHeader->Invalidate();
            SetLeftPosition(0);
        }
    };
    H.OnSectionChange = [this](TObject*, TCvHeaderSection* S, TSectionChangeMode Mode) {
        if (!S->Visible())
            return;
        if (Mode == scmAlign || (Mode == scmStyle && OwnerDrawByColumn) || Mode == scmPassword) {
            TCvTreeBatch Batch(*this);
            RepaintAll = true;
            ViewUpdatePending = true;
        }
    };
    H.OnSectionCreate = [this](TObject*, TCvHeaderSection*) {
        TCvTreeBatch Batch(*this);
        LayoutParts();
    };
    const auto RepaintView = [this] {
        TCvTreeBatch Batch(*this);
        RepaintAll = true;
        ViewUpdatePending = true;
    };
    H.OnSectionExpand = [this, RepaintView](TObject*, TCvHeaderSection* S) {
        DoHeaderSectionExpand(S);
        RepaintView();
    };
    H.OnSectionCollapse = [this, RepaintView](TObject*, TCvHeaderSection* S) {
        DoHeaderSectionCollapse(S);
        RepaintView();
    };
    H.OnSectionAutoSize = [this](TObject*, TCvHeaderSection* S) { HeaderSectionAutoSize(S); };
    H.OnFilterCall = [this](TObject*, TCvHeaderSection* S) {
        if (OnHeaderSectionFilterCall)
            OnHeaderSectionFilterCall(this, S->SectionIndex());
    };
    H.OnHeaderLookup = [this](TObject*, TCvHeaderSection* S, String& Text) {
        HeaderLookup(S, Text);
    };
    H.OnHeaderLookupDone = [this](TObject*, TCvHeaderSection* S, const String& Text, bool A) {
        DoHeaderLookupDone(S, Text, A);
    };
    H.OnMeasureSection = [this](TObject*, TCvHeaderSection* S, TSize& Size) {
        DoHeaderSectionMeasure(S, Size);
    };
    H.OnHTMLImageNeeded = [this](TObject*, const String& Src, HBITMAP& Image) {
        DoHTMLImageNeeded(Src, Image);
    };
    H.OnResize = [this](TObject*) { HeaderResized(); };
    H.OnMouseDown = [this](TObject*, TMouseButton B, TShiftState Shift, int X, int Y) {
        // A press on the header ends a running edit without taking its text.
        FView->EndEdit(true);
        if (OnHeaderMouseDown)
            OnHeaderMouseDown(this, B, Shift, X, Y);
    };
}

void TCustomCvTree::HeaderSectionResize(TCvHeaderSection* Section) {
    TCvTreeBatch Batch(*this);
    DoColumnResize(Section->SectionIndex());
    RowListDirty = true;
    RepaintRows = true;
    RepaintAll = RepaintAll || FVerticalLines;
    ViewUpdatePending = true;
}

void TCustomCvTree::HeaderSectionDelete() {
    // The header tells once the section is gone and the others are numbered again.
    const int Count = SectionCount();
    if (Count == 0)
        TCvTreeCore::SetShowColumns(false);
    TCvTreeBatch Batch(*this);
    if (ShowColumns())
        RowListDirty = true;
    else
        MaxRowWidth = -1;
    ViewUpdatePending = true;
    RepaintAll = true;
    LayoutParts();
    if (SortSection() >= Count)
        SetSortSection(-1);
    for (const int S : std::vector<int>(SortSections()))
        if (S >= Count)
            RemoveSortSection(S, false);
    if (SortMode == smClick || SortMode == smAddClick)
        ResortPending = true;
}

void TCustomCvTree::HeaderSectionAutoSize(TCvHeaderSection* Section) {
    const int Index = Section->SectionIndex();
    if (Section->AutoSize()) {
        AutoSizeColumn(Index);
        return;
    }
    if (!AutoResizeColumns) {
        if (OnHeaderSectionAutoSize)
            OnHeaderSectionAutoSize(this, Index);
        return;
    }
    int TextWidth = 0, Height = 0;
    const int Caption = FHeader->MeasureSectionWidth(Section, TextWidth, Height);
    Section->SetWidth(std::max(Caption, WidestCell(Index, true)));
}

void TCustomCvTree::HeaderResized() {
    if (FView->Painting() || IsDestroying())
        return;
    {
        TCvTreeBatch Batch(*this);
        RowListDirty = true;
        RepaintRows = true;
        ViewUpdatePending = true;
        // The rows start below the header: a new height moves all of them.
        if (ShowColumns() && FHeader->Height() != FLaidHeaderHeight) {
            RepaintAll = true;
            VisibleCountDirty = true;
            LayoutParts();
        }
    }
    if (FHeader->ScrollOffset() != FLeftPosition)
        FHeader->SetScrollOffset(FLeftPosition);
    DoHeaderResize();
}

void TCustomCvTree::HeaderLookup(TCvHeaderSection* Section, String& Text) {
    DoHeaderLookup(Section, Text);
    if (!AutoLookup || Text.empty())
        return;
    const String Wanted = UpperCase(Text);
    for (int I = 0; I < Items().TotalCount(); ++I) {
        TCvTreeItem* Item = Items().ItemAtIndex(I);
        if (UpperCase(ColumnText(Item, Section->SectionIndex())).starts_with(Wanted)) {
            EnsureVisible(Item);
            SetFocusedItem(Item);
            return;
        }
    }
}

void TCustomCvTree::SortByHeaderClick(TCvHeaderSection* Section, bool Ctrl) {
    TCvTreeBatch Batch(*this);
    const int Index = Section->SectionIndex();
    if (Ctrl) {
        static constexpr TCvSSortMode Next[] = {hsmAscend, hsmDescend, hsmNone};
        const TCvSSortMode Mark = Next[Section->SortMode()];
        Section->SetSortMode(Mark);
        if (Mark == hsmAscend)
            AddSortSection(Index, false);
        else if (Mark == hsmNone)
            RemoveSortSection(Index, false);
    } else {
        FHeader->MultiSort = false;
        for (const int S : std::vector<int>(SortSections()))
            RemoveSortSection(S, false);
        SetSortSection(Index);
        TCvSSortMode Mark = Section->SortMode();
        if (Mark == hsmNone)
            Mark = SortDir == sdAscend ? hsmAscend : hsmDescend;
        else
            Mark = Mark == hsmAscend ? hsmDescend : hsmAscend;
        SortDir = Mark == hsmAscend ? sdAscend : sdDescend;
        SortType = SortTypeOfField(Section->FieldType());
        Section->SetSortMode(Mark);
        FHeader->MultiSort = true;
    }
    // Sort raises OnSortBegin and OnSortEnd around itself.
    Sort(true);
    MarkRowsChanged();
}

// -------------------------------------------------------------- interfaces

TRect TCustomCvTree::GetItemRect(int RowIndex) const {
    TRect R = FView->GetItemRect(RowIndex);
    if (R.IsEmpty())
        return R;
    return TRect(R.Left + FView->Left(), R.Top + FView->Top(), R.Right + FView->Left(),
                 R.Bottom + FView->Top());
}

TCvTreeItem* TCustomCvTree::GetItemAtY(int Y) const {
    return FView->GetItemAtY(Y - FView->Top());
}

TCvTreeItem* TCustomCvTree::GetItemAt(int X, int Y, int& SectionIndex,
                                      TCvItemPart& ItemPart) const {
    return FView->GetItemAt(X - FView->Left(), Y - FView->Top(), SectionIndex, ItemPart);
}

bool TCustomCvTree::IsInView(const TCvTreeItem* Item) const {
    return Item && FView->IsRow(*Item);
}

TCvTreeItem* TCustomCvTree::GetTopItem() const {
    return FView->Rows().empty() ? nullptr : FView->Rows().front();
}

void TCustomCvTree::SetTopItem(TCvTreeItem* Item) {
    if (!Item)
        throw ECvTreeError(L"CvTree item not specified");
    FView->SetTopIndex(Item->VisIndex());
}

void TCustomCvTree::SaveTextToStream(TStream& Stream) {
    for (int I = 0; I < Items().TotalCount(); ++I) {
        const TCvTreeItem* Item = Items().ItemAtIndex(I);
        std::string Line(static_cast<size_t>(std::max(0, Item->Level() - 1)), ' ');
        Line += ToAnsi(Item->Text());
        Line += "\r\n";
        Stream.WriteBuffer(Line.data(), static_cast<std::int64_t>(Line.size()));
    }
}

void TCustomCvTree::Assign(const TPersistent& Source) {
    const auto* Other = dynamic_cast<const TCustomCvTree*>(&Source);
    if (!Other) {
        TCvXPThemedControl::Assign(Source);
        return;
    }
    TCvTreeBatch Batch(*this);
    Items().Assign(Other->Items());
    FLinesStyle = Other->FLinesStyle;
    FLinesColor = Other->FLinesColor;
    DeselectChildrenOnCollapse = Other->DeselectChildrenOnCollapse;
    FDrawFocusRect = Other->FDrawFocusRect;
    SetBarStyle(Other->FBarStyle);
    AlwaysKeepSelection = Other->AlwaysKeepSelection;
    FullRowSelect = Other->FullRowSelect;
    SetDragType(Other->FDragType);
    AutoLookup = Other->AutoLookup;
    FSelectColumn = Other->FSelectColumn;
    AutoExpand = Other->AutoExpand;
    FPlusPicture.Assign(Other->FPlusPicture);
    FMinusPicture.Assign(Other->FMinusPicture);
    FLeafPicture.Assign(Other->FLeafPicture);
    FCustomPlusMinus = Other->FCustomPlusMinus;
    ShowCheckboxes = Other->ShowCheckboxes;
    FShowLeafButton = Other->FShowLeafButton;
    FHideHorzScrollBar = Other->FHideHorzScrollBar;
    FHideVertScrollBar = Other->FHideVertScrollBar;
    FBkColor = Other->FBkColor;
    FTextColor = Other->FTextColor;
    FShowButtons = Other->FShowButtons;
    FShowLines = Other->FShowLines;
    ShowImages = Other->ShowImages;
    FShowRoot = Other->FShowRoot;
    LineHintMode = Other->LineHintMode;
    SetShowColumns(Other->ShowColumns());
    FBorderStyle = Other->FBorderStyle;
    DoInplaceEdit = Other->DoInplaceEdit;
    FHorizontalLines = Other->FHorizontalLines;
    FVerticalLines = Other->FVerticalLines;
    ScrollTracking = Other->ScrollTracking;
    FTracking = Other->FTracking;
    SetHeaderHotTrack(Other->FHeaderHotTrack);
    OwnerDrawByColumn = Other->OwnerDrawByColumn;
    OwnerDrawMask = Other->OwnerDrawMask;
    DragTrgDrawMode = Other->DragTrgDrawMode;
    TCvTreeCore::SetTopIndex(Other->TopIndex());
    AutoLineHeight = Other->AutoLineHeight;
    if (!AutoLineHeight)
        TCvTreeCore::SetLineHeight(Other->LineHeight());
    MarkRowsChanged();
}

void TCustomCvTree::Loaded() {
    TCvXPThemedControl::Loaded();
    TCvTreeBatch Batch(*this);
    TCvTreeCore::Loaded();
    if (FSelectColumn >= SectionCount())
        FSelectColumn = -1;
    if (FLoadedHeaderHeight >= 0) {
        FHeader->SetHeight(FLoadedHeaderHeight);
        FLoadedHeaderHeight = -1;
        BackgroundChanged();
    }
    LayoutParts();
    ApplyHeaderFont();
    AutoSizeAllColumns();
}

// ----------------------------------------------------------------- messages

void TCustomCvTree::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        // Focus goes on to the view; coming back from it (Shift+Tab) it goes further back.
        if (reinterpret_cast<HWND>(Message.WParam) == FView->Handle()) {
            if (TWinControl* Form = FindParentForm(this)) {
                const std::vector<TWinControl*> List = Form->TabList();
                auto It = std::find(List.begin(), List.end(), this);
                if (It != List.end() && It != List.begin())
                    (*(It - 1))->SetFocus();
            }
        } else if (FView->CanFocus()) {
            FView->SetFocus();
        }
        return;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        WindowBarScroll(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam));
        Message.Result = 0;
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FMouseInside = Message.Msg == CM_MOUSEENTER;
        if ((FFlat && FActiveBorderType != FInactiveBorderType) || FUseCustomScrollBars)
            if (TCvXPThemedControl::HandleAllocated())
                RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        break;
    case CM_ENABLEDCHANGED:
        FHorzBar->SetEnabled(Enabled());
        FVertBar->SetEnabled(Enabled());
        break;
    case CM_SYSCOLORCHANGE:
        FHorzBar->Perform(CM_SYSCOLORCHANGE);
        FVertBar->Perform(CM_SYSCOLORCHANGE);
        FHeader->Perform(CM_SYSCOLORCHANGE);
        FView->Perform(CM_SYSCOLORCHANGE);
        break;
    case WM_SIZE:
        TCvXPThemedControl::WndProc(Message);
        LayoutParts();
        return;
    case CM_PROBEROW:
        Message.Result = AnswerProbeRow(
            Message.WParam, reinterpret_cast<const TProbeRow*>(Message.LParam)->RowText);
        return;
    default:
        break;
    }
    TCvXPThemedControl::WndProc(Message);
}

void TCustomCvTree::Paint() {
    // Only the corner between the two bars shows of the tree itself.
    if (!FHorzBarVisible || !FVertBarVisible || !FUseCustomScrollBars)
        return;
    const TRect Client = ClientRect();
    const TRect Horz = FHorzBar->BoundsRect();
    const TRect Vert = FVertBar->BoundsRect();
    const TRect Corner(Vert.Left, Horz.Top, Vert.Right, Client.Bottom);
    Canvas().Brush().SetColor(FVertBar->Color());
    Canvas().FillRect(Corner);
}

// ------------------------------------------------------------ dispatchers

void TCustomCvTree::DoItemDraw(TCvTreeItem* Item, TCanvas& Surface, const TRect& R,
                               int SectionIndex) {
    if (OnItemDraw)
        OnItemDraw(this, Item, Surface, R, SectionIndex);
}

void TCustomCvTree::DoAfterItemDraw(TCanvas& Canvas, TCvTreeItem* Item, const TRect& ItemRect,
                                    bool& DrawFocusRect) {
    if (OnItemPostDraw)
        OnItemPostDraw(this, Canvas, Item, ItemRect, DrawFocusRect);
}

int TCustomCvTree::DoGetPicture(TCvTreeItem* Item) {
    int Index = Item->MainImage();
    if (OnItemPicDraw)
        OnItemPicDraw(this, Item, Index);
    return Index;
}

int TCustomCvTree::DoGetPicture2(TCvTreeItem* Item) {
    int Index = Item->SecondImage();
    if (OnItemPicDraw2)
        OnItemPicDraw2(this, Item, Index);
    return Index;
}

void TCustomCvTree::DoMeasureItemPart(TCvTreeItem* Item, int PartIndex, TSize& Size) {
    if (OnMeasureItemPart)
        OnMeasureItemPart(this, Item, PartIndex, Size);
}

void TCustomCvTree::DoColumnClick(int SectionIndex) {
    if (OnHeaderColumnClick)
        OnHeaderColumnClick(this, SectionIndex);
}

void TCustomCvTree::DoColumnResize(int SectionIndex) {
    if (OnHeaderColumnResize)
        OnHeaderColumnResize(this, SectionIndex);
}

void TCustomCvTree::DoOnScroll(TScrollBarKind Kind, int ScrollCode) {
    if (OnScroll)
        OnScroll(this, Kind, ScrollCode);
}

void TCustomCvTree::DoHTMLImageNeeded(const String& Src, HBITMAP& Image) {
    if (OnHTMLImageNeeded)
        OnHTMLImageNeeded(this, Src, Image);
}

void TCustomCvTree::DoLinkClick(const String& HRef) {
    if (OnLinkClick)
        OnLinkClick(this, HRef);
}

void TCustomCvTree::DoClick() {
    if (OnClick)
        OnClick(this);
}

void TCustomCvTree::DoDblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TCustomCvTree::DoEnterNotify() {
    if (OnEnter)
        OnEnter(this);
}

void TCustomCvTree::DoExitNotify() {
    if (OnExit)
        OnExit(this);
}

void TCustomCvTree::DoKeyDownNotify(WORD& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TCustomCvTree::DoKeyPressNotify(wchar_t& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TCustomCvTree::DoKeyUpNotify(WORD& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TCustomCvTree::DoMouseDownNotify(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomCvTree::DoMouseMoveNotify(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TCustomCvTree::DoMouseUpNotify(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomCvTree::DoDragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TCustomCvTree::DoDragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TCustomCvTree::DoStartDragNotify(TDragObject*& Object) {
    if (OnStartDrag)
        OnStartDrag(this, Object);
}

void TCustomCvTree::DoEndDragNotify(TObject* Target, int X, int Y) {
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

void TCustomCvTree::DoHeaderSectionMeasure(TCvHeaderSection* Section, TSize& Size) {
    if (OnHeaderSectionMeasure)
        OnHeaderSectionMeasure(this, Section, Size);
}

void TCustomCvTree::DoColumnDraw(TCanvas& Canvas, TCvHeaderSection* Section, const TRect& R,
                                 bool Pressed) {
    if (OnHeaderColumnDraw)
        OnHeaderColumnDraw(this, Canvas, Section, R, Pressed);
}

void TCustomCvTree::DoColumnMove(TCvHeaderSection* Section, int OldPos, int NewPos) {
    if (OnHeaderColumnMove)
        OnHeaderColumnMove(this, Section, OldPos, NewPos);
}

void TCustomCvTree::DoShowHint(TCvTreeItem* Item, TCvHeaderSection* Section, TCvString& Text,
                               TCvHintWindow* HintWindow, TPoint MousePos, bool& DoShowHint) {
    if (OnShowLineHint)
        OnShowLineHint(this, Item, Section, Text, HintWindow, MousePos, DoShowHint);
}

void TCustomCvTree::DoHeaderLookup(TCvHeaderSection* Section, String& Text) {
    if (OnHeaderLookup)
        OnHeaderLookup(this, Section, Text);
}

void TCustomCvTree::DoHeaderLookupDone(TCvHeaderSection* Section, const String& Text,
                                       bool Accepted) {
    if (OnHeaderLookupDone)
        OnHeaderLookupDone(this, Section, Text, Accepted);
}

void TCustomCvTree::DoHeaderSectionExpand(TCvHeaderSection* Section) {
    if (OnHeaderSectionExpand)
        OnHeaderSectionExpand(this, Section);
}

void TCustomCvTree::DoHeaderSectionCollapse(TCvHeaderSection* Section) {
    if (OnHeaderSectionCollapse)
        OnHeaderSectionCollapse(this, Section);
}

void TCustomCvTree::DoHeaderResize() {
    if (OnHeaderResize)
        OnHeaderResize(this);
}

void TCustomCvTree::DoOleTargetDrag(TDragState State, TOleDragObject* Source, TShiftState Shift,
                                    int X, int Y, TDragType& Type) {
    if (OnOleTargetDrag)
        OnOleTargetDrag(this, State, Source, Shift, X, Y, Type);
}

void TCustomCvTree::DoOleTargetDrop(TOleDragObject* Source, TShiftState Shift, int X, int Y,
                                    TDragType& Type) {
    if (OnOleTargetDrop)
        OnOleTargetDrop(this, Source, Shift, X, Y, Type);
}

void TCustomCvTree::DoOleDragStart(IDataObject*& Data, IDropSource*& Source,
                                   TDragTypes& OKEffects) {
    if (OnOleDragStart)
        OnOleDragStart(this, Data, Source, OKEffects);
}

void TCustomCvTree::DoOleDragFinish(TDragType Type, HRESULT Result) {
    if (OnOleDragFinish)
        OnOleDragFinish(this, Type, Result);
}

void TCustomCvTree::DoInplaceEditorNeeded(TCvTreeItem* Item, int SectionIndex,
                                          TCvFieldType SupposedFieldType,
                                          TCvTreeInplaceEditor*& Editor) {
    if (OnInplaceEditorNeeded)
        OnInplaceEditorNeeded(this, Item, SectionIndex, SupposedFieldType, Editor);
}
