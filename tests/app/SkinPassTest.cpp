// The data module and the skin-and-language pass over a window.
#include "app/AppStartup.h"
#include "app/Language.h"
#include "app/QRVDataMod.h"
#include "app/QRVUtils.h"
#include "classlib/gui/StdCtrls.h"
#include "controls/FlatCheckBox.h"
#include "controls/HyperLabel.h"
#include "controls/avImageButton.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(SkinPaths, DevelopmentPathsMoveIntoTheProgramFolder) {
    const String Saved = AppDir;
    AppDir = L"C:\\Prog\\";
    struct TCase {
        const wchar_t* Path;
        bool Rewritten;
        const wchar_t* Result;
    } const Cases[] = {
        {L"..\\Bin\\Data\\Buttons\\Main\\big.m.bmp", true,
         L"C:\\Prog\\Data\\Buttons\\Main\\big.m.bmp"},
        {L"..\\Other\\x.bmp", true, L"C:\\Prog\\r\\x.bmp"}, // seven characters go, whatever
        {L"..", true, L"C:\\Prog\\"},
        {L"C:\\Skins\\x.bmp", false, L""},
        {L"", false, L""},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(IsDevelopmentSkinPath(C.Path), C.Rewritten) << ToUtf8(C.Path);
        if (C.Rewritten) {
            EXPECT_EQ(SkinPathInProgramFolder(C.Path), C.Result) << ToUtf8(C.Path);
        }
    }
    EXPECT_EQ(LanguageLineBreaks(L"Remove|selected|"), L"Remove\rselected\r");
    AppDir = Saved;
}

// A program folder with the button skins, a language file, the data module, and a window.
class SkinPassTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        SavedAppDir = AppDir;
        AppDir = Folder.Path();
        for (const char* Part : {"l", "m", "r", "o.l", "o.m", "o.r"})
            Folder.AddFile(L"Data\\Buttons\\Main\\big." + FromUtf8(Part) + L".bmp",
                           SkinPicture(4, 25));
        Folder.AddFile(L"test.lng", "[btnOk]\r\nCaption=Fine\r\nHint=not read\r\n"
                                    "[labTitle]\r\nCaption=Remove|selected\r\n"
                                    "[cbWrap]\r\nCaption=Wrap|it\r\n"
                                    "[labDeep]\r\nCaption=found\r\n"
                                    "[lnkHome]\r\nCaption=Home|page\r\n");
        DataModule.reset(NewForm<TfrmDM>(nullptr));
        Window = NewForm<TForm>(App.get());
    }
    void TearDown() override {
        UnloadLanguage();
        GuiTest::TearDown();
        DataModule.reset();
        AppDir = SavedAppDir;
    }
    static std::string SkinPicture(int Width, int Height) {
        std::string Bytes = "BM";
        const auto U32 = [&](std::uint32_t V) {
            for (int I = 0; I < 4; ++I)
                Bytes += static_cast<char>(V >> (8 * I));
        };
        const auto U16 = [&](std::uint16_t V) {
            Bytes += static_cast<char>(V);
            Bytes += static_cast<char>(V >> 8);
        };
        const int Stride = (Width * 3 + 3) & ~3;
        for (const int V : {54 + Stride * Height, 0, 54, 40, Width, Height})
            U32(static_cast<std::uint32_t>(V));
        U16(1);
        U16(24);
        for (const int V : {0, Stride * Height, 2835, 2835, 0, 0})
            U32(static_cast<std::uint32_t>(V));
        Bytes.append(static_cast<size_t>(Stride) * Height, '\x60');
        return Bytes;
    }
    // A folder cannot be read as a file: no language is loaded afterwards.
    void UnloadLanguage() { AppLanguage->LoadFromFile(Folder.Path()); }
    template <class T> T* Add(TWinControl& Parent, const wchar_t* Name) {
        auto* Control = new T(Window);
        Control->Name = Name;
        Control->SetParent(&Parent);
        Control->SetBounds(0, 0, 60, 20);
        return Control;
    }

    TTempFolder Folder;
    String SavedAppDir;
    std::unique_ptr<TfrmDM> DataModule;
    TForm* Window = nullptr;
};

TEST_F(SkinPassTest, TheDataModulePointsItsListsAtTheProgramFolder) {
    EXPECT_EQ(frmDM, DataModule.get());
    EXPECT_EQ(frmDM->avILBig->ImagePath(siNormalMiddle),
              Folder.Path() + L"Data\\Buttons\\Main\\big.m.bmp");
    EXPECT_EQ(frmDM->avILBig->Image(siNormalMiddle).Height(), 25);
    EXPECT_EQ(frmDM->avILInside->ImagePath(siHoverRight),
              Folder.Path() + L"Data\\Buttons\\Inside\\but.o.r.bmp");
    EXPECT_TRUE(frmDM->avILInside->Image(siHoverRight).Empty()); // not in this folder
    EXPECT_EQ(frmDM->avILInside->Font().Color(), 0x964C02);
    EXPECT_EQ(frmDM->avILTop->Font().Height(), -13);
    EXPECT_EQ(frmDM->ilGlyphs->Count(), GlyphCount);
    EXPECT_EQ(frmDM->ilGlyphs->Width(), GlyphWidth);
    // A second run changes nothing further.
    ApplySkinAndLanguage(*frmDM);
    EXPECT_EQ(frmDM->avILBig->ImagePath(siNormalMiddle),
              Folder.Path() + L"Data\\Buttons\\Main\\big.m.bmp");
    DataModule.reset();
    EXPECT_EQ(frmDM, nullptr);
}

TEST_F(SkinPassTest, ButtonsLabelsAndCheckBoxesTakeGlyphsAndCaptions) {
    AppLanguage->LoadFromFile(Folder.Path() + L"test.lng");
    auto* Ok = Add<TavImageExpandButton>(*Window, L"btnOk");
    Ok->SetImageList(frmDM->avILBig);
    Ok->Tag = 3;
    auto* Unnamed = Add<TavImageExpandButton>(*Window, L"btnNoSection");
    Unnamed->Tag = -1;
    auto* Beyond = Add<TavImageExpandButton>(*Window, L"btnBeyond");
    Beyond->Tag = 22;
    auto* Plain = Add<TavImageExpandButton>(*Window, L"btnPlain"); // Tag 0 from the layout
    auto* Title = Add<TLabel>(*Window, L"labTitle");
    auto* Kept = Add<TLabel>(*Window, L"labKept");
    Kept->SetCaption(L"layout");
    auto* Wrap = Add<TFlatCheckBox>(*Window, L"cbWrap");
    auto* Outer = Add<TCustomControl>(*Window, L"pnlOuter");
    auto* Inner = Add<TCustomControl>(*Outer, L"pnlInner");
    auto* Deep = Add<TLabel>(*Inner, L"labDeep");
    auto* Link = Add<THyperLabel>(*Window, L"lnkHome"); // any label kind

    ApplySkinAndLanguage(*Window);
    EXPECT_EQ(Ok->Caption(), L"Fine");
    EXPECT_EQ(Ok->Hint, L"Fine"); // the file's Hint key is not read here
    EXPECT_EQ(Ok->Height(), 25);  // refreshed from its list
    TBitmap Expected;
    frmDM->ilGlyphs->GetBitmap(3, Expected);
    ASSERT_EQ(Ok->Glyph().Width(), GlyphWidth);
    EXPECT_EQ(Ok->Glyph().Canvas().Pixel(10, 8), Expected.Canvas().Pixel(10, 8));
    EXPECT_EQ(Unnamed->Caption(), L"btnNoSection"); // no section: its own name
    EXPECT_TRUE(Unnamed->Glyph().Empty());
    EXPECT_TRUE(Beyond->Glyph().Empty());
    EXPECT_EQ(Plain->Glyph().Width(), GlyphWidth);
    EXPECT_EQ(Title->Caption(), L"Remove\rselected");
    EXPECT_EQ(Kept->Caption(), L"layout");
    EXPECT_EQ(Wrap->Caption(), L"Wrap\rit");
    EXPECT_EQ(Deep->Caption(), L"found"); // a panel in a panel is entered at both levels
    EXPECT_EQ(Link->Caption(), L"Home\rpage");
}

TEST_F(SkinPassTest, WithoutALanguageFileCaptionsStayAsTheLayoutGaveThem) {
    UnloadLanguage();
    ASSERT_FALSE(AppLanguage->IsLoaded());
    auto* Ok = Add<TavImageExpandButton>(*Window, L"btnOk");
    Ok->SetCaption(L"OK");
    auto* Title = Add<TLabel>(*Window, L"labTitle");
    Title->SetCaption(L"layout");
    ApplySkinAndLanguage(*Window);
    EXPECT_EQ(Ok->Caption(), L"OK");
    EXPECT_EQ(Title->Caption(), L"layout");

    // An empty language file: buttons show their names, labels keep their captions.
    Folder.AddFile(L"empty.lng", "");
    AppLanguage->LoadFromFile(Folder.Path() + L"empty.lng");
    ApplySkinAndLanguage(*Window);
    EXPECT_EQ(Ok->Caption(), L"btnOk");
    EXPECT_EQ(Title->Caption(), L"layout");
}

} // namespace
