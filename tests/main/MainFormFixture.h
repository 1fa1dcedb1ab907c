#pragma once
// The main window under test with a fake progress and popup menu, and clicks delivered as the
// mouse does.

#include "classlib/gui/Menus.h"
#include "classlib/gui/WindowProbe.h"
#include "tests/main/MainWindowSupport.h"
#include "tests/support/FakeProgress.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class MainFormTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Environment.ShowReportViewer = [this] { ++ViewerShown; };
        Environment.Progress = &Progress;
        Environment.PopupMenu = [this](TPopupMenu& Menu) { PoppedUp.push_back(Menu.Name); };
        Environment.PickFolder = [this](HWND, const String&, String& Folder) {
            Folder = PickedFolder;
            return !Folder.empty();
        };
    }

    // Every dialog the start-up makes for the main window, and those its commands make, in the
    // order of the start-up; Form must be made first.
    std::vector<std::unique_ptr<TForm>> MakeDialogs();
    std::unique_ptr<TOrganizeFolders> OrganizeFolders;

    // Clicks a control of the form as the mouse does, at the centre the probe tells.
    void Click(const String& Name) {
        const ATOM Atom = GlobalAddAtomW(Name.c_str());
        const LRESULT Answer = SendMessageW(Form->Handle(), ProbeMessage(), pqControlCentre,
                                            static_cast<LPARAM>(Atom));
        GlobalDeleteAtom(Atom);
        ASSERT_TRUE(ProbeAnswered(Answer)) << "not shown: " << ToUtf8(Name);
        PostClick(ProbePoint(Answer));
        App->ProcessMessages();
    }
    // Clicks the text or the check box of the row with that text in a named list.
    void ClickRow(const String& List, const String& Row, TProbeQuery Part = pqRowText) {
        const ATOM Atom = GlobalAddAtomW((List + ProbeRowSeparator + Row).c_str());
        const LRESULT Answer =
            SendMessageW(Form->Handle(), ProbeMessage(), Part, static_cast<LPARAM>(Atom));
        GlobalDeleteAtom(Atom);
        ASSERT_TRUE(ProbeAnswered(Answer)) << "no row " << ToUtf8(Row) << " in " << ToUtf8(List);
        PostClick(ProbePoint(Answer));
        App->ProcessMessages();
    }
    void ChooseMenuItem(const String& Name) {
        auto* Item = dynamic_cast<TMenuItem*>(FindNamedComponent(*Form, Name));
        ASSERT_NE(Item, nullptr) << ToUtf8(Name);
        Item->Click();
        App->ProcessMessages();
    }
    // The junk page's options, for a scan over Fixture alone.
    void OpenJunkOptions(const TTempFolder& Fixture) {
        Form->Core().ScanPaths.Clear();
        Form->Core().ScanPaths.AddFolder(ExcludeTrailingBackslash(Fixture.Path()));
        Click(L"btnCleanMyComputer");
        Click(L"labJunkFiles");
        Click(L"btnNext");
        ASSERT_EQ(Form->Core().Flow.Page(), pgCleanOptions);
    }
    // The junk page's way to the results of a scan over Fixture alone.
    void ScanForJunk(const TTempFolder& Fixture) {
        OpenJunkOptions(Fixture);
        Form->btnNextClick();
        ASSERT_EQ(Form->Core().Flow.Page(), pgScanResults);
    }
    // The texts of the list's rows that show, in order.
    static std::vector<String> ShownRows(const TCvTree& List) {
        std::vector<String> Texts;
        for (int I = 0; I < List.Items().TotalCount(); ++I) {
            const TCvTreeItem* Item = List.Items().ItemAtIndex(I);
            if (!(List.FilteredVisibility() && Item->IsHiddenState()))
                Texts.emplace_back(Item->GetItemText());
        }
        return Texts;
    }
    void PostClick(TPoint Screen) {
        POINT At{Screen.X, Screen.Y};
        const HWND Target = DeepestChildAt(Form->Handle(), At);
        ScreenToClient(Target, &At);
        PostMessageW(Target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(At.x, At.y));
        PostMessageW(Target, WM_LBUTTONUP, 0, MAKELPARAM(At.x, At.y));
    }

    TFakeProgress Progress;
    int ViewerShown = 0;
    std::vector<String> PoppedUp;
    // What the folder picker answers; empty: Cancel.
    String PickedFolder;
};
