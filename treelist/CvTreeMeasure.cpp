// Measuring of lines and cells, column auto-size, the scroll bars, the layout of the parts and
// the non-client frame.
#include "treelist/CvTree.h"

#include <algorithm>

void TCustomCvTree::SetMeasurer(ICvTextMeasurer* Value) {
    FMeasurer = Value ? Value : FScreenMeasurer.get();
}

// ------------------------------------------------------------ item geometry

bool TCustomCvTree::ButtonsSuppressed(TCvTreeItem& Item) {
    const TCvTreeItem* Top = Item.TopAncestor();
    return Top && Top->HasFlag(ifSuppressButtons) && (Item.Level() > 0 || FShowRootButtons);
}

bool TCustomCvTree::HasButton(TCvTreeItem& Item) {
    return FShowButtons && !ButtonsSuppressed(Item) && (Item.Level() > 0 || FShowRootButtons) &&
           (Item.HasVisibleChildren() || Item.HasFlag(ifForceButtons) || FShowLeafButton);
}

int TCustomCvTree::ButtonColumnOf(TCvTreeItem& Item) {
    const bool FullRoot = (FShowRoot && FShowLines) || (FShowButtons && FShowRootButtons);
    const int RootIndent = FullRoot ? FItemIndent : FItemIndent / 5;
    int Left = Item.IndentAdjust + RootIndent + (Item.Level() - 1) * FItemIndent;
    if (ButtonsSuppressed(Item))
        Left -= FItemIndent;
    return Left;
}

int TCustomCvTree::CheckBoxWidthOf(TCvTreeItem& Item) {
    if (!ShowCheckboxes || !Item.CheckBoxShown())
        return 0;
    if (!FCustomCheckboxes)
        return CheckBoxSize();
    const TBitmap& Strip = Item.CheckBoxType() == 2 ? FRadioButtonGlyph : FCheckBoxGlyph;
    return Strip.Width() / 6;
}

int TCustomCvTree::PictureIndexOf(TCvTreeItem& Item, bool Second) {
    const TCustomImageList* List = Second && FImages2 ? FImages2 : FImages;
    if (!List)
        return -1;
    const bool State = UsesStateImage(Item);
    int Index = Second ? (State ? Item.SecondStateImage : Item.SecondImage())
                       : (State ? Item.MainStateImage : Item.MainImage());
    if (Index == -1)
        Index = Second ? DoGetPicture2(&Item) : DoGetPicture(&Item);
    return Index >= 0 && Index < List->Count() ? Index : -1;
}

TCvCellStyle* TCustomCvTree::CellStyleOf(TCvTreeItem& Item, int SectionIndex) {
    if (!Item.HasFlag(ifUseStyles))
        return nullptr;
    if (IsVirtual()) {
        if (!FVirtualStyle)
            FVirtualStyle = std::make_unique<TCvCellStyle>(nullptr);
        DoVirtualStyleNeeded(&Item, SectionIndex, FVirtualStyle.get());
        return FVirtualStyle.get();
    }
    if (SectionIndex < 0 || SectionIndex == MainTreeColumn())
        return Item.MainStyle();
    const TCvHeaderSection* S = SectionOf(SectionIndex);
    const int Index = SectionIndex > MainTreeColumn() ? SectionIndex - 1 : SectionIndex;
    if ((S && S->UseMainStyle()) || Index >= Item.StylesCount())
        return Item.MainStyle();
    return Item.GetStyle(Index);
}

bool TCustomCvTree::IsOwnerDrawnCell(TCvTreeItem& Item, int SectionIndex, TCvCellStyle* Style) {
    if (Style && Style->Style == CvhsOwnerDraw)
        return true;
    if (OwnerDrawByColumn) {
        const TCvHeaderSection* S = ShowColumns() ? SectionOf(SectionIndex) : nullptr;
        return S && S->Style() == CvhsOwnerDraw;
    }
    return ColumnText(&Item, SectionIndex) == OwnerDrawMask;
}

// ---------------------------------------------------------------- measuring

int TCustomCvTree::DefineLineHeight() {
    int P = 0;
    if (ShowImages) {
        P = FImages ? FImages->Height() : 0;
        if (FImages2)
            P = std::max(P, FImages2->Height());
    }
    P = std::max(P, FItemIndent);
    const int FontHeight = Font().Height();
    const int F = FontHeight < 0 ? -FontHeight + 4 : FontHeight + 2;
    int Result = std::max(P, F);
    if (ShowCheckboxes)
        Result = std::max(Result, FCustomCheckboxes ? std::max(FCheckBoxGlyph.Height(),
                                                               FRadioButtonGlyph.Height())
                                                    : FItemIndent - 2);
    if (FBarStyle)
        Result += 2;
    else if (FHorizontalLines)
        Result += 1;
    return Result;
}

TCvPictureLayout TCustomCvTree::PicturesOf(TCvTreeItem& Item) {
    TCvPictureLayout L;
    if (!ShowImages)
        return L;
    const int Gap = FItemIndent / 3;
    const bool CheckBox = CheckBoxWidthOf(Item) > 0;
    const TCustomImageList* List2 = FImages2 ? FImages2 : FImages;
    if (List2) {
        L.Second = PictureIndexOf(Item, true);
        L.SecondShown = L.Second >= 0 || ShowEmptyImages2;
        if (L.Second >= 0 && CheckBox)
            L.SecondGap = Gap;
        if (L.SecondShown)
            L.SecondWidth = List2->Width();
    }
    if (FImages) {
        L.Main = PictureIndexOf(Item, false);
        L.MainShown = L.Main >= 0 || ShowEmptyImages;
        if (L.MainShown && (L.SecondShown || (L.Main >= 0 && CheckBox)))
            L.MainGap = Gap;
        if (L.MainShown)
            L.MainWidth = FImages->Width();
    }
    return L;
}

TSize TCustomCvTree::MeasureItemPart(TCvTreeItem& Item, int SectionIndex) {
    TSize Cell{0, 0};
    const bool TreeColumn = SectionIndex < 0 || SectionIndex == MainTreeColumn();
    const bool Gap = MeasureCell(Item, SectionIndex, Cell);
    const int CellGap = Gap ? FItemIndent * 3 / 5 : 0;
    if (!TreeColumn)
        return TSize{Cell.cx + CellGap, Cell.cy};
    const TCvPictureLayout Pictures = PicturesOf(Item);
    const int Width = ButtonColumnOf(Item) + FItemIndent + CheckBoxWidthOf(Item) +
                      Pictures.SecondGap + Pictures.SecondWidth + Pictures.MainGap +
                      Pictures.MainWidth + CellGap + Cell.cx;
    return TSize{Width, Cell.cy};
}

void TCustomCvTree::CellFontOf(TCvTreeItem& Item, const TCvCellStyle* Style, TFont& F) const {
    F.Assign(Font());
    TFontStyles Styles;
    if (Style && !Style->OwnerProps) {
        if (!Style->FontName.empty())
            F.SetName(Style->FontName);
        if (Style->FontSize > 0)
            F.SetSize(Style->FontSize);
        static constexpr TFontStyle Bits[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
        for (unsigned B = 0; B < 4; ++B)
            if (Style->FontStyles & (1u << B))
                Styles.Include(Bits[B]);
        F.SetStyle(Styles);
        return;
    }
    if (Item.HasFlag(ifParentStyle))
        return;
    static constexpr std::pair<TCvItemState, TFontStyle> States[] = {
        {TCvItemState::Bold, fsBold},
        {TCvItemState::Italic, fsItalic},
        {TCvItemState::Underlined, fsUnderline},
        {TCvItemState::StrikeOut, fsStrikeOut}};
    for (const auto& [State, FontStyle] : States)
        if (Item.HasState(State))
            Styles.Include(FontStyle);
    F.SetStyle(Styles);
}

TCvHTMLData* TCustomCvTree::CellHTML(TCvTreeItem& Item, int SectionIndex,
                                     std::unique_ptr<TCvHTMLData>& Fresh) {
    if (!Item.IsHTML())
        return nullptr;
    const bool TreeColumn = SectionIndex < 0 || SectionIndex == MainTreeColumn();
    const TCvHeaderSection* S = ShowColumns() ? SectionOf(SectionIndex) : nullptr;
    if (S && S->Password() && !TreeColumn)
        return nullptr;
    if (IsVirtual()) {
        const TCvString Text = ColumnText(&Item, SectionIndex);
        if (!Text.starts_with(L"<html>"))
            return nullptr;
        Fresh = TreeView().RenderHTML(Text);
        return Fresh.get();
    }
    return Item.HTMLData(TreeColumn                        ? -1
                         : SectionIndex > MainTreeColumn() ? SectionIndex - 1
                                                           : SectionIndex);
}

TCvString TCustomCvTree::ShownCellText(TCvTreeItem& Item, int SectionIndex) {
    const TCvHeaderSection* S = ShowColumns() ? SectionOf(SectionIndex) : nullptr;
    const bool TreeColumn = SectionIndex < 0 || SectionIndex == MainTreeColumn();
    if (S && S->Password() && !TreeColumn) {
        // A password column shows the mask for every entry the item has, also an empty one.
        const int Index = SectionIndex > MainTreeColumn() ? SectionIndex - 1 : SectionIndex;
        const std::optional<TCvColumnTexts> Cols = Item.ColumnTextList();
        if (IsVirtual() || (Cols && Index < Cols->Count()))
            return L"******";
        return TCvString();
    }
    return ColumnText(&Item, SectionIndex);
}

UINT TCustomCvTree::TextFlagsOf(const TCvTreeItem& Item) const {
    UINT Flags = DT_NOPREFIX;
    if (!Item.HasFlag(ifMultiline))
        Flags |= DT_SINGLELINE;
    if (FRightAlignedText)
        Flags |= DT_RTLREADING;
    return Flags;
}

bool TCustomCvTree::MeasureCell(TCvTreeItem& Item, int SectionIndex, TSize& Size) {
    const bool TreeColumn = SectionIndex < 0 || SectionIndex == MainTreeColumn();
    TCvCellStyle* Style = CellStyleOf(Item, SectionIndex);
    const int LH = LineHeight();
    if (IsOwnerDrawnCell(Item, SectionIndex, Style)) {
        Size = TSize{0, LH};
        DoMeasureItemPart(&Item, SectionIndex, Size);
        if (TreeColumn)
            Size.cy = LH;
        return TreeColumn;
    }
    if (Style && !TreeColumn && Style->Control()) {
        const TCvHeaderSection* S = SectionOf(SectionIndex);
        Size = TSize{S ? S->Width() : 0, LH};
        return false;
    }
    if (Style && Style->Style != CvhsText) {
        if (Style->Style == CvhsPictureOnly && Style->Picture)
            Size = TSize{Style->Picture->Width() + (TreeColumn ? 3 : 0),
                         TreeColumn ? LH : Style->Picture->Height()};
        else
            Size = TSize{0, LH};
        return false;
    }
    const TCvString Text = ShownCellText(Item, SectionIndex);
    TSize Measured{0, 0};
    std::unique_ptr<TCvHTMLData> Fresh;
    if (const TCvHTMLData* HTML = CellHTML(Item, SectionIndex, Fresh)) {
        Measured = HTML->TextSize;
    } else if (!Text.empty()) {
        TFont Font;
        CellFontOf(Item, Style, Font);
        Measured = FMeasurer->TextSize(Font, Text, TextFlagsOf(Item), 0);
    }
    if (TreeColumn)
        Size = TSize{Measured.cx, std::max(LH, Measured.cy + 1)};
    else
        Size = TSize{Measured.cx + 2, std::max(LH, Measured.cy + 1)};
    return true;
}

int TCustomCvTree::WidestCell(int SectionIndex, bool VisibleOnly) {
    if (SectionIndex >= SectionCount())
        return 0;
    int Widest = 0;
    if (VisibleOnly) {
        if (TotalVisCount() == 0 || VisibleCountDirty)
            CountVisibleItems();
        for (int V = 0; V < TotalVisCount(); ++V)
            if (TCvTreeItem* Item = Items().GetVisItem(V))
                Widest = std::max(Widest, MeasureItemPart(*Item, SectionIndex).cx);
        return Widest;
    }
    for (int I = 0; I < Items().TotalCount(); ++I)
        Widest = std::max(Widest, MeasureItemPart(*Items().ItemAtIndex(I), SectionIndex).cx);
    return Widest;
}

void TCustomCvTree::AutoSizeColumn(int SectionIndex) {
    if (IsUpdating()) {
        AutoSizePending = true;
        ViewUpdatePending = true;
        return;
    }
    TCvHeaderSection* S = SectionOf(SectionIndex);
    if (!S || !S->AutoSize())
        return;
    int TextWidth = 0, Height = 0;
    const int Caption = FHeader->MeasureSectionWidth(S, TextWidth, Height);
    // The header answers with the resize reaction (OnHeaderColumnResize, rows repainted).
    S->SetWidth(std::max(Caption, WidestCell(SectionIndex, true)));
}

void TCustomCvTree::AutoSizeAllColumns() {
    if (FAutoSizingAll)
        return;
    if (IsUpdating()) {
        AutoSizePending = true;
        ViewUpdatePending = true;
        return;
    }
    FAutoSizingAll = true;
    try {
        for (int I = 0; I < SectionCount(); ++I)
            AutoSizeColumn(I);
    } catch (...) {
        FAutoSizingAll = false;
        throw;
    }
    FAutoSizingAll = false;
}

// --------------------------------------------------------------- scroll bars

TCvBarState HorzBarOf(int Content, int ViewWidth, int LeftPosition, bool Hide) {
    TCvBarState S;
    Content = std::max(0, Content);
    S.Page = ViewWidth + 1;
    S.Visible = Content - S.Page >= 1 && !Hide;
    if (!S.Visible) {
        Content = 0;
        LeftPosition = 0;
    }
    S.Max = Content;
    S.Position = std::min(LeftPosition, std::max(0, Content));
    return S;
}

TCvBarState VertBarOf(int RangeMax, int Page, int TopIndex, int RowsHeight, int ViewHeight,
                      int RowCount, bool Hide) {
    TCvBarState S;
    const bool Fits =
        TopIndex <= 0 && RowsHeight <= ViewHeight && (RowCount == 0 || RowCount >= RangeMax);
    S.Visible = !Hide && !Fits;
    S.Max = S.Visible ? RangeMax : 0;
    S.Page = S.Visible ? Page : 1;
    S.Position = TopIndex;
    return S;
}

namespace {

void ApplyBar(TCvScrollBar& Bar, const TCvBarState& S) {
    Bar.SetMin(0);
    Bar.SetMax(S.Max);
    Bar.SetPage(S.Page);
    Bar.SetPosition(S.Position);
}

} // namespace

bool TCustomCvTree::UpdateHorzBar() {
    int Content;
    if (ShowColumns()) {
        Content = FHeader->Sections().SectionCount() > 0 ? FHeader->SectionsWidth() : 0;
        MaxRowWidth = Content;
    } else {
        if (MaxRowWidth < 0)
            FView->UpdateMaxRowWidth();
        Content = MaxRowWidth;
    }
    const TCvBarState S = HorzBarOf(Content, FView->Width(), FLeftPosition, FHideHorzScrollBar);
    FLeftPosition = S.Position;
    if (FHeader->ScrollOffset() != FLeftPosition)
        FHeader->SetScrollOffset(FLeftPosition);
    ApplyBar(*FHorzBar, S);
    const bool Forced = FForcedScrollBars == ssHorizontal || FForcedScrollBars == ssBoth;
    ApplyWindowBar(SB_HORZ, S, Forced);
    const bool Changed = S.Visible != FHorzBarVisible && !Forced;
    FHorzBarVisible = S.Visible || Forced;
    return Changed;
}

bool TCustomCvTree::UpdateVertBar() {
    if (TotalVisCount() == 0 || VisibleCountDirty)
        CountVisibleItems();
    const bool Fixed = TotalVarHeightCount() <= 0;
    const int RangeMax = Fixed ? TotalVisCount() - 1 : FView->FirstOfLastPage(TotalVisCount() - 1);
    const TCvBarState S = VertBarOf(RangeMax, Fixed ? FView->GetVisibleRowCount() - 1 : 1,
                                    TopIndex(), FView->RowsHeight(), FView->Height(),
                                    static_cast<int>(FView->Rows().size()), FHideVertScrollBar);
    ApplyBar(*FVertBar, S);
    const bool Forced = FForcedScrollBars == ssVertical || FForcedScrollBars == ssBoth;
    ApplyWindowBar(SB_VERT, S, Forced);
    const bool Changed = S.Visible != FVertBarVisible && !Forced;
    FVertBarVisible = S.Visible || Forced;
    return Changed;
}

void TCustomCvTree::ApplyWindowBar(int Bar, const TCvBarState& S, bool Forced) {
    if (FUseCustomScrollBars || !TCvXPThemedControl::HandleAllocated())
        return;
    SCROLLINFO Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (Forced ? SIF_DISABLENOSCROLL : 0u);
    Info.nMax = S.Visible ? S.Max : 0;
    Info.nPage = S.Visible ? static_cast<UINT>(S.Page) : 0;
    Info.nPos = S.Position;
    SetScrollInfo(Handle(), Bar, &Info, TRUE);
}

void TCustomCvTree::SetBarPosition(TScrollBarKind Kind, int Position) {
    (Kind == sbHorizontal ? *FHorzBar : *FVertBar).SetPosition(Position);
    if (!FUseCustomScrollBars && TCvXPThemedControl::HandleAllocated())
        SetScrollPos(Handle(), Kind == sbHorizontal ? SB_HORZ : SB_VERT, Position, TRUE);
}

void TCustomCvTree::WindowBarScroll(int Bar, int Code) {
    static constexpr std::pair<int, TCvScrollCode> Codes[] = {
        {SB_LINEUP, escLineUp},     {SB_LINEDOWN, escLineDown},      {SB_PAGEUP, escPageUp},
        {SB_PAGEDOWN, escPageDown}, {SB_THUMBPOSITION, escPosition}, {SB_THUMBTRACK, escTrack},
        {SB_TOP, escTop},           {SB_BOTTOM, escBottom},          {SB_ENDSCROLL, escEndScroll}};
    const auto* Found = std::find_if(std::begin(Codes), std::end(Codes),
                                     [Code](const auto& C) { return C.first == Code; });
    if (Found == std::end(Codes))
        return;
    SCROLLINFO Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(Handle(), Bar, &Info);
    int Position = Code == SB_THUMBTRACK ? Info.nTrackPos : Info.nPos;
    bool DoChange = true;
    if (Bar == SB_HORZ)
        FView->ScrollHorz(this, Found->second, Position, DoChange);
    else
        FView->ScrollVert(this, Found->second, Position, DoChange);
}

void TCustomCvTree::UpdateScrollBars() {
    for (int Layouts = 0; Layouts < 4; ++Layouts) {
        bool Changed = UpdateHorzBar();
        if (!Changed)
            Changed = UpdateVertBar();
        if (!Changed)
            break;
        LayoutParts();
    }
    if (FUseCustomScrollBars && !FFramePosted && TCvXPThemedControl::HandleAllocated()) {
        FFramePosted = true;
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// -------------------------------------------------------------------- layout

TCvTreeLayout LayoutOf(const TCvTreeLayoutInput& In) {
    TCvTreeLayout L;
    TRect R = In.Client;
    L.ShowHeader = In.Columns;
    if (In.Columns) {
        L.Header =
            TRect(R.Left, R.Top, R.Right + (In.StickySections ? 1 : 0), R.Top + In.HeaderHeight);
        R.Top += In.HeaderHeight;
    }
    L.ShowHorz = In.CustomBars && In.HorzVisible;
    L.ShowVert = In.CustomBars && In.VertVisible;
    if (L.ShowHorz) {
        L.HorzBar = TRect(R.Left, R.Bottom - In.HorzHeight, R.Right, R.Bottom);
        R.Bottom -= In.HorzHeight;
    }
    if (L.ShowVert) {
        if (In.VertOnRight) {
            L.VertBar = TRect(In.Client.Right - In.VertWidth, In.Client.Top, In.Client.Right,
                              In.Client.Bottom);
            R.Right -= In.VertWidth;
            L.Header.Right = std::min(L.Header.Right, R.Right);
            L.HorzBar.Right = R.Right;
        } else {
            L.VertBar = TRect(In.Client.Left, In.Client.Top, In.Client.Left + In.VertWidth,
                              In.Client.Bottom);
            R.Left += In.VertWidth;
            L.Header.Left = R.Left;
            L.HorzBar.Left = R.Left;
        }
        if (L.ShowHorz) {
            L.VertBar.Bottom = L.HorzBar.Top;
            L.Corner = TRect(L.VertBar.Left, L.HorzBar.Top, L.VertBar.Right, In.Client.Bottom);
        }
    }
    L.View = R;
    return L;
}

void TCustomCvTree::LayoutParts() {
    if (!TCvXPThemedControl::HandleAllocated())
        return;
    // Placing the view updates the bars, which may ask for another layout: it runs here, after
    // this one, at most four times in all.
    if (FLayingOut) {
        FLayoutAgain = true;
        return;
    }
    FLayingOut = true;
    for (int Pass = 0; Pass < 4; ++Pass) {
        FLayoutAgain = false;
        PlaceParts();
        if (!FLayoutAgain)
            break;
    }
    FLayingOut = false;
}

void TCustomCvTree::PlaceParts() {
    TCvTreeLayoutInput In;
    In.Client = ClientRect();
    In.Columns = ShowColumns();
    if (In.Columns)
        In.HeaderHeight = FHeader->Height();
    In.StickySections = FHeader->StickySections();
    In.CustomBars = FUseCustomScrollBars;
    In.HorzVisible = FHorzBarVisible;
    In.VertVisible = FVertBarVisible;
    In.HorzHeight = FHorzStyles->Width();
    In.VertWidth = FVertStyles->Width();
    In.VertOnRight = FRightAlignedText == FScrollbarOpposite;
    const TCvTreeLayout L = LayoutOf(In);
    FLaidHeaderHeight = In.HeaderHeight;
    if (L.ShowHeader)
        FHeader->SetBoundsRect(L.Header);
    FHeader->SetVisible(L.ShowHeader);
    FView->SetBoundsRect(L.View);
    if (L.ShowHorz)
        FHorzBar->SetBoundsRect(L.HorzBar);
    FHorzBar->SetVisible(L.ShowHorz);
    if (L.ShowVert)
        FVertBar->SetBoundsRect(L.VertBar);
    FVertBar->SetVisible(L.ShowVert);
    if (!L.Corner.IsEmpty()) {
        const RECT Corner = L.Corner;
        InvalidateRect(Handle(), &Corner, FALSE);
    }
}

// --------------------------------------------------------------------- frame

TRect TCustomCvTree::FrameInsetsOf() const {
    if (FBorderStyle != bsSingle)
        return TRect();
    const int Edge = Ctl3D() ? GetSystemMetrics(SM_CXEDGE) : GetSystemMetrics(SM_CXBORDER);
    const auto Side = [&](TCvBorderSide S) { return FBorderSides.Contains(S) ? Edge : 0; };
    return TRect(Side(ebsLeft), Side(ebsTop), Side(ebsRight), Side(ebsBottom));
}

void TCustomCvTree::FrameCalcSize(TMessage& Message) {
    TCvXPThemedControl::FrameCalcSize(Message);
    RECT& Client = Message.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                  : *reinterpret_cast<RECT*>(Message.LParam);
    const TRect Insets = FrameInsetsOf();
    Client.left += Insets.Left;
    Client.top += Insets.Top;
    Client.right = std::max(Client.left, Client.right - Insets.Right);
    Client.bottom = std::max(Client.top, Client.bottom - Insets.Bottom);
}

bool TCustomCvTree::FrameActive() const {
    return FMouseInside || Focused() || FView->HasFocus();
}

void TCustomCvTree::FramePaint(TMessage& Message) {
    TCvXPThemedControl::FramePaint(Message);
    const TRect Insets = FrameInsetsOf();
    RECT Window{};
    GetWindowRect(Handle(), &Window);
    const TRect Outer(0, 0, Window.right - Window.left, Window.bottom - Window.top);
    const TWindowDC DC(Handle());
    if (!FUseCustomScrollBars && !IsThemeApplied()) {
        // The window's own bars sit inside our frame, which the system does not know of.
        const TRect Inner(Outer.Left + Insets.Left, Outer.Top + Insets.Top,
                          Outer.Right - Insets.Right, Outer.Bottom - Insets.Bottom);
        DrawFlatScrollBars(Handle(), DC.Handle(), Inner, 0,
                           GetWindowLongW(Handle(), GWL_STYLE) & ~WS_BORDER, 3,
                           FlatFocusedScrollbars && FrameActive(), false, false);
    }
    if (Insets == TRect())
        return;
    ExcludeClipRect(DC.Handle(), Outer.Left + Insets.Left, Outer.Top + Insets.Top,
                    Outer.Right - Insets.Right, Outer.Bottom - Insets.Bottom);
    PaintFrame(DC.Handle(), Outer);
}

void TCustomCvTree::PaintFrame(HDC DC, const TRect& Outer) {
    if (IsThemeApplied() && SUCCEEDED(DrawThemedClassBackground(L"EDIT", DC, 1, 1, Outer, Outer)))
        return;
    const bool Active = FrameActive();
    TCvFlatBorderType Type = FFlat ? (Active ? FActiveBorderType : FInactiveBorderType) : fbtSunken;
    if (Type == fbtRaised)
        Type = fbtRaisedOuter;
    if (!FFlat && !Ctl3D())
        Type = fbtFlat;
    DrawTypedBorder(DC, Outer, FBkColor, Active ? LineBorderActiveColor : LineBorderInactiveColor,
                    FBorderSides, Type);
}
