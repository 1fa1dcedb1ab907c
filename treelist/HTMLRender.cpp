#include "treelist/HTMLRender.h"

#include "treelist/CvStack.h"
#include "treelist/CvStrUtils.h"
#include "treelist/CvUnicodeStrings.h"
#include "treelist/CvVCLUtils.h"

#include <algorithm>
#include <cwctype>
#include <utility>

bool TCvHTMLItem::IsLineStart() const {
    return Kind == hikWrapBreak || Kind == hikLineBreak || Kind == hikParagraph ||
           Kind == hikListItem;
}

TCvHTMLData::TCvHTMLData() {
    ItemList.AutoFreeItems = true;
}

namespace {

TCvHTMLBreakItem* AsBreak(TCvHTMLItem* Item) {
    return static_cast<TCvHTMLBreakItem*>(Item);
}

// The font a run is measured and drawn with.
TFontObject RunFont(const TCvHTMLItem& Item) {
    const TCvHTMLData& D = *Item.Data;
    const bool Link = (Item.Flags & hifLink) != 0;
    const unsigned Style = Link ? D.LinkStyle : Item.Style;
    int Height = Item.FontHeight;
    if (Item.Flags & (hifSubscript | hifSuperscript))
        Height += Height < 0 ? 2 : -2;
    return TFontObject(CreateFontW(
        Height, 0, 0, 0, (Style & hsBold) ? FW_BOLD : FW_NORMAL, (Style & hsItalic) != 0,
        (Style & hsUnderline) != 0, (Style & hsStrikeOut) != 0, D.Charset, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Item.FontName.c_str()));
}

TEXTMETRICW MetricsOf(HDC DC, const TCvHTMLItem& Item) {
    const TFontObject Font = RunFont(Item);
    const TSelectObject Select(DC, Font.Get());
    TEXTMETRICW Metrics{};
    GetTextMetricsW(DC, &Metrics);
    return Metrics;
}

// A text run's width as layout measures it: DrawTextWide's rectangle plus one pixel.
int RunTextWidth(HDC DC, const TCvHTMLItem& Item) {
    const TFontObject Font = RunFont(Item);
    const TSelectObject Select(DC, Font.Get());
    TRect R;
    DrawTextWide(DC, Item.Text.c_str(), static_cast<int>(Item.Text.size()), R,
                 DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_BOTTOM);
    return R.Width() + 1;
}

// A value without its matching surrounding quotes.
String Unquoted(const String& Value) {
    if (Value.size() >= 2 && (Value.front() == L'"' || Value.front() == L'\'') &&
        Value.back() == Value.front())
        return Value.substr(1, Value.size() - 2);
    return Value;
}

bool ToInt(const String& S, int& Value) {
    return TryStrToInt(Trim(S), Value);
}

struct TFontSettings {
    String Name;
    TColor Color;
    TColor Background;
    int Height;
};

} // namespace

// ----------------------------------------------------------------- parsing

class THTMLParser {
public:
    THTMLParser(TCvHTMLRender& Render, TCvHTMLData& Data, const String& Text, int MaxWidth,
                bool Wrap)
        : FRender(Render), FData(Data), FText(Text), FMaxWidth(MaxWidth), FWrap(Wrap) {}
    ~THTMLParser() {
        while (FFonts.Count() > 0)
            delete static_cast<TFontSettings*>(FFonts.Pop());
    }

    void Run();

private:
    void Add(std::unique_ptr<TCvHTMLItem> Item) { FData.ItemList.Add(Item.release()); }
    // The current run goes to the list when it has content; a new run with its style follows.
    void Split();
    std::unique_ptr<TCvHTMLItem> StyledLike(const TCvHTMLItem& From, TCvHTMLItemKind Kind,
                                            bool LineStart) const;
    void AppendUnit(wchar_t C) {
        FRun->Text += C;
        FRun->CachedWidth = -1;
        if (FWrap)
            WrapIfWider();
    }
    // Breaks the line before the current run's last word when the line outgrows MaxWidth.
    void WrapIfWider();
    // The width of the line the current run goes on, without the run.
    int LineWidthBeforeRun() const;
    void AppendSpace() {
        if (FRun->Text.empty() || FRun->Text.back() != L' ')
            AppendUnit(L' ');
    }
    void Entity(std::size_t& I);
    // False when the tag is cut off by the end of the text.
    bool Tag(std::size_t& I);
    void ApplyTag(const String& Name, TCvWideStringList& Attributes, bool HasAttributes);
    void Font(TCvWideStringList& Attributes);
    void CloseFont();
    // /ul's and li's first steps: the run added unless it is a line break, a trailing break
    // dropped.
    void CloseListLine();
    int MaxCharWidth(const TCvHTMLItem& Item) const {
        return MetricsOf(FRender.MeasureDC(), Item).tmMaxCharWidth;
    }
    TCvHTMLBreakItem* LastLineStart() const;

    TCvHTMLRender& FRender;
    TCvHTMLData& FData;
    const String& FText;
    std::unique_ptr<TCvHTMLItem> FRun;
    TCvStack FFonts; // TFontSettings, owned here
    int FListLevel = 0;
    int FMaxWidth = 0;
    bool FWrap = false;
};

std::unique_ptr<TCvHTMLItem> THTMLParser::StyledLike(const TCvHTMLItem& From, TCvHTMLItemKind Kind,
                                                     bool LineStart) const {
    std::unique_ptr<TCvHTMLItem> Item =
        LineStart ? std::make_unique<TCvHTMLBreakItem>() : std::make_unique<TCvHTMLItem>();
    Item->Data = &FData;
    Item->Kind = Kind;
    Item->Style = From.Style;
    Item->FontHeight = From.FontHeight;
    Item->Color = From.Color;
    Item->Background = From.Background;
    Item->Href = From.Href;
    Item->FontName = From.FontName;
    Item->Indent = From.Indent;
    Item->ColorDepth = From.ColorDepth;
    Item->Flags = From.Flags;
    return Item;
}

void THTMLParser::Split() {
    std::unique_ptr<TCvHTMLItem> Next = StyledLike(*FRun, hikText, false);
    if (FRun->HasContent())
        Add(std::move(FRun));
    FRun = std::move(Next);
}

int THTMLParser::LineWidthBeforeRun() const {
    const HDC DC = FRender.MeasureDC();
    int Width = 0;
    for (int I = FData.Count() - 1; I >= 0; --I) {
        const TCvHTMLItem& Item = *FData.Items(I);
        if (Item.IsLineStart())
            return Width + Item.Indent;
        switch (Item.Kind) {
        case hikText:
            Width += RunTextWidth(DC, Item);
            break;
        case hikImage:
        case hikRule:
            Width += Item.Width;
            break;
        case hikIndent:
            Width += MaxCharWidth(Item);
            break;
        default:
            break;
        }
    }
    return Width;
}

void THTMLParser::WrapIfWider() {
    if (RunTextWidth(FRender.MeasureDC(), *FRun) + LineWidthBeforeRun() <= FMaxWidth)
        return;
    String& Text = FRun->Text;
    const std::size_t Space = Text.rfind(L' ');
    const bool FirstOnLine = FData.Count() == 0 || FData.Items(FData.Count() - 1)->IsLineStart();
    String Carried;
    if (Space != String::npos) {
        Carried = Text.substr(Space + 1);
        Text.erase(Space + 1);
    } else if (FirstOnLine) {
        // A word wider than the line: it is cut before the unit that did not fit.
        Carried = Text.substr(Text.size() - 1);
        Text.pop_back();
    } else {
        Carried = std::move(Text);
        Text.clear();
    }
    FRun->CachedWidth = -1;
    std::unique_ptr<TCvHTMLItem> Break = StyledLike(*FRun, hikWrapBreak, true);
    if (const TCvHTMLBreakItem* Start = LastLineStart()) {
        auto& B = static_cast<TCvHTMLBreakItem&>(*Break);
        B.Alignment = Start->Alignment;
        B.ListLevel = Start->ListLevel;
        B.Bullet = Start->Bullet;
    }
    std::unique_ptr<TCvHTMLItem> Next = StyledLike(*Break, hikText, false);
    Next->Text = std::move(Carried);
    if (!Text.empty())
        Add(std::move(FRun));
    Add(std::move(Break));
    FRun = std::move(Next);
}

TCvHTMLBreakItem* THTMLParser::LastLineStart() const {
    for (int I = FData.Count() - 1; I >= 0; --I)
        if (FData.Items(I)->IsLineStart())
            return AsBreak(FData.Items(I));
    return nullptr;
}

void THTMLParser::Run() {
    FRun = std::make_unique<TCvHTMLItem>();
    FRun->Data = &FData;
    FRun->FontName = FData.DefFontName;
    FRun->Color = FData.DefColor;
    FRun->Background = FData.DefBackground;
    FRun->FontHeight = FData.DefFontHeight;
    FRun->Style = FData.DefStyle;

    for (std::size_t I = 0; I < FText.size(); ++I) {
        const wchar_t C = FText[I];
        if (C == L'<') {
            if (!Tag(I))
                break;
        } else if (C == L'\r') {
            if (I + 1 < FText.size() && FText[I + 1] == L'\n')
                ++I;
        } else if (C == L'&') {
            Entity(I);
        } else if (C == L' ') {
            AppendSpace();
        } else {
            AppendUnit(C);
        }
    }
    if (FRun->HasContent())
        Add(std::move(FRun));
    if (FData.Count() == 0 || FData.Items(0)->Kind != hikParagraph) {
        auto Start = std::make_unique<TCvHTMLBreakItem>();
        Start->Data = &FData;
        Start->Kind = hikParagraph;
        Start->FontName = FData.DefFontName;
        Start->FontHeight = FData.DefFontHeight;
        Start->Color = FData.DefColor;
        FData.ItemList.Insert(0, Start.release());
    }
}

void THTMLParser::Entity(std::size_t& I) {
    const std::size_t End = FText.find(L';', I + 1);
    const std::size_t Stop = End == String::npos ? FText.size() : End;
    const String Name = FText.substr(I + 1, Stop - I - 1);
    I = End == String::npos ? FText.size() : End;
    if (!Name.empty() && Name[0] == L'#') {
        int Code = 0;
        if (!TryStrToInt(Name.substr(1), Code) || (Code & 0xFFFF) == 32)
            AppendSpace();
        else
            AppendUnit(static_cast<wchar_t>(Code & 0xFFFF));
        return;
    }
    struct TEntity {
        const wchar_t* Name;
        wchar_t Unit;
    };
    static const TEntity Entities[] = {
        {L"nbsp", L' '},      {L"amp", L'&'},       {L"quot", L'"'},       {L"gt", L'>'},
        {L"lt", L'<'},        {L"euro", L'\u20AC'}, {L"sect", L'\u00A7'},  {L"reg", L'\u00AE'},
        {L"copy", L'\u00A9'}, {L"para", L'\u00B6'}, {L"trade", L'\u2122'},
    };
    for (const TEntity& E : Entities)
        if (SameText(Name, E.Name)) {
            AppendUnit(E.Unit);
            return;
        }
}

bool THTMLParser::Tag(std::size_t& I) {
    std::size_t J = I + 1;
    String Name;
    while (J < FText.size() && FText[J] != L' ' && FText[J] != L'>') {
        Name += static_cast<wchar_t>(std::towlower(FText[J]));
        ++J;
        if (Name == L"!--") {
            const std::size_t Close = FText.find(L"-->", J);
            if (Close == String::npos)
                return false;
            I = Close + 2;
            return true;
        }
    }
    if (J >= FText.size())
        return false;
    TCvWideStringList Attributes;
    const bool HasAttributes = FText[J] == L' ';
    if (HasAttributes) {
        // name=value pairs; quoted values may hold spaces and '>'.
        String Pair;
        wchar_t Quote = 0;
        const auto EndPair = [&] {
            const std::size_t Equals = Pair.find(L'=');
            if (Equals != String::npos)
                Attributes.Add(LowerCase(Pair.substr(0, Equals)) + Pair.substr(Equals));
            Pair.clear();
        };
        for (++J;; ++J) {
            if (J >= FText.size())
                return false;
            const wchar_t C = FText[J];
            if (Quote != 0) {
                if (C == Quote)
                    Quote = 0;
                if (!(C == L' ' && !Pair.empty() && Pair.back() == L' '))
                    Pair += C;
                continue;
            }
            if (C == L'"' || C == L'\'') {
                Quote = C;
                Pair += C;
            } else if (C == L' ' || C == L'>') {
                EndPair();
                if (C == L'>')
                    break;
            } else {
                Pair += C;
            }
        }
    }
    I = J;
    ApplyTag(Name, Attributes, HasAttributes);
    return true;
}

void THTMLParser::ApplyTag(const String& Name, TCvWideStringList& Attributes, bool HasAttributes) {
    const auto Value = [&](const wchar_t* Key) { return Unquoted(Attributes.Values(Key)); };
    struct TStyleTag {
        const wchar_t* Name;
        unsigned Style;
        unsigned Flag;
    };
    static const TStyleTag StyleTags[] = {
        {L"b", hsBold, 0},         {L"i", hsItalic, 0},
        {L"u", hsUnderline, 0},    {L"strikeout", hsStrikeOut, 0},
        {L"sub", 0, hifSubscript}, {L"sup", 0, hifSuperscript},
    };
    for (const TStyleTag& T : StyleTags) {
        const bool Open = Name == T.Name;
        if (!Open && Name != String(L"/") + T.Name)
            continue;
        Split();
        if (Open) {
            FRun->Style |= T.Style;
            FRun->Flags |= T.Flag;
        } else {
            FRun->Style &= ~T.Style;
            FRun->Flags &= ~T.Flag;
        }
        return;
    }
    if (Name == L"font") {
        Font(Attributes);
    } else if (Name == L"/font") {
        CloseFont();
    } else if (Name == L"a" && HasAttributes) {
        Split();
        FRun->Flags |= hifLink;
        FRun->Href = Value(L"href");
    } else if (Name == L"/a") {
        Split();
        FRun->Flags &= ~hifLink;
        FRun->Href.clear();
    } else if (Name == L"p") {
        Split();
        auto Start = StyledLike(*FRun, hikParagraph, true);
        const String Align = LowerCase(Value(L"align"));
        AsBreak(Start.get())->Alignment = Align == L"center" ? 1 : (Align == L"right" ? 2 : 0);
        int Indent = 0;
        if (ToInt(Value(L"indent"), Indent)) {
            Start->Indent = Indent;
            FRun->Indent = Indent;
        }
        Add(std::move(Start));
    } else if (Name == L"br") {
        Split();
        auto Break = StyledLike(*FRun, hikLineBreak, true);
        const TCvHTMLBreakItem* Last = LastLineStart();
        AsBreak(Break.get())->Alignment = Last ? Last->Alignment : 0;
        Add(std::move(Break));
    } else if (Name == L"ul") {
        Split();
        FRun->Kind = hikIndent;
        FRun->Indent += MaxCharWidth(*FRun);
        ++FListLevel;
    } else if (Name == L"/ul") {
        CloseListLine();
        --FListLevel;
        FRun->Indent -= MaxCharWidth(*FRun);
        Add(StyledLike(*FRun, hikLineBreak, true));
    } else if (Name == L"li") {
        CloseListLine();
        auto Line = StyledLike(*FRun, hikListItem, true);
        AsBreak(Line.get())->ListLevel = FListLevel;
        AsBreak(Line.get())->Bullet = -1;
        Add(std::move(Line));
    } else if (Name == L"img" && HasAttributes) {
        const String Src = Value(L"src");
        if (Src.empty())
            return;
        Split();
        auto Image = StyledLike(*FRun, hikImage, false);
        Image->Text = Src;
        HBITMAP Bitmap = nullptr;
        FRender.TriggerImageNeeded(Src, Bitmap);
        BITMAP Info{};
        if (Bitmap != nullptr)
            GetObjectW(Bitmap, sizeof Info, &Info);
        if (!ToInt(Value(L"width"), Image->Width))
            Image->Width = Info.bmWidth;
        if (!ToInt(Value(L"height"), Image->Height))
            Image->Height = Info.bmHeight;
        Add(std::move(Image));
    } else if (Name == L"hr") {
        Split();
        Add(StyledLike(*FRun, hikLineBreak, true));
        auto Rule = StyledLike(*FRun, hikRule, false);
        int Width = 0;
        ToInt(Value(L"width"), Width);
        Rule->Width = Width;
        Add(std::move(Rule));
        Add(StyledLike(*FRun, hikLineBreak, true));
    }
}

void THTMLParser::Font(TCvWideStringList& Attributes) {
    FFonts.Push(new TFontSettings{FRun->FontName, FRun->Color, FRun->Background, FRun->FontHeight});
    Split();
    const auto Has = [&](const wchar_t* Key) { return Attributes.IndexOfName(Key) >= 0; };
    const auto Value = [&](const wchar_t* Key) { return Unquoted(Attributes.Values(Key)); };
    if (Has(L"face"))
        FRun->FontName = Value(L"face");
    if (Has(L"name"))
        FRun->FontName = Value(L"name");
    if (Has(L"size")) {
        const String Size = Trim(Value(L"size"));
        int N = 0;
        if (!Size.empty() && (Size[0] == L'+' || Size[0] == L'-') && ToInt(Size, N))
            FRun->FontHeight = FData.DefFontHeight - MulDiv(N, ScreenPixelsPerInch(), 72);
        else
            FRun->FontHeight = ToInt(Size, N) ? N : FData.DefFontHeight;
    }
    const auto ReadColor = [&](const String& Text, TColor Default, TColor& Target) {
        if (!Text.empty() && Text[0] == L'#') {
            // #RRGGBB: red comes first in the text and last in a colour value.
            const std::int32_t Rgb = HexToIntDef(Text.substr(1), -1);
            Target = Rgb < 0 ? Default
                             : RGBOf(static_cast<std::uint8_t>(Rgb >> 16),
                                     static_cast<std::uint8_t>(Rgb >> 8),
                                     static_cast<std::uint8_t>(Rgb));
            return;
        }
        TColor Named;
        if (IdentToColor(SameText(Text.substr(0, 2), L"cl") ? Text : L"cl" + Text, Named))
            Target = Named;
    };
    if (Has(L"color"))
        ReadColor(Value(L"color"), FData.DefColor, FRun->Color);
    if (Has(L"bgcolor"))
        ReadColor(Value(L"bgcolor"), FData.DefBackground, FRun->Background);
    if (Has(L"color") || Has(L"bgcolor"))
        ++FRun->ColorDepth;
}

void THTMLParser::CloseFont() {
    Split();
    if (FFonts.Count() == 0)
        return;
    const std::unique_ptr<TFontSettings> Saved(static_cast<TFontSettings*>(FFonts.Pop()));
    if (FRun->Color != Saved->Color || FRun->Background != Saved->Background)
        --FRun->ColorDepth;
    FRun->FontName = Saved->Name;
    FRun->Color = Saved->Color;
    FRun->Background = Saved->Background;
    FRun->FontHeight = Saved->Height;
}

void THTMLParser::CloseListLine() {
    std::unique_ptr<TCvHTMLItem> Next = StyledLike(*FRun, hikText, false);
    if (FRun->HasContent() && FRun->Kind != hikLineBreak)
        Add(std::move(FRun));
    FRun = std::move(Next);
    const int Last = FData.Count() - 1;
    if (Last >= 0 && FData.Items(Last)->Kind == hikLineBreak)
        FData.ItemList.Delete(Last);
}

// ----------------------------------------------------------------- layout

TCvHTMLRender::TCvHTMLRender() : FDC(nullptr) {
    FOwnData.Render = this;
}

TCvHTMLRender::~TCvHTMLRender() = default;

void TCvHTMLRender::SelectData(TCvHTMLData* AData) {
    FCurrent = AData != nullptr ? AData : &FOwnData;
    FCurrent->Render = this;
}

void TCvHTMLRender::TriggerImageNeeded(const String& Src, HBITMAP& Image) {
    Image = nullptr;
    if (OnImageNeeded)
        OnImageNeeded(this, Src, Image);
}

void TCvHTMLRender::ParseMarkup(const String& Text, int MaxWidth, bool Wrap) {
    ParseMarkupInto(Text, *FCurrent, MaxWidth, Wrap);
}

void TCvHTMLRender::ParseMarkupInto(const String& Text, TCvHTMLData& AData, int MaxWidth,
                                    bool Wrap) {
    TCvHTMLData* const Was = FCurrent;
    SelectData(&AData);
    try {
        AData.Clear();
        THTMLParser(*this, AData, Text, MaxWidth, Wrap).Run();
        Measure(AData);
    } catch (...) {
        AData.Clear();
        FCurrent = Was;
        throw Exception(L"Quarnix HTML engine error - the text is not valid HTML");
    }
    FCurrent = Was;
}

void TCvHTMLRender::Measure(TCvHTMLData& AData) {
    const HDC DC = FDC.Handle();
    TCvHTMLBreakItem* Line = nullptr;
    int LineWidth = 0, LineHeight = 0, LineDescent = 0;
    int Widest = 0, Total = 0;
    const auto CloseLine = [&] {
        if (Line == nullptr)
            return;
        Line->Width = LineWidth;
        Line->Height = LineHeight;
        Line->Descent = LineDescent;
        Widest = std::max(Widest, LineWidth);
        Total += LineHeight;
    };
    for (int I = 0; I < AData.Count(); ++I) {
        TCvHTMLItem& Item = *AData.Items(I);
        int Width = 0, Height = 0, Descent = 0;
        if (Item.IsLineStart()) {
            CloseLine();
            Line = AsBreak(&Item);
            if (Item.Kind == hikListItem)
                Width = Line->BulletWidth = MetricsOf(DC, Item).tmAveCharWidth;
            Height = std::abs(AData.DefFontHeight);
            if (Item.Kind == hikParagraph && I > 0)
                Height = Height * 3 / 2;
            LineWidth = Item.Indent + Width;
            LineHeight = Height;
            LineDescent = 0;
            Item.Width = Width;
            continue;
        }
        switch (Item.Kind) {
        case hikText: {
            const TFontObject Font = RunFont(Item);
            const TSelectObject Select(DC, Font.Get());
            TEXTMETRICW Metrics{};
            GetTextMetricsW(DC, &Metrics);
            if (Item.CachedWidth < 0)
                Item.CachedWidth = RunTextWidth(DC, Item);
            Width = Item.CachedWidth;
            Item.TextHeight = Metrics.tmHeight;
            Height = Metrics.tmHeight;
            Descent = Metrics.tmDescent;
            if (Item.Flags & hifSubscript) {
                Descent += Height / 4;
                Height += Height / 4;
            } else if (Item.Flags & hifSuperscript) {
                Descent -= Height / 2;
                Height += 2 * Height / 3;
            }
            break;
        }
        case hikImage:
            Width = Item.Width;
            Height = Item.Height;
            break;
        case hikRule:
            Width = Item.Width;
            break;
        case hikIndent:
            Width = MetricsOf(DC, Item).tmMaxCharWidth;
            break;
        default:
            break;
        }
        Item.Width = Width;
        Item.Height = Height;
        Item.Descent = Descent;
        LineWidth += Width;
        LineHeight = std::max(LineHeight, Height);
        LineDescent = std::max(LineDescent, Descent);
    }
    CloseLine();
    AData.TextSize = TSize{Widest, Total};
}

// --------------------------------------------------------- painting, hits

namespace {

int LineStartX(const TCvHTMLBreakItem& Line, int W) {
    switch (Line.Alignment) {
    case 1:
        return (std::max(W, Line.Width) - Line.Width - 1) / 2;
    case 2:
        return std::max(W, Line.Width) - Line.Width - 1;
    default:
        return Line.Indent;
    }
}

// The colour of a picture's bottom-left pixel, its transparent colour.
TColor BottomLeftColor(HDC Reference, HBITMAP Picture) {
    BITMAP Info{};
    GetObjectW(Picture, sizeof Info, &Info);
    const TMemoryDC Probe(Reference);
    const TSelectObject Select(Probe.Handle(), Picture);
    return static_cast<TColor>(GetPixel(Probe.Handle(), 0, Info.bmHeight - 1));
}

} // namespace

void TCvHTMLRender::PaintMarkup(HDC DC, TPoint Origin, const TRect& Rect,
                                TColor ContrastBackground) {
    PaintMarkupClipped(DC, Origin, Rect, false, CvColorNone, CvColorNone, ContrastBackground);
}

void TCvHTMLRender::PaintMarkupClipped(HDC DC, TPoint Origin, const TRect& Rect,
                                       bool UseCallerColors, TColor CallerTextColor,
                                       TColor CallerBackground, TColor ContrastBackground) {
    TCvHTMLData& D = *FCurrent;
    if (D.Count() == 0)
        return;
    D.PaintedRect = Rect;
    const int W = Rect.Width() + 1;
    const int H = Rect.Height() + 1;
    const TMemoryDC Buffer(DC);
    const TBitmapObject Bitmap(CreateCompatibleBitmap(DC, W, H));
    const TSelectObject SelectBitmap(Buffer.Handle(), Bitmap.Get());
    const HDC B = Buffer.Handle();
    BitBlt(B, 0, 0, W, H, DC, Rect.Left, Rect.Top, SRCCOPY);
    SetTextAlign(B, TA_BASELINE | TA_LEFT);

    const TCvHTMLBreakItem* Line = nullptr;
    int X = 0, Y = 0;
    for (int I = 0; I < D.Count(); ++I) {
        TCvHTMLItem& Item = *D.Items(I);
        const bool CallerColors = UseCallerColors && Item.ColorDepth == 0;
        if (Item.IsLineStart()) {
            if (Line != nullptr)
                Y += Line->Height;
            if (Y > H + Origin.Y)
                break;
            Line = AsBreak(&Item);
            X = LineStartX(*Line, W);
            if (Item.Kind == hikListItem) {
                const TColor Color = CallerColors ? CallerTextColor : Item.Color;
                const int Bullet = Line->BulletWidth; // the line start's width is the line's
                const int Top =
                    Y - Origin.Y + Line->Descent + (Line->Height - Line->Descent - Bullet) / 2;
                const TBrushObject Brush(CreateSolidBrush(ColorToRGB(Color)));
                const TGdiObject<HPEN> Pen(CreatePen(PS_SOLID, 1, ColorToRGB(Color)));
                const TSelectObject SelectBrush(B, Brush.Get());
                const TSelectObject SelectPen(B, Pen.Get());
                Ellipse(B, X - Origin.X - Bullet - 1, Top, X - Origin.X - 1, Top + Bullet);
            }
            continue;
        }
        if (Line == nullptr)
            continue;
        switch (Item.Kind) {
        case hikText: {
            const bool Link = (Item.Flags & hifLink) != 0;
            const TColor Back = CallerColors ? CallerBackground : Item.Background;
            TColor Color = Link ? D.LinkColor : (CallerColors ? CallerTextColor : Item.Color);
            if (ContrastBackground != CvColorNone)
                Color = ContrastColor(Color, ContrastBackground);
            const TFontObject Font = RunFont(Item);
            const TSelectObject SelectFont(B, Font.Get());
            SetTextColor(B, ColorToRGB(Color));
            if (Back == CvColorNone) {
                SetBkMode(B, TRANSPARENT);
            } else {
                SetBkMode(B, OPAQUE);
                SetBkColor(B, ColorToRGB(Back));
            }
            int Baseline = Y - Origin.Y + Line->Height - Line->Descent;
            if (Item.Flags & hifSuperscript)
                Baseline -= Item.TextHeight / 2;
            else if (Item.Flags & hifSubscript)
                Baseline += Item.TextHeight / 4;
            ExtTextOutW(B, X - Origin.X, Baseline, 0, nullptr, Item.Text.c_str(),
                        static_cast<UINT>(Item.Text.size()), nullptr);
            X += Item.Width;
            break;
        }
        case hikImage: {
            HBITMAP Picture = nullptr;
            TriggerImageNeeded(Item.Text, Picture);
            if (Picture != nullptr)
                DrawTransparentBitmapRect(B, Picture, X - Origin.X, Y - Origin.Y,
                                          TRect(0, 0, Item.Width, Item.Height),
                                          BottomLeftColor(B, Picture));
            X += Item.Width;
            break;
        }
        case hikRule: {
            const int Left = X - Origin.X;
            const int Right =
                Item.Width > 0 ? Left + Item.Width : std::max(Line->Width, W) - Origin.X;
            const int Top = Y - Origin.Y + Line->Height / 2;
            TRect Inner;
            DrawSideLines(B, TRect(Left, Top, Right, Top + 2), clSystemColor | COLOR_BTNSHADOW,
                          clSystemColor | COLOR_BTNFACE, {ebsTop, ebsBottom}, Inner);
            break;
        }
        default:
            break;
        }
    }
    BitBlt(DC, Rect.Left, Rect.Top, W, H, B, 0, 0, SRCCOPY);
}

TCvHTMLItem* TCvHTMLRender::ItemAt(TPoint Point, TPoint Origin, const TRect& Rect) {
    TCvHTMLData& D = *FCurrent;
    const TPoint P{Point.X + Origin.X, Point.Y + Origin.Y};
    int Bottom = 0;
    int First = -1;
    for (int I = 0; I < D.Count(); ++I) {
        const TCvHTMLItem& Item = *D.Items(I);
        if (!Item.IsLineStart())
            continue;
        Bottom += Item.Height;
        if (Bottom > P.Y) {
            First = I;
            break;
        }
    }
    if (First < 0)
        return nullptr;
    int X = LineStartX(*AsBreak(D.Items(First)), Rect.Width());
    for (int I = First + 1; I < D.Count() && !D.Items(I)->IsLineStart(); ++I) {
        TCvHTMLItem& Item = *D.Items(I);
        const bool Shifted = Item.Kind == hikText && (Item.Flags & (hifSubscript | hifSuperscript));
        const int H = Shifted ? Item.TextHeight : Item.Height;
        const int S = (Item.Kind == hikText && (Item.Flags & hifSuperscript)) ? H / 2 : 0;
        if (X <= P.X && P.X <= X + Item.Width && Bottom - H - S <= P.Y && P.Y <= Bottom - S)
            return &Item;
        X += Item.Width;
    }
    return nullptr;
}

bool TCvHTMLRender::LinkAtPoint(TPoint Point, TPoint Origin, const TRect& Rect, String& Href) {
    const TCvHTMLItem* Item = ItemAt(Point, Origin, Rect);
    const bool Link = Item != nullptr && (Item->Flags & hifLink) != 0;
    Href = Link ? Item->Href : String();
    return Link;
}

unsigned HTMLStyleBits(TFontStyles Styles) {
    return (Styles.Contains(fsBold) ? hsBold : 0) | (Styles.Contains(fsItalic) ? hsItalic : 0) |
           (Styles.Contains(fsUnderline) ? hsUnderline : 0) |
           (Styles.Contains(fsStrikeOut) ? hsStrikeOut : 0);
}

void SetHTMLDefaults(TCvHTMLData& Data, const TFont& Font, TColor Background) {
    Data.DefColor = Font.Color();
    Data.DefStyle = HTMLStyleBits(Font.Style());
    Data.DefFontHeight = Font.Height();
    Data.DefFontName = Font.Name();
    Data.DefBackground = Background;
}

std::unique_ptr<TCvHTMLData> NewHTMLData(TCvHTMLRender& Render) {
    auto Data = std::make_unique<TCvHTMLData>();
    Data->Render = &Render;
    return Data;
}

void ReleaseHTMLData(TCvHTMLRender& Render, std::unique_ptr<TCvHTMLData> Data) {
    if (&Render.Data() == Data.get())
        Render.SelectData(nullptr);
}

TColor ContrastColor(TColor Color, TColor Background) {
    const int Lightness = static_cast<int>((RGBToHLS(Background) >> 8) & 0xFF);
    return Lightness > 128 ? ColorDarken(Color, 50) : ColorLighten(Color, 50);
}
