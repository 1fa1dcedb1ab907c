// The message box: its layout for each set and text size, the result of each button clicked,
// Escape and the system close, and the caller's text against a language section "Label1".
#include "app/AppStartup.h"
#include "app/FlatMessageBox.h"
#include "app/InputQueryForm.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "tests/support/GdiCount.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ModalTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TEST(FlatMessageBoxLayout, SizesAndButtonPlaces) {
    struct TCase {
        TSize Text;
        int Buttons;
        int Width, Height;
        std::vector<std::pair<TModalResult, int>> Lefts;
    } const Cases[] = {
        {{96, 13}, 0, 198, 121, {{mrOk, 60}}},
        {{20, 13}, 1, 198, 121, {}},
        {{20, 13},
         2,
         574,
         121,
         {{mrYes, 62}, {mrYesToAll, 156}, {mrNo, 250}, {mrNoToAll, 344}, {mrCancel, 438}}},
        {{20, 13}, 3, 386, 121, {{mrYes, 92}, {mrNo, 186}, {mrCancel, 280}}},
        {{20, 13}, 4, 292, 121, {{mrYes, 76}, {mrNo, 170}}},
        {{20, 13}, 5, 198, 121, {{mrYes, 29}, {mrNo, 123}}},
        {{400, 65}, 4, 502, 173, {{mrYes, 181}, {mrNo, 275}}},
        {{2000, 900}, 0, 700, 500, {{mrOk, 311}}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Buttons);
        const TFlatMessageBoxLayout L = LayoutFlatMessageBox(C.Text, 0, C.Buttons);
        EXPECT_EQ(L.Width, C.Width);
        EXPECT_EQ(L.Height, C.Height);
        ASSERT_EQ(L.Buttons.size(), C.Lefts.size());
        for (size_t I = 0; I < C.Lefts.size(); ++I) {
            EXPECT_EQ(L.Buttons[I].Result, C.Lefts[I].first) << I;
            EXPECT_EQ(L.Buttons[I].Left, C.Lefts[I].second) << I;
            EXPECT_EQ(L.Buttons[I].Top, C.Height - 25 - 12) << I;
        }
        EXPECT_FALSE(L.HasIcon);
    }
    for (int Icon = 1; Icon <= 4; ++Icon) {
        const TFlatMessageBoxLayout L = LayoutFlatMessageBox({20, 13}, Icon, 0);
        EXPECT_TRUE(L.HasIcon);
        EXPECT_EQ(L.IconPos.X, 16);
        EXPECT_EQ(L.IconPos.Y, (121 - 32) / 2);
    }
    EXPECT_FALSE(LayoutFlatMessageBox({20, 13}, 5, 0).HasIcon);
}

// The buttons of a layout stand left to right with room between them, inside the box.
void ExpectButtonsInsideTheBox(const TFlatMessageBoxLayout& L) {
    int LastRight = 0;
    for (const TFlatMessageButtonPlace& Place : L.Buttons) {
        SCOPED_TRACE(Place.Name);
        EXPECT_GE(Place.Left, LastRight + (LastRight ? 8 : 12));
        LastRight = Place.Left + Place.Width;
    }
    EXPECT_LE(LastRight, L.Width - 12);
}

TEST(FlatMessageBoxLayout, ButtonsWidenToTheirFacesAndTheBoxWithThem) {
    struct TCase {
        const char* What;
        TSize Text;
        int Buttons;
        const wchar_t* Wide; // the one button whose face outgrows its standard width
        int Face;
        int Width; // of the box
    } const Cases[] = {
        {"a caption that fits keeps the standard box", {20, 13}, 2, L"btnYesToAll", 60, 574},
        {"a wide face in the five-button set", {20, 13}, 2, L"btnYesToAll", 120, 574 + 56},
        {"a wide first button of three", {20, 13}, 3, L"btnYes", 100, 386 + 38},
        {"a wide OK in a box as wide as its text", {600, 13}, 0, L"btnOk", 300, 700},
        {"a face wider than the box may be", {20, 13}, 0, L"btnOk", 800, 198 + 738},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.What);
        const TFlatMessageBoxLayout L = LayoutFlatMessageBox(
            C.Text, 0, C.Buttons, [&](const String& Name) { return Name == C.Wide ? C.Face : 40; });
        EXPECT_EQ(L.Width, C.Width);
        ExpectButtonsInsideTheBox(L);
        for (const TFlatMessageButtonPlace& Place : L.Buttons)
            EXPECT_GE(Place.Width, (Place.Name == C.Wide ? C.Face : 40) + 16) << Place.Name;
    }
    // A box without buttons does not measure.
    EXPECT_EQ(LayoutFlatMessageBox({20, 13}, 0, 1, [](const String&) { return 900; }).Width, 198);
}

class FlatMessageBoxTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        SavedAppDir = AppDir;
        AppDir = Folder.Path();
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"Data\\");
        DataModule.reset(NewForm<TfrmDM>(nullptr));
    }
    void TearDown() override {
        AppLanguage->LoadFromFile(Folder.Path()); // a folder: nothing is loaded
        GuiTest::TearDown();
        DataModule.reset();
        System.reset();
        AppDir = SavedAppDir;
    }
    // When the window titled "Box test" is up, Act is done to it.
    template <class TWindow = TfrmFlatMessageBox, class TAct> void WhenShown(TAct Act) {
        WhenWindowShown<TWindow>(L"Box test", std::function<void(TWindow&)>(Act));
    }
    static void PostClick(TWinControl& Button) { ::PostClick(Button.Handle()); }

    TTempFolder Folder;
    String SavedAppDir;
    std::unique_ptr<TFlatFormSystem> System;
    std::unique_ptr<TfrmDM> DataModule;
};

TEST_F(FlatMessageBoxTest, EachButtonOfEachSetGivesItsResult) {
    const struct {
        int Set;
        const wchar_t* Button;
        int Result;
    } Cases[] = {
        {0, L"btnOk", 1},      {2, L"btnYes", 6},    {2, L"btnYesToAll", 10}, {2, L"btnNo", 7},
        {2, L"btnNoToAll", 9}, {2, L"btnCancel", 2}, {3, L"btnYes", 6},       {3, L"btnNo", 7},
        {3, L"btnCancel", 2},  {4, L"btnYes", 6},    {4, L"btnNo", 7},        {5, L"btnYes", 6},
        {5, L"btnNo", 7},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Button);
        SCOPED_TRACE(C.Set);
        const String Name = C.Button;
        WhenShown([Name](TfrmFlatMessageBox& Box) {
            PostClick(*static_cast<TWinControl*>(Box.FindComponent(Name)));
        });
        EXPECT_EQ(ShowFlatMessageBox(App.get(), L"Box test", L"Go on?", fmiQuestion, C.Set),
                  C.Result);
    }
}

TEST_F(FlatMessageBoxTest, EscapeAndTheSystemCloseGiveCancelForEverySet) {
    for (int Set = 0; Set <= 5; ++Set) {
        SCOPED_TRACE(Set);
        WhenShown([](TfrmFlatMessageBox& Box) {
            PostMessageW(Box.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        EXPECT_EQ(ShowFlatMessageBox(App.get(), L"Box test", L"Text", fmiStop, Set), 2);
        WhenShown([](TfrmFlatMessageBox& Box) {
            HWND Focus = GetFocus();
            PostMessageW(Focus ? Focus : Box.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        });
        EXPECT_EQ(ShowFlatMessageBox(App.get(), L"Box test", L"Text", fmiStop, Set), 2);
    }
}

TEST_F(FlatMessageBoxTest, EveryButtonFitsItsCaptionInItsFont) {
    // A language file with a long caption, as a translation may bring.
    Folder.AddFile(L"test.lng", "[btnNoToAll]\r\nCaption=No, and none of the others\r\n");
    AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    struct TShownButton {
        String Name;
        int Left, Width, Needed;
    };
    std::vector<TShownButton> Shown;
    int BoxWidth = 0;
    WhenShown([&](TfrmFlatMessageBox& Box) {
        BoxWidth = Box.ClientWidth();
        for (TavImageExpandButton* Button :
             {Box.btnYes, Box.btnYesToAll, Box.btnNo, Box.btnNoToAll, Box.btnCancel}) {
            TBitmap Measure;
            Measure.Canvas().Font().Assign(Button->Font());
            const int Glyph =
                Button->Glyph().Empty() ? 0 : Button->Glyph().Width() / Button->NumGlyphs();
            Shown.push_back(
                {Button->Name, Button->Left(), Button->Width(),
                 Measure.Canvas().TextWidth(Button->Caption()) + Glyph + Button->Spacing()});
        }
        PostClick(*Box.btnCancel);
    });
    EXPECT_EQ(ShowFlatMessageBox(App.get(), L"Box test", L"Replace it?", fmiQuestion, 2), 2);
    ASSERT_EQ(Shown.size(), 5u);
    int LastRight = 0;
    for (const TShownButton& B : Shown) {
        SCOPED_TRACE(B.Name);
        EXPECT_GE(B.Width, B.Needed);
        EXPECT_GT(B.Left, LastRight);
        LastRight = B.Left + B.Width;
    }
    EXPECT_LT(LastRight, BoxWidth);
    EXPECT_GT(Shown[3].Width, 80); // the long caption made its button wider
}

TEST_F(FlatMessageBoxTest, TheBoxShowsTheCallersTextSizedAndPlaced) {
    Folder.AddFile(L"test.lng", "[Label1]\r\nCaption=From the file\r\n");
    AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    ASSERT_TRUE(AppLanguage->IsLoaded());
    String Shown;
    int Width = 0, Height = 0, OkLeft = 0;
    bool IconShown = false;
    WhenShown([&](TfrmFlatMessageBox& Box) {
        Shown = Box.Label1->Caption();
        Width = Box.Width();
        Height = Box.Height();
        OkLeft = Box.btnOk->Left();
        IconShown = Box.Images[1]->Visible() && !Box.Images[0]->Visible();
        PostClick(*Box.btnOk);
    });
    EXPECT_EQ(ShowFlatMessageBox(App.get(), L"Box test", L"One\rTwo\rThree", fmiInformation, 0), 1);
    EXPECT_EQ(Shown, L"One\rTwo\rThree");
    EXPECT_EQ(Width, 198);
    EXPECT_GT(Height, 121); // three lines make it taller than one
    EXPECT_EQ(OkLeft, 60);
    EXPECT_TRUE(IconShown);
}

TEST_F(FlatMessageBoxTest, ShowFlatMessageIsTheExclamationWithOk) {
    App->SetTitle(L"Box test");
    bool Exclamation = false;
    WhenShown([&](TfrmFlatMessageBox& Box) {
        Exclamation = Box.Images[2]->Visible() && Box.btnOk->Visible() && !Box.btnYes->Visible();
        PostClick(*Box.btnOk);
    });
    EXPECT_EQ(ShowFlatMessage(App.get(), L"Note"), 1);
    EXPECT_TRUE(Exclamation);
}

TEST_F(FlatMessageBoxTest, BoxesLeaveNoGdiObjectsBehind) {
    const auto Once = [&] {
        WhenShown([](TfrmFlatMessageBox& Box) { PostClick(*Box.btnOk); });
        ShowFlatMessageBox(App.get(), L"Box test", L"Text", fmiQuestion, 0);
    };
    Once();
    EXPECT_EQ(GdiGrowth(Once), 0);
}

TEST_F(FlatMessageBoxTest, InputQueryConfirmsWithOkOrEnterAndCancelsWithCancelOrEscape) {
    Folder.AddFile(L"test.lng", "[labPrompt]\r\nCaption=From the file\r\n");
    AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    const auto Typed = [](std::function<void(TfrmInputQuery&)> End) {
        return [End](TfrmInputQuery& Dialog) {
            Dialog.edSession->SetText(L"typed");
            End(Dialog);
        };
    };
    const struct {
        const char* How;
        std::function<void(TfrmInputQuery&)> End;
        bool Confirmed;
    } Cases[] = {
        {"OK", [](TfrmInputQuery& D) { PostClick(*D.btnOK); }, true},
        {"Enter",
         [](TfrmInputQuery& D) { PostMessageW(D.edSession->Handle(), WM_KEYDOWN, VK_RETURN, 0); },
         true},
        {"Cancel", [](TfrmInputQuery& D) { PostClick(*D.btnCancel); }, false},
        {"Escape",
         [](TfrmInputQuery& D) { PostMessageW(D.edSession->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); },
         false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.How);
        String Prompt;
        WhenShown<TfrmInputQuery>([&, End = C.End](TfrmInputQuery& D) {
            Prompt = D.labPrompt->Caption();
            Typed(End)(D);
        });
        String Value = L"before";
        EXPECT_EQ(FlatInputQuery(L"Box test", L"Size:", Value, 255, L""), C.Confirmed);
        EXPECT_EQ(Value, C.Confirmed ? L"typed" : L"before");
        EXPECT_EQ(Prompt, L"Size:");
    }
}

TEST_F(FlatMessageBoxTest, InputQueryMasksAndLimitsTheInput) {
    wchar_t Mask = 0;
    int Limit = 0;
    bool EditActive = false;
    WhenShown<TfrmInputQuery>([&](TfrmInputQuery& D) {
        Mask = D.edSession->PasswordChar();
        Limit = D.edSession->MaxLength();
        EditActive = D.ActiveControl() == D.edSession;
        PostClick(*D.btnCancel);
    });
    String Value = L"secret";
    EXPECT_FALSE(FlatInputQuery(L"Box test", L"Password:", Value, 8, L"*#"));
    EXPECT_EQ(Mask, L'*');
    EXPECT_EQ(Limit, 8);
    EXPECT_TRUE(EditActive);
    EXPECT_EQ(Value, L"secret");
}

TEST_F(FlatMessageBoxTest, TheInputIsAFlatBorderlessEditOfItsTextsHeight) {
    const std::unique_ptr<TfrmInputQuery> Dialog(NewForm<TfrmInputQuery>(App.get()));
    TFlatMaskEdit& Edit = *Dialog->edSession;
    EXPECT_EQ(Edit.Height(), GetFontMetrics(Edit.Font()).tmHeight + 6);
    EXPECT_EQ(Edit.Left(), 24);
    EXPECT_EQ(Edit.Top(), 56);
    EXPECT_EQ(Edit.Width(), 329);
    EXPECT_FALSE(GetWindowLongW(Edit.Handle(), GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongW(Edit.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

} // namespace
