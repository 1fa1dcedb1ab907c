// The view's rows and geometry: the row list, the top index, paging, scrolling, the hit test and
// bringing the screen up to date at the end of a batch.
#include "treelist/CvTreeView.h"

#include "treelist/CvTree.h"
#include "classlib/gui/ExtCtrls.h"
#include "treelist/CvHintWnd.h"
#include "treelist/CvTreeDrag.h"
#include "treelist/CvTreeInplace.h"
#include "treelist/CvTreeSearch.h"

#include <algorithm>

namespace {

// The alias of WM_MOUSEWHEEL some mouse drivers send.
constexpr UINT WM_MOUSEWHEEL_ALIAS = 0xB20A;

} // namespace

int VisibleRowCountOf(int ViewHeight, int LineHeight) {
    if (LineHeight <= 0)
        return 0;
    return ViewHeight / LineHeight + (ViewHeight % LineHeight > 0 ? 1 : 0);
}

int MaxTopIndexOf(int TotalVisCount, int ViewHeight, int LineHeight) {
    return TotalVisCount - VisibleRowCountOf(ViewHeight, LineHeight) + 1;
}

TCvScrollCode MapSecondButton(TCvScrollCode Code, TCvSecButtonsKind Kind) {
    if (Code == escSndLineDown) {
        if (Kind == sbkOpposite)
            return escLineUp;
        if (Kind == sbkPage)
            return escPageDown;
    } else if (Code == escSndLineUp) {
        if (Kind == sbkOpposite)
            return escLineDown;
        if (Kind == sbkPage)
            return escPageUp;
    }
    return Code;
}

TCvTreeView::TCvTreeView(TCustomCvTree* ATree) : TCustomControl(ATree), FTree(ATree) {
    ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    FTree->MaxRowWidth = -1;
    FHTMLRender.OnImageNeeded = [this](TObject*, const String& Src, HBITMAP& Image) {
        FTree->DoHTMLImageNeeded(Src, Image);
    };
}

TCvTreeView::~TCvTreeView() = default;

TCvTreeSearch& TCvTreeView::Search() {
    if (!FSearch)
        FSearch = std::make_unique<TCvTreeSearch>(*FTree);
    return *FSearch;
}

// ----------------------------------------------------------------- geometry

int TCvTreeView::GetVisibleRowCount() const {
    return VisibleRowCountOf(Height(), FTree->LineHeight());
}

std::pair<int, int> TCvTreeView::GetPageFit() const {
    const int LH = std::max(1, FTree->LineHeight());
    return {Height() / LH, Height() % LH};
}

int TCvTreeView::RowHeightOf(TCvTreeItem& Item) const {
    return Item.GetHeight();
}

int TCvTreeView::RowsHeight() const {
    int Sum = 0;
    for (TCvTreeItem* Item : FRows)
        Sum += RowHeightOf(*Item);
    return Sum;
}

TRect TCvTreeView::GetItemRect(int RowIndex) const {
    if (RowIndex < 0 || RowIndex >= static_cast<int>(FRows.size()) || FTree->IsDestroying())
        return TRect();
    int Top = 0;
    for (int I = 0; I < RowIndex; ++I)
        Top += RowHeightOf(*FRows[I]);
    return TRect(0, Top, Width(), Top + RowHeightOf(*FRows[RowIndex]));
}

TRect TCvTreeView::GetItemRectOf(const TCvTreeItem& Item) const {
    const auto Row = std::find(FRows.begin(), FRows.end(), &Item);
    return Row == FRows.end() ? TRect() : GetItemRect(static_cast<int>(Row - FRows.begin()));
}

TCvTreeItem* TCvTreeView::GetItemAtY(int Y) const {
    if (Y < 0)
        return nullptr;
    int Top = 0;
    for (TCvTreeItem* Item : FRows) {
        const int Bottom = Top + RowHeightOf(*Item);
        if (Y < Bottom)
            return Item;
        Top = Bottom;
    }
    return nullptr;
}

int TCvTreeView::MaxTopIndex() {
    TCustomCvTree& T = *FTree;
    if (T.TotalVisCount() == 0 || T.VisibleCountDirty)
        T.CountVisibleItems();
    if (T.TotalVarHeightCount() <= 0)
        return MaxTopIndexOf(T.TotalVisCount(), Height(), T.LineHeight());
    return FirstOfLastPage(T.TotalVisCount() - 1);
}

void TCvTreeView::BuildRowList(int StartIndex) {
    TCustomCvTree& T = *FTree;
    FRows.clear();
    if (T.TotalVisCount() == 0 || T.VisibleCountDirty)
        T.CountVisibleItems();
    // The visible list reaches the first row directly: nothing above it is walked.
    const bool Fixed = T.TotalVarHeightCount() <= 0;
    const int Limit = Height();
    int Sum = 0;
    for (int V = std::max(0, StartIndex); V < T.TotalVisCount() && Sum <= Limit; ++V) {
        TCvTreeItem* Item = T.Items().GetVisItem(V);
        if (!Item)
            break;
        FRows.push_back(Item);
        Sum += Fixed ? T.LineHeight() : Item->GetHeight();
    }
}

void TCvTreeView::FillRows(int Index) {
    TCustomCvTree& T = *FTree;
    const int MaxTop = MaxTopIndex();
    Index = Index < 0 || MaxTop < 0 ? 0 : std::min(Index, MaxTop);
    T.TCvTreeCore::SetTopIndex(Index);
    if (Index != 0 || T.Items().TotalCount() > 0) {
        BuildRowList(Index);
        FBottomIndex = Index + static_cast<int>(FRows.size()) - 1;
    } else {
        FRows.clear();
        FBottomIndex = 0;
    }
    // The rows are fresh now.
    T.RowListDirty = false;
}

void TCvTreeView::SetTopIndex(int Index) {
    TCustomCvTree& T = *FTree;
    TCvTreeBatch Batch(T);
    T.HotItem = nullptr;
    if (T.IsLoading()) {
        T.TCvTreeCore::SetTopIndex(Index);
        return;
    }
    Index = std::clamp(Index, 0, std::max(0, MaxTopIndex()));
    if (Index != T.TopIndex() || FRows.empty()) {
        T.ViewUpdatePending = true;
        T.RepaintAll = true;
        FillRows(Index);
    }
    T.SetBarPosition(sbVertical, T.TopIndex());
}

void TCvTreeView::SetHPosition(int X) {
    TCustomCvTree& T = *FTree;
    TCvTreeBatch Batch(T);
    if (T.IsLoading()) {
        T.FLeftPosition = X;
        return;
    }
    if (T.ShowColumns())
        T.MaxRowWidth = T.HeaderControl().SectionsWidth();
    else if (T.MaxRowWidth < 0)
        UpdateMaxRowWidth();
    X = std::max(0, std::min(X, T.MaxRowWidth - Width()));
    if (X != T.FLeftPosition) {
        T.FLeftPosition = X;
        if (T.HeaderControl().ScrollOffset() != X)
            T.HeaderControl().SetScrollOffset(X);
        T.RepaintAll = true;
        T.RepaintRows = true;
        T.ViewUpdatePending = true;
    }
    if (T.HorzScrollBar().Position() != X)
        T.SetBarPosition(sbHorizontal, X);
}

int TCvTreeView::FirstOfLastPage(int VisIndex) {
    if (VisIndex <= 0 || FRows.empty())
        return 0;
    TCustomCvTree& T = *FTree;
    const int Limit = Height();
    int Sum = 0;
    int Result = VisIndex;
    for (int V = VisIndex; V >= 0; --V) {
        TCvTreeItem* Item = T.Items().GetVisItem(V);
        if (!Item)
            break;
        Sum += Item->GetHeight();
        if (Sum > Limit)
            break;
        Result = V;
    }
    return Result;
}

int TCvTreeView::LastOfPage(int VisIndex) {
    if (FRows.empty())
        return 0;
    TCustomCvTree& T = *FTree;
    const int Limit = Height();
    int Sum = 0;
    int Result = VisIndex;
    for (int V = VisIndex; V < T.TotalVisCount(); ++V) {
        TCvTreeItem* Item = T.Items().GetVisItem(V);
        if (!Item)
            break;
        Sum += Item->GetHeight();
        if (Sum > Limit)
            break;
        Result = V;
    }
    return Result;
}

void TCvTreeView::MakeChildrenVisible(TCvTreeItem* Item) {
    if (!Item || !Item->FullyVisible())
        return;
    const auto Row = std::find(FRows.begin(), FRows.end(), Item);
    if (Row == FRows.end())
        return;
    const int RowIndex = static_cast<int>(Row - FRows.begin());
    const int Need = Item->ExpandedChildrenHeight();
    int Bottom = GetItemRect(RowIndex).Bottom;
    int Count = 0;
    while (Bottom + Need >= Height() && Count < RowIndex) {
        Bottom -= RowHeightOf(*FRows[Count]);
        ++Count;
    }
    FTree->CountVisibleItems();
    SetTopIndex(FTree->TopIndex() + Count);
}

// ---------------------------------------------------------------- scrolling

namespace {

// Where a bar's position, track, top and bottom codes go, on either axis; other codes stay.
int JumpTarget(TCvScrollCode Code, int Current, int ScrollPos, int End, bool Tracking) {
    switch (Code) {
    case escPosition:
        return ScrollPos;
    case escTrack:
        return Tracking ? ScrollPos : Current;
    case escTop:
        return 0;
    case escBottom:
        return End;
    default:
        return Current;
    }
}

} // namespace

void TCvTreeView::ScrollVert(TObject* /*Sender*/, TCvScrollCode ScrollCode, int& ScrollPos,
                             bool& DoChange) {
    DoChange = false;
    HideLineHint();
    TCustomCvTree& T = *FTree;
    if (FPausingScroll)
        return;
    // With an editor open the first bar action only pauses, so a stray click keeps the edit;
    // the next one ends the edit (accepted) and scrolls.
    if (EditorShown()) {
        FScrollPaused = !FScrollPaused;
        if (FScrollPaused) {
            const TFlagScope Pausing(FPausingScroll);
            T.VertScrollBar().EndTracking();
            return;
        }
        if (ScrollCode == escEndScroll)
            return;
    } else {
        FScrollPaused = false;
    }
    EndEdit(false);
    const bool Fixed = T.TotalVarHeightCount() <= 0;
    const int Top = T.TopIndex();
    int Target = Top;
    const TCvScrollCode Code = MapSecondButton(ScrollCode, T.VertScrollBar().SecondBtnKind);
    switch (Code) {
    case escLineUp:
        Target = Top - 1;
        break;
    case escLineDown:
        Target = Top + 1;
        break;
    case escPageUp:
        Target = std::max(0, Fixed ? Top - GetVisibleRowCount() + 1 : FirstOfLastPage(Top));
        break;
    case escPageDown:
        if (Fixed) {
            Target = Top + GetVisibleRowCount() - 1;
        } else {
            Target = LastOfPage(Top);
            if (Target == Top && FRows.size() == 1 && T.TotalVisCount() != 1)
                ++Target;
        }
        break;
    default:
        Target = JumpTarget(Code, Top, ScrollPos, T.TotalVisCount(), T.ScrollTracking);
        break;
    }
    if (Target != Top)
        SetTopIndex(Target);
    T.DoOnScroll(sbVertical, ScrollCode);
    if (FFrameSelecting)
        MoveAtPointer();
}

void TCvTreeView::ScrollHorz(TObject* /*Sender*/, TCvScrollCode ScrollCode, int& ScrollPos,
                             bool& DoChange) {
    DoChange = false;
    HideLineHint();
    EndEdit(false);
    TCustomCvTree& T = *FTree;
    const int Left = T.LeftPosition();
    int Target = Left;
    const TCvScrollCode Code = MapSecondButton(ScrollCode, T.HorzScrollBar().SecondBtnKind);
    switch (Code) {
    case escLineUp:
        Target = Left - 4;
        break;
    case escLineDown:
        Target = Left + 4;
        break;
    case escPageUp:
        Target = Left - Width() / 2;
        break;
    case escPageDown:
        Target = Left + Width() / 2;
        break;
    default:
        Target = JumpTarget(Code, Left, ScrollPos, T.MaxRowWidth, T.ScrollTracking);
        break;
    }
    if (Target != Left)
        T.SetLeftPosition(Target);
    T.DoOnScroll(sbHorizontal, ScrollCode);
}

void TCvTreeView::WheelScroll(int Delta, UINT Lines) {
    // A page-scroll setting, or one above 120 lines, moves a page per notch.
    const TCvWheelPlan Plan = PlanWheel(Delta, Lines);
    HideLineHint();
    const int Rows = Plan.ByPage ? Plan.Steps * std::max(1, GetVisibleRowCount() - 1) : Plan.Steps;
    if (Rows != 0) {
        // The frame is drawn over the old rows: off before they move, on again after the paint,
        // so that the move below hides and redraws it where the rows now are.
        if (FFrameSelecting)
            DrawFrame();
        SetTopIndex(FTree->TopIndex() - Rows);
        if (FFrameSelecting) {
            Update();
            DrawFrame();
        }
    }
    MoveAtPointer();
}

void TCvTreeView::MoveAtPointer() {
    if (!HandleAllocated() || !PointerOverView())
        return;
    POINT P{};
    GetCursorPos(&P);
    const TPoint Client = ScreenToClient(TPoint{P.x, P.y});
    ProcessMouseMove(KeyboardShiftState(), Client.X, Client.Y);
}

void TCvTreeView::WMMouseWheel(TMessage& Message) {
    const int Delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
    const TPoint Pos{static_cast<short>(LOWORD(Message.LParam)),
                     static_cast<short>(HIWORD(Message.LParam))};
    DoMouseWheel(MouseShiftState(GET_KEYSTATE_WPARAM(Message.WParam)), Delta, Pos);
    UINT Lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
    WheelScroll(Delta, Lines);
    Message.Result = 0;
}

void TCvTreeView::WMSize(TMessage& Message) {
    TCustomControl::WndProc(Message);
    TCustomCvTree& T = *FTree;
    {
        TCvTreeBatch Batch(T);
        T.ViewUpdatePending = true;
        T.RowListDirty = true;
        T.RepaintAll = true;
        T.VisibleCountDirty = true;
        FillRows(T.TopIndex());
    }
    if (T.BackgroundType() != bgtColorFill && T.BackgroundType() != bgtCenterBitmap)
        PrepareBackground();
}

// ----------------------------------------------------------------- hit test

TCvTreeItem* TCvTreeView::GetItemAt(int X, int Y, int& SectionIndex, TCvItemPart& ItemPart) const {
    TCvTreeItem* Item = GetItemAtY(Y);
    ItemPart = ipOutside;
    if (!Item)
        return nullptr;
    TCustomCvTree& T = *FTree;
    int X2 = X + T.LeftPosition();
    TCvItemPart Default = ipOutside;
    if (T.ShowColumns()) {
        const TCvHeaderSections& All = T.HeaderControl().Sections();
        const TCvHeaderSection* Locked = T.HeaderControl().LockedSection();
        for (int I = 0; I < All.SectionCount(); ++I) {
            const TCvHeaderSection* S = All.ItemByIndex(I);
            if (!S || !S->Visible())
                continue;
            const int At = S == Locked ? X : X2;
            if (At < S->LeftEdge() || At >= S->RightEdge())
                continue;
            if (I != T.MainTreeColumn()) {
                SectionIndex = I;
                ItemPart = ipColumn;
                return Item;
            }
            Default = ipInside;
            X2 = At;
            break;
        }
    }
    ItemPart = HitInsideMainCell(*Item, X2, Default);
    if (ItemPart != Default || Default == ipInside)
        SectionIndex = T.MainTreeColumn();
    return Item;
}

TCvItemPart TCvTreeView::HitInsideMainCell(TCvTreeItem& Item, int X, TCvItemPart Default) const {
    TCustomCvTree& T = *FTree;
    const int Gap = T.ItemIndent() / 3;
    const bool CheckBox = T.ShowCheckboxes && Item.CheckBoxShown();
    const bool Image = Item.HasFlag(ifImageDrawn);
    const bool Image2 = Item.HasFlag(ifImage2Drawn);
    const int ImageWidth = T.Images() ? T.Images()->Width() : 0;
    const TCustomImageList* List2 = T.Images2() ? T.Images2() : T.Images();
    const int Image2Width = List2 ? List2->Width() : 0;
    const bool Button = T.HasButton(Item);
    const bool Suppressed = T.ButtonsSuppressed(Item);
    // Each zone is [From, To): walking away from the text, in painting's order.
    struct TZone {
        bool Present;
        int Width;
        int GapAfter; // between this zone and the next one away from the text
        TCvItemPart Part;
    };
    const TZone Zones[] = {
        {Image, ImageWidth, (Image2 || CheckBox) ? Gap : 0, ipPicture},
        // Painting leaves a gap between a check box and the second picture.
        {Image2, Image2Width, CheckBox ? Gap : 0, ipPicture2},
        {CheckBox, T.CheckBoxWidthOf(Item), 0, ipCheckBox},
        {Button || Suppressed, T.ItemIndent(), 0, Suppressed ? ipInside : ipButton},
    };
    if (!T.RightAlignedTree()) {
        const int D = Item.TextLeft - Gap + 1;
        if (D <= X && X <= Item.TextRight)
            return ipMainText;
        int E = D;
        for (const TZone& Z : Zones) {
            if (!Z.Present)
                continue;
            if (Z.Part == ipCheckBox)
                ++E;
            if (E - Z.Width <= X && X < E)
                return Z.Part;
            E -= Z.Width + Z.GapAfter;
        }
        return Default;
    }
    const int D = Item.TextRight + Gap - 1;
    if (Item.TextLeft <= X && X <= D)
        return ipMainText;
    int E = D + 1;
    for (const TZone& Z : Zones) {
        if (!Z.Present)
            continue;
        if (Z.Part == ipCheckBox)
            --E;
        if (E <= X && X < E + Z.Width)
            return Z.Part;
        E += Z.Width + Z.GapAfter;
    }
    return Default;
}

// ------------------------------------------------------- the model's requests

void TCvTreeView::InvalidateItem(TCvTreeItem& Item) {
    if (!HandleAllocated())
        return;
    const auto Row = std::find(FRows.begin(), FRows.end(), &Item);
    if (Row == FRows.end())
        return;
    const RECT R = GetItemRect(static_cast<int>(Row - FRows.begin()));
    InvalidateRect(Handle(), &R, FALSE);
}

void TCvTreeView::InvalidateItemPart(TCvTreeItem& Item, int Left, int Right) {
    if (!HandleAllocated())
        return;
    const auto Row = std::find(FRows.begin(), FRows.end(), &Item);
    if (Row == FRows.end())
        return;
    TRect R = GetItemRect(static_cast<int>(Row - FRows.begin()));
    R.Left = Left - FTree->LeftPosition();
    R.Right = Right - FTree->LeftPosition();
    const RECT Area = R;
    InvalidateRect(Handle(), &Area, FALSE);
}

void TCvTreeView::InvalidateSection(TCvTreeItem& Item, int SectionIndex) {
    const TCvHeaderSection* S = FTree->SectionOf(SectionIndex);
    if (!FTree->ShowColumns() || !S) {
        InvalidateItem(Item);
        return;
    }
    InvalidateItemPart(Item, S->LeftEdge(), S->RightEdge());
}

void TCvTreeView::RepaintNow() {
    if (HandleAllocated())
        Repaint();
}

bool TCvTreeView::IsRow(const TCvTreeItem& Item) const {
    return std::find(FRows.begin(), FRows.end(), &Item) != FRows.end();
}

void TCvTreeView::RemoveRow(TCvTreeItem& Item) {
    FRows.erase(std::remove(FRows.begin(), FRows.end(), &Item), FRows.end());
}

void TCvTreeView::ClearRows() {
    FRows.clear();
}

void TCvTreeView::ForgetItem(TCvTreeItem& Item) {
    if (FTree->HotItem == &Item)
        FTree->HotItem = nullptr;
    if (FTree->DropTarget == &Item)
        FTree->DropTarget = nullptr;
    ForgetInputItem(Item);
    if (FHintItem == &Item)
        HideLineHint();
    if (FItemHintItem == &Item)
        FItemHintItem = nullptr;
    RemoveRow(Item);
}

void TCvTreeView::UpdateMaxRowWidth() {
    TCustomCvTree& T = *FTree;
    if (T.TotalVisCount() == 0 || T.VisibleCountDirty)
        T.CountVisibleItems();
    int Widest = 0;
    for (int V = 0; V < T.TotalVisCount(); ++V)
        if (TCvTreeItem* Item = T.Items().GetVisItem(V))
            Widest = std::max(Widest, Item->GetWidth());
    T.MaxRowWidth = Widest;
}

void TCvTreeView::UpdateScrollBars() {
    FTree->UpdateScrollBars();
}

void TCvTreeView::UpdateView() {
    TCustomCvTree& T = *FTree;
    if (!HandleAllocated())
        return;
    if (T.RepaintRows || T.RepaintAll) {
        if (T.RepaintAll || (T.VerticalLines() && T.ShowColumns())) {
            InvalidateRect(Handle(), nullptr, FALSE);
        } else {
            const RECT Band{0, 0, ClientWidth(), RowsHeight()};
            InvalidateRect(Handle(), &Band, FALSE);
        }
        T.RepaintAll = false;
        T.RepaintRows = false;
    }
    UpdateWindow(Handle());
}

int TCvTreeView::DefineLineHeight() {
    return FTree->DefineLineHeight();
}

int TCvTreeView::MeasureItemHeight(TCvTreeItem& Item) {
    return FTree->MeasureItemPart(Item, -1).cy;
}

int TCvTreeView::MeasureItemWidth(TCvTreeItem& Item) {
    return FTree->MeasureItemPart(Item, -1).cx;
}

void TCvTreeView::AutoSizeColumn(int SectionIndex) {
    FTree->AutoSizeColumn(SectionIndex);
}

void TCvTreeView::AutoSizeAllColumns() {
    FTree->AutoSizeAllColumns();
}

std::unique_ptr<TCvHTMLData> TCvTreeView::RenderHTML(const TCvString& Text) {
    TCustomCvTree& T = *FTree;
    std::unique_ptr<TCvHTMLData> Data = NewHTMLData(FHTMLRender);
    SetHTMLDefaults(*Data, T.Font(), CvColorNone);
    Data->LinkColor = T.LinkColor();
    Data->LinkStyle = HTMLStyleBits(T.LinkStyle());
    try {
        FHTMLRender.ParseMarkupInto(Text, *Data);
    } catch (const Exception&) {
        return nullptr;
    }
    return Data;
}

bool TCvTreeView::IsLastRowCutOff(const TCvTreeItem& Item) const {
    return FRows.size() > 1 && FRows.back() == &Item && RowsHeight() > Height();
}

// ----------------------------------------------------------------- messages

void TCvTreeView::WndProc(TMessage& Message) {
    HideLineHintFor(Message);
    switch (Message.Msg) {
    case CM_HINTSHOW:
        CMHintShow(Message);
        return;
    case CM_DRAG:
        CMDragTree(Message);
        return;
    case WM_SIZE:
        WMSize(Message);
        return;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case WM_PAINT:
        // Inside a batch the area is only validated; the batch's end paints.
        if (FTree->IsUpdating() && Message.WParam == 0) {
            ValidateRect(Handle(), nullptr);
            return;
        }
        break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEWHEEL_ALIAS:
        WMMouseWheel(Message);
        return;
    case CM_SYSCOLORCHANGE:
        CMSysColorChange(Message);
        return;
    case WM_LBUTTONDOWN:
        WMLButtonDown(Message);
        return;
    case WM_LBUTTONUP:
        WMLButtonUp(Message);
        return;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(Message);
        return;
    case WM_RBUTTONDOWN:
        WMRButtonDown(Message);
        return;
    case WM_RBUTTONUP:
        WMRButtonUp(Message);
        return;
    case WM_RBUTTONDBLCLK:
        WMRButtonDblClk(Message);
        return;
    case WM_MOUSEMOVE:
        WMMouseMove(Message);
        return;
    case CM_MOUSELEAVE:
        CMMouseLeave(Message);
        return;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        return;
    case WM_CANCELMODE:
        WMCancelMode(Message);
        return;
    case CM_DEACTIVATE:
        CMDeactivate(Message);
        return;
    case WM_GETDLGCODE:
        WMGetDlgCode(Message);
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

void TCvTreeView::CMSysColorChange(TMessage& Message) {
    TCustomControl::WndProc(Message);
    if (HandleAllocated())
        Repaint();
    RecolourButtonBitmaps();
}
