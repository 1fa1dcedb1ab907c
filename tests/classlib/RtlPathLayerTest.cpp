#include "classlib/rtl/PathLayer.h"

#include "tests/support/PathFixtures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

String WindowsFolder() {
    wchar_t Buffer[MAX_PATH + 1];
    const UINT Length = GetWindowsDirectoryW(Buffer, MAX_PATH + 1);
    return String(Buffer, Length);
}

TEST(PathLayerForms, ExtendedPathKeepsEveryNameAsWritten) {
    struct TCase {
        const wchar_t* Path;
        const wchar_t* Extended;
    };
    const TCase Cases[] = {
        {L"C:\\a\\b", L"\\\\?\\C:\\a\\b"},
        {L"C:\\a\\b\\", L"\\\\?\\C:\\a\\b\\"},
        {L"C:\\", L"\\\\?\\C:\\"},
        // Names the plain form would rewrite stay exactly as they are.
        {L"C:\\data\\keep.doc.", L"\\\\?\\C:\\data\\keep.doc."},
        {L"C:\\sub.\\b.tmp", L"\\\\?\\C:\\sub.\\b.tmp"},
        {L"C:\\dir \\trail ", L"\\\\?\\C:\\dir \\trail "},
        {L"C:\\ lead\\CON.tmp", L"\\\\?\\C:\\ lead\\CON.tmp"},
        // Separators and steps are what Windows makes of them.
        {L"C:/a/b/", L"\\\\?\\C:\\a\\b\\"},
        {L"C:\\a\\\\b", L"\\\\?\\C:\\a\\b"},
        {L"C:\\a\\..\\b\\.\\c", L"\\\\?\\C:\\b\\c"},
        {L"C:\\..\\..\\x", L"\\\\?\\C:\\x"},
        {L"C:\\Windows\\System32\\..", L"\\\\?\\C:\\Windows"},
        // Shares.
        {L"\\\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a"},
        {L"//server/share/a.", L"\\\\?\\UNC\\server\\share\\a."},
        {L"\\\\server\\share\\..\\..", L"\\\\?\\UNC\\server\\share\\"},
        // Already extended: only steps are resolved, so ".." cannot climb through a link.
        {L"\\\\?\\C:\\a.", L"\\\\?\\C:\\a."},
        {L"\\\\?\\C:\\a\\..\\b", L"\\\\?\\C:\\b"},
        {L"\\\\?\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        {L"\\\\?\\Volume{1b3b}\\x", L"\\\\?\\Volume{1b3b}\\x"},
        // The device form of a drive path is the same folder.
        {L"\\\\.\\C:\\Windows", L"\\\\?\\C:\\Windows"},
        {L"\\\\.\\UNC\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        // Other device paths have no extended form.
        {L"\\\\.\\pipe\\qrv", L"\\\\.\\pipe\\qrv"},
        {L"", L""},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ExtendedPath(C.Path), C.Extended) << C.Path;
}

TEST(PathLayerForms, RelativePathIsTakenFromTheCurrentFolderAsWritten) {
    TTempFolder Temp;
    const String Previous = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Temp.Path()));
    const String Extended = ExtendedPath(L"sub.\\name ");
    const String Parent = ExtendedPath(L"..\\x");
    SetCurrentDir(Previous);

    EXPECT_EQ(Extended, L"\\\\?\\" + Temp.Path() + L"sub.\\name ");
    EXPECT_EQ(Parent, ExtendedPath(ExtractFilePath(ExcludeTrailingBackslash(Temp.Path())) + L"x"));
}

TEST(PathLayerForms, DisplayPathIsTheFormUsersKnow) {
    struct TCase {
        const wchar_t* Path;
        const wchar_t* Display;
    };
    const TCase Cases[] = {
        {L"\\\\?\\C:\\data\\keep.doc.", L"C:\\data\\keep.doc."},
        {L"\\\\?\\UNC\\server\\share\\x", L"\\\\server\\share\\x"},
        {L"\\\\?\\Volume{1b3b}\\x", L"\\\\?\\Volume{1b3b}\\x"},
        {L"C:\\plain", L"C:\\plain"},
        {L"", L""},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(DisplayPath(C.Path), C.Display) << C.Path;

    // A found entry's shown path leads back to that very entry.
    const String Long = L"C:\\" + String(300, L'a') + L"\\" + String(700, L'b') + L"\\end.";
    for (const String& Shown : {String(L"C:\\x\\sub.\\b.tmp"), String(L"\\\\srv\\sh\\a "), Long})
        EXPECT_EQ(DisplayPath(ExtendedPath(Shown)), Shown);
    EXPECT_EQ(ExtendedPath(Long), L"\\\\?\\" + Long);
}

TEST(PathLayerForms, DeviceNames) {
    struct TCase {
        const wchar_t* Name;
        bool Device;
    };
    const TCase Cases[] = {
        {L"CON", true},        {L"con", true},        {L"CON.tmp", true}, {L"nul .txt", true},
        {L"AUX.", true},       {L"PRN.x.y", true},    {L"COM1", true},    {L"com9.log", true},
        {L"LPT1", true},       {L"COM\u00B9", true},  {L"CONIN$", true},  {L"conout$.txt", true},
        {L"CONSOLE", false},   {L"COM0", false},      {L"COM10", false},  {L"LPT", false},
        {L"xCON", false},      {L"con_x.txt", false}, {L".CON", false},   {L"", false},
        {L"keep.doc.", false},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(IsDeviceName(C.Name), C.Device) << C.Name;
}

// Temp names are made in exactly the folder given, at any depth, and never twice.
TEST(PathLayerTempFiles, EachNameIsNewAndLiesInTheFolderGiven) {
    TTempFolder Temp;
    Temp.AddFolder(L"sub");
    ASSERT_TRUE(CreateDirectoryW(Raw(Temp.Path() + L"sub.").c_str(), nullptr));
    const String Folders[] = {Temp.Path() + L"sub.", AddDeepFolder(Temp.Path(), 300),
                              AddDeepFolder(Temp.Path(), 1000) + L"\\"};
    for (const String& Folder : Folders) {
        SCOPED_TRACE(Folder.size());
        const String First = CreateTempFileIn(Folder, L"qrv");
        const String Second = CreateTempFileIn(Folder, L"qrv");
        ASSERT_FALSE(First.empty()) << GetLastError();
        EXPECT_NE(First, Second);
        for (const String& Name : {First, Second}) {
            EXPECT_EQ(ExtractFilePath(Name), IncludeTrailingBackslash(Folder));
            EXPECT_EQ(ExtractFileName(Name).substr(0, 3), L"qrv");
            EXPECT_EQ(ExtractFileExt(Name), L".tmp");
            EXPECT_TRUE(PathPresent(Raw(Name)));
            EXPECT_EQ(ReadBytes(Raw(Name)), "");
        }
    }
    EXPECT_TRUE(Snapshot(Temp.Path() + L"sub\\").empty()) << "nothing lands in the neighbour";

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(CreateTempFileIn(Temp.Path() + L"missing", L"qrv"), L"");
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(PathLayerTempFiles, ATempFileGoesWithItsOwnerUnlessKept) {
    TTempFolder Temp;
    String Dropped, Kept;
    {
        const TTempFile Scratch(Temp.Path(), L"x");
        Dropped = Scratch.Name();
        TTempFile Result(Temp.Path(), L"x");
        Kept = Result.Name();
        Result.Keep();
        ASSERT_TRUE(PathPresent(Dropped));
    }
    EXPECT_FALSE(PathPresent(Dropped));
    EXPECT_TRUE(PathPresent(Kept));
    const TTempFile Nowhere(Temp.Path() + L"missing", L"x");
    EXPECT_EQ(Nowhere.Name(), L"");
}

TEST(PathLayerEntries, HardLinksShareOneIdentity) {
    TTempFolder Temp;
    const String First = Temp.AddFile(L"first.txt", "data");
    const String Other = Temp.AddFile(L"other.txt", "data");
    const String Second = Temp.Path() + L"second.txt";
    ASSERT_TRUE(CreateHardLinkW(Second.c_str(), First.c_str(), nullptr));

    TEntryInfo A, B, C;
    ASSERT_TRUE(InspectEntry(First, A));
    ASSERT_TRUE(InspectEntry(L"\\\\?\\" + Second, B));
    ASSERT_TRUE(InspectEntry(Other, C));
    EXPECT_EQ(A.Identity, B.Identity);
    EXPECT_NE(A.Identity, C.Identity);
    EXPECT_EQ(A.Links, 2u);
    EXPECT_EQ(C.Links, 1u);
    EXPECT_FALSE(InspectEntry(Temp.Path() + L"missing", C));
    EXPECT_FALSE(InspectEntry(L"", C));
}

TEST(PathLayerEntries, LinkIsInspectedNotFollowed) {
    const String Fixtures = PathFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    // With or without a trailing backslash the entry is the link itself.
    for (const String& Link :
         {Fixtures + L"canary-tree\\to-canary", Fixtures + L"canary-tree\\to-canary\\"}) {
        TEntryInfo Info;
        ASSERT_TRUE(InspectEntry(Link, Info)) << ToUtf8(Link);
        EXPECT_NE(Info.Attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << ToUtf8(Link);
    }
}

// Only an entry reached without any link may be acted on: under wine a link to a file looks
// like the plain file it leads to, so its final path is what tells.
TEST(PathLayerEntries, LinkFreeEntriesAreThoseReachedWithoutALink) {
    const String Fixtures = PathFixtures();
    const String FileLinks = FileLinkFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    TTempFolder Temp;
    const String File = Temp.AddFile(L"Plain.txt", "x");
    const String Dotted = Temp.Path() + L"keep.doc.";
    WriteBytes(Raw(Dotted), "x");
    Temp.AddFolder(L"folder");

    const struct {
        String Path;
        bool LinkFree;
    } Cases[] = {
        {File, true},
        {UpperCase(File), true},
        {L"\\\\?\\" + File, true},
        {Dotted, true},
        {Temp.Path() + L"folder", true},
        {Temp.Path() + L"folder\\", true},
        {FileLinks + L"targets\\delete.tmp", true},
        {FileLinks + L"found\\delete.tmp", false},
        {FileLinks + L"found\\neighbour.doc", true},
        {L"\\\\?\\" + FileLinks + L"found\\neighbour.doc.", false},
        {L"\\\\?\\" + FileLinks + L"found\\delete.tmp", false},
        {Fixtures + L"canary-tree\\to-canary", false},
        {Fixtures + L"canary-tree\\to-canary\\file.txt", false},
        // Drive C: by another letter and by its Unix path: the same files, reached by links.
        {L"W:\\windows\\win.ini", false},
        {Fixtures + L"..\\..\\wineprefix\\drive_c\\windows\\win.ini", false},
        {L"C:\\windows\\win.ini", true},
        {Temp.Path() + L"missing.txt", false},
        {L"", false},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(IsLinkFreeEntry(Case.Path), Case.LinkFree) << ToUtf8(Case.Path);
    // Past MAX_PATH, with a folder whose name ends in a dot.
    const String Deep = AddDeepFolder(Temp.Path() + L"deep", 300) + L"\\last.\\";
    ASSERT_TRUE(CreateDirectoryW(Raw(Deep).c_str(), nullptr));
    WriteBytes(Raw(Deep + L"x.txt"), "x");
    EXPECT_TRUE(IsLinkFreeEntry(Deep + L"x.txt"));
    EXPECT_TRUE(IsLinkFreeEntry(Deep));
}

// Every spelling of the Windows folder or of a drive root is refused for recursive deletes, as
// is a start folder that is a link; an ordinary folder by any spelling is allowed.
TEST(PathLayerTreeDelete, RefusalsGoByIdentityNotSpelling) {
    const String Fixtures = PathFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    const String Windows = ExcludeTrailingBackslash(WindowsFolder());
    ASSERT_EQ(Windows.substr(1, 2), L":\\");
    const String WindowsName = Windows.substr(3);
    TTempFolder Temp;
    Temp.AddFolder(L"plain");
    const String File = Temp.AddFile(L"file.txt", "x");
    const String Plain = Temp.Path() + L"plain";

    struct TCase {
        String Folder;
        TTreeDelete Expected;
    };
    const TCase Cases[] = {
        {Windows, tdSystemFolder},
        {Windows + L"\\", tdSystemFolder},
        {UpperCase(Windows), tdSystemFolder},
        {L"\\\\?\\" + Windows, tdSystemFolder},
        {L"\\\\.\\" + Windows, tdSystemFolder},
        {StringReplace(Windows, L"\\", L"/", rfReplaceAll), tdSystemFolder},
        {Windows + L"\\System32\\..", tdSystemFolder},
        {Windows + L"\\.\\", tdSystemFolder},
        // The test prefix's drive C: reached through its Unix path on Z: and through W:, two
        // other letters for the same folder (the prefix lies beside the fixtures).
        {Fixtures + L"..\\..\\wineprefix\\drive_c\\" + WindowsName, tdSystemFolder},
        {L"W:\\" + WindowsName, tdSystemFolder},
        {Fixtures + L"to-windows", tdLink},
        {Fixtures + L"to-windows\\", tdLink},
        {L"C:\\", tdDriveRoot},
        {L"C:\\.", tdDriveRoot},
        {Windows + L"\\..", tdDriveRoot},
        {L"\\\\?\\C:\\", tdDriveRoot},
        {L"\\\\.\\C:\\", tdDriveRoot},
        {L"W:\\", tdDriveRoot},
        {L"Z:\\", tdDriveRoot},
        {Fixtures + L"to-c-root", tdLink},
        {Fixtures + L"canary-tree\\to-canary", tdLink},
        {L"", tdNotAbsolute},
        {L"relative", tdNotAbsolute},
        {L"C:", tdNotAbsolute},
        {L"\\top", tdNotAbsolute},
        {Temp.Path() + L"missing", tdMissing},
        {File, tdNotAFolder},
        {Plain, tdAllowed},
        {Plain + L"\\", tdAllowed},
        {L"\\\\?\\" + Plain, tdAllowed},
        {StringReplace(Plain, L"\\", L"/", rfReplaceAll), tdAllowed},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(CheckTreeDelete(C.Folder), C.Expected) << ToUtf8(C.Folder);
}

} // namespace
