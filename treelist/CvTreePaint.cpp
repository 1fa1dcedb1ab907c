// Painting of the view: the background, the rows with their colours, dividers, focus and drop
// marks, and the column cells. The tree column is CvTreePaintMain.cpp.
#include "treelist/CvTree.h"

#include "treelist/CvBackground.h"
#include "treelist/CvTreePaintTools.h"

#include <algorithm>

void TCvTreeView::Paint() {
    PaintTo(Canvas().Handle(), Canvas().ClipRect());
}

bool TCvTreeView::PaintsBuffered() const {
    const TCustomCvTree& T = *FTree;
    return T.InSizeMove ? T.DoubleBufferedOnResize : T.DoubleBuffered();
}

void TCvTreeView::WMPaint(HDC DC) {
    if (DC || PaintsBuffered()) {
        TCustomControl::WMPaint(DC);
        return;
    }
    // Straight onto the window; PaintTo lays its own background.
    const TPaintDC Target(Handle());
    const TCanvasDC Attached(Canvas(), Target.Handle());
    Canvas().Font().Assign(Font());
    PaintTo(Target.Handle(), TRect(Target.PaintRect()));
}

void TCvTreeView::PaintTo(HDC DC, const TRect& Box) {
    TCustomCvTree& T = *FTree;
    const TRect Client(0, 0, Width(), Height());
    const TRect Area = Box.IsEmpty() ? Client : Box;
    FPainting = true;
    try {
        const TCvBkGndType Type = T.BackgroundType();
        if (Type == bgtColorFill) {
            if (!T.InSizeMove)
                FillRectColor(DC, Area, T.BkColor());
        } else {
            TBitmap* Picture = Type == bgtCenterBitmap ? &T.Background() : &FBackground;
            const TRect Whole(0, 0, Client.Right + 1, Client.Bottom + 1);
            const TRect Where =
                Type == bgtCenterBitmap ? Whole : TRect(0, 0, Picture->Width(), Picture->Height());
            DrawExtBackground(DC, nullptr, TPoint{0, 0},
                              Type == bgtCenterBitmap ? bgtCenterBitmap : bgtTopLeftBitmap, Picture,
                              false, 0, T.BkColor(), false, Area, TRect(), Where);
        }
        TCanvas Canvas;
        const TCanvasDC Attached(Canvas, DC);
        const TSaveDC Saved(DC);
        IntersectClipRect(DC, Area.Left, Area.Top, Area.Right, Area.Bottom);
        DrawRows(Canvas, Area);
    } catch (...) {
        FPainting = false;
        throw;
    }
    FPainting = false;
}

void TCvTreeView::PrepareBackground() {
    TCustomCvTree& T = *FTree;
    const TCvBkGndType Type = T.BackgroundType();
    if (Type == bgtColorFill || Type == bgtCenterBitmap || Width() <= 0 || Height() <= 0) {
        FBackground.SetSize(0, 0);
        return;
    }
    FBackground.SetSize(Width() + 1, Height() + 1);
    const HDC DC = FBackground.Canvas().Handle();
    const TRect All(0, 0, Width() + 1, Height() + 1);
    if (Type == bgtHorzGradient || Type == bgtVertGradient) {
        GradientFillRect(DC, All, T.GradientStartColor(), T.GradientEndColor(), T.GradientSteps(),
                         Type == bgtVertGradient);
        return;
    }
    DrawExtBackground(DC, nullptr, TPoint{0, 0}, Type, &T.Background(), false, 0, T.BkColor(),
                      false, All, TRect(), All);
}

// ---------------------------------------------------------------------- rows

void TCvTreeView::DrawRows(TCanvas& Canvas, const TRect& Clip) {
    TCustomCvTree& T = *FTree;
    const HDC DC = Canvas.Handle();
    const bool Columns = T.ShowColumns() && T.SectionCount() > 0;
    const int Left = T.LeftPosition();
    if (Columns && T.HeaderControl().ScrollOffset() != Left)
        T.HeaderControl().SetScrollOffset(Left);
    if (T.MainTreeColumn() >= T.SectionCount() && T.MainTreeColumn() != 0)
        T.SetMainTreeColumn(T.SectionCount());
    const int SectionsRight = Columns ? T.HeaderControl().SectionsWidth() : 0;
    const int ContentRight = Columns ? SectionsRight : std::max(T.MaxRowWidth, Width() + Left);
    for (int I = 0; I < static_cast<int>(FRows.size()); ++I) {
        TCvTreeItem& Item = *FRows[I];
        TRect RowRect = GetItemRect(I);
        const bool Divider = T.HorizontalLines() && !T.BarStyle() && Item.BorderStyle == 0;
        if (Divider)
            --RowRect.Bottom;
        if (!RowRect.Intersects(Clip))
            continue;
        if (!Columns)
            RowRect.Right = ContentRight;
        TRect Content(0, RowRect.Top, ContentRight, RowRect.Bottom);
        if (!Item.HasFlag(ifUseStyles))
            T.PaintRowTextColor = T.TextColor();
        const bool Edged = T.BarStyle() || Item.BorderStyle != 0;
        if (Edged) {
            RowRect = Inflated(RowRect, -1);
            Content = Inflated(Content, -1);
        }
        if (T.OnItemPreDraw)
            T.OnItemPreDraw(&T, &Item);
        DrawItem(Canvas, Item, I, Content, RowRect);
        if (Edged)
            DrawRowEdge(DC, Item, Inflated(RowRect, 1), Columns ? SectionsRight - Left : -1);
    }
    const int RowsBottom = RowsHeight();
    if (T.InSizeMove && T.BackgroundType() == bgtColorFill) {
        FillRectColor(DC, TRect(0, RowsBottom, Width(), Height()), T.BkColor());
        if (Columns)
            FillRectColor(DC, TRect(SectionsRight - Left, 0, Width(), RowsBottom), T.BkColor());
    }
    if (T.HorizontalLines() && !T.BarStyle()) {
        const int Right = Columns ? SectionsRight - Left : Width();
        int Y = 0;
        for (TCvTreeItem* Item : FRows) {
            Y += RowHeightOf(*Item);
            if (Y - 1 >= Height())
                break;
            if (Item->HasFlag(ifDrawHLine))
                DrawSolidLine(DC, std::max(0, Clip.Left), Y - 1, std::min(Right, Clip.Right), Y - 1,
                              T.HorzDivLinesColor());
        }
    }
    if ((!T.BarStyle() || T.BarStyleVerticalLines()) && T.VerticalLines() && Columns &&
        T.VerticalLinesLong()) {
        const TCvHeaderSection* Locked = T.HeaderControl().LockedSection();
        const int LockedRight = Locked && Locked->Visible() ? Locked->RightEdge() : 0;
        const TCvHeaderSections& All = T.HeaderControl().Sections();
        for (int S = 0; S < All.SectionCount(); ++S) {
            const TCvHeaderSection* Section = All.ItemAt(S);
            if (!Section->Visible() || Section->Width() <= 0)
                continue;
            const int X = Section == Locked ? Section->RightEdge() : Section->RightEdge() - Left;
            if (Section != Locked && X <= LockedRight)
                continue;
            DrawSolidLine(DC, X - 1, RowsBottom, X - 1, Clip.Bottom, T.VertDivLinesColor());
        }
    }
}

void TCvTreeView::DrawRowEdge(HDC DC, TCvTreeItem& Item, TRect RowRect, int ColumnsRight) {
    TCustomCvTree& T = *FTree;
    if (ColumnsRight >= 0)
        RowRect.Right = ColumnsRight;
    RECT R = RowRect;
    switch (Item.BorderStyle) {
    case 0:
        DrawEdge(DC, &R, Item.IsSelected() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        break;
    case 1:
        DrawEdge(DC, &R, BDR_RAISEDINNER, BF_RECT);
        break;
    case 2:
        DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
        break;
    case 3:
        DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
        break;
    default: {
        SetBkColor(DC, ColorToRGB(Item.BorderSpaceColor));
        const TBrushObject Brush(CreateSolidBrush(ColorToRGB(T.PaintRowBkColor)));
        FrameRect(DC, &R, Brush.Get());
        break;
    }
    }
}

// The row's colour, by precedence: its own, the selection, the stripes, the drop target.
void TCvTreeView::ChooseRowColours(TCvTreeItem& Item, int RowIndex) {
    TCustomCvTree& T = *FTree;
    FRowColoured = false;
    FRowOwnColour = false;
    T.PaintRowBkColor = T.BkColor();
    if (!Item.HasFlag(ifParentColors) && Item.HasFlag(ifUseBkColor)) {
        T.PaintRowBkColor = Item.RowBkColor();
        FRowColoured = FRowOwnColour = true;
    }
    if (Item.IsSelected() && !T.BarStyle() && Item.BorderStyle == 0 && T.RowSelect()) {
        const bool Focused = SelectionFocused();
        T.PaintRowBkColor = Focused ? T.FocusedSelectColor() : T.HideSelectColor();
        // The row's text takes the same colour as its cells do.
        T.PaintRowTextColor = Focused ? T.FocusedSelectTextColor() : T.HideSelectTextColor();
        FRowColoured = true;
        FRowOwnColour = false;
    } else if (T.StripedItems()) {
        const int VisIndex = RowIndex + T.TopIndex();
        T.PaintRowBkColor = VisIndex % 2 == 0 ? T.StripedEvenColor() : T.StripedOddColor();
        FRowColoured = true;
        FRowOwnColour = false;
    }
    if (T.RowSelect() && T.DropTarget == &Item) {
        if (T.DragTrgDrawMode == TCvDragTrgDrawMode::ColorRect) {
            T.PaintRowBkColor = T.DropAccepted ? T.DragRectAcceptColor : T.DragRectDenyColor;
            T.PaintRowTextColor = clBtnText;
            FRowColoured = true;
        } else if (T.DragTrgDrawMode == TCvDragTrgDrawMode::SelColorRect) {
            T.PaintRowBkColor = clHighlight;
            T.PaintRowTextColor = clHighlightText;
            FRowColoured = true;
        }
    }
}

bool TCvTreeView::SelectionFocused() const {
    return FHasFocus || !FTree->HideSelection();
}

int TCvTreeView::VLineOf(const TCvTreeItem& Item) const {
    const TCustomCvTree& T = *FTree;
    if (!T.VerticalLines() || Item.BorderStyle != 0)
        return 0;
    return !T.BarStyle() || T.BarStyleVerticalLines() ? 1 : 0;
}

void TCvTreeView::DrawItem(TCanvas& Canvas, TCvTreeItem& Item, int RowIndex, TRect /*Content*/,
                           TRect RowRect) {
    TCustomCvTree& T = *FTree;
    const bool Columns = T.ShowColumns() && T.SectionCount() > 0;
    const int VLine = VLineOf(Item);
    ChooseRowColours(Item, RowIndex);
    if (!Columns) {
        DrawMainCell(Canvas, Item, RowRect);
    } else {
        const TCvHeaderSections& All = T.HeaderControl().Sections();
        TCvHeaderSection* Locked = T.HeaderControl().LockedSection();
        const bool Dividers = T.VerticalLines() &&
                              (T.BarStyle() ? T.BarStyleVerticalLines()
                                            : (Item.BorderStyle == 0 || T.BarStyleVerticalLines()));
        const auto DrawSection = [&](TCvHeaderSection& S) {
            if (S.SectionIndex() == T.MainTreeColumn())
                DrawMainCell(Canvas, Item, RowRect);
            else
                DrawColumnCell(Canvas, Item, S, RowRect);
            if (!Dividers)
                return;
            const int X = S.RightEdge() - (&S == Locked ? 0 : T.LeftPosition()) - 1;
            DrawSolidLine(Canvas.Handle(), X, RowRect.Top, X, RowRect.Bottom + 1,
                          T.VertDivLinesColor());
        };
        for (int I = 0; I < All.SectionCount(); ++I) {
            TCvHeaderSection* S = All.ItemByIndex(I);
            if (S && S->Visible() && S != Locked)
                DrawSection(*S);
        }
        // The locked section does not scroll: scrolled cells never show under it.
        if (Locked && Locked->Visible()) {
            FillRectColor(
                Canvas.Handle(),
                TRect(Locked->LeftEdge(), RowRect.Top, Locked->RightEdge(), RowRect.Bottom),
                FRowColoured ? T.PaintRowBkColor : T.BkColor());
            DrawSection(*Locked);
        }
    }
    DrawStrikeLine(Canvas.Handle(), Item, RowRect);
    DrawFocusAndMarks(Canvas, Item, RowRect, VLine);
}

void TCvTreeView::DrawStrikeLine(HDC DC, TCvTreeItem& Item, const TRect& RowRect) {
    TCustomCvTree& T = *FTree;
    if (!Item.HasFlag(ifStrikedOutLine))
        return;
    TColor Pen = Item.StrikedLineColor;
    if (Item.IsSelected() && T.RowSelect() && !T.BarStyle() && Item.BorderStyle == 0)
        Pen = SelectionFocused() ? T.FocusedSelectTextColor() : T.HideSelectTextColor();
    const int Left = T.LeftPosition();
    const int Y = (RowRect.Top + RowRect.Bottom) / 2 + 1;
    const int Right = T.ShowColumns() ? T.HeaderControl().SectionsWidth() : Item.TextRight;
    DrawSolidLine(DC, Item.TextLeft - 2 - Left, Y, Right - Left, Y, Pen);
}

void TCvTreeView::DrawFocusAndMarks(TCanvas& Canvas, TCvTreeItem& Item, const TRect& RowRect,
                                    int VLine) {
    TCustomCvTree& T = *FTree;
    const HDC DC = Canvas.Handle();
    const bool Columns = T.ShowColumns() && T.SectionCount() > 0;
    const int Left = T.LeftPosition();
    const bool Edged = T.BarStyle() || Item.BorderStyle != 0;
    TRect Focus(Item.TextLeft - Left, Item.TextTop, Item.TextRight - Left, Item.TextBottom);
    if (T.RowSelect()) {
        int From = RowRect.Left - Left;
        if (Columns && T.HeaderControl().LockedSection())
            From = Edged ? 1 : 0;
        const int To = Columns ? T.HeaderControl().SectionsWidth() - Left - VLine - (Edged ? 1 : 0)
                               : RowRect.Right;
        Focus = TRect(From, RowRect.Top, To, RowRect.Bottom);
    } else if (Columns && T.SelectColumn() >= 0) {
        if (const TCvHeaderSection* S = T.SectionOf(T.SelectColumn()))
            Focus = TRect(S->LeftEdge() - Left, RowRect.Top, S->RightEdge() - Left - VLine,
                          RowRect.Bottom);
    }
    bool DrawFocus = FHasFocus || !T.HideFocusRect();
    T.DoAfterItemDraw(Canvas, &Item, Focus, DrawFocus);
    if (Item.HasState(TCvItemState::Focused) && DrawFocus && T.DrawFocusRect()) {
        SetBkColor(DC, ColorToRGB(T.BkColor()));
        SetTextColor(DC, ColorToRGB(T.TextColor()));
        const RECT R = Focus;
        ::DrawFocusRect(DC, &R);
    }
    if (T.DropTarget != &Item)
        return;
    TRect Mark = Focus;
    if (T.RowSelect())
        Mark.Right = Width() - (Edged ? 1 : 0);
    ++Mark.Bottom;
    const TColor Accept = T.DropAccepted ? T.DragRectAcceptColor : T.DragRectDenyColor;
    switch (T.DragTrgDrawMode) {
    case TCvDragTrgDrawMode::ColorFrame: {
        const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Accept)));
        const RECT R = Mark;
        FrameRect(DC, &R, Brush.Get());
        break;
    }
    case TCvDragTrgDrawMode::dtdUpColorLine:
        DrawDropLine(DC, Mark, Mark.Top, 1, Accept);
        break;
    case TCvDragTrgDrawMode::dtdDownColorLine:
        DrawDropLine(DC, Mark, Mark.Bottom - 1, -1, Accept);
        break;
    case TCvDragTrgDrawMode::dtdUpSelColorLine:
        DrawDropLine(DC, Mark, Mark.Top, 1, clHighlight);
        break;
    case TCvDragTrgDrawMode::dtdDownSelColorLine:
        DrawDropLine(DC, Mark, Mark.Bottom - 1, -1, clHighlight);
        break;
    default:
        break;
    }
}

// ----------------------------------------------------------------- a column

UINT TCvTreeView::CellTextAlignOf(const TCvHeaderSection& Section) const {
    if (Section.Alignment() == hsaCenter)
        return DT_CENTER;
    if ((Section.Alignment() == hsaRight) != FTree->RightAlignedText())
        return DT_RIGHT;
    return DT_LEFT;
}

// The cell of a column in client coordinates (the locked section does not scroll).
TRect TCvTreeView::ColumnCellOf(TCvTreeItem& Item, const TCvHeaderSection& Section,
                                const TRect& RowRect) const {
    const int Shift =
        &Section == FTree->HeaderControl().LockedSection() ? 0 : FTree->LeftPosition();
    return TRect(Section.LeftEdge() - Shift, RowRect.Top,
                 Section.RightEdge() - Shift - VLineOf(Item), RowRect.Bottom);
}

void TCvTreeView::DrawColumnCell(TCanvas& Canvas, TCvTreeItem& Item, TCvHeaderSection& Section,
                                 const TRect& RowRect) {
    TCustomCvTree& T = *FTree;
    const HDC DC = Canvas.Handle();
    const int Index = Section.SectionIndex();
    const TRect Cell = ColumnCellOf(Item, Section, RowRect);
    TCvCellStyle* Style = T.CellStyleOf(Item, Index);
    TCellColours Colours = CellColoursOf(Item, Style, Index == T.SelectColumn());
    if (Colours.Filled)
        FillRectColor(DC, Cell, Colours.Back);
    if (T.IsOwnerDrawnCell(Item, Index, Style)) {
        T.DoItemDraw(&Item, Canvas, Inflated(Cell, -1), Index);
    } else if (Style && !Style->OwnerProps && Style->Control()) {
        TCvCellControl& Control = *Style->Control();
        if (Control.Visible())
            Control.Paint(Canvas, Inflated(Cell, -Control.BorderWidth()));
    } else if (Style && Style->Style == CvhsPictureOnly) {
        if (Style->Picture)
            DrawCellPicture(DC, *Style->Picture, Cell);
    } else if (!Style || Style->Style == CvhsText) {
        DrawCellText(Canvas, Item, Style, Index, Cell, CellTextAlignOf(Section), Colours);
    }
}

TCvTreeView::TCellColours TCvTreeView::CellColoursOf(TCvTreeItem& Item, const TCvCellStyle* Style,
                                                     bool SelectColumn) const {
    const TCustomCvTree& T = *FTree;
    TCellColours C{T.PaintRowBkColor, T.PaintRowTextColor, FRowColoured};
    if (Style && !FRowColoured && !Style->OwnerProps) {
        C.Back = Style->CellBkColor;
        C.Text = Style->TextColor;
        C.Filled = Style->UseBkColor;
    }
    if (Item.IsSelected() && !T.BarStyle() && Item.BorderStyle == 0 &&
        (SelectColumn || T.RowSelect())) {
        const bool Focused = SelectionFocused();
        C.Back = Focused ? T.FocusedSelectColor() : T.HideSelectColor();
        C.Text = Focused ? T.FocusedSelectTextColor() : T.HideSelectTextColor();
        C.Filled = true;
    }
    if (T.DropTarget == &Item && (T.RowSelect() || SelectColumn)) {
        if (T.DragTrgDrawMode == TCvDragTrgDrawMode::ColorRect) {
            C.Back = T.DropAccepted ? T.DragRectAcceptColor : T.DragRectDenyColor;
            C.Text = clBtnText;
            C.Filled = true;
        } else if (T.DragTrgDrawMode == TCvDragTrgDrawMode::SelColorRect) {
            C.Back = clHighlight;
            C.Text = clHighlightText;
            C.Filled = true;
        }
    }
    if (T.InSizeMove && T.BackgroundType() == bgtColorFill)
        C.Filled = true;
    return C;
}

void TCvTreeView::DrawCellText(TCanvas& Canvas, TCvTreeItem& Item, const TCvCellStyle* Style,
                               int SectionIndex, const TRect& Cell, UINT Align,
                               const TCellColours& Colours) {
    TCustomCvTree& T = *FTree;
    const HDC DC = Canvas.Handle();
    const TCvString Text = T.ShownCellText(Item, SectionIndex);
    if (Text.empty())
        return;
    TFont Font;
    T.CellFontOf(Item, Style, Font);
    if (T.Tracking() && T.UnderlineTracked() && T.RowHotTrack() && T.HotItem == &Item) {
        TFontStyles S = Font.Style();
        S.Include(fsUnderline);
        Font.SetStyle(S);
    }
    const UINT Flags = T.TextFlagsOf(Item);
    std::unique_ptr<TCvHTMLData> Fresh;
    TCvHTMLData* const HTML = T.CellHTML(Item, SectionIndex, Fresh);
    const TSize Size =
        HTML ? HTML->TextSize : T.Measurer().TextSize(Font, Text, Flags, Cell.Width());
    const TCvTextSpan Span = CellTextSpanOf(Cell, Align, Size.cx, T.ItemIndent());
    const int L = Span.Left, R = Span.Right;
    const int RowHeight = Cell.Height();
    const int H = std::min(Size.cy, RowHeight);
    const bool TopAligned =
        (Item.HasFlag(ifMultiline) || Item.IsHTML()) && RowHeight > T.LineHeight();
    const int Top = TopAligned ? Cell.Top : Cell.Top + (RowHeight - H) / 2 - (HTML ? 0 : 1);
    TRect TextRect(L, Top, L + std::min(Size.cx, R - L), Top + H);
    if (T.RightAlignedText())
        TextRect = TRect(R - TextRect.Width(), Top, R, Top + H);
    if (HTML)
        DrawHTML(DC, *HTML, TextRect, Colours.Text, Colours.Filled ? Colours.Back : CvColorNone);
    else
        DrawTextIn(DC, Font, Colours.Text, Text, TextRect,
                   Align | Flags | (Flags & DT_SINGLELINE ? DT_END_ELLIPSIS : 0));
}

void TCvTreeView::DrawHTML(HDC DC, TCvHTMLData& Data, const TRect& Box, TColor Text, TColor Back) {
    FHTMLRender.SelectData(&Data);
    FHTMLRender.PaintMarkupClipped(DC, TPoint{0, 0}, Box, true, Text, Back, CvColorNone);
    FHTMLRender.SelectData(nullptr);
}

void TCvTreeView::DrawCellPicture(HDC DC, TBitmap& Picture, const TRect& Cell) {
    const int X = Cell.Left + Cell.Width() / 2 - Picture.Width() / 2;
    const int Y = Cell.Top + (Cell.Height() - Picture.Height()) / 2;
    const int W = std::max(0, std::min(Picture.Width(), Cell.Right - X));
    if (Picture.Transparent)
        DrawPictureTransparent(DC, Picture, X, Y, TRect(0, 0, W, Picture.Height()),
                               Picture.TransparentColor());
    else
        BitBlt(DC, X, Y, W, Picture.Height(), Picture.Canvas().Handle(), 0, 0, SRCCOPY);
}
