#include "classlib/rtl/SysUtils.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(RtlPaths, SplittingNames) {
    struct TCase {
        const wchar_t* Name;
        const wchar_t* Path;
        const wchar_t* Dir;
        const wchar_t* File;
        const wchar_t* Ext;
        const wchar_t* Drive;
    };
    const TCase Cases[] = {
        {L"C:\\dir\\file.txt", L"C:\\dir\\", L"C:\\dir", L"file.txt", L".txt", L"C:"},
        {L"C:\\file", L"C:\\", L"C:\\", L"file", L"", L"C:"},
        {L"C:file.a.b", L"C:", L"C:", L"file.a.b", L".b", L"C:"},
        {L"\\\\srv\\share\\d\\f.x", L"\\\\srv\\share\\d\\", L"\\\\srv\\share\\d", L"f.x", L".x",
         L"\\\\srv\\share"},
        {L"\\\\srv\\share", L"\\\\srv\\", L"\\\\srv", L"share", L"", L"\\\\srv\\share"},
        {L"dir.v2\\file", L"dir.v2\\", L"dir.v2", L"file", L"", L""},
        {L"\\top", L"\\", L"\\", L"top", L"", L""},
        {L"name.", L"", L"", L"name.", L".", L""},
        // Windows reads '/' as a separator, so the splitters do too.
        {L"C:/dir/file.txt", L"C:/dir/", L"C:/dir", L"file.txt", L".txt", L"C:"},
        {L"C:\\out\\dir.d/part", L"C:\\out\\dir.d/", L"C:\\out\\dir.d", L"part", L"", L"C:"},
        {L"//srv/share/f.x", L"//srv/share/", L"//srv/share", L"f.x", L".x", L"//srv/share"},
        {L"C:/", L"C:/", L"C:/", L"", L"", L"C:"},
        {L"", L"", L"", L"", L"", L""},
    };
    for (const TCase& C : Cases) {
        EXPECT_EQ(ExtractFilePath(C.Name), C.Path) << C.Name;
        EXPECT_EQ(ExtractFileDir(C.Name), C.Dir) << C.Name;
        EXPECT_EQ(ExtractFileName(C.Name), C.File) << C.Name;
        EXPECT_EQ(ExtractFileExt(C.Name), C.Ext) << C.Name;
        EXPECT_EQ(ExtractFileDrive(C.Name), C.Drive) << C.Name;
    }
}

TEST(RtlPaths, ChangingNames) {
    EXPECT_EQ(ChangeFileExt(L"C:\\a\\part.bin", L".SPL"), L"C:\\a\\part.SPL");
    EXPECT_EQ(ChangeFileExt(L"C:\\a.dir\\part", L".001"), L"C:\\a.dir\\part.001");
    EXPECT_EQ(ChangeFileExt(L"x.tar.gz", L""), L"x.tar");
    EXPECT_EQ(IncludeTrailingBackslash(L"C:\\a"), L"C:\\a\\");
    EXPECT_EQ(IncludeTrailingBackslash(L"C:\\a\\"), L"C:\\a\\");
    EXPECT_EQ(ExcludeTrailingBackslash(L"C:\\a\\"), L"C:\\a");
    EXPECT_EQ(ExcludeTrailingBackslash(L"C:\\a"), L"C:\\a");
    // A later part of "dir.d/part" stays in dir.d.
    EXPECT_EQ(ChangeFileExt(L"C:\\out\\dir.d/part", L".001"), L"C:\\out\\dir.d/part.001");
    EXPECT_EQ(ChangeFileExt(L"C:\\out/dir.d/part.SPL", L".001"), L"C:\\out/dir.d/part.001");
    EXPECT_EQ(IncludeTrailingBackslash(L"C:/a/"), L"C:/a/");
    EXPECT_EQ(ExcludeTrailingBackslash(L"C:/a/"), L"C:/a");
    EXPECT_EQ(ExpandFileName(L"C:\\a\\..\\b\\.\\c.txt"), L"C:\\b\\c.txt");
}

TEST(RtlFiles, FoldersAndFiles) {
    TTempFolder Temp;
    const String Deep = Temp.Path() + L"one\\tw\u00F6\\three";
    EXPECT_TRUE(ForceDirectories(Deep));
    EXPECT_TRUE(ForceDirectories(Deep + L"\\"));
    EXPECT_TRUE(DirectoryExists(Deep));
    EXPECT_FALSE(FileExists(Deep));
    EXPECT_FALSE(ForceDirectories(L""));

    const String File = Temp.AddFile(L"one\\f.txt", "x");
    EXPECT_TRUE(FileExists(File));
    EXPECT_FALSE(DirectoryExists(File));
    EXPECT_FALSE(ForceDirectories(File + L"\\sub"));

    EXPECT_EQ(FileSetAttr(File, faReadOnly | faHidden), 0);
    EXPECT_EQ(FileGetAttr(File) & (faReadOnly | faHidden), faReadOnly | faHidden);
    EXPECT_FALSE(FileDelete(File));
    EXPECT_EQ(FileSetAttr(File, faNormal), 0);
    EXPECT_EQ(FileGetAttr(Temp.Path() + L"none"), -1);
    EXPECT_NE(FileSetAttr(Temp.Path() + L"none", 0), 0);

    EXPECT_TRUE(RenameFile(File, Temp.Path() + L"one\\g.txt"));
    EXPECT_FALSE(FileExists(File));
    EXPECT_TRUE(FileDelete(Temp.Path() + L"one\\g.txt"));
    EXPECT_FALSE(FileDelete(Temp.Path() + L"one\\g.txt"));

    EXPECT_FALSE(RemoveDir(Temp.Path() + L"one")); // not empty
    EXPECT_TRUE(RemoveDir(Deep));
    EXPECT_TRUE(CreateDir(Deep));
    EXPECT_FALSE(CreateDir(Deep));
}

TEST(RtlFiles, CurrentAndTempFolders) {
    TTempFolder Temp;
    const String Old = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Temp.Path()));
    EXPECT_EQ(IncludeTrailingBackslash(GetCurrentDir()), Temp.Path());
    EXPECT_EQ(ExpandFileName(L"x.ini"), Temp.Path() + L"x.ini");
    ASSERT_TRUE(SetCurrentDir(Old));
    EXPECT_FALSE(SetCurrentDir(Temp.Path() + L"none"));
    EXPECT_EQ(GetTempDir().back(), L'\\');
    EXPECT_TRUE(DirectoryExists(GetTempDir()));
}

namespace {

std::vector<String> Found(const String& Mask, int Attr) {
    std::vector<String> Names;
    TSearchRec F;
    for (int R = FindFirst(Mask, Attr, F); R == 0; R = FindNext(F))
        Names.push_back(F.Name);
    FindClose(F);
    std::sort(Names.begin(), Names.end());
    return Names;
}

} // namespace

TEST(RtlFiles, FindFirstSelectsByAttributes) {
    TTempFolder Temp;
    Temp.AddFile(L"plain.txt", "12345");
    Temp.AddFile(L"hidden.txt", "");
    Temp.AddFile(L"system.txt", "");
    ForceDirectories(Temp.Path() + L"sub");
    FileSetAttr(Temp.Path() + L"hidden.txt", faHidden);
    FileSetAttr(Temp.Path() + L"system.txt", faSysFile);

    const String All = Temp.Path() + L"*";
    EXPECT_EQ(Found(All, 0), (std::vector<String>{L"plain.txt"}));
    // faDirectory alone adds folders but still hides hidden and system files.
    EXPECT_EQ(Found(All, faDirectory), (std::vector<String>{L".", L"..", L"plain.txt", L"sub"}));
    EXPECT_EQ(Found(All, faAnyFile), (std::vector<String>{L".", L"..", L"hidden.txt", L"plain.txt",
                                                          L"sub", L"system.txt"}));
    EXPECT_EQ(Found(Temp.Path() + L"*.none", faAnyFile), std::vector<String>{});

    TSearchRec F;
    ASSERT_EQ(FindFirst(Temp.Path() + L"plain.txt", faAnyFile, F), 0);
    EXPECT_EQ(F.Size, 5);
    EXPECT_EQ(F.Attr & faDirectory, 0);
    EXPECT_NE(F.Time.dwLowDateTime | F.Time.dwHighDateTime, 0u);
    EXPECT_EQ(F.Name, F.FindData.cFileName);
    EXPECT_NE(FindNext(F), 0);
    EXPECT_NE(FindNext(F), 0); // still safe after the end

    EXPECT_EQ(FindFirst(Temp.Path() + L"none\\*", faAnyFile, F), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(F.FindHandle, INVALID_HANDLE_VALUE);
}

TEST(RtlErrors, SystemMessages) {
    EXPECT_FALSE(SysErrorMessage(ERROR_FILE_NOT_FOUND).empty());
    EXPECT_NE(SysErrorMessage(ERROR_FILE_NOT_FOUND).back(), L'\n');
    EXPECT_FALSE(SysErrorMessage(0xDEAD).empty());
    SetLastError(ERROR_ACCESS_DENIED);
    try {
        RaiseLastOSError();
        FAIL() << "no exception";
    } catch (const EOSError& E) {
        EXPECT_EQ(E.ErrorCode(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_NE(E.Message().find(L"5"), String::npos);
    }
    EXPECT_EQ(EOSError(ERROR_FILE_NOT_FOUND).Message(), SysErrorMessage(ERROR_FILE_NOT_FOUND));
}
