// The date dialog: the date it opens on for each kind of field text, the text OK and Cancel
// leave, Escape, a day picked with the mouse, and the scheduler window's date button.
#include "app/FlatForm.h"
#include "scheduler/EditDateForm.h"
#include "scheduler/MainForm.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/ModalTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

// A point of the calendar's client area on the given day, if the calendar shows it.
std::optional<POINT> DayCell(HWND Calendar, WORD Year, WORD Month, WORD Day) {
    RECT Client{};
    GetClientRect(Calendar, &Client);
    for (int Y = 0; Y < Client.bottom; Y += 3)
        for (int X = 0; X < Client.right; X += 3) {
            MCHITTESTINFO Hit{};
            Hit.cbSize = MCHITTESTINFO_V1_SIZE;
            Hit.pt = {X, Y};
            SendMessageW(Calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
            if (Hit.uHit == MCHT_CALENDARDATE && Hit.st.wYear == Year && Hit.st.wMonth == Month &&
                Hit.st.wDay == Day)
                return POINT{X, Y};
        }
    return std::nullopt;
}

class EditDateFormTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        System = std::make_unique<TFlatFormSystem>(Folder.Path() + L"Data\\");
    }
    void TearDown() override {
        GuiTest::TearDown();
        System.reset();
    }
    static void WhenShown(std::function<void(TfrmEditDate&)> Act) {
        WhenWindowShown<TfrmEditDate>(L"Edit Date", std::move(Act));
    }
    static void Click(TWinControl& Button) { PostClick(Button.Handle()); }

    TTempFolder Folder;
    std::unique_ptr<TFlatFormSystem> System;
};

TEST_F(EditDateFormTest, OpensOnTheFieldsDateOrTheFormDateAndOkWritesTheShownDate) {
    const TDateTime May17 = EncodeDate(2024, 5, 17);
    const struct {
        const char* What;
        String Text;
        TDateTime Opens;
    } Cases[] = {
        {"a date", DateToStr(May17), May17},
        {"no such day", L"2/31/2024", EditDateFormDate()},
        {"no date at all", L"soon", EditDateFormDate()},
        {"empty", L"", EditDateFormDate()},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        TDateTime Shown = 0;
        WhenShown([&Shown](TfrmEditDate& Dialog) {
            Shown = Dialog.MonthCalendar->Date();
            Click(*Dialog.btnOK);
        });
        String Text = C.Text;
        EXPECT_TRUE(EditDateText(Text));
        EXPECT_EQ(Shown, C.Opens);
        EXPECT_EQ(Text, DateToStr(C.Opens));
    }
    EXPECT_EQ(DateToStr(EditDateFormDate()), DateToStr(EncodeDate(2002, 4, 30)));
}

TEST_F(EditDateFormTest, CancelAndTheCloseButtonLeaveTheTextAsItWas) {
    const std::function<void(TfrmEditDate&)> Ends[] = {
        [](TfrmEditDate& Dialog) { Click(*Dialog.btnCancel); },
        [](TfrmEditDate& Dialog) { PostMessageW(Dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& End : Ends) {
        WhenShown([End](TfrmEditDate& Dialog) {
            Dialog.MonthCalendar->SetDate(EncodeDate(2025, 1, 2)); // picked, then abandoned
            End(Dialog);
        });
        String Text = L"not a date";
        EXPECT_FALSE(EditDateText(Text));
        EXPECT_EQ(Text, L"not a date");
    }
}

TEST_F(EditDateFormTest, EscapeWhereTheFocusIsEndsTheDialogAsCancelDoes) {
    const std::unique_ptr<TfrmEditDate> Dialog(NewForm<TfrmEditDate>(App.get()));
    Dialog->HandleNeeded();
    EndModalAfter(*Dialog, 5000);
    PressWhenShown(*Dialog, VK_ESCAPE);
    EXPECT_EQ(Dialog->ShowFlatModal(), mrCancel);
}

TEST_F(EditDateFormTest, ADayClickedInTheCalendarComesBack) {
    bool Clicked = false;
    WhenShown([&Clicked](TfrmEditDate& Dialog) {
        HWND Calendar = Dialog.MonthCalendar->Handle();
        if (const auto Cell = DayCell(Calendar, 2024, 5, 9)) {
            PostClick(Calendar, *Cell);
            Clicked = true;
        }
        Click(*Dialog.btnOK);
    });
    String Text = DateToStr(EncodeDate(2024, 5, 17));
    EXPECT_TRUE(EditDateText(Text));
    ASSERT_TRUE(Clicked) << "the 9th is not found in the calendar";
    EXPECT_EQ(Text, DateToStr(EncodeDate(2024, 5, 9)));
}

TEST_F(EditDateFormTest, TheDialogShowsItsCalendarWithWeekNumbersAndIsFreedAfterwards) {
    bool WeekNumbers = false;
    String Caption;
    WhenShown([&](TfrmEditDate& Dialog) {
        WeekNumbers = Dialog.MonthCalendar->WeekNumbers() &&
                      (GetWindowLongW(Dialog.MonthCalendar->Handle(), GWL_STYLE) & MCS_WEEKNUMBERS);
        Caption = Dialog.FormCaption();
        Click(*Dialog.btnOK);
    });
    String Text;
    EditDateText(Text);
    EXPECT_TRUE(WeekNumbers);
    EXPECT_EQ(Caption, L"Edit Date");
    EXPECT_EQ(FindWindowW(nullptr, L"Edit Date"), nullptr);
}

TEST_F(EditDateFormTest, TheSchedulerWindowsDateButtonEditsTheShownDate) {
    SetNotifyIconCall([](DWORD, const NOTIFYICONDATAW&) { return true; });
    TSchedEnvironment Env;
    Env.ProgramFolder = Folder.Path();
    Env.SettingsFile = Folder.Path() + L"qvsched.ini";
    Env.RunKeyPath = L"Software\\QrvTest\\EditDateRun";
    auto* Window = App->CreateForm<TfrmSchedulerMain>(std::move(Env));
    const String Before = DateToStr(EncodeDate(2024, 5, 17));
    Window->edDate->SetText(Before);

    WhenShown([](TfrmEditDate& Dialog) { Click(*Dialog.btnCancel); });
    Window->btnDateClick();
    EXPECT_EQ(Window->edDate->Text(), Before);

    TDateTime Shown = 0;
    WhenShown([&Shown](TfrmEditDate& Dialog) {
        Shown = Dialog.MonthCalendar->Date();
        Dialog.MonthCalendar->SetDate(EncodeDate(2024, 6, 3));
        Click(*Dialog.btnOK);
    });
    Window->btnDateClick();
    EXPECT_EQ(Shown, EncodeDate(2024, 5, 17));
    EXPECT_EQ(Window->edDate->Text(), DateToStr(EncodeDate(2024, 6, 3)));
    delete Window;
    SetNotifyIconCall(nullptr);
}

} // namespace
