#include "GuiTestSupport.h"
#include "tests/support/GdiCount.h"

#include "classlib/gui/StdCtrls.h"

#include <string>
#include <vector>

namespace {

const TComboBoxStyle AllStyles[] = {csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
                                    csOwnerDrawVariable};

const char* StyleName(TComboBoxStyle Style) {
    switch (Style) {
    case csDropDown:
        return "csDropDown";
    case csSimple:
        return "csSimple";
    case csDropDownList:
        return "csDropDownList";
    case csOwnerDrawFixed:
        return "csOwnerDrawFixed";
    case csOwnerDrawVariable:
        return "csOwnerDrawVariable";
    }
    return "?";
}

// The items as the system's list holds them.
std::vector<String> SystemItems(HWND Combo) {
    std::vector<String> Items;
    const auto Count = static_cast<int>(SendMessageW(Combo, CB_GETCOUNT, 0, 0));
    for (int I = 0; I < Count; ++I) {
        wchar_t Text[256] = {};
        SendMessageW(Combo, CB_GETLBTEXT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(Text));
        Items.push_back(Text);
    }
    return Items;
}

std::vector<String> Lines(TStrings& Items) {
    std::vector<String> Result;
    for (int I = 0; I < Items.Count(); ++I)
        Result.push_back(Items.Strings(I));
    return Result;
}

String WindowText(HWND Wnd) {
    wchar_t Buffer[256] = {};
    GetWindowTextW(Wnd, Buffer, 256);
    return Buffer;
}

TComboBox* NewCombo(TForm& Form, TComboBoxStyle Style) {
    auto* Combo = Place<TComboBox>(Form, Bounds(10, 10, 150, 21));
    Combo->SetStyle(Style);
    Combo->Items().Add(L"pear");
    Combo->Items().Add(L"apple");
    Combo->Items().Add(L"fig");
    return Combo;
}

// Logs what reaches ComboWndProc from the inner windows.
class TWatchedCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    std::vector<std::pair<UINT, HWND>> Seen;

protected:
    void ComboWndProc(TMessage& Message, HWND Inner) override {
        if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS || Message.Msg == WM_CHAR)
            Seen.emplace_back(Message.Msg, Inner);
        TComboBox::ComboWndProc(Message, Inner);
    }
};

} // namespace

TEST_F(GuiTest, RecreatingAComboBoxKeepsItemsTextAndSelectionInEveryStyle) {
    for (const TComboBoxStyle Style : AllStyles) {
        SCOPED_TRACE(StyleName(Style));
        auto* Form = NewForm<TForm>(App.get());
        TComboBox* Combo = NewCombo(*Form, Style);
        Form->Show();
        Combo->SetItemIndex(1);
        EXPECT_EQ(Combo->Text(), L"apple");
        const HWND Old = Combo->Handle();

        Combo->RecreateWnd();
        EXPECT_NE(Combo->Handle(), Old);
        EXPECT_EQ(SystemItems(Combo->Handle()), (std::vector<String>{L"pear", L"apple", L"fig"}));
        EXPECT_EQ(Combo->ItemIndex(), 1);
        EXPECT_EQ(Combo->Text(), L"apple");
        EXPECT_EQ(WindowText(Combo->Handle()), L"apple");

        // A new style is a new window: the same holds.
        const TComboBoxStyle Next = Style == csDropDown ? csDropDownList : csDropDown;
        Combo->SetStyle(Next);
        EXPECT_EQ(SystemItems(Combo->Handle()).size(), 3u);
        EXPECT_EQ(Combo->ItemIndex(), 1);
        EXPECT_EQ(Combo->Text(), L"apple");
        delete Form;
    }
}

TEST_F(GuiTest, TextTypedIntoAComboBoxSurvivesANewWindow) {
    for (const TComboBoxStyle Style : {csDropDown, csSimple}) {
        SCOPED_TRACE(StyleName(Style));
        auto* Form = NewForm<TForm>(App.get());
        TComboBox* Combo = NewCombo(*Form, Style);
        Form->Show();
        ASSERT_NE(Combo->EditHandle(), nullptr);
        for (const wchar_t Char : String(L"kiwi"))
            SendMessageW(Combo->EditHandle(), WM_CHAR, Char, 1);
        EXPECT_EQ(Combo->Text(), L"kiwi");
        EXPECT_EQ(Combo->ItemIndex(), -1);
        Combo->RecreateWnd();
        EXPECT_EQ(Combo->Text(), L"kiwi");
        EXPECT_EQ(WindowText(Combo->Handle()), L"kiwi");
        EXPECT_EQ(Combo->ItemIndex(), -1);
        // A parent's new window makes the combo's again, the same way.
        Combo->SetItemIndex(2);
        Form->RecreateWnd();
        EXPECT_EQ(Combo->ItemIndex(), 2);
        EXPECT_EQ(Combo->Text(), L"fig");
        delete Form;
    }
}

TEST_F(GuiTest, ComboItemsStayInStepWithTheSystemList) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Combo = Place<TComboBox>(*Form, Bounds(10, 10, 150, 21));
    Combo->SetSorted(true);
    for (const wchar_t* Item : {L"pear", L"Apple", L"fig"})
        Combo->Items().Add(Item);
    EXPECT_EQ(Lines(Combo->Items()), (std::vector<String>{L"Apple", L"fig", L"pear"}));
    Form->Show();
    EXPECT_EQ(SystemItems(Combo->Handle()), Lines(Combo->Items()));

    EXPECT_EQ(Combo->Items().Add(L"banana"), 1);
    Combo->Items().Delete(0);
    Combo->Items().Insert(0, L"zebra"); // an insert goes where it is put
    EXPECT_EQ(Lines(Combo->Items()), (std::vector<String>{L"zebra", L"banana", L"fig", L"pear"}));
    EXPECT_EQ(SystemItems(Combo->Handle()), Lines(Combo->Items()));
    Combo->Items().SetStrings(1, L"cherry");
    EXPECT_EQ(SystemItems(Combo->Handle()), Lines(Combo->Items()));
    EXPECT_THROW(Combo->Items().Delete(9), EStringListError);

    Combo->SetItemIndex(2);
    Combo->Items().Clear();
    EXPECT_EQ(SendMessageW(Combo->Handle(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Combo->ItemIndex(), -1);

    // Sorting later: a new window sorts what is there.
    Combo->SetSorted(false);
    Combo->Items().Add(L"b");
    Combo->Items().Add(L"a");
    Combo->SetSorted(true);
    EXPECT_EQ(Lines(Combo->Items()), (std::vector<String>{L"a", L"b"}));
    EXPECT_EQ(SystemItems(Combo->Handle()), Lines(Combo->Items()));
}

TEST_F(GuiTest, TheInnerEditsMessagesReachComboWndProcAndTheComboBox) {
    auto* Form = NewForm<TForm>(App.get());
    auto* Other = Place<TEdit>(*Form, Bounds(10, 40, 100, 21));
    auto* Combo = Place<TWatchedCombo>(*Form, Bounds(10, 10, 150, 21));
    Combo->Items().Add(L"one");
    std::vector<String> Changes;
    Combo->OnChange = [&](TObject*) { Changes.push_back(Combo->Text()); };
    std::vector<wchar_t> Pressed;
    Combo->OnKeyPress = [&](TObject*, wchar_t& Key) { Pressed.push_back(Key); };
    int Entered = 0;
    Combo->OnEnter = [&](TObject*) { ++Entered; };
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Form->Active(); }));
    Form->SetActiveControl(Other);
    const HWND Edit = Combo->EditHandle();
    ASSERT_NE(Edit, nullptr);
    EXPECT_NE(Combo->ListHandle(), nullptr);
    EXPECT_TRUE(IsChild(Combo->Handle(), Edit));

    SetFocus(Edit);
    EXPECT_EQ(Form->ActiveControl(), Combo);
    EXPECT_EQ(Entered, 1);
    SendMessageW(Edit, WM_CHAR, L'o', 1);
    SendMessageW(Edit, WM_CHAR, L'k', 1);
    EXPECT_EQ(Combo->Text(), L"ok");
    EXPECT_EQ(Changes, (std::vector<String>{L"o", L"ok"}));
    EXPECT_EQ(Pressed, (std::vector<wchar_t>{L'o', L'k'}));
    ASSERT_GE(Combo->Seen.size(), 3u);
    EXPECT_EQ(Combo->Seen[0], std::make_pair(static_cast<UINT>(WM_SETFOCUS), Edit));
    EXPECT_EQ(Combo->Seen[1], std::make_pair(static_cast<UINT>(WM_CHAR), Edit));

    // The combo box handed back to the form: Tab from its edit moves on.
    SendMessageW(Edit, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(Form->ActiveControl(), Other);
}

TEST_F(GuiTest, ChoosingFromTheListChangesTheTextAndDropDownIsAnnounced) {
    auto* Form = NewForm<TForm>(App.get());
    TComboBox* Combo = NewCombo(*Form, csDropDownList);
    std::vector<String> Changes;
    Combo->OnChange = [&](TObject*) { Changes.push_back(Combo->Text()); };
    int Dropped = 0;
    Combo->OnDropDown = [&](TObject*) { ++Dropped; };
    Form->Show();

    SendMessageW(Combo->Handle(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(Changes, (std::vector<String>{L"pear"}));
    Combo->SetText(L"fig");
    EXPECT_EQ(Combo->ItemIndex(), 2);
    Combo->SetText(L"none of them");
    EXPECT_EQ(Combo->ItemIndex(), -1);
    EXPECT_EQ(Combo->Text(), L"");

    Combo->SetDroppedDown(true);
    EXPECT_TRUE(Combo->DroppedDown());
    EXPECT_EQ(Dropped, 1);
    Combo->SetDroppedDown(false);
    EXPECT_FALSE(Combo->DroppedDown());
}

TEST_F(GuiTest, OwnerDrawnCombosAskTheirHandlers) {
    auto* Form = NewForm<TForm>(App.get());
    TComboBox* Combo = NewCombo(*Form, csOwnerDrawVariable);
    std::vector<int> Measured;
    Combo->OnMeasureItem = [&](TWinControl* Control, int Index, int& Height) {
        EXPECT_EQ(Control, Combo);
        Measured.push_back(Index);
        Height = 20 + Index;
    };
    std::vector<int> Drawn;
    Combo->OnDrawItem = [&](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) {
        Drawn.push_back(Index);
        Combo->Canvas().Brush().SetColor(RGB(0xFF, 0, 0));
        Combo->Canvas().FillRect(Rect);
    };
    Form->Show();
    EXPECT_EQ(SendMessageW(Combo->Handle(), CB_GETITEMHEIGHT, 2, 0), 22);
    for (const int Index : {0, 1, 2})
        EXPECT_NE(std::find(Measured.begin(), Measured.end(), Index), Measured.end());

    Combo->SetItemIndex(1);
    const TClientPixels Pixels(*Combo);
    EXPECT_NE(std::find(Drawn.begin(), Drawn.end(), 1), Drawn.end());
    EXPECT_GT(
        Pixels.Count(TRect(0, 0, 0, 0), false, [](COLORREF P) { return P == RGB(0xFF, 0, 0); }),
        20);
}

TEST_F(GuiTest, TheComboBoxPaintsInItsColor) {
    auto* Form = NewForm<TForm>(App.get());
    TComboBox* Combo = NewCombo(*Form, csDropDownList);
    Combo->SetColor(RGB(0xC0, 0xFF, 0xC0));
    Form->Show();
    const TClientPixels Pixels(*Combo);
    EXPECT_GT(Pixels.Count(TRect(0, 0, 0, 0), false,
                           [](COLORREF P) { return P == RGB(0xC0, 0xFF, 0xC0); }),
              Pixels.Width * Pixels.Height / 4);
}

TEST_F(GuiTest, ComboBoxesLeakNoGdiObjects) {
    auto* Form = NewForm<TForm>(App.get());
    Form->Show();
    for (const TComboBoxStyle Style : AllStyles) {
        SCOPED_TRACE(StyleName(Style));
        EXPECT_EQ(GdiGrowth(
                      [&] {
                          TComboBox* Combo = NewCombo(*Form, Style);
                          Combo->SetColor(clYellow);
                          Combo->SetItemIndex(1);
                          UpdateWindow(Form->Handle());
                          const TClientPixels Pixels(*Combo);
                          delete Combo;
                      },
                      10),
                  0);
    }
}
