#include "classlib/gui/StdCtrls.h"

#include <algorithm>

namespace {

constexpr int TabColumns = 8;

// Tabs become spaces up to the next stop, as DrawText's DT_EXPANDTABS would place them.
String ExpandTabs(const String& Line) {
    if (Line.find(L'\t') == String::npos)
        return Line;
    String Expanded;
    for (const wchar_t Ch : Line) {
        if (Ch != L'\t') {
            Expanded += Ch;
            continue;
        }
        do
            Expanded += L' ';
        while (Expanded.size() % TabColumns != 0);
    }
    return Expanded;
}

// The caption's paragraphs: CR LF, CR and LF each end one.
std::vector<String> Paragraphs(const String& Text) {
    std::vector<String> Result(1);
    for (size_t I = 0; I < Text.size(); ++I) {
        const wchar_t Ch = Text[I];
        if (Ch == L'\r' || Ch == L'\n') {
            if (Ch == L'\r' && I + 1 < Text.size() && Text[I + 1] == L'\n')
                ++I;
            Result.emplace_back();
            continue;
        }
        Result.back() += Ch;
    }
    return Result;
}

// How far the last glyph's ink reaches past its advance (an italic's slant), which the text's
// extent leaves out but a label sized to it must hold.
int TrailingOverhang(TCanvas& Surface, const String& Text) {
    if (Text.empty())
        return 0;
    Surface.TextWidth(L""); // selects the font
    const UINT Last = Text.back();
    ABC Widths{};
    if (!GetCharABCWidthsW(Surface.Handle(), Last, Last, &Widths))
        return 0;
    return std::max(0, -Widths.abcC);
}

} // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 65, 17);
    AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    Changed();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (FLayout == Value)
        return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    Changed();
}

void TCustomLabel::CaptionChanged() {
    Changed();
}

void TCustomLabel::FontChanged() {
    Changed();
}

void TCustomLabel::EnabledChanged() {
    TGraphicControl::EnabledChanged();
    Invalidate();
}

void TCustomLabel::Changed() {
    AdjustBounds();
    Invalidate();
}

std::vector<TCustomLabel::TLine> TCustomLabel::Lines(TCanvas& Surface, int WrapWidth) const {
    std::vector<TLine> Result;
    const auto Add = [&](const String& Text) {
        Result.push_back(TLine{Text, Surface.TextWidth(Text) + TrailingOverhang(Surface, Text)});
    };
    for (const String& Raw : Paragraphs(Caption())) {
        const String Paragraph = ExpandTabs(Raw);
        if (WrapWidth < 0 || Surface.TextWidth(Paragraph) <= WrapWidth) {
            Add(Paragraph);
            continue;
        }
        // Greedy: as many words as fit; a word wider than the label stands on a line alone.
        size_t Start = 0;
        while (Start < Paragraph.size()) {
            const String Rest = Paragraph.substr(Start);
            if (Surface.TextWidth(Rest) <= WrapWidth) {
                Add(Rest);
                break;
            }
            size_t Break = String::npos;
            for (size_t Space = Paragraph.find(L' ', Start + 1); Space != String::npos;
                 Space = Paragraph.find(L' ', Space + 1)) {
                if (Surface.TextWidth(Paragraph.substr(Start, Space - Start)) > WrapWidth)
                    break;
                Break = Space;
            }
            if (Break == String::npos)
                Break = Paragraph.find(L' ', Start + 1);
            if (Break == String::npos) {
                Add(Rest);
                break;
            }
            Add(Paragraph.substr(Start, Break - Start));
            Start = Paragraph.find_first_not_of(L' ', Break);
        }
    }
    return Result;
}

void TCustomLabel::AdjustBounds() {
    if (!FAutoSize)
        return;
    // Measured as it will be drawn: a memory DC like the parent's back buffer, the label's font.
    const TClientDC Screen(nullptr);
    const TMemoryDC Measuring(Screen.Handle());
    TCanvas Surface;
    const TCanvasDC Attached(Surface, Measuring.Handle());
    Surface.Font().Assign(Font());
    const int LineHeight = Surface.TextHeight(L" ");
    const auto Measured = Lines(Surface, FWordWrap ? Width() : -1);
    int TextWidth = 0;
    for (const TLine& Line : Measured)
        TextWidth = std::max(TextWidth, Line.Width);
    if (Caption().empty())
        TextWidth = Surface.TextWidth(L" "); // an empty caption keeps a place to click
    const int NewWidth = FWordWrap ? Width() : TextWidth;
    const int NewLeft =
        FAlignment == taRightJustify && !FWordWrap ? Left() + Width() - NewWidth : Left();
    SetBounds(NewLeft, Top(), NewWidth, LineHeight * static_cast<int>(Measured.size()));
}

void TCustomLabel::Paint() {
    TCanvas& Surface = Canvas();
    Surface.Font().Assign(Font());
    const TRect Area = ClientRect();
    if (!FTransparent) {
        Surface.Brush().SetColor(Color());
        Surface.Brush().SetStyle(bsSolid);
        Surface.FillRect(Area);
    }
    Surface.Brush().SetStyle(bsClear);
    if (!Enabled())
        Surface.Font().SetColor(clGrayText);
    DoDrawText(Area);
}

void TCustomLabel::DoDrawText(const TRect& Area) {
    TCanvas& Surface = Canvas();
    const int LineHeight = Surface.TextHeight(L" ");
    const auto Drawn = Lines(Surface, FWordWrap ? Area.Width() : -1);
    const int Block = LineHeight * static_cast<int>(Drawn.size());
    int Y = Area.Top;
    if (FLayout == tlCenter)
        Y += (Area.Height() - Block) / 2;
    else if (FLayout == tlBottom)
        Y += Area.Height() - Block;
    for (const TLine& Line : Drawn) {
        int X = Area.Left;
        if (FAlignment == taRightJustify)
            X = Area.Right - Line.Width;
        else if (FAlignment == taCenter)
            X += (Area.Width() - Line.Width) / 2;
        Surface.TextOut(X, Y, Line.Text);
        Y += LineHeight;
    }
}
