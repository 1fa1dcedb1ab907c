#include "app/AppStartup.h"
#include "app/SplashForm.h"
#include "classlib/rtl/Classes.h"
#include "tests/support/StringLines.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>

namespace {

// An application and a splash window in a program folder of their own.
class SplashFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedAppDir = AppDir;
        AppDir = Folder.Path();
        System = std::make_unique<TFlatFormSystem>(AppDir + L"Data\\");
        App = std::make_unique<TApplication>();
        Splash = NewForm<TfrmSplash>(App.get());
    }
    void TearDown() override {
        App.reset();
        System.reset();
        AppDir = FSavedAppDir;
    }

    std::vector<String> LogLines() const {
        TStringList Log;
        Log.LoadFromFile(AppDir + L"log.txt");
        return Lines(Log);
    }

    TTempFolder Folder;
    std::unique_ptr<TFlatFormSystem> System;
    std::unique_ptr<TApplication> App;
    TfrmSplash* Splash = nullptr;

private:
    String FSavedAppDir;
};

// The text of a "[hh:nn:ss]text" line, or "?" when the line has another form.
String LoggedText(const String& Line) {
    static const std::wregex Form(LR"(\[([01]\d|2[0-3]):[0-5]\d:[0-5]\d\](.*))");
    std::wsmatch Match;
    return std::regex_match(Line, Match, Form) ? String(Match[2]) : String(L"?");
}

} // namespace

TEST(SplashLogLine, IsTheTimeOfDayInBracketsThenTheText) {
    EXPECT_EQ(FormatLogLine(EncodeTime(9, 5, 7, 0), L"Loading..."), L"[09:05:07]Loading...");
    EXPECT_EQ(FormatLogLine(EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 999), L"x"),
              L"[23:59:59]x");
    // The text is data, never a format.
    EXPECT_EQ(FormatLogLine(EncodeTime(0, 0, 0, 0), L"50% %s %d"), L"[00:00:00]50% %s %d");
}

TEST_F(SplashFormTest, IsASmallStayOnTopWindowInTheMiddleOfTheScreen) {
    Splash->ShowFlat();
    const HWND Wnd = Splash->Handle();
    RECT Window{};
    GetWindowRect(Wnd, &Window);
    EXPECT_EQ(TRect(Window), Bounds((GetSystemMetrics(SM_CXSCREEN) - 307) / 2,
                                    (GetSystemMetrics(SM_CYSCREEN) - 89) / 2, 307, 89));
    EXPECT_TRUE(GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Splash->labStatus->Parent(), Splash);
    EXPECT_EQ(Splash->labStatus->Left(), 24);
    EXPECT_EQ(Splash->labStatus->Top(), 48);

    // A skinned window: the frame is its face, its region is cut, its title buttons are hidden.
    EXPECT_EQ(Splash->BorderStyle(), bsNone);
    EXPECT_FALSE(Splash->CloseButton->Visible());
    EXPECT_FALSE(Splash->HelpButton->Visible());
    EXPECT_EQ(Splash->Background().Canvas().Pixel(100, 10),
              System->Piece(fpTop).Canvas().Pixel(94, 10));
    const TGdiObject<HRGN> Region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(Wnd, Region.Get()), SIMPLEREGION);
}

TEST_F(SplashFormTest, EveryStatusIsShownAndWrittenToTheLogOfThisStart) {
    Folder.AddFile(L"log.txt", "[10:00:00]a line of the last start\r\n");
    Splash->Show();
    Splash->SetStatus(L"Loading...");
    Splash->SetStatus(L"Loading Main Window...");
    EXPECT_EQ(Splash->labStatus->Caption(), L"Loading Main Window...");

    const std::vector<String> Lines = LogLines();
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(LoggedText(Lines[0]), L"Loading...");
    EXPECT_EQ(LoggedText(Lines[1]), L"Loading Main Window...");

    // A new splash window is a new start: its log begins empty.
    auto* Next = NewForm<TfrmSplash>(App.get());
    Next->SetStatus(L"again");
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_EQ(LoggedText(LogLines()[0]), L"again");
}

TEST_F(SplashFormTest, SetStatusLetsWaitingMessagesRun) {
    const UINT Ping = RegisterWindowMessageW(L"SplashFormTest.Ping");
    int Pings = 0;
    App->HookMainWindow([&](TMessage& Message) {
        Pings += Message.Msg == Ping;
        return Message.Msg == Ping;
    });
    PostMessageW(App->Handle(), Ping, 0, 0);
    Splash->SetStatus(L"Loading...");
    EXPECT_EQ(Pings, 1);
}

TEST_F(SplashFormTest, ALogThatCannotBeWrittenDoesNotStopTheStart) {
    Folder.AddFolder(L"log.txt"); // a folder in its place: no write can succeed
    Splash->Show();
    EXPECT_NO_THROW(Splash->SetStatus(L"Loading..."));
    EXPECT_NO_THROW(Splash->SetStatus(L"Loading Main Window..."));
    EXPECT_EQ(Splash->labStatus->Caption(), L"Loading Main Window...");
}
