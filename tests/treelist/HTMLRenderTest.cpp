#include "treelist/HTMLRender.h"

#include "treelist/CvVCLUtils.h"
#include "tests/support/GdiCount.h"
#include "tests/treelist/DibSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One item as a short text: kind, then what tells it apart.
std::string Describe(const TCvHTMLItem& Item) {
    std::string S = std::to_string(Item.Kind);
    if (!Item.Text.empty())
        S += ":" + ToUtf8(Item.Text);
    if (Item.Style & hsBold)
        S += " b";
    if (Item.Style & hsItalic)
        S += " i";
    if (Item.Style & hsUnderline)
        S += " u";
    if (Item.Flags & hifLink)
        S += " link=" + ToUtf8(Item.Href);
    if (Item.Flags & hifSuperscript)
        S += " sup";
    if (Item.Flags & hifSubscript)
        S += " sub";
    if (Item.ColorDepth > 0) {
        char Buffer[32];
        std::snprintf(Buffer, sizeof Buffer, " c%d=%06X", Item.ColorDepth,
                      static_cast<unsigned>(Item.Color));
        S += Buffer;
    }
    if (Item.IsLineStart() && static_cast<const TCvHTMLBreakItem&>(Item).Alignment != 0)
        S += " align" + std::to_string(static_cast<const TCvHTMLBreakItem&>(Item).Alignment);
    return S;
}

std::vector<std::string> Parse(TCvHTMLRender& Render, const String& Markup, int MaxWidth = 0,
                               bool Wrap = false) {
    Render.ParseMarkup(Markup, MaxWidth, Wrap);
    std::vector<std::string> Items;
    for (int I = 0; I < Render.Data().Count(); ++I)
        Items.push_back(Describe(*Render.Data().Items(I)));
    return Items;
}

using TItems = std::vector<std::string>;

} // namespace

TEST(HTMLRender, ParsesMarkupIntoItems) {
    struct TCase {
        const wchar_t* Markup;
        TItems Items;
    };
    const TCase Cases[] = {
        {L"plain   text", {"3", "0:plain text"}},
        {L"Tom & Jerry", {"3", "0:Tom "}},
        {L"a &amp; b &lt;&GT; &#65;&#x; &nbsp;&nbsp;&euro;", {"3", "0:a & b <> A   \u20AC"}},
        {L"<B>bold</b> <i>it</I>", {"3", "0:bold b", "0: ", "0:it i"}},
        {L"<table border=1>x</table>", {"3", "0:x"}},
        {L"<!-- <b> -->after", {"3", "0:after"}},
        {L"x<sup>2</sup><sub>i</sub>", {"3", "0:x", "0:2 sup", "0:i sub"}},
        {L"<a href=\"go there\">link</a> rest", {"3", "0:link link=go there", "0: rest"}},
        {L"<a>no link</a>", {"3", "0:no link"}},
        {L"<p align=center>mid<br>next", {"3 align1", "0:mid", "2 align1", "0:next"}},
        {L"one<hr>two", {"3", "0:one", "2", "5", "2", "0:two"}},
        {L"<ul>lost<li>first<li>second</ul>after",
         {"3", "7:lost", "6", "0:first", "6", "0:second", "2", "0:after"}},
        {L"line\r\nbreak\ttab", {"3", "0:linebreak\ttab"}},
        {L"cut <b", {"3", "0:cut "}},
    };
    TCvHTMLRender Render;
    for (const TCase& Case : Cases)
        EXPECT_EQ(Parse(Render, Case.Markup), Case.Items) << ToUtf8(Case.Markup);
}

TEST(HTMLRender, FontTagsStackTheirColours) {
    TCvHTMLRender Render;
    // #RRGGBB names red first; a colour name goes through the class library's table.
    EXPECT_EQ(Parse(Render, L"<font color=#FF0000>r</font>"), (TItems{"3", "0:r c1=0000FF"}));
    EXPECT_EQ(Parse(Render, L"<font color=red>r</font>"), (TItems{"3", "0:r c1=0000FF"}));
    EXPECT_EQ(Parse(Render, L"<font color=\"clNavy\">n</font>"), (TItems{"3", "0:n c1=800000"}));
    // An unknown name leaves the colour; the font tag still counts.
    Render.ParseMarkup(L"<font color=nosuch>x</font>");
    EXPECT_EQ(Render.Data().Items(1)->Color, Render.Data().DefColor);

    // Nested tags restore the outer colour; an unmatched /font only starts a new run.
    EXPECT_EQ(Parse(Render, L"<font color=red>a<font color=blue>b</font>c</font>d</font>e"),
              (TItems{"3", "0:a c1=0000FF", "0:b c2=FF0000", "0:c c1=0000FF", "0:d", "0:e"}));

    Render.ParseMarkup(L"<font face=Arial size=+2 bgcolor=#000080>x");
    const TCvHTMLItem& Run = *Render.Data().Items(1);
    EXPECT_EQ(Run.FontName, L"Arial");
    EXPECT_EQ(Run.FontHeight, -11 - MulDiv(2, ScreenPixelsPerInch(), 72));
    EXPECT_EQ(Run.Background, 0x800000);
    EXPECT_EQ(Run.ColorDepth, 1);
    Render.ParseMarkup(L"<font size=9 name=Tahoma face=Arial>x");
    EXPECT_EQ(Render.Data().Items(1)->FontHeight, 9);
    EXPECT_EQ(Render.Data().Items(1)->FontName, L"Tahoma");
}

TEST(HTMLRender, LaysOutLinesAndFindsLinks) {
    TCvHTMLRender Render;
    Render.Data().DefFontName = L"Tahoma";
    Render.ParseMarkup(L"plain <a href=target>link</a><br><b>second line</b>");
    const TCvHTMLData& D = Render.Data();
    ASSERT_EQ(D.Count(), 5);
    const TCvHTMLItem& Plain = *D.Items(1);
    const TCvHTMLItem& Link = *D.Items(2);
    EXPECT_GT(Plain.Width, 0);
    EXPECT_EQ(D.Items(0)->Width, Plain.Width + Link.Width);
    EXPECT_EQ(D.TextSize.cy, D.Items(0)->Height + D.Items(3)->Height);
    EXPECT_EQ(D.TextSize.cx, std::max(D.Items(0)->Width, D.Items(3)->Width));

    const TRect Box(0, 0, 300, 100);
    String Href = L"old";
    const int Middle = Plain.Height / 2;
    EXPECT_TRUE(Render.LinkAtPoint(TPoint{Plain.Width + 2, Middle}, TPoint{}, Box, Href));
    EXPECT_EQ(Href, L"target");
    EXPECT_FALSE(Render.LinkAtPoint(TPoint{2, Middle}, TPoint{}, Box, Href));
    EXPECT_EQ(Href, L"");
    EXPECT_EQ(Render.ItemAt(TPoint{2, Middle}, TPoint{}, Box), &Plain);
    // The origin moves the content.
    EXPECT_EQ(Render.ItemAt(TPoint{0, Middle}, TPoint{2, 0}, Box), &Plain);
    EXPECT_EQ(Render.ItemAt(TPoint{2, 1000}, TPoint{}, Box), nullptr);

    // A superscript's hit area is raised with it.
    Render.ParseMarkup(L"x<sup>2</sup>");
    const TCvHTMLItem& Sup = *Render.Data().Items(2);
    const int LineBottom = Render.Data().Items(0)->Height;
    const int X = Render.Data().Items(1)->Width + 1;
    EXPECT_EQ(Render.ItemAt(TPoint{X, LineBottom - Sup.TextHeight / 2 - 1}, TPoint{}, Box), &Sup);
    EXPECT_EQ(Render.ItemAt(TPoint{X, LineBottom - 1}, TPoint{}, Box), nullptr);

    TCvHTMLRender Empty;
    EXPECT_EQ(Empty.ItemAt(TPoint{1, 1}, TPoint{}, Box), nullptr);
}

TEST(HTMLRender, PaintsLinksRulesAndBullets) {
    TCvHTMLRender Render;
    Render.Data().DefFontName = L"Tahoma";
    Render.Data().DefColor = clBlack;
    Render.ParseMarkup(L"<font color=red><a href=x>link</a></font><hr><ul><li>item</ul>");
    TDibSurface D(200, 80);
    Render.PaintMarkup(D.DC(), TPoint{}, TRect(0, 0, 199, 79), CvColorNone);
    EXPECT_GT(D.Count(0xFF0000), 5); // the link colour wins over the font colour
    EXPECT_EQ(D.Count(0x0000FF), 0);
    // The rule: shadow over face across the width.
    const TColor Shadow = static_cast<TColor>(ColorToRGB(clSystemColor | COLOR_BTNSHADOW));
    int RuleRow = -1;
    for (int Y = 0; Y < 80 && RuleRow < 0; ++Y)
        if (D.Pixel(10, Y) == Shadow && D.Pixel(150, Y) == Shadow)
            RuleRow = Y;
    ASSERT_GE(RuleRow, 0);
    EXPECT_EQ(D.Pixel(150, RuleRow + 1),
              static_cast<TColor>(ColorToRGB(clSystemColor | COLOR_BTNFACE)));
    // The bullet is a small black disc left of the item's text.
    const TCvHTMLData& Data = Render.Data();
    const TCvHTMLBreakItem* Item = nullptr;
    for (int I = 0; I < Data.Count(); ++I)
        if (Data.Items(I)->Kind == hikListItem)
            Item = static_cast<const TCvHTMLBreakItem*>(Data.Items(I));
    ASSERT_NE(Item, nullptr);
    const int Bullet = Item->BulletWidth;
    EXPECT_GT(Bullet, 0);
    int Disc = 0;
    for (int Y = 0; Y < 80; ++Y)
        for (int X = 0; X < Item->Indent; ++X)
            Disc += D.Pixel(X, Y) == clBlack;
    EXPECT_GT(Disc, 0);
    EXPECT_LE(Disc, (Bullet + 1) * (Bullet + 1));

    // Nothing to paint leaves the surface alone.
    TCvHTMLRender Empty;
    TDibSurface Blank(20, 20);
    Empty.PaintMarkup(Blank.DC(), TPoint{}, TRect(0, 0, 19, 19), CvColorNone);
    EXPECT_EQ(Blank.Count(clWhite), 400);
}

TEST(HTMLRender, ContrastAndDataOwnership) {
    EXPECT_EQ(ContrastColor(RGBOf(200, 100, 0), clWhite), ColorDarken(RGBOf(200, 100, 0), 50));
    EXPECT_EQ(ContrastColor(RGBOf(200, 100, 0), clBlack), ColorLighten(RGBOf(200, 100, 0), 50));

    TCvHTMLRender Render;
    auto Row = NewHTMLData(Render);
    Render.ParseMarkupInto(L"<b>row</b>", *Row);
    EXPECT_EQ(Row->Count(), 2);
    EXPECT_EQ(Render.Data().Count(), 0); // the own data is untouched
    Render.SelectData(Row.get());
    EXPECT_EQ(&Render.Data(), Row.get());
    ReleaseHTMLData(Render, std::move(Row));
    EXPECT_EQ(Render.Data().Count(), 0);
}

TEST(HTMLRender, RepeatedPaintingKeepsGdiObjectsFlat) {
    TCvHTMLRender Render;
    TDibSurface D(200, 60);
    const auto Paint = [&] {
        Render.ParseMarkup(L"<b>bold</b> <font color=red size=+1>big</font><hr><ul><li>x</ul>");
        Render.PaintMarkup(D.DC(), TPoint{}, TRect(0, 0, 199, 59), clWhite);
    };
    EXPECT_EQ(GdiGrowth(Paint), 0);
}

TEST(HTMLRender, WrappingBreaksBeforeTheLastWordAndKeepsTheParagraphsAlignment) {
    TCvHTMLRender Render;
    const auto WidthOf = [&](const String& Markup) {
        Render.ParseMarkup(Markup);
        return Render.Data().TextSize.cx;
    };
    const int TwoWords = WidthOf(L"aaa bbb");
    struct TCase {
        const char* Name;
        const wchar_t* Markup;
        int MaxWidth;
        TItems Items;
    };
    const TCase Cases[] = {
        {"fits", L"aaa bbb", TwoWords + 1, {"3", "0:aaa bbb"}},
        {"third word wraps", L"aaa bbb ccc", TwoWords + 1, {"3", "0:aaa bbb ", "1", "0:ccc"}},
        {"centred paragraph",
         L"<p align=center>aaa bbb ccc",
         TwoWords + 1,
         {"3 align1", "0:aaa bbb ", "1 align1", "0:ccc"}},
        // A run without a space after other items goes whole to the next line.
        {"a run after a bold word", L"<b>aaa</b>bbbbb", TwoWords, {"3", "0:aaa b", "1", "0:bbbbb"}},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(Parse(Render, C.Markup, C.MaxWidth, true), C.Items) << C.Name;
    // Without Wrap nothing breaks, however narrow.
    EXPECT_EQ(Parse(Render, L"aaa bbb ccc", 1, false), (TItems{"3", "0:aaa bbb ccc"}));
}

TEST(HTMLRender, AWordWiderThanTheLineIsCutSoThatEveryLineButSingleUnitsFits) {
    TCvHTMLRender Render;
    Render.ParseMarkup(L"abc");
    const int Three = Render.Data().TextSize.cx;
    Render.ParseMarkup(L"abcdefghijklmnop", Three, true);
    const TCvHTMLData& D = Render.Data();
    int Breaks = 0;
    String Joined;
    for (int I = 0; I < D.Count(); ++I) {
        const TCvHTMLItem& Item = *D.Items(I);
        if (Item.Kind == hikWrapBreak)
            ++Breaks;
        if (Item.Kind == hikText) {
            EXPECT_LE(Item.Width, Three) << ToUtf8(Item.Text);
            Joined += Item.Text;
        }
    }
    EXPECT_GE(Breaks, 4);
    EXPECT_EQ(Joined, L"abcdefghijklmnop"); // nothing lost
    EXPECT_LE(D.TextSize.cx, Three);
}
