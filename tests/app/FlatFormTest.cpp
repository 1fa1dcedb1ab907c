// Skinned windows: the frame picture, the region, first show, re-skinning, the close button and
// dragging by the title band.
#include "app/AppStartup.h"
#include "app/FlatForm.h"
#include "app/Language.h"
#include "tests/support/GdiCount.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<TRect> WindowRegionRects(HWND Wnd) {
    TGdiObject<HRGN> Region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(Wnd, Region.Get()) == ERROR)
        return {};
    const DWORD Size = GetRegionData(Region.Get(), 0, nullptr);
    std::vector<std::uint8_t> Bytes(Size);
    auto* Data = reinterpret_cast<RGNDATA*>(Bytes.data());
    GetRegionData(Region.Get(), Size, Data);
    const auto* Rects = reinterpret_cast<const RECT*>(Data->Buffer);
    return std::vector<TRect>(Rects, Rects + Data->rdh.nCount);
}

TEST(PixelClasses, FirstRuleThatHolds) {
    struct TCase {
        int R, G, B;
        TPixelClass Class;
    } const Cases[] = {
        {200, 200, 200, pcWhite}, {148, 100, 100, pcRed},   {100, 100, 148, pcBlue},
        {100, 148, 100, pcGreen}, {120, 120, 120, pcBlack}, {255, 100, 200, pcRed},
        {255, 201, 100, pcBlack}, {0, 0, 0, pcBlack},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(PixelClass(C.R, C.G, C.B), C.Class) << C.R << "," << C.G << "," << C.B;
    EXPECT_TRUE(PixelClassKept(pcWhite));
    EXPECT_TRUE(PixelClassKept(pcRed));
    EXPECT_FALSE(PixelClassKept(pcBlue));
    EXPECT_FALSE(PixelClassKept(pcGreen));
    EXPECT_FALSE(PixelClassKept(pcBlack));
}

class FlatFormTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        SavedAppDir = AppDir;
        AppDir = Folder.Path();
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"Data\\");
    }
    void TearDown() override {
        GuiTest::TearDown();
        System.reset();
        AppDir = SavedAppDir;
    }
    TFlatForm* MakeForm(int Width = 300, int Height = 200) {
        auto* Form = NewForm<TFlatForm>(App.get());
        Form->SetBounds(40, 40, Width, Height);
        return Form;
    }

    TTempFolder Folder;
    String SavedAppDir;
    std::unique_ptr<TFlatFormSystem> System;
};

TEST_F(FlatFormTest, ARegionFromAMaskKeepsRedAndWhiteRuns) {
    auto* Form = MakeForm(6, 3);
    Form->Show();
    TBitmap& Mask = Form->RegionMaker->Mask();
    Mask.SetPixelFormat(pf24bit);
    Mask.SetSize(8, 3); // wider than the form: only its width counts
    Mask.Canvas().Brush().SetColor(clWhite);
    Mask.Canvas().FillRect(TRect(0, 0, 8, 3));
    Mask.Canvas().SetPixel(0, 1, RGB(100, 100, 148)); // blue: cut
    Mask.Canvas().SetPixel(3, 1, RGB(148, 100, 100)); // red: kept
    Mask.Canvas().SetPixel(5, 2, RGB(120, 120, 120)); // black: cut
    Form->RegionMaker->ApplyRegion();
    const std::vector<TRect> Expected = {TRect(0, 0, 6, 1), TRect(1, 1, 6, 2), TRect(0, 2, 5, 3)};
    EXPECT_EQ(WindowRegionRects(Form->Handle()), Expected);
}

TEST_F(FlatFormTest, TheFramePiecesAreDrawnOnceEachAndTheFillShowsBeyondThem) {
    auto* Form = MakeForm(900, 560);
    Form->SetColor(0x00FF00);
    Form->ShowFlat();
    TBitmap& Skin = Form->Background();
    ASSERT_EQ(Skin.Width(), 900);
    TBitmap& Top = System->Piece(fpTop);
    TBitmap& TopRight = System->Piece(fpTopRight);
    TBitmap& Left = System->Piece(fpLeft);
    EXPECT_EQ(Skin.Canvas().Pixel(6 + 100, 10), Top.Canvas().Pixel(100, 10));
    EXPECT_EQ(Skin.Canvas().Pixel(850, 10), 0x00FF00); // between the band's end and the corner
    EXPECT_EQ(Skin.Canvas().Pixel(897, 10), TopRight.Canvas().Pixel(3, 10));
    EXPECT_EQ(Skin.Canvas().Pixel(2, 100), Left.Canvas().Pixel(2, 75));
    EXPECT_EQ(Skin.Canvas().Pixel(2, 540), 0x00FF00); // below the 500-pixel edge
    EXPECT_EQ(Skin.Canvas().Pixel(450, 300), 0x00FF00);
    // The shipped masks are white: the whole window stays.
    EXPECT_EQ(WindowRegionRects(Form->Handle()), std::vector<TRect>{TRect(0, 0, 900, 560)});
    // The window shows the picture.
    EXPECT_EQ(TClientPixels(*Form).At(6 + 100, 10), ColorToRGB(Top.Canvas().Pixel(100, 10)));
}

TEST_F(FlatFormTest, TheSkinIsPaintedAgainOnlyAtANewSize) {
    auto* Form = MakeForm();
    Form->ShowFlat();
    EXPECT_EQ(Form->LastSkinWidth(), 300);
    Form->Background().Canvas().SetPixel(150, 100, 0x123456); // a mark the next painting wipes
    Form->Hide();
    Form->ShowFlat();
    EXPECT_EQ(Form->Background().Canvas().Pixel(150, 100), 0x123456);
    Form->Hide();
    Form->SetBounds(40, 40, 320, 200);
    Form->ShowFlat();
    EXPECT_EQ(Form->LastSkinWidth(), 320);
    EXPECT_NE(Form->Background().Canvas().Pixel(150, 100), 0x123456);
    // The close button keeps its distance from the right edge.
    EXPECT_EQ(Form->CloseButton->Left(), 320 - 14 - 22);
}

// A window with its own show handler, and a label the language file names.
class TShowLogForm : public TFlatForm {
public:
    explicit TShowLogForm(TComponent* AOwner) : TFlatForm(AOwner) {
        Greeting = new TLabel(this);
        Greeting->Name = L"labGreeting";
        Greeting->SetParent(this);
        Greeting->SetCaption(L"layout text");
        OnShow = [this](TObject*) { Shown.push_back(Greeting->Caption()); };
    }
    TLabel* Greeting;
    std::vector<String> Shown;
};

TEST_F(FlatFormTest, TheOwnShowHandlerRunsOnceAfterTheSkinPass) {
    Folder.AddFile(L"test.lng", "[labGreeting]\r\nCaption=from the file\r\n");
    AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    auto* Form = NewForm<TShowLogForm>(App.get());
    Form->SetBounds(40, 40, 300, 200);
    Form->ShowFlat();
    Form->Hide();
    Form->ShowFlat();
    AppLanguage->LoadFromFile(Folder.Path()); // a folder: no language loaded afterwards
    EXPECT_EQ(Form->Shown, std::vector<String>{L"from the file"});
}

TEST_F(FlatFormTest, TheCloseButtonAsksOnCloseOnceAndHidesOnNone) {
    auto* Form = MakeForm();
    int Asked = 0;
    TCloseAction Answer = caNone;
    Form->OnClose = [&](TObject*, TCloseAction& Action) {
        ++Asked;
        Action = Answer;
    };
    Form->ShowFlat();
    Form->CloseButton->Click();
    EXPECT_EQ(Asked, 1);
    EXPECT_FALSE(Form->Visible());

    Answer = caHide;
    Form->ShowFlat();
    Form->CloseButton->Click();
    EXPECT_EQ(Asked, 2);
    EXPECT_FALSE(Form->Visible());

    // Without a handler the window hides; a refusal of the close query keeps it.
    Form->OnClose = nullptr;
    Form->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
    Form->ShowFlat();
    Form->CloseButton->Click();
    EXPECT_TRUE(Form->Visible());
}

TEST_F(FlatFormTest, TheTitleBandDragsTheWindowExceptOverItsButtons) {
    auto* Form = MakeForm();
    Form->ShowFlat();
    ASSERT_FALSE(Form->HelpButton->Visible());
    const auto Hit = [&](int X, int Y) {
        const TPoint P = Form->ClientToScreen(TPoint{X, Y});
        return SendMessageW(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
    };
    const TRect Close = Form->CloseButton->BoundsRect();
    const TRect Help = Form->HelpButton->BoundsRect();
    EXPECT_EQ(Hit(30, 10), HTCAPTION); // on the title label
    EXPECT_EQ(Hit(30, Form->TitleBarHeight()), HTCAPTION);
    EXPECT_EQ(Hit(30, Form->TitleBarHeight() + 1), HTCLIENT);
    EXPECT_EQ(Hit(Help.Left + 2, Help.Top + 2), HTCLIENT); // hidden, still not a handle
    EXPECT_EQ(Hit(Help.Right, Help.Bottom), HTCLIENT);     // edges count
    EXPECT_EQ(Hit(Close.Left + 2, Close.Top + 2), HTCLIENT);
    EXPECT_EQ(Hit(Close.Left - 1, Close.Top + 2), HTCAPTION);
}

TEST_F(FlatFormTest, MissingTitleButtonPicturesLeaveAPlainFaceAndTheWindowOpens) {
    auto* Form = MakeForm();
    EXPECT_TRUE(Form->CloseImages->Image(siNormalMiddle).Empty());
    EXPECT_NO_THROW(Form->ShowFlat());
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

TEST_F(FlatFormTest, WindowsLeaveNoGdiObjectsBehind) {
    const int Growth = GdiGrowth([&] {
        auto* Form = MakeForm();
        Form->SetFormCaption(L"Title");
        Form->ShowFlat();
        Form->Hide();
        Form->SetBounds(40, 40, 340, 220);
        Form->ShowFlat();
        const TClientPixels Pixels(*Form);
        delete Form;
    });
    EXPECT_EQ(Growth, 0);
}

} // namespace
