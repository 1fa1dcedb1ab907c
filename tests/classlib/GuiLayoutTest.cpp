// Anchors, borders and bevels: how a control's place and client area follow its parent and its
// frame.
#include "GuiTestSupport.h"

namespace {

class GuiLayoutTest : public PlainFormTest<200, 100> {};

// A window that paints its client area blue.
class TBlueWindow : public TCustomControl {
public:
    explicit TBlueWindow(TComponent* Owner) : TCustomControl(Owner) { SetColor(clBlue); }
};

// A red window that paints its client area green.
class TGreenInside : public TCustomControl {
public:
    explicit TGreenInside(TComponent* Owner) : TCustomControl(Owner) { SetColor(clRed); }

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clLime);
        Canvas().FillRect(ClientRect());
    }
};

} // namespace

TEST_F(GuiLayoutTest, AnchoredControlsFollowTheSidesOfTheirParent) {
    const struct {
        const char* Name;
        TAnchors Anchors;
        TRect Grown; // after the parent grew by 40 x 30
    } Cases[] = {
        {"left top", {akLeft, akTop}, Bounds(10, 10, 50, 20)},
        {"right top", {akRight, akTop}, Bounds(50, 10, 50, 20)},
        {"left right top", {akLeft, akRight, akTop}, Bounds(10, 10, 90, 20)},
        {"left top bottom", {akLeft, akTop, akBottom}, Bounds(10, 10, 50, 50)},
        {"right bottom", {akRight, akBottom}, Bounds(50, 40, 50, 20)},
        {"all four", {akLeft, akTop, akRight, akBottom}, Bounds(10, 10, 90, 50)},
        {"none: the centre stays", {}, Bounds(30, 25, 50, 20)},
    };
    for (const bool Windowed : {false, true}) {
        for (const auto& Case : Cases) {
            SCOPED_TRACE(testing::Message() << Case.Name << (Windowed ? ", windowed" : ""));
            Form->SetBounds(0, 0, 200, 100);
            TControl* Control =
                Windowed ? static_cast<TControl*>(Place<TBlueWindow>(*Form, Bounds(10, 10, 50, 20)))
                         : Place<TFilledBlock>(*Form, Bounds(10, 10, 50, 20));
            Control->Anchors = Case.Anchors;
            Form->SetBounds(0, 0, 240, 130);
            EXPECT_EQ(Control->BoundsRect(), Case.Grown);
            if (Windowed) { // the window itself moved
                RECT Window{};
                GetWindowRect(static_cast<TWinControl*>(Control)->Handle(), &Window);
                MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&Window), 2);
                EXPECT_EQ(TRect(Window), Case.Grown);
            }
            // Back to the first size: back to the first place, with nothing lost to rounding.
            Form->SetBounds(0, 0, 200, 100);
            EXPECT_EQ(Control->BoundsRect(), Bounds(10, 10, 50, 20));
            delete Control;
        }
        Form->Show(); // the second round through the window's own WM_SIZE
    }
}

TEST_F(GuiLayoutTest, AnchorsMeasureFromTheLayoutAsBuilt) {
    Form->BeginLoading();
    auto* Button =
        Place<TFilledBlock>(*Form, Bounds(150, 70, 40, 20)); // 10 from the right and bottom
    Button->Anchors = {akRight, akBottom};
    Form->SetBounds(0, 0, 300, 200); // still building: the form's size is part of the layout
    Button->SetBounds(250, 170, 40, 20);
    Form->EndLoading();
    EXPECT_EQ(Button->BoundsRect(), Bounds(250, 170, 40, 20));
    Form->SetBounds(0, 0, 320, 210);
    EXPECT_EQ(Button->BoundsRect(), Bounds(270, 180, 40, 20));
    // Moved by hand, it keeps its new distances from then on.
    Button->SetBounds(200, 100, 40, 20);
    Form->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(Button->BoundsRect(), Bounds(180, 90, 40, 20));
}

TEST_F(GuiLayoutTest, BorderAndBevelsTakeTheirWidthOutOfTheClientArea) {
    const struct {
        const char* Name;
        int BorderWidth;
        TBevelKind Kind;
        TBevelCut Inner, Outer;
        int BevelWidth;
        TBevelEdges Edges;
        TRect Client; // in the 100 x 60 control
    } Cases[] = {
        {"none",
         0,
         bkNone,
         bvRaised,
         bvLowered,
         1,
         {beLeft, beTop, beRight, beBottom},
         Bounds(0, 0, 100, 60)},
        {"border only",
         3,
         bkNone,
         bvRaised,
         bvLowered,
         1,
         {beLeft, beTop, beRight, beBottom},
         Bounds(3, 3, 94, 54)},
        {"bevels without a kind draw nothing",
         0,
         bkNone,
         bvRaised,
         bvRaised,
         4,
         {beLeft, beTop, beRight, beBottom},
         Bounds(0, 0, 100, 60)},
        {"two bevels",
         0,
         bkTile,
         bvRaised,
         bvLowered,
         2,
         {beLeft, beTop, beRight, beBottom},
         Bounds(4, 4, 92, 52)},
        {"one bevel and a border",
         2,
         bkFlat,
         bvNone,
         bvRaised,
         1,
         {beLeft, beTop, beRight, beBottom},
         Bounds(3, 3, 94, 54)},
        {"space counts",
         0,
         bkSoft,
         bvSpace,
         bvNone,
         3,
         {beLeft, beTop, beRight, beBottom},
         Bounds(3, 3, 94, 54)},
        {"top and left edges",
         1,
         bkTile,
         bvRaised,
         bvLowered,
         1,
         {beLeft, beTop},
         Bounds(3, 3, 96, 56)},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto* Control = new TBlueWindow(Form); // placed once the sizes are reckoned
        Control->SetBounds(10, 10, 100, 60);
        Control->SetBorderWidth(Case.BorderWidth);
        Control->SetBevelKind(Case.Kind);
        Control->SetBevelInner(Case.Inner);
        Control->SetBevelOuter(Case.Outer);
        Control->SetBevelWidth(Case.BevelWidth);
        Control->SetBevelEdges(Case.Edges);
        const TRect Before = Control->ClientRect(); // reckoned without a window
        Control->SetParent(Form);
        Control->HandleNeeded();
        POINT Origin{0, 0};
        MapWindowPoints(Control->Handle(), Form->Handle(), &Origin, 1);
        const TRect Client = Control->ClientRect();
        EXPECT_EQ(Bounds(Origin.x - 10, Origin.y - 10, Client.Width(), Client.Height()),
                  Case.Client);
        EXPECT_EQ(Before, Client);
        delete Control;
    }
}

TEST_F(GuiLayoutTest, AlignedControlsStayInsideTheBorder) {
    auto* Panel = Place<TBlueWindow>(*Form, Bounds(0, 0, 100, 60));
    Panel->SetBorderWidth(5);
    auto* Top = Place<TFilledBlock>(*Panel, Bounds(0, 0, 10, 10));
    Top->SetAlign(alTop);
    EXPECT_EQ(Top->BoundsRect(), Bounds(0, 0, 90, 10)); // client coordinates, inside the band
    Panel->SetBorderWidth(0);
    EXPECT_EQ(Top->BoundsRect(), Bounds(0, 0, 100, 10));
}

TEST_F(GuiLayoutTest, TheBorderBandAndAFlatBevelArePaintedAroundTheClientArea) {
    Form->Show();
    auto* Control = Place<TGreenInside>(*Form, Bounds(10, 10, 60, 40));
    Control->SetBorderWidth(3);
    Control->SetBevelKind(bkTile);
    Control->SetBevelInner(bvNone);
    Control->SetBevelOuter(bvRaised); // one ring, in one colour as Ctl3D is off
    RedrawWindow(Control->Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    // The window as it stands, frame included, copied off its own DC.
    BITMAPINFO Info{};
    Info.bmiHeader = {sizeof Info.bmiHeader, 60, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* Bits = nullptr;
    const TMemoryDC DC(nullptr);
    const TBitmapObject Shot(
        CreateDIBSection(DC.Handle(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
    {
        const TSelectObject Selected(DC.Handle(), Shot.Get());
        const TWindowDC Window(Control->Handle());
        BitBlt(DC.Handle(), 0, 0, 60, 40, Window.Handle(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    const auto Pixel = [&](int X, int Y) {
        const DWORD P = static_cast<const DWORD*>(Bits)[Y * 60 + X];
        return RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF);
    };
    const COLORREF Frame = GetSysColor(COLOR_WINDOWFRAME);
    for (const POINT P : {POINT{0, 0}, POINT{59, 39}, POINT{30, 0}, POINT{0, 20}})
        EXPECT_EQ(Pixel(P.x, P.y), Frame) << P.x << "," << P.y;
    for (const POINT P : {POINT{1, 20}, POINT{3, 20}, POINT{30, 38}, POINT{56, 3}})
        EXPECT_EQ(Pixel(P.x, P.y), RGB(255, 0, 0)) << P.x << "," << P.y; // the band
    EXPECT_EQ(Pixel(4, 4), RGB(0, 255, 0)); // the client area starts inside them
    EXPECT_EQ(Pixel(55, 35), RGB(0, 255, 0));
}
