// HTML rows of the tree-list: measured and painted through their rendering, and their links
// clicked and pointed at in a window.
#include "tests/treelist/TreeControlSupport.h"

#include "tests/treelist/DibSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring BlueMarkup = L"<html><font color=#0000FF>WWWWWW</font></html>";

// Pixels that are plainly blue: the HTML run's colour, never the window text's.
int BluePixels(const TDibSurface& S, const TRect& Box) {
    int N = 0;
    for (int Y = Box.Top; Y < Box.Bottom; ++Y)
        for (int X = Box.Left; X < Box.Right; ++X) {
            const TColor C = S.Pixel(X, Y);
            N += (C >> 16 & 0xFF) > 0xC0 && (C >> 8 & 0xFF) < 0x40 && (C & 0xFF) < 0x40;
        }
    return N;
}

class CvTreeHTMLRows : public TreeTest {
protected:
    void Fill(const std::vector<std::wstring>& Lines) {
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Tree->TreeView().SetBounds(0, 0, 300, 170);
        Tree->Items().AssignLines(Lines);
        Tree->TreeView().FillRows(0);
    }
    void Paint() { Tree->TreeView().PaintTo(Surface.DC(), TRect(0, 0, 300, 170)); }
    TCvTreeItem* Vis(int I) { return Tree->Items().GetVisItem(I); }
    TRect RowBox(int Row) const { return TRect(0, Row * 17, 300, Row * 17 + 17); }

    TDibSurface Surface{300, 170};
};

// The same markup twice, the second row switched to HTML; a third row with no text gives the
// width of everything but the text.
TEST_F(CvTreeHTMLRows, MarkupIsMeasuredAndPaintedThroughTheRendering) {
    Fill({BlueMarkup, BlueMarkup, L""});
    Vis(1)->SetIsHTML(true);
    const TCvHTMLData* HTML = Vis(1)->HTMLData(-1);
    ASSERT_NE(HTML, nullptr);
    EXPECT_EQ(Vis(0)->HTMLData(-1), nullptr);
    const int Bare = Tree->MeasureItemPart(*Vis(2), -1).cx;
    EXPECT_EQ(Tree->MeasureItemPart(*Vis(0), -1).cx,
              Bare + 6 * static_cast<int>(BlueMarkup.size()));
    EXPECT_EQ(Tree->MeasureItemPart(*Vis(1), -1).cx, Bare + HTML->TextSize.cx);
    EXPECT_GT(HTML->TextSize.cx, 0);

    Paint();
    EXPECT_EQ(BluePixels(Surface, RowBox(0)), 0); // plain: the markup as text
    EXPECT_GT(BluePixels(Surface, RowBox(1)), 10);
    // The recorded text box is the rendering's, where the hit test looks for the text.
    EXPECT_EQ(Vis(1)->TextRight - Vis(1)->TextLeft, HTML->TextSize.cx + 2);
}

TEST_F(CvTreeHTMLRows, ColumnTextsAreRenderedPerColumnAndPasswordsStayMasked) {
    AddSections({120, 90, 90});
    Tree->SetShowColumns(true);
    Fill({L"main"});
    TCvTreeItem* Row = Vis(0);
    Row->ColumnTextList()->Assign({BlueMarkup, L"plain"});
    Row->SetIsHTML(true);
    EXPECT_EQ(Row->HTMLData(-1), nullptr); // the main text is no markup
    ASSERT_NE(Row->HTMLData(0), nullptr);
    EXPECT_EQ(Row->HTMLData(1), nullptr);
    EXPECT_EQ(Tree->MeasureItemPart(*Row, 1).cx, Row->HTMLData(0)->TextSize.cx + 2 + 17 * 3 / 5);

    Paint();
    EXPECT_GT(BluePixels(Surface, TRect(120, 0, 210, 17)), 10);
    Tree->HeaderControl().Sections().ItemByIndex(1)->SetPassword(true);
    Paint();
    EXPECT_EQ(BluePixels(Surface, TRect(120, 0, 210, 17)), 0);
}

// A new link colour lays every HTML row out again in it.
TEST_F(CvTreeHTMLRows, LinkColourChangesRenderAgain) {
    Fill({L"<html><a href=x>link</a></html>"});
    Vis(0)->SetIsHTML(true);
    ASSERT_NE(Vis(0)->HTMLData(-1), nullptr);
    EXPECT_EQ(Vis(0)->HTMLData(-1)->LinkColor, clBlue);
    Tree->SetLinkColor(clRed);
    ASSERT_NE(Vis(0)->HTMLData(-1), nullptr);
    EXPECT_EQ(Vis(0)->HTMLData(-1)->LinkColor, clRed);
}

// In a window: a click on the link reports its target, a click on the plain words before it
// does not, and the pointer becomes the link cursor over the link only.
class CvTreeHTMLLinks : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Form = NewPlainForm(*App, TRect{0, 0, 400, 300});
        Tree = new TCvTree(Form);
        Tree->SetParent(Form);
        Tree->SetBounds(0, 0, 300, 200);
        Tree->SetAutoLineHeight(false);
        Tree->SetLineHeight(17);
        Form->Show();
        Tree->Items().AssignLines({L"<html>plain words <a href=\"the target\">link</a></html>"});
        Tree->Items().ItemAtIndex(0)->SetIsHTML(true);
        Tree->TreeView().FillRows(0);
        TDibSurface Surface(300, 200);
        Tree->TreeView().PaintTo(Surface.DC(), TRect(0, 0, 300, 200));
    }
    void Send(UINT Msg, WPARAM W, int X, int Y) {
        SendMessageW(Tree->TreeView().Handle(), Msg, W, MAKELPARAM(X, Y));
    }

    TForm* Form = nullptr;
    TCvTree* Tree = nullptr;
};

TEST_F(CvTreeHTMLLinks, ClicksOnTheLinkReportItsTargetAndThePointerShowsIt) {
    std::vector<std::wstring> Clicked;
    Tree->OnLinkClick = [&Clicked](TObject*, const String& Href) { Clicked.push_back(Href); };
    const TCvTreeItem* Row = Tree->Items().ItemAtIndex(0);
    const TRect Box = Row->HTMLData(-1)->PaintedRect;
    ASSERT_GT(Box.Width(), 20);
    const int Y = (Box.Top + Box.Bottom) / 2;
    int FirstLinkX = -1, LinkClicks = 0;
    for (int X = Box.Left; X < Box.Right; ++X) {
        const size_t Before = Clicked.size();
        Send(WM_MOUSEMOVE, 0, X, Y);
        const TCursor Pointer = Tree->TreeView().Cursor();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, X, Y);
        Send(WM_LBUTTONUP, 0, X, Y);
        const bool Fired = Clicked.size() > Before;
        EXPECT_EQ(Pointer, Fired ? crHandPoint : crDefault) << X;
        if (Fired && FirstLinkX < 0)
            FirstLinkX = X;
        LinkClicks += Fired;
    }
    ASSERT_GT(LinkClicks, 5);
    EXPECT_GT(FirstLinkX, Box.Left + Box.Width() / 2); // "plain words" come first
    for (const std::wstring& H : Clicked)
        EXPECT_EQ(H, L"the target");
    // Off the row: the tree's own cursor again.
    Send(WM_MOUSEMOVE, 0, FirstLinkX, 150);
    EXPECT_EQ(Tree->TreeView().Cursor(), crDefault);
}

} // namespace
