// Path names, file and folder functions, directory search and system errors.
#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/PathLayer.h"

// --------------------------------------------------------------- paths

namespace {

// Windows reads '/' as a backslash, so every splitter does too.
const String PathDelimiters = L"\\/:";

bool IsSeparator(wchar_t C) {
    return C == L'\\' || C == L'/';
}

bool IsDelimiter(const String& Delimiters, const String& S, std::size_t Index) {
    return Index < S.size() && Delimiters.find(S[Index]) != String::npos;
}

} // namespace

String ExtractFilePath(const String& FileName) {
    return FileName.substr(0, static_cast<std::size_t>(LastDelimiter(PathDelimiters, FileName)));
}

String ExtractFileDir(const String& FileName) {
    std::size_t I = static_cast<std::size_t>(LastDelimiter(PathDelimiters, FileName));
    // Keep the backslash of a root ("C:\", "\") but drop any other.
    if (I > 1 && IsSeparator(FileName[I - 1]) && !IsDelimiter(PathDelimiters, FileName, I - 2))
        --I;
    return FileName.substr(0, I);
}

String ExtractFileName(const String& FileName) {
    return FileName.substr(static_cast<std::size_t>(LastDelimiter(PathDelimiters, FileName)));
}

String ExtractFileExt(const String& FileName) {
    const int I = LastDelimiter(L"." + PathDelimiters, FileName);
    if (I > 0 && FileName[static_cast<std::size_t>(I - 1)] == L'.')
        return FileName.substr(static_cast<std::size_t>(I - 1));
    return {};
}

String ExtractFileDrive(const String& FileName) {
    if (FileName.size() >= 2 && FileName[1] == L':')
        return FileName.substr(0, 2);
    if (FileName.size() >= 2 && IsSeparator(FileName[0]) && IsSeparator(FileName[1])) {
        // \\server\share: up to (not including) the separator after the share.
        const std::size_t ServerEnd = FileName.find_first_of(L"\\/", 2);
        if (ServerEnd == String::npos)
            return FileName;
        const std::size_t ShareEnd = FileName.find_first_of(L"\\/", ServerEnd + 1);
        return FileName.substr(0, ShareEnd);
    }
    return {};
}

String ChangeFileExt(const String& FileName, const String& Extension) {
    const int I = LastDelimiter(L"." + PathDelimiters, FileName);
    if (I > 0 && FileName[static_cast<std::size_t>(I - 1)] == L'.')
        return FileName.substr(0, static_cast<std::size_t>(I - 1)) + Extension;
    return FileName + Extension;
}

String IncludeTrailingBackslash(const String& S) {
    if (!S.empty() && IsSeparator(S.back()))
        return S;
    return S + L'\\';
}

String ExcludeTrailingBackslash(const String& S) {
    if (!S.empty() && IsSeparator(S.back()))
        return S.substr(0, S.size() - 1);
    return S;
}

String ExpandFileName(const String& FileName) {
    if (FileName.empty())
        return {};
    String Buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD N =
            GetFullPathNameW(FileName.c_str(), static_cast<DWORD>(Buf.size()), Buf.data(), nullptr);
        if (N == 0)
            return FileName;
        if (N < Buf.size()) {
            Buf.resize(N);
            return Buf;
        }
        Buf.resize(N);
    }
}

// --------------------------------------------------------------- files

bool FileExists(const String& FileName) {
    const DWORD A = GetFileAttributesW(ExtendedPath(FileName).c_str());
    return A != INVALID_FILE_ATTRIBUTES && (A & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const String& Directory) {
    const DWORD A = GetFileAttributesW(ExtendedPath(Directory).c_str());
    return A != INVALID_FILE_ATTRIBUTES && (A & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ForceDirectories(const String& Dir) {
    const String D = ExcludeTrailingBackslash(Dir);
    if (D.empty())
        return false;
    if (DirectoryExists(D))
        return true;
    const String Parent = ExtractFilePath(D);
    // A drive ("C:") or share root that does not exist cannot be created.
    if (Parent.empty() || Parent == D || D.size() < 3 || ExtractFileDrive(D) == D)
        return CreateDir(D);
    return ForceDirectories(Parent) && (CreateDir(D) || DirectoryExists(D));
}

bool CreateDir(const String& Dir) {
    return CreateDirectoryW(ExtendedPath(Dir).c_str(), nullptr) != FALSE;
}
bool RemoveDir(const String& Dir) {
    return RemoveDirectoryW(ExtendedPath(Dir).c_str()) != FALSE;
}
bool FileDelete(const String& FileName) {
    return DeleteFileW(ExtendedPath(FileName).c_str()) != FALSE;
}

bool RenameFile(const String& OldName, const String& NewName) {
    return MoveFileW(ExtendedPath(OldName).c_str(), ExtendedPath(NewName).c_str()) != FALSE;
}

int FileGetAttr(const String& FileName) {
    const DWORD A = GetFileAttributesW(ExtendedPath(FileName).c_str());
    return A == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(A);
}

int FileSetAttr(const String& FileName, int Attr) {
    if (SetFileAttributesW(ExtendedPath(FileName).c_str(), static_cast<DWORD>(Attr)))
        return 0;
    return static_cast<int>(GetLastError());
}

String GetCurrentDir() {
    String Buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD N = GetCurrentDirectoryW(static_cast<DWORD>(Buf.size()), Buf.data());
        if (N == 0)
            return {};
        if (N < Buf.size()) {
            Buf.resize(N);
            return Buf;
        }
        Buf.resize(N);
    }
}

bool SetCurrentDir(const String& Dir) {
    return SetCurrentDirectoryW(Dir.c_str()) != FALSE;
}

String GetTempDir() {
    wchar_t Buf[MAX_PATH + 2];
    const DWORD N = GetTempPathW(MAX_PATH + 2, Buf);
    if (N == 0 || N > MAX_PATH + 1)
        return {};
    return IncludeTrailingBackslash(String(Buf, N));
}

// -------------------------------------------------------------- search

TSearchRec::TSearchRec(TSearchRec&& Other) noexcept
    : Name(std::move(Other.Name)), Size(Other.Size), Attr(Other.Attr), Time(Other.Time),
      FindData(Other.FindData), FindHandle(Other.FindHandle), ExcludeAttr(Other.ExcludeAttr) {
    Other.FindHandle = INVALID_HANDLE_VALUE;
}

TSearchRec& TSearchRec::operator=(TSearchRec&& Other) noexcept {
    if (this != &Other) {
        FindClose(*this);
        Name = std::move(Other.Name);
        Size = Other.Size;
        Attr = Other.Attr;
        Time = Other.Time;
        FindData = Other.FindData;
        FindHandle = Other.FindHandle;
        ExcludeAttr = Other.ExcludeAttr;
        Other.FindHandle = INVALID_HANDLE_VALUE;
    }
    return *this;
}

TSearchRec::~TSearchRec() {
    FindClose(*this);
}

namespace {

// Skips entries with an excluded attribute and fills F from the first kept one.
int FindMatching(TSearchRec& F) {
    while ((F.FindData.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) != 0) {
        if (!FindNextFileW(F.FindHandle, &F.FindData))
            return static_cast<int>(GetLastError());
    }
    F.Name = F.FindData.cFileName;
    F.Size = (static_cast<std::int64_t>(F.FindData.nFileSizeHigh) << 32) |
             static_cast<std::int64_t>(F.FindData.nFileSizeLow);
    F.Attr = static_cast<int>(F.FindData.dwFileAttributes);
    F.Time = F.FindData.ftLastWriteTime;
    return 0;
}

} // namespace

int FindFirst(const String& Path, int Attr, TSearchRec& F) {
    FindClose(F);
    F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    F.FindHandle = FindFirstFileW(ExtendedPath(Path).c_str(), &F.FindData);
    if (F.FindHandle == INVALID_HANDLE_VALUE)
        return static_cast<int>(GetLastError());
    const int R = FindMatching(F);
    if (R != 0)
        FindClose(F);
    return R;
}

int FindNext(TSearchRec& F) {
    if (F.FindHandle == INVALID_HANDLE_VALUE)
        return ERROR_NO_MORE_FILES;
    if (!FindNextFileW(F.FindHandle, &F.FindData))
        return static_cast<int>(GetLastError());
    return FindMatching(F);
}

void FindClose(TSearchRec& F) {
    if (F.FindHandle != INVALID_HANDLE_VALUE) {
        ::FindClose(F.FindHandle);
        F.FindHandle = INVALID_HANDLE_VALUE;
    }
}

// -------------------------------------------------------------- errors

String SysErrorMessage(DWORD ErrorCode) {
    wchar_t* Buf = nullptr;
    const DWORD N = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, ErrorCode, 0, reinterpret_cast<wchar_t*>(&Buf), 0, nullptr);
    String Msg;
    if (N > 0 && Buf != nullptr)
        Msg.assign(Buf, N);
    if (Buf != nullptr)
        LocalFree(Buf);
    while (!Msg.empty() && (Msg.back() <= L' ' || Msg.back() == L'.'))
        Msg.pop_back();
    if (Msg.empty())
        Msg = L"System error " + IntToStr(ErrorCode);
    return Msg;
}

void RaiseLastOSError(DWORD ErrorCode) {
    throw EOSError(L"System error, code " + IntToStr(ErrorCode) + L": " +
                       SysErrorMessage(ErrorCode),
                   ErrorCode);
}

void RaiseLastOSError() {
    RaiseLastOSError(GetLastError());
}
