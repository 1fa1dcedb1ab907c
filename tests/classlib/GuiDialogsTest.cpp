#include "GuiTestSupport.h"

#include "classlib/gui/Dialogs.h"

#include <string>
#include <vector>

namespace {

// The filter list as the system got it, split at its nulls.
std::vector<std::wstring> FilterParts(const wchar_t* List) {
    std::vector<std::wstring> Parts;
    for (; List && *List; List += wcslen(List) + 1)
        Parts.emplace_back(List);
    return Parts;
}

// Puts Text (with its own nulls) where the dialog leaves the chosen names.
void Answer(OPENFILENAMEW& Params, const std::wstring& Text) {
    ASSERT_LT(Text.size() + 1, Params.nMaxFile);
    std::copy(Text.begin(), Text.end(), Params.lpstrFile);
    Params.lpstrFile[Text.size()] = L'\0';
}

// Puts the real folder picker back after a test replaced its calls.
class TFolderBrowserScope {
public:
    ~TFolderBrowserScope() { FolderBrowser = TFolderBrowser{}; }
};

} // namespace

TEST(OpenDialog, TheDialogGetsFilterTitleExtensionAndOptions) {
    TOpenDialog Dialog(nullptr);
    Dialog.Title = L"Type archive Name";
    Dialog.Filter = L"Any File (*.*)|*.*|Text|*.txt;*.log";
    Dialog.FilterIndex = 2;
    Dialog.Options = {ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing};
    Dialog.FileName = L"start.txt";
    const struct {
        const wchar_t* DefaultExt;
        const wchar_t* Given; // nullptr: none
    } Extensions[] = {{L"txt", L"txt"}, {L".zip", L"zip"}, {L"*.*", nullptr}, {L"", nullptr}};
    for (const auto& Case : Extensions) {
        SCOPED_TRACE(testing::Message() << '"' << std::wstring(Case.DefaultExt) << '"');
        Dialog.DefaultExt = Case.DefaultExt;
        bool Shown = false;
        Dialog.ShowDialog = [&](OPENFILENAMEW& Params) {
            Shown = true;
            EXPECT_EQ(std::wstring(Params.lpstrTitle), L"Type archive Name");
            EXPECT_EQ(
                FilterParts(Params.lpstrFilter),
                (std::vector<std::wstring>{L"Any File (*.*)", L"*.*", L"Text", L"*.txt;*.log"}));
            EXPECT_EQ(Params.nFilterIndex, 2u);
            EXPECT_EQ(std::wstring(Params.lpstrFile), L"start.txt");
            if (Case.Given)
                EXPECT_EQ(std::wstring(Params.lpstrDefExt ? Params.lpstrDefExt : L"(none)"),
                          Case.Given);
            else
                EXPECT_EQ(Params.lpstrDefExt, nullptr);
            const DWORD Wanted = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                                 OFN_ENABLESIZING | OFN_EXPLORER;
            EXPECT_EQ(Params.Flags & Wanted, Wanted);
            EXPECT_EQ(Params.Flags & OFN_ALLOWMULTISELECT, 0u);
            return false; // cancelled
        };
        EXPECT_FALSE(Dialog.Execute());
        EXPECT_TRUE(Shown);
        EXPECT_EQ(Dialog.FileName, L"start.txt"); // a cancel changes nothing
    }
}

TEST(OpenDialog, ChosenFilesComeBackOneOrMany) {
    TOpenDialog Dialog(nullptr);
    Dialog.ShowDialog = [](OPENFILENAMEW& Params) {
        Answer(Params, L"C:\\data\\report.txt");
        Params.nFilterIndex = 1;
        return true;
    };
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.FileName, L"C:\\data\\report.txt");
    EXPECT_EQ(Dialog.Files(), (std::vector<String>{L"C:\\data\\report.txt"}));

    Dialog.Options.Include(ofAllowMultiSelect);
    Dialog.ShowDialog = [](OPENFILENAMEW& Params) {
        EXPECT_NE(Params.Flags & OFN_ALLOWMULTISELECT, 0u);
        EXPECT_GE(Params.nMaxFile, 32768u); // room for many names
        Answer(Params, std::wstring(L"C:\\data\0a.txt\0b c.log\0", 23));
        return true;
    };
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Dialog.Files(), (std::vector<String>{L"C:\\data\\a.txt", L"C:\\data\\b c.log"}));
    EXPECT_EQ(Dialog.FileName, L"C:\\data\\a.txt");
}

TEST(FolderPicker, TheChosenFolderComesBackAndItsItemListIsFreed) {
    const TFolderBrowserScope Restore;
    wchar_t Temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, Temp);
    String Folder = Temp;
    if (Folder.back() == L'\\')
        Folder.pop_back();
    int Freed = 0;
    FolderBrowser.Free = [&](PIDLIST_ABSOLUTE Item) {
        ++Freed;
        CoTaskMemFree(Item);
    };
    FolderBrowser.Browse = [&](BROWSEINFOW& Params) {
        EXPECT_EQ(std::wstring(Params.lpszTitle), L"Choose the Folder");
        EXPECT_NE(Params.ulFlags & BIF_RETURNONLYFSDIRS, 0u);
        return ILCreateFromPathW(Folder.c_str());
    };
    String Directory = L"C:\\before";
    ASSERT_TRUE(SelectDirectory(L"Choose the Folder", L"", Directory));
    EXPECT_TRUE(SameText(Directory, Folder));
    EXPECT_EQ(Freed, 1);

    // Cancelled: nothing to free, nothing changed.
    FolderBrowser.Browse = [](BROWSEINFOW&) { return PIDLIST_ABSOLUTE(nullptr); };
    Directory = L"C:\\before";
    EXPECT_FALSE(SelectDirectory(L"Choose the Folder", L"", Directory));
    EXPECT_EQ(Directory, L"C:\\before");
    EXPECT_EQ(Freed, 1);

    // A place that is no folder on disk (the computer itself): refused, and still freed.
    FolderBrowser.Browse = [](BROWSEINFOW&) {
        PIDLIST_ABSOLUTE Computer = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &Computer);
        return Computer;
    };
    EXPECT_FALSE(SelectDirectory(L"Choose the Folder", L"", Directory));
    EXPECT_EQ(Directory, L"C:\\before");
    EXPECT_EQ(Freed, 2);
}
