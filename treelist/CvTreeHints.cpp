// The view's line hints (a cell's whole text laid over the cell when it does not fit) and item
// hints (an item's own hint through the application's hint machinery).
#include "classlib/gui/ExtCtrls.h"
#include "treelist/CvHintWnd.h"
#include "treelist/CvTree.h"
#include "treelist/CvTreePaintTools.h"

#include <algorithm>

namespace {

constexpr UINT WM_MOUSE_FIRST = WM_MOUSEMOVE;
constexpr UINT WM_MOUSE_LAST = WM_MOUSEWHEEL;

// A pause of 0 stands for one second.
UINT PauseOr1000(int Pause) {
    return Pause > 0 ? static_cast<UINT>(Pause) : 1000;
}

} // namespace

// ----------------------------------------------------------------- arming and the timer

void TCvTreeView::ArmLineHint(int X, int Y) {
    TCvTreeItem* const Item = GetItemAtY(Y);
    if ((!FTree->HideHintOnMove && !Item) || Item == FHintItem)
        return;
    HideLineHint();
    FHintX = X;
    FHintY = Y;
    // One timer, armed again on every move: a fresh one per move would flood the system's timers.
    if (!FHintTimer) {
        FHintTimer = std::make_unique<TTimer>(nullptr);
        FHintTimer->OnTimer = [this](TObject*) { LineHintTimerTick(); };
    }
    FHintTimer->SetEnabled(false);
    FHintTimer->SetInterval(PauseOr1000(Application ? Application->HintShortPause : 0));
    FHintTimer->SetEnabled(true);
}

TTimer* TCvTreeView::HintTimer() const {
    return FHintTimer && FHintTimer->Enabled() ? FHintTimer.get() : nullptr;
}

void TCvTreeView::LineHintTimerTick() {
    if (FHintItem) {
        HideLineHint();
        return;
    }
    if (!HintTimer() || EditorShown())
        return;
    FHintTimer->SetEnabled(false);
    if (!HandleAllocated() || ComponentState().Contains(csDesigning))
        return;
    TryShowLineHint(FHintX, FHintY);
    if (FTree->HideHintOnTimer && FHintTimer) {
        const int Pause =
            FTree->LineHintTimeout > 0
                ? FTree->LineHintTimeout
                : static_cast<int>(PauseOr1000(Application ? Application->HintHidePause : 0));
        FHintTimer->SetInterval(static_cast<UINT>(Pause));
        FHintTimer->SetEnabled(true);
    }
}

// ----------------------------------------------------------------- the decision

TCvString TCvTreeView::GetLineHintText(TCvTreeItem& Item, int SectionIndex) {
    TCustomCvTree& T = *FTree;
    const TCvString Hint = GetShortHint(Item.GetHint());
    if (T.HintType == shtHintOnly || (T.HintType == shtHintOrText && !Hint.empty()))
        return Hint;
    const TCvString Main = Item.GetItemText();
    if (T.LineHintType == lhtMainTextOnly || !T.ShowColumns() || SectionIndex < 0 ||
        SectionIndex == T.MainTreeColumn())
        return Main;
    const TCvCellStyle* Style = T.CellStyleOf(Item, SectionIndex);
    if (!Style || Style->Style == CvhsText) {
        // What the cell shows: a password column's mask, never its text.
        const TCvString Cell = T.ShownCellText(Item, SectionIndex);
        if (!Cell.empty())
            return Cell;
    }
    return T.LineHintType == lhtSmart ? Main : TCvString();
}

int TCvTreeView::ClientXOf(int X, int SectionIndex) const {
    const TCustomCvTree& T = *FTree;
    const TCvHeaderSection* Locked = T.HeaderControl().LockedSection();
    const int Index = SectionIndex < 0 ? T.MainTreeColumn() : SectionIndex;
    const bool Fixed = T.ShowColumns() && Locked && Locked == T.SectionOf(Index);
    return Fixed ? X : X - T.LeftPosition();
}

bool TCvTreeView::LineTextCut(TCvTreeItem& Item, int SectionIndex) {
    TCustomCvTree& T = *FTree;
    const int Width = ClientWidth();
    TCvHeaderSection* const Section = T.ShowColumns() ? T.SectionOf(SectionIndex) : nullptr;
    const bool TreeColumn = !Section || SectionIndex == T.MainTreeColumn();
    const int TextLeft = ClientXOf(Item.TextLeft, SectionIndex);
    const int TextRight = ClientXOf(Item.TextRight, SectionIndex);
    const bool OffView = TextLeft < 0 || TextRight > Width;
    if (!Section) {
        TSize Need = T.MeasureItemPart(Item, -1);
        return Width < Need.cx || OffView;
    }
    if (TreeColumn) {
        TSize Need{0, 0};
        T.MeasureCell(Item, SectionIndex, Need);
        const bool Crowded = T.RightAlignedTree() ? Item.TextRight - Need.cx < Section->LeftEdge()
                                                  : Section->RightEdge() < Item.TextLeft + Need.cx;
        return Crowded || OffView;
    }
    // Other columns: exactly where and whether the painter cuts the text.
    const TCvString Text = T.ShownCellText(Item, SectionIndex);
    if (Text.empty())
        return false;
    TFont Font;
    T.CellFontOf(Item, T.CellStyleOf(Item, SectionIndex), Font);
    const TRect Cell = ColumnCellOf(Item, *Section, GetItemRectOf(Item));
    const int TextWidth = T.Measurer().TextSize(Font, Text, T.TextFlagsOf(Item), Cell.Width()).cx;
    const TCvTextSpan Span =
        CellTextSpanOf(Cell, CellTextAlignOf(*Section), TextWidth, T.ItemIndent());
    const TCvHeaderSection* Locked = T.HeaderControl().LockedSection();
    // Scrolled cells pass under the locked section.
    const int VisibleLeft =
        Locked && Locked != Section && Locked->Visible() ? Locked->RightEdge() : 0;
    return Span.Cut || Span.Left < VisibleLeft || Span.Right > Width;
}

void TCvTreeView::TryShowLineHint(int X, int Y) {
    TCustomCvTree& T = *FTree;
    const THit Hit = HitAt(X, Y);
    if (!Hit.Item || Hit.Part == ipOutside)
        return;
    const int SectionIndex = T.ShowColumns() ? Hit.Section : -1;
    bool Wanted = T.HintType == shtHintOnly;
    if (!Wanted) {
        Wanted = T.LineHintMode == shmAll ||
                 (T.LineHintMode == shmLong &&
                  (!Hit.Item->GetHint().empty() || LineTextCut(*Hit.Item, SectionIndex)));
    }
    if (Wanted && !FHintItem)
        ShowLineHint(*Hit.Item, SectionIndex);
}

// ----------------------------------------------------------------- showing and hiding

TRect TCvTreeView::LineHintRect(TCvTreeItem& Item, int SectionIndex, const TCvString& Text) {
    TCustomCvTree& T = *FTree;
    const TCvHeaderSection* Section = T.ShowColumns() ? T.SectionOf(SectionIndex) : nullptr;
    const int Left = Section && SectionIndex != T.MainTreeColumn()
                         ? ClientXOf(Section->LeftEdge(), SectionIndex) + T.ItemIndent() / 5
                         : ClientXOf(Item.TextLeft, SectionIndex);
    const TRect Measured = FHintWindow->MeasureHint(10000, Text);
    const int X = std::max(0, Left);
    const int Y = GetItemRectOf(Item).Top;
    return TRect(X, Y, X + Measured.Width() + 1, Y + Measured.Height() - 1);
}

void TCvTreeView::ShowLineHint(TCvTreeItem& Item, int SectionIndex) {
    TCustomCvTree& T = *FTree;
    if (EditorShown() || FFrameSelecting || GetItemRectOf(Item).IsEmpty())
        return;
    if (!FHintWindow)
        FHintWindow = std::make_unique<TCvHintWindow>(nullptr);
    TCvString Text = GetLineHintText(Item, SectionIndex);
    if (Text.empty())
        return;
    TCvHintWindow& Window = *FHintWindow;
    Window.Font().Assign(Font());
    Window.SetColor(T.UseSystemHintColors ? clInfoBk : T.LineHintColor);
    Window.Font().SetColor(T.UseSystemHintColors ? clInfoText : T.TextColor());
    Window.IsHTML = Item.HasFlag(ifHintIsHTML);
    TRect R = LineHintRect(Item, SectionIndex, Text);
    bool DoShowHint = true;
    {
        const TCvString Before = Text;
        const TPoint MousePos{FHintX, FHintY + (T.ShowColumns() ? T.HeaderHeight() : 0)};
        const TCvItemHold Held(T, &Item);
        T.DoShowHint(&Item, T.SectionOf(SectionIndex), Text, &Window, MousePos, DoShowHint);
        if (!Held)
            return;
        if (DoShowHint && Text != Before) {
            const TRect Again = LineHintRect(Item, SectionIndex, Text);
            R = TRect(R.Left, R.Top, R.Left + Again.Width(), R.Top + Again.Height());
        }
    }
    if (!DoShowHint || Text.empty())
        return;
    FHintItem = &Item;
    const TPoint TopLeft = ClientToScreen(TPoint{R.Left, R.Top});
    Window.ActivateWideHint(
        TRect(TopLeft.X, TopLeft.Y, TopLeft.X + R.Width(), TopLeft.Y + R.Height()), Text);
}

bool TCvTreeView::PointerOverView() const {
    POINT P{};
    if (!HandleAllocated() || !GetCursorPos(&P))
        return false;
    const TPoint Client = ScreenToClient(TPoint{P.x, P.y});
    const RECT Area = ClientRect();
    return PtInRect(&Area, POINT{Client.X, Client.Y}) != FALSE;
}

void TCvTreeView::HideLineHint() {
    FHintItem = nullptr;
    if (FHintTimer)
        FHintTimer->SetEnabled(false);
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
}

void TCvTreeView::HideLineHintFor(const TMessage& Message) {
    if (!FHintItem)
        return;
    const UINT Msg = Message.Msg;
    if (Msg == CM_ACTIVATE || Msg == CM_DEACTIVATE || Msg == WM_NCMOUSEMOVE) {
        HideLineHint();
        return;
    }
    if (!FTree->HideHintOnMove)
        return;
    if (Msg >= WM_MOUSE_FIRST && Msg <= WM_MOUSE_LAST) {
        // Wheel messages carry screen coordinates; the others client ones.
        TPoint P{static_cast<short>(LOWORD(Message.LParam)),
                 static_cast<short>(HIWORD(Message.LParam))};
        if (Msg == WM_MOUSEWHEEL)
            P = ScreenToClient(P);
        if (GetItemAtY(P.Y) != FHintItem)
            HideLineHint();
        return;
    }
    if ((Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST) || Msg == WM_COMMAND || Msg == CM_APPKEYDOWN ||
        Msg == CM_APPSYSCOMMAND)
        HideLineHint();
}

// ----------------------------------------------------------------- item hints

void TCvTreeView::PrepareItemHint(int X, int Y) {
    TCustomCvTree& T = *FTree;
    if (FFrameSelecting || (!FItemHintItem && ShowHint()))
        return;
    Hint = T.Hint;
    const THit Hit = HitAt(X, Y);
    if (!Hit.Item || Hit.Item == FItemHintItem)
        return;
    const TCvString ItemHint = Hit.Item->GetHint();
    if (ItemHint.empty())
        return;
    Hint = ItemHint;
    if (ShowHint() && !FDragOverView && Application)
        Application->ActivateHint(ClientToScreen(TPoint{X, Y}));
}

void TCvTreeView::CMHintShow(TMessage& Message) {
    auto& Info = *reinterpret_cast<THintInfo*>(Message.LParam);
    Message.Result = 0;
    const THit Hit = HitAt(Info.CursorPos.X, Info.CursorPos.Y);
    FItemHintItem = Hit.Item;
    const TCvString ItemHint = Hit.Item ? Hit.Item->GetHint() : TCvString();
    if (!ItemHint.empty())
        Info.HintStr = ItemHint;
    TCvString Text = ItemHint.empty() ? FTree->Hint : ItemHint;
    if (Text.empty()) {
        Info.HintStr.clear();
        return;
    }
    if (Info.HintStr == GetShortHint(FTree->Hint))
        Text = GetShortHint(Text);
    Info.HintStr = PackedHintString(Text);
}
