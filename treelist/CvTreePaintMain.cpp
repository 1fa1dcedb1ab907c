// Painting of the tree column: indent, lines, the expand button, the check box, the pictures and
// the text, recording where the text and the pictures went for the hit test.
#include "treelist/CvTree.h"

#include "treelist/CvTreePaintTools.h"
#include "treelist/CvUxTheme.h"

#include <algorithm>
#include <vector>

namespace {

bool Shown(const TCvTreeItem* Item, bool Filtered) {
    return Item && !(Filtered && Item->IsHiddenState());
}

const TCvTreeItem* NextShownSibling(const TCvTreeItem& Item, bool Filtered) {
    const TCvTreeItem* S = Item.GetNextSibling();
    while (S && !Shown(S, Filtered))
        S = S->GetNextSibling();
    return S;
}

const TCvTreeItem* PrevShownSibling(const TCvTreeItem& Item, bool Filtered) {
    const TCvTreeItem* S = Item.GetPrevSibling();
    while (S && !Shown(S, Filtered))
        S = S->GetPrevSibling();
    return S;
}

// Some later sibling draws its lines.
bool LaterSiblingDrawsLines(const TCvTreeItem& Item) {
    for (const TCvTreeItem* S = Item.GetNextSibling(); S; S = S->GetNextSibling())
        if (!S->HasFlag(ifSuppressLines))
            return true;
    return false;
}

} // namespace

void TCvTreeView::DrawMainCell(TCanvas& Canvas, TCvTreeItem& Item, const TRect& RowRect) {
    TCustomCvTree& T = *FTree;
    const HDC DC = Canvas.Handle();
    const int Left = T.LeftPosition();
    const int II = T.ItemIndent();
    const bool Columns = T.ShowColumns() && T.SectionCount() > 0;
    TCvHeaderSection* Main = Columns ? T.SectionOf(T.MainTreeColumn()) : nullptr;
    TRect Cell(RowRect.Left - Left, RowRect.Top, RowRect.Right - Left, RowRect.Bottom);
    if (Main) {
        const int Shift = Main == T.HeaderControl().LockedSection() ? 0 : Left;
        const int VLine = T.VerticalLines() && (!T.BarStyle() || T.BarStyleVerticalLines());
        Cell = TRect(Main->LeftEdge() - Shift, RowRect.Top, Main->RightEdge() - Shift - VLine,
                     RowRect.Bottom);
    }
    const int Column = Main ? T.MainTreeColumn() : -1;
    TCvCellStyle* Style = T.CellStyleOf(Item, Column);
    const TCellColours Colours =
        CellColoursOf(Item, Style, Columns && T.SelectColumn() == T.MainTreeColumn());
    if (Colours.Filled)
        FillRectColor(DC, Cell, Colours.Back);

    const TSaveDC Saved(DC);
    IntersectClipRect(DC, Cell.Left, Cell.Top, Cell.Right, Cell.Bottom + 1);
    const bool FullRoot =
        (T.ShowRoot() && T.ShowLines()) || (T.ShowButtons() && T.ShowRootButtons());
    const int RootLeft = Cell.Left + Item.IndentAdjust + (FullRoot ? II : II / 5);
    if (T.ShowLines() && !Item.HasFlag(ifSuppressLines))
        DrawTreeLines(DC, Item, RowRect, Cell, RootLeft);
    // Parts are laid out from the cell's left edge; a right-aligned tree mirrors each span.
    const bool Mirror = T.RightAlignedTree();
    const auto Span = [&](int From, int Width) {
        return Mirror ? TRect(Cell.Left + Cell.Right - From - Width, Cell.Top,
                              Cell.Left + Cell.Right - From, Cell.Bottom)
                      : TRect(From, Cell.Top, From + Width, Cell.Bottom);
    };
    const int ButtonLeft = Cell.Left + T.ButtonColumnOf(Item);
    if (T.HasButton(Item))
        DrawButton(DC, Item, Span(ButtonLeft, II),
                   Item.HasVisibleChildren() || Item.HasFlag(ifForceButtons));
    int X = ButtonLeft + II;
    if (const int Box = T.CheckBoxWidthOf(Item)) {
        DrawCheckBox(DC, Item, Span(X, Box));
        X += Box;
    }
    Item.SetFlag(ifImageDrawn, false);
    Item.SetFlag(ifImage2Drawn, false);
    const TCvPictureLayout P = T.PicturesOf(Item);
    if (P.SecondShown) {
        X += P.SecondGap;
        if (P.Second >= 0)
            DrawImage(Canvas, Item, T.Images2() ? *T.Images2() : *T.Images(), P.Second,
                      Item.OverlayIndex2, Span(X, P.SecondWidth).Left, Cell);
        Item.SetFlag(ifImage2Drawn, true);
        X += P.SecondWidth;
    }
    if (P.MainShown) {
        X += P.MainGap;
        if (P.Main >= 0)
            DrawImage(Canvas, Item, *T.Images(), P.Main, Item.OverlayIndex,
                      Span(X, P.MainWidth).Left, Cell);
        Item.SetFlag(ifImageDrawn, true);
        X += P.MainWidth;
    }
    const bool Bare = !T.ShowButtons() && !T.ShowLines() && !T.ShowImages && !T.ShowCheckboxes;
    const TRect Rest = Span(X, std::max(0, Cell.Right - X));
    if (T.IsOwnerDrawnCell(Item, Column, Style)) {
        T.DoItemDraw(&Item, Canvas, Rest, T.MainTreeColumn());
        const int Gap = II / 3 - (Bare ? II / 3 : 0);
        Item.TextLeft = Rest.Left + (Mirror ? 0 : Gap) + Left;
        Item.TextRight = Rest.Right - (Mirror ? Gap : 0) + Left;
        Item.TextTop = Cell.Top;
        Item.TextBottom = Cell.Bottom;
        return;
    }
    const int Gap = II / 3;
    DrawMainText(Canvas, Item, Style,
                 Mirror ? TRect(Rest.Left, Cell.Top, Rest.Right - Gap, Cell.Bottom)
                        : TRect(Rest.Left + Gap, Cell.Top, Rest.Right, Cell.Bottom),
                 Colours, Bare);
}

void TCvTreeView::DrawMainText(TCanvas& Canvas, TCvTreeItem& Item, const TCvCellStyle* Style,
                               TRect Cell, TCellColours Colours, bool Bare) {
    TCustomCvTree& T = *FTree;
    const HDC DC = Canvas.Handle();
    const int Left = T.LeftPosition();
    const int II = T.ItemIndent();
    const bool Columns = T.ShowColumns() && T.SectionCount() > 0;
    const int Section = Columns ? T.MainTreeColumn() : -1;
    const TCvString Text = T.ShownCellText(Item, Section);
    std::unique_ptr<TCvHTMLData> Fresh;
    TCvHTMLData* const HTML = T.CellHTML(Item, Section, Fresh);
    TFont Font;
    T.CellFontOf(Item, Style, Font);
    TColor TextColor = Colours.Text;
    bool FillText = false;
    TColor TextBack = Colours.Back;
    if (!Style && !Item.HasFlag(ifParentColors) && !FRowColoured) {
        TextColor = Item.Color;
        if (Item.HasFlag(ifUseBkColor)) {
            TextBack = Item.BkColor;
            FillText = true;
        }
    }
    const bool Plain = !T.BarStyle() && Item.BorderStyle == 0;
    const bool Selected = Item.IsSelected() && Plain &&
                          (T.SelectColumn() == -1 || T.SelectColumn() == T.MainTreeColumn() ||
                           T.RowSelect() || !Columns);
    if (Selected) {
        const bool Focused = SelectionFocused();
        TextBack = Focused ? T.FocusedSelectColor() : T.HideSelectColor();
        TextColor = Focused ? T.FocusedSelectTextColor() : T.HideSelectTextColor();
        FillText = true;
    }
    if (T.Tracking() && T.HotItem == &Item) {
        if (!Selected)
            TextColor = T.TrackColor();
        if (T.UnderlineTracked()) {
            TFontStyles S = Font.Style();
            S.Include(fsUnderline);
            Font.SetStyle(S);
        }
    }
    const UINT Flags = T.TextFlagsOf(Item);
    const TSize Size = HTML           ? HTML->TextSize
                       : Text.empty() ? TSize{0, 0}
                                      : T.Measurer().TextSize(Font, Text, Flags, Cell.Width());
    // The box reaches one pixel into the gap before the text (after it, mirrored).
    const bool Mirror = T.RightAlignedTree();
    const int BoxLeft = Mirror ? std::max(Cell.Left, Cell.Right - Size.cx - 2) : Cell.Left - 1;
    const int BoxRight = Mirror ? Cell.Right + 2 : std::min(Cell.Left + Size.cx + 3, Cell.Right);
    if (BoxRight <= BoxLeft) {
        Item.TextLeft = Item.TextRight = (Mirror ? BoxRight + 1 : BoxLeft - 1) + Left;
        Item.TextTop = Item.TextBottom = Cell.Top;
        return;
    }
    const int RowHeight = Cell.Height();
    const int H = std::min(Size.cy, RowHeight);
    const bool TopAligned =
        (Item.HasFlag(ifMultiline) || Item.IsHTML()) && RowHeight > T.LineHeight();
    const int Top = TopAligned ? Cell.Top : Cell.Top + (RowHeight - H) / 2;
    const int W = std::min(Size.cx, BoxRight - BoxLeft);
    TRect TextRect(BoxLeft, Top, BoxLeft + W, Top + H);
    if (T.RightAlignedText() || Mirror)
        TextRect = TRect(BoxRight - W, Top, BoxRight, Top + H);
    if (FillText && !FRowColoured)
        FillRectColor(DC, TRect(BoxLeft, Cell.Top, BoxRight, Cell.Bottom), TextBack);
    else if (FillText && Selected && !T.RowSelect())
        FillRectColor(DC, TRect(BoxLeft, Cell.Top, BoxRight, Cell.Bottom), TextBack);
    UINT Align = T.RightAlignedTree() ? DT_RIGHT : DT_LEFT;
    if (T.RightAlignedText())
        Align |= DT_RTLREADING;
    if (HTML)
        DrawHTML(DC, *HTML, TextRect, TextColor, FillText ? TextBack : CvColorNone);
    else
        DrawTextIn(DC, Font, TextColor, Text, TextRect,
                   Align | Flags | (Flags & DT_SINGLELINE ? DT_END_ELLIPSIS : 0));
    Item.TextLeft = TextRect.Left - 1 + Left - (Bare && !Mirror ? II / 3 : 0);
    Item.TextRight = TextRect.Right + 1 + Left + (Bare && Mirror ? II / 3 : 0);
    Item.TextTop = TextRect.Top;
    Item.TextBottom = TextRect.Bottom;
}

void TCvTreeView::DrawTreeLines(HDC DC, TCvTreeItem& Item, const TRect& RowRect, const TRect& Cell,
                                int RootLeft) {
    TCustomCvTree& T = *FTree;
    const int II = T.ItemIndent();
    const bool Filtered = T.FilteredVisibility();
    const int Level = Item.Level();
    const auto LineX = [&](int Column) { return RootLeft + (Column - 1) * II + II / 2; };
    const int Top = RowRect.Top;
    const int Mid = Top + (RowRect.Height() + 2) / 2;
    const int AncestorEnd = RowRect.Bottom + 1;
    const int OwnEnd = RowRect.Bottom + 2;
    std::vector<const TCvTreeItem*> Ancestors(static_cast<size_t>(Level));
    for (const TCvTreeItem* A = Item.ParentItem(); A; A = A->ParentItem())
        Ancestors[static_cast<size_t>(A->Level())] = A;
    if (Level > 0 && T.ShowRoot() && NextShownSibling(*Ancestors[0], Filtered))
        DrawLine(DC, LineX(0), Top, LineX(0), AncestorEnd, Cell);
    for (int J = 1; J < Level; ++J) {
        const TCvTreeItem& A = *Ancestors[static_cast<size_t>(J)];
        if (NextShownSibling(A, Filtered) && LaterSiblingDrawsLines(A))
            DrawLine(DC, LineX(J), Top, LineX(J), AncestorEnd, Cell);
    }
    const int X = LineX(Level);
    const int ColumnRight = RootLeft + Level * II;
    const bool Suppressed = Item.HasFlag(ifSuppressLines);
    const bool Later = NextShownSibling(Item, Filtered) != nullptr;
    if (Level == 0) {
        if (!T.ShowRoot())
            return;
        if (!Suppressed)
            DrawLine(DC, X, Mid, ColumnRight, Mid, Cell);
        if (PrevShownSibling(Item, Filtered))
            DrawLine(DC, X, Top, X, Mid, Cell);
        if (!Suppressed && Later)
            DrawLine(DC, X, Mid, X, OwnEnd, Cell);
        return;
    }
    const bool LaterDraws = LaterSiblingDrawsLines(Item);
    if (!(Suppressed && !LaterDraws))
        DrawLine(DC, X, Top, X, Mid, Cell);
    if (!Suppressed)
        DrawLine(DC, X, Mid, ColumnRight, Mid, Cell);
    if (Later && LaterDraws)
        DrawLine(DC, X, Mid, X, OwnEnd, Cell);
}

void TCvTreeView::DrawLine(HDC DC, int X1, int Y1, int X2, int Y2, const TRect& Cell) {
    TCustomCvTree& T = *FTree;
    if (T.RightAlignedTree()) {
        // Lines are laid out from the left edge; a right-aligned tree draws them mirrored.
        const int Sum = Cell.Left + Cell.Right;
        if (Y1 == Y2) {
            const int From = Sum - X2;
            X2 = Sum - X1;
            X1 = From;
        } else {
            X1 = X2 = Sum - 1 - X1;
        }
    }
    X1 = std::max(X1, Cell.Left);
    X2 = std::min(X2, Cell.Right);
    if (X1 >= Cell.Right || X2 < Cell.Left || (Y1 == Y2 && X2 <= X1))
        return;
    const COLORREF Color = ColorToRGB(T.LinesColor());
    if (T.LinesStyle() != psDot) {
        DrawSolidLine(DC, X1, Y1, Y1 == Y2 ? X2 : X1, Y1 == Y2 ? Y1 : Y2, T.LinesColor());
        return;
    }
    // Dots of every line lie on one checkerboard: x + y even.
    if (Y1 == Y2) {
        for (int X = X1; X < X2; ++X)
            if ((X + Y1) % 2 == 0)
                SetPixel(DC, X, Y1, Color);
        return;
    }
    for (int Y = Y1; Y < Y2; ++Y)
        if ((X1 + Y) % 2 == 0)
            SetPixel(DC, X1, Y, Color);
}

void TCvTreeView::DrawButton(HDC DC, TCvTreeItem& Item, const TRect& Area, bool HasChildren) {
    TCustomCvTree& T = *FTree;
    const int II = T.ItemIndent();
    const auto Place = [&](int W, int H) {
        const int L = Area.Left + (II - W) / 2;
        const int Top = Area.Top + (Area.Height() + 1 - H) / 2;
        return TRect(L, Top, L + W, Top + H);
    };
    if (T.IsThemeApplied()) {
        const int State = Item.IsExpanded() ? 2 : 1;
        SIZE Glyph{9, 9};
        ThemePartSize(T.Theme(), 2, State, Glyph);
        const TRect Box = Place(Glyph.cx + 1, Glyph.cy + 1);
        if (SUCCEEDED(DrawThemePart(T.Theme(), DC, 2, State, Box)))
            return;
    }
    TCvTreeBitmaps& Defaults = TreeButtonBitmaps();
    const bool Custom = T.CustomPlusMinus();
    TBitmap& Picture = !HasChildren        ? (Custom ? T.LeafPicture() : Defaults.Leaf)
                       : Item.IsExpanded() ? (Custom ? T.MinusPicture() : Defaults.Minus)
                                           : (Custom ? T.PlusPicture() : Defaults.Plus);
    if (Picture.Empty())
        return;
    const TRect Box =
        Custom ? Place(T.PlusPicture().Width(), T.PlusPicture().Height()) : Place(10, 10);
    if (T.PlusMinusTransparent()) {
        const TColor Clear = Custom ? Picture.Canvas().Pixel(0, T.PlusPicture().Height() - 1)
                                    : Picture.Canvas().Pixel(1, Picture.Height() - 2);
        DrawPictureTransparent(DC, Picture, Box.Left, Box.Top,
                               TRect(0, 0, Picture.Width(), Picture.Height()), Clear);
        return;
    }
    BitBlt(DC, Box.Left, Box.Top, std::min(Picture.Width(), Box.Width()),
           std::min(Picture.Height(), Box.Height()), Picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TCvTreeView::DrawCheckBox(HDC DC, TCvTreeItem& Item, const TRect& Area) {
    TCustomCvTree& T = *FTree;
    const bool Radio = Item.CheckBoxType() == 2;
    const bool ThreeState = Item.CheckBoxType() == 1;
    const int State = Item.CheckBoxState();
    const bool Disabled = !Item.HasFlag(ifCheckBoxEnabled);
    if (T.CustomCheckboxes()) {
        TBitmap& Strip = Radio ? T.RadioButtonGlyph() : T.CheckBoxGlyph();
        if (Strip.Empty())
            return;
        const int W = Strip.Width() / 6;
        int Cell = ThreeState ? 2 * std::clamp(State, 0, 2) : (State == 1 ? 2 : 0);
        if (Radio)
            Cell = State == 1 ? 2 : 0;
        if (Disabled)
            ++Cell;
        const int Top = Area.Top + (Area.Height() - Strip.Height()) / 2;
        const int Fit = std::min(W, Area.Width());
        if (Fit > 0)
            DrawPictureTransparent(DC, Strip, Area.Left, Top,
                                   TRect(Cell * W, 0, Cell * W + Fit, Strip.Height()),
                                   Strip.TransparentColor());
        return;
    }
    const bool Inactive = Disabled || !T.Enabled();
    if (T.IsThemeApplied()) {
        int Part = 3, ThemeState;
        if (Radio) {
            Part = 2;
            ThemeState = (State == 1 ? 5 : 1) + (Disabled ? 3 : 0);
        } else {
            ThemeState = (State == 1 ? 5 : State == 2 ? 9 : 1) + (Inactive ? 3 : 0);
        }
        SIZE PartSize{};
        const int Size = ThemedClassPartSize(L"BUTTON", Part, ThemeState, PartSize)
                             ? PartSize.cx
                             : T.CheckBoxSize();
        const int Top = Area.Top + (Area.Height() - Size) / 2;
        if (SUCCEEDED(DrawThemedClassBackground(L"BUTTON", DC, Part, ThemeState,
                                                TRect(Area.Left, Top, Area.Left + Size, Top + Size),
                                                Area)))
            return;
    }
    const int Size = T.CheckBoxSize() - 1;
    const int Top = Area.Top + (Area.Height() - Size) / 2;
    RECT Box{Area.Left, Top, Area.Left + Size, Top + Size};
    UINT Style = DFCS_BUTTONCHECK;
    if (Radio)
        Style = DFCS_BUTTONRADIO | (State == 1 ? DFCS_CHECKED : 0);
    else if (ThreeState && State == 2)
        Style = DFCS_BUTTON3STATE | DFCS_CHECKED;
    else if (State == 1)
        Style |= DFCS_CHECKED;
    if (Inactive)
        Style |= DFCS_INACTIVE;
    DrawFrameControl(DC, &Box, DFC_BUTTON, Style);
}

void TCvTreeView::DrawImage(TCanvas& Canvas, TCvTreeItem& Item, TCustomImageList& Images, int Index,
                            int Overlay, int X, const TRect& Cell) {
    TCustomCvTree& T = *FTree;
    const int Y = Cell.Top + (Cell.Height() - Images.Height()) / 2;
    const TDrawingStyle Was = Images.DrawingStyle;
    if (T.ChangeStateImage()) {
        const bool Cut = Item.HasState(TCvItemState::Cut);
        TDrawingStyle Style = dsNormal;
        if (T.RowSelect() && (Item.IsSelected() || Cut))
            Style = dsSelected;
        else if (T.RowSelect() && Item.HasState(TCvItemState::Focused))
            Style = dsFocus;
        else if (!T.RowSelect() && Cut)
            Style = dsSelected;
        Images.DrawingStyle = Style;
    }
    if (Overlay >= 0)
        Images.DrawOverlay(Canvas, X, Y, Index, Overlay);
    else
        Images.Draw(Canvas, X, Y, Index);
    Images.DrawingStyle = Was;
}
