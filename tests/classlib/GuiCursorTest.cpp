#include "GuiTestSupport.h"

namespace {

// A painted control to point at.
class TSpot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {}
};

// The hot spot of a cursor, and whether it is one.
struct TCursorShape {
    bool IsCursor;
    DWORD HotX, HotY;
};

TCursorShape ShapeOf(HCURSOR Cursor) {
    ICONINFO Info{};
    if (!GetIconInfo(Cursor, &Info))
        return TCursorShape{false, 0, 0};
    // GetIconInfo hands out copies of the cursor's bitmaps.
    const TBitmapObject Mask(Info.hbmMask);
    const TBitmapObject Colour(Info.hbmColor);
    return TCursorShape{Info.fIcon == FALSE, Info.xHotspot, Info.yHotspot};
}

// Points the screen's cursor position seam somewhere for the life of the scope.
class TPointerAt {
public:
    explicit TPointerAt(TPoint Where) {
        Screen->CursorPosSource = [Where] { return Where; };
    }
    ~TPointerAt() { Screen->CursorPosSource = nullptr; }
    TPointerAt(const TPointerAt&) = delete;
    TPointerAt& operator=(const TPointerAt&) = delete;
};

} // namespace

TEST_F(GuiTest, TheDragCursorsComeFromTheProgramsResources) {
    const HCURSOR Arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR Refused = Screen->Cursors(20001);
    const HCURSOR Move = Screen->Cursors(20002);
    const HCURSOR Copy = Screen->Cursors(20003);
    for (const HCURSOR Cursor : {Refused, Move, Copy}) {
        ASSERT_NE(Cursor, nullptr);
        EXPECT_NE(Cursor, Arrow);
        const TCursorShape Shape = ShapeOf(Cursor);
        EXPECT_TRUE(Shape.IsCursor);
        EXPECT_EQ(Shape.HotX, 0u); // the pointer's tip
        EXPECT_EQ(Shape.HotY, 0u);
    }
    EXPECT_NE(Refused, Move);
    EXPECT_NE(Move, Copy);
    EXPECT_EQ(Screen->Cursors(20004), Arrow); // none of ours: the arrow

    // A cursor set for an index is shown for it until it is taken back.
    const HCURSOR Cross = LoadCursorW(nullptr, IDC_CROSS);
    Screen->SetCursors(20002, Cross);
    EXPECT_EQ(Screen->Cursors(20002), Cross);
    Screen->SetCursors(20002, nullptr);
    EXPECT_EQ(Screen->Cursors(20002), Move);
}

TEST_F(GuiTest, TheCursorOfTheControlUnderThePointerIsSet) {
    auto* Form = NewForm<TForm>(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 200, 100);
    auto* Spot = new TSpot(Form);
    Spot->SetParent(Form);
    Spot->SetBounds(10, 10, 40, 40);
    Spot->SetCursor(20003);
    Form->SetCursor(crHSplit);
    Form->Show();
    const auto AskForCursor = [&] {
        return SendMessageW(Form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Form->Handle()),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    {
        const TPointerAt Pointer(Form->ClientToScreen(TPoint{20, 20}));
        EXPECT_EQ(AskForCursor(), TRUE);
        EXPECT_EQ(GetCursor(), Screen->Cursors(20003));
    }
    {
        const TPointerAt Pointer(Form->ClientToScreen(TPoint{120, 20}));
        EXPECT_EQ(AskForCursor(), TRUE);
        EXPECT_EQ(GetCursor(), Screen->Cursors(crHSplit));
    }
    {
        // The screen's cursor of long work wins over the controls' own.
        const TPointerAt Pointer(Form->ClientToScreen(TPoint{20, 20}));
        const TScreenCursor Busy(crHourGlass);
        EXPECT_EQ(AskForCursor(), TRUE);
        EXPECT_EQ(GetCursor(), Screen->Cursors(crHourGlass));
    }
}
