// Wide text layout: DrawText's line breaking, prefixes, tabs and end ellipsis, built on the wide
// extent, metrics and output calls only.
#include "treelist/CvVCLUtils.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

constexpr int StackLineUnits = 8192;

struct TLayout {
    HDC DC;
    UINT Format;
    TEXTMETRICW Metrics;
    int MaxWidth;
    int TabWidth = 0;
    int SpaceWidth = 0;
    int Capacity; // units a line buffer takes in this call
};

struct TLine {
    int Length = 0;
    int Prefix = -1; // index of the underlined unit in the line, -1 when none
    int Next = -1;   // where the following line starts in the text, -1 for the last line
};

bool Extent(HDC DC, const wchar_t* Text, int Count, SIZE& Size) {
    Size = SIZE{};
    return Count <= 0 || GetTextExtentPoint32W(DC, Text, Count, &Size);
}

int UnitWidth(const TLayout& L, wchar_t Unit) {
    SIZE Size;
    Extent(L.DC, &Unit, 1, Size);
    return Size.cx - L.Metrics.tmOverhang;
}

// Copies the next line of Text[Pos, End) into Buffer.
TLine NextLine(const TLayout& L, const wchar_t* Text, int Pos, int End, wchar_t* Buffer) {
    const UINT F = L.Format;
    // Widths matter for word breaks and tab stops only.
    const bool Measure = (F & DT_WORDBREAK) || !(F & DT_NOPREFIX) || (F & DT_EXPANDTABS);
    TLine Line;
    int Width = 0;
    int TabStop = 0;
    int Break = -1, BreakNext = -1;
    int I = Pos;
    const auto Append = [&](wchar_t Unit) {
        Buffer[Line.Length++] = Unit;
        if (Measure)
            Width += UnitWidth(L, Unit);
    };
    while (I < End && Line.Length < L.Capacity) {
        const wchar_t C = Text[I];
        if ((C == L'\r' || C == L'\n') && !(F & DT_SINGLELINE)) {
            Line.Next = I + 1 + (C == L'\r' && I + 1 < End && Text[I + 1] == L'\n' ? 1 : 0);
            return Line;
        }
        if (C == L'\t' && (F & DT_EXPANDTABS)) {
            Break = Line.Length;
            BreakNext = I + 1;
            const int Since = Width - TabStop;
            const int Room = L.TabWidth + L.Metrics.tmOverhang - Since;
            for (int N = (Room > 0 && L.SpaceWidth > 0) ? Room / L.SpaceWidth : 0;
                 N > 0 && Line.Length < L.Capacity; --N)
                Buffer[Line.Length++] = L' ';
            Width += L.TabWidth - Since;
            TabStop = Width;
        } else if (C == L'&' && !(F & DT_NOPREFIX)) {
            if (I + 1 < End && Text[I + 1] == L'&') {
                Append(L'&');
                ++I;
            } else if (I + 1 >= End) {
                Append(L'&');
            } else {
                Line.Prefix = Line.Length;
                ++I;
                continue;
            }
        } else {
            if (C == L' ') {
                Break = Line.Length;
                BreakNext = I + 1;
            }
            Append(C);
        }
        ++I;
        if ((F & DT_WORDBREAK) && Width > L.MaxWidth) {
            if (Break > 0) {
                Line.Length = Break;
                I = BreakNext;
            }
            if (Line.Prefix >= Line.Length)
                Line.Prefix = -1;
            Line.Next = I < End ? I : -1;
            return Line;
        }
    }
    Line.Next = I < End ? I : -1;
    return Line;
}

// Shortens the line to fit MaxWidth with three full stops behind it; false when measuring fails.
bool EndEllipsis(const TLayout& L, const wchar_t* Source, int Count, wchar_t* Line, wchar_t* Work,
                 TLine& Result) {
    std::vector<wchar_t> Text(3, L'.');
    Text.insert(Text.end(), Source, Source + std::min(Count, L.Capacity - 3));
    TLayout One = L;
    One.Format = (L.Format | DT_SINGLELINE) & ~static_cast<UINT>(DT_WORDBREAK);
    TLine Worked = NextLine(One, Text.data(), 0, static_cast<int>(Text.size()), Work);
    int Length = std::max(Worked.Length, 3);
    for (;;) {
        SIZE Size;
        if (!Extent(L.DC, Work, Length, Size))
            return false;
        if (Length <= 3 || Size.cx + L.Metrics.tmOverhang <= L.MaxWidth)
            break;
        --Length;
    }
    const int Kept = Length - 3;
    std::copy(Work + 3, Work + Length, Line);
    std::fill(Line + Kept, Line + Length, L'.');
    Result.Length = Length;
    Result.Prefix = (Worked.Prefix >= 3 && Worked.Prefix < Length) ? Worked.Prefix - 3 : -1;
    Result.Next = -1;
    return true;
}

int Layout(HDC DC, const wchar_t* Text, int Count, TRect& Rect, UINT Format, DRAWTEXTPARAMS* Params,
           wchar_t* Modify) {
    if (Text == nullptr)
        return 0;
    // The length is known before the buffers are chosen, so a long text is never cut.
    if (Count < 0)
        Count = static_cast<int>(std::wcslen(Text));
    if (Count == 0) {
        Rect.Right = Rect.Left;
        Rect.Bottom = Rect.Top;
        return 0;
    }
    int TabLength = 8;
    if (Format & DT_TABSTOP) {
        if (Params != nullptr) {
            TabLength = Params->iTabLength;
        } else {
            // The tab length rides in the second byte, which then holds no flags.
            TabLength = static_cast<int>((Format >> 8) & 0xFF);
            Format &= ~static_cast<UINT>(0xFF00);
        }
    }
    if (Format & DT_CALCRECT) {
        if (Rect.Right == 0)
            Rect.Right = 32767;
        if (Rect.Bottom == 0)
            Rect.Bottom = 32767;
        Format |= DT_NOCLIP;
    }

    TLayout L{
        DC, Format, {}, Rect.Width(), 0, 0, Count < StackLineUnits - 4 ? StackLineUnits : Count};
    if (!GetTextMetricsW(DC, &L.Metrics))
        return 0;
    wchar_t StackLine[StackLineUnits];
    wchar_t StackWork[StackLineUnits];
    std::vector<wchar_t> HeapLine, HeapWork;
    wchar_t* Line = StackLine;
    wchar_t* Work = StackWork;
    if (Count >= StackLineUnits - 4) {
        HeapLine.resize(static_cast<std::size_t>(Count) + 4);
        HeapWork.resize(static_cast<std::size_t>(Count) + 4);
        Line = HeapLine.data();
        Work = HeapWork.data();
    }

    const int LineHeight =
        L.Metrics.tmHeight + ((Format & DT_EXTERNALLEADING) ? L.Metrics.tmExternalLeading : 0);
    int LeftMargin = 0, RightMargin = 0;
    if (Params != nullptr) {
        LeftMargin = Params->iLeftMargin * L.Metrics.tmAveCharWidth;
        RightMargin = Params->iRightMargin * L.Metrics.tmAveCharWidth;
        Params->uiLengthDrawn = 0;
    }
    const int StartX = Rect.Left + ((Format & (DT_CENTER | DT_RIGHT)) ? 0 : LeftMargin);
    if (Format & DT_EXPANDTABS) {
        L.SpaceWidth = UnitWidth(L, L' ');
        L.TabWidth = UnitWidth(L, L'o') * TabLength;
    }

    int Y = Rect.Top;
    int Widest = 0;
    int Pos = 0;
    for (;;) {
        TLine Next = NextLine(L, Text, Pos, Count, Line);
        SIZE Size;
        if (!Extent(DC, Line, Next.Length, Size))
            return 0;
        if (Next.Length == 0)
            Size.cy = L.Metrics.tmHeight;
        int LineWidth = Size.cx + L.Metrics.tmOverhang;
        int X = StartX;
        if (!(Format & DT_CALCRECT)) {
            if (Format & DT_CENTER)
                X = std::max(Rect.Left, (Rect.Left + Rect.Right - LineWidth) / 2);
            else if (Format & DT_RIGHT)
                X = std::max(Rect.Left, Rect.Right - LineWidth);
            if (Format & DT_SINGLELINE) {
                if (Format & DT_VCENTER)
                    Y = Rect.Top + Rect.Height() / 2 - Size.cy / 2;
                else if (Format & DT_BOTTOM)
                    Y = Rect.Bottom - Size.cy;
            }
        }
        const int LineEnd = Next.Next < 0 ? Count : Next.Next;
        const bool LastLine = Next.Next < 0;
        if ((Format & DT_END_ELLIPSIS) && LineWidth > L.MaxWidth &&
            ((Format & DT_SINGLELINE) || (!(Format & DT_CALCRECT) && LastLine))) {
            const bool Whole = (Format & DT_SINGLELINE) != 0;
            if (!EndEllipsis(L, Text + (Whole ? 0 : Pos), Whole ? Count : LineEnd - Pos, Line, Work,
                             Next))
                return 0;
            if (!Extent(DC, Line, Next.Length, Size))
                return 0;
            LineWidth = Size.cx + L.Metrics.tmOverhang;
            if ((Format & DT_MODIFYSTRING) && Modify != nullptr) {
                // Never past the caller's Count units.
                const int Copied = std::min(Next.Length, Count);
                std::copy(Line, Line + Copied, Modify);
                if (Copied < Count)
                    Modify[Copied] = 0;
            }
        }

        if (!(Format & DT_CALCRECT)) {
            if (!(Format & DT_PREFIXONLY)) {
                RECT Clip{Rect.Left - 1, Rect.Top - 1, Rect.Right + 1, Rect.Bottom + 1};
                UINT Options = (Format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
                if (Format & DT_RTLREADING)
                    Options |= ETO_RTLREADING;
                if (!ExtTextOutW(DC, X, Y, Options, &Clip, Line, static_cast<UINT>(Next.Length),
                                 nullptr))
                    return 0;
            }
            if (Next.Prefix >= 0 && !(Format & DT_HIDEPREFIX)) {
                SIZE Before, Through;
                Extent(DC, Line, Next.Prefix, Before);
                Extent(DC, Line, Next.Prefix + 1, Through);
                FillSolid(DC, X + Before.cx, Y + L.Metrics.tmAscent + 1, Through.cx - Before.cx, 1,
                          static_cast<TColor>(GetTextColor(DC)));
            }
        } else {
            Widest = std::max(Widest, LineWidth);
        }
        Y += LineHeight;
        if (Params != nullptr)
            Params->uiLengthDrawn += static_cast<UINT>(LineEnd - Pos);
        if (Next.Next < 0 ||
            !((Format & (DT_CALCRECT | DT_NOCLIP)) || Y <= Rect.Bottom - LineHeight))
            break;
        Pos = Next.Next;
    }
    if (Format & DT_CALCRECT) {
        Rect.Right = Rect.Left + Widest + LeftMargin + RightMargin;
        Rect.Bottom = Y;
    }
    return Y - Rect.Top;
}

} // namespace

int DrawTextWide(HDC DC, const wchar_t* Text, int Count, TRect& Rect, UINT Format) {
    return Layout(DC, Text, Count, Rect, Format, nullptr, nullptr);
}

int DrawTextWideEx(HDC DC, wchar_t* Text, int Count, TRect& Rect, UINT Format,
                   DRAWTEXTPARAMS* Params) {
    return Layout(DC, Text, Count, Rect, Format, Params, Text);
}
