#include "app/QRVUtils.h"

#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include "classlib/rtl/WinApi.h"

#include <vector>

namespace {

TEST(QRVUtilsPaths, AddBackslash) {
    const struct {
        const wchar_t* Path;
        const wchar_t* Expected;
    } Cases[] = {
        {L"", L""},
        {L"C:", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"C:\\Data", L"C:\\Data\\"},
        {L"\\\\server\\share", L"\\\\server\\share\\"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(AddBackslash(Case.Path), Case.Expected) << Case.Path;
}

TEST(QRVUtilsPaths, FolderAndFileTests) {
    TTempFolder Tree;
    Tree.AddFile(L"five.bin", "12345");
    Tree.AddFile(L"sub\\three.dat", "abc");

    EXPECT_TRUE(FolderExists(Tree.Path()));
    EXPECT_TRUE(FolderExists(Tree.Path() + L"sub"));
    EXPECT_FALSE(FolderExists(Tree.Path() + L"five.bin"));
    EXPECT_FALSE(FolderExists(Tree.Path() + L"missing"));

    EXPECT_EQ(GetFileSize32(Tree.Path() + L"five.bin"), 5u);
    EXPECT_EQ(GetFileSize32(Tree.Path() + L"sub\\*.dat"), 3u);
    EXPECT_EQ(GetFileSize32(Tree.Path() + L"missing.bin"), 0u);
}

TEST(QRVUtilsPaths, WindowsFolderHasNoTrailingBackslash) {
    const String Windows = GetWindowsFolder();
    ASSERT_FALSE(Windows.empty());
    EXPECT_NE(Windows.back(), L'\\');
    EXPECT_TRUE(FolderExists(Windows));
}

TEST(QRVUtilsPaths, DiskTotalSize) {
    EXPECT_GT(GetDiskTotalSize(L"C:\\"), 0);
    const String Unused = UnusedDrive();
    ASSERT_FALSE(Unused.empty());
    EXPECT_EQ(GetDiskTotalSize(Unused + L"\\"), -1);
}

// Records the rows instead of a tree-list.
class TRecordedRows : public TDirRowList {
public:
    struct TRow {
        TCvTreeItem* Parent;
        String Text;
        int Image;
        String Column;
        std::unique_ptr<TDirItem> Item;
    };

    HWND OwnerWindow() const override { return nullptr; }
    TCvTreeItem* AddRow(TCvTreeItem* Parent, const String& Text, int ImageIndex,
                        const String& FirstColumnText, std::unique_ptr<TDirItem> Item) override {
        Rows.push_back({Parent, Text, ImageIndex, FirstColumnText, std::move(Item)});
        // Any distinct address serves as the row.
        return reinterpret_cast<TCvTreeItem*>(&Rows.back());
    }

    std::vector<TRow> Rows;
};

TEST(QRVUtilsRows, RowForPathCarriesItsDirItem) {
    TTempFolder Tree;
    Tree.AddFolder(L"Reports");
    const String Folder = Tree.Path() + L"Reports";
    TRecordedRows List;
    List.Rows.reserve(4);
    auto* const Parent = reinterpret_cast<TCvTreeItem*>(&List);

    TCvTreeItem* const Row = AddSpecialFolderNode(105, List, Parent, Folder, String(), 1);
    ASSERT_EQ(List.Rows.size(), 1u);
    const TRecordedRows::TRow& Added = List.Rows[0];
    EXPECT_EQ(Row, reinterpret_cast<TCvTreeItem*>(&List.Rows[0]));
    EXPECT_EQ(Added.Parent, Parent);
    EXPECT_EQ(Added.Text, L"Reports"); // the shell's display name
    EXPECT_EQ(Added.Column, Folder);
    EXPECT_GE(Added.Image, 0);
    ASSERT_NE(Added.Item, nullptr);
    EXPECT_EQ(Added.Item->CSIDL, 105);
    EXPECT_EQ(Added.Item->Flag, 1);
    EXPECT_EQ(Added.Item->Caption, L"Reports");
    EXPECT_EQ(Added.Item->Path, Folder);
    EXPECT_FALSE(Added.Item->NotFixedDrive);

    AddSpecialFolderNode(106, List, nullptr, UnusedDrive() + L"\\Data", L"Elsewhere", 0);
    ASSERT_EQ(List.Rows.size(), 2u);
    EXPECT_EQ(List.Rows[1].Text, L"Elsewhere");
    EXPECT_EQ(List.Rows[1].Item->Caption, L"Elsewhere");
    EXPECT_TRUE(List.Rows[1].Item->NotFixedDrive);
}

TEST(QRVUtilsRows, RowForSpecialFolderTakesTheShellsPath) {
    TRecordedRows List;
    AddSpecialFolderNode(CSIDL_APPDATA, List, nullptr, String(), L"Application data", 0);
    ASSERT_EQ(List.Rows.size(), 1u);
    const TDirItem& Item = *List.Rows[0].Item;
    EXPECT_EQ(Item.CSIDL, CSIDL_APPDATA);
    EXPECT_EQ(Item.Path, GetSpecialFolderPath(CSIDL_APPDATA));
    EXPECT_FALSE(Item.Path.empty());
    EXPECT_EQ(List.Rows[0].Column, Item.Path);
}

TEST(QRVUtilsShell, SpecialFolderPath) {
    const String AppData = GetSpecialFolderPath(CSIDL_APPDATA);
    EXPECT_TRUE(FolderExists(AppData)) << AppData;
    EXPECT_EQ(GetSpecialFolderPath(0x7E), L"");
}

TEST(QRVUtilsShell, SystemImageListAndBrowserRefusal) {
    EXPECT_NE(SystemSmallImageList(), nullptr);
    EXPECT_FALSE(OpenInDefaultBrowser(L""));
}

TEST(QRVUtilsShell, UserAccountListReplacesItsItems) {
    TStringList Items;
    Items.Add(L"stale entry");
    FillUserAccountList(Items);
    EXPECT_EQ(Items.IndexOf(L"stale entry"), -1);
    for (int I = 0; I < Items.Count(); ++I)
        EXPECT_FALSE(Items.Strings(I).empty());

    wchar_t User[256];
    DWORD Length = 256;
    ASSERT_TRUE(GetUserNameW(User, &Length));
    EXPECT_NE(Items.IndexOf(User), -1) << "the account running the tests is missing";
}

// ------------------------------------------------------------------ registry

class QRVUtilsRegistry : public ::testing::Test {
protected:
    static constexpr const wchar_t* KeyPath = L"Software\\QrvTest\\QRVUtils";

    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, KeyPath); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, KeyPath); }

    static void SetValue(const String& Key, const String& Name, const String& Data) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Key.c_str(), Name.c_str(), REG_SZ,
                                  Data.c_str(), static_cast<DWORD>((Data.size() + 1) * 2)),
                  ERROR_SUCCESS);
    }
    static std::vector<String> ValueNames(const String& Key) {
        std::vector<String> Names;
        HKEY Handle;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_READ, &Handle) != ERROR_SUCCESS)
            return Names;
        wchar_t Name[256];
        for (DWORD I = 0;; ++I) {
            DWORD Length = 256;
            if (RegEnumValueW(Handle, I, Name, &Length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            Names.push_back(Name);
        }
        RegCloseKey(Handle);
        return Names;
    }
};

TEST_F(QRVUtilsRegistry, DeletesEveryValueButKeepsSubkeys) {
    const String Key = KeyPath;
    for (const wchar_t* Name : {L"", L"url1", L"url2", L"url3", L"url4", L"url5"})
        SetValue(Key, Name, L"http://example.com/");
    SetValue(Key + L"\\Sub", L"inner", L"stays");

    DeleteRegistryValues(HKEY_CURRENT_USER, L"\\" + Key);

    EXPECT_TRUE(ValueNames(Key).empty());
    EXPECT_EQ(ValueNames(Key + L"\\Sub"), std::vector<String>{L"inner"});
}

TEST_F(QRVUtilsRegistry, MissingKeyIsLeftMissing) {
    const String Key = String(KeyPath) + L"\\Missing";
    DeleteRegistryValues(HKEY_CURRENT_USER, Key);
    HKEY Handle;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Key.c_str(), 0, KEY_READ, &Handle),
              ERROR_FILE_NOT_FOUND);
}

// ------------------------------------------------------------- clock names

TEST(QRVUtilsTimestamp, FixedWidthDigits) {
    const struct {
        SYSTEMTIME Time;
        const wchar_t* Expected;
    } Cases[] = {
        {LocalTime(2004, 3, 5, 9, 7, 2, 45), L"20040305090702045"},
        {LocalTime(2004, 1, 11, 1, 11, 0, 0), L"20040111011100000"},
        {LocalTime(2004, 11, 1, 11, 1, 0, 0), L"20041101110100000"},
        {LocalTime(2099, 12, 31, 23, 59, 59, 999), L"20991231235959999"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(TimestampText(Case.Time), Case.Expected);

    const String Now = TimestampText();
    EXPECT_EQ(Now.size(), 17u);
    EXPECT_EQ(Now.find_first_not_of(L"0123456789"), String::npos);
}

TEST(QRVUtilsTimestamp, UniqueNameSkipsNamesAlreadyStored) {
    TTempFolder Store;
    const SYSTEMTIME Time = LocalTime(2004, 3, 5, 9, 7, 2, 45);
    const String Base = L"20040305090702045";

    EXPECT_EQ(UniqueTimestampName(Store.Path(), Time), Base);
    Store.AddFile(Base, "first");
    EXPECT_EQ(UniqueTimestampName(Store.Path(), Time), Base + L"1");
    Store.AddFile(Base + L"1", "second");
    Store.AddFolder(Base + L"2");
    EXPECT_EQ(UniqueTimestampName(Store.Path(), Time), Base + L"3");
    // The folder may be given without its trailing backslash.
    EXPECT_EQ(UniqueTimestampName(ExcludeTrailingBackslash(Store.Path()), Time), Base + L"3");
}

} // namespace
