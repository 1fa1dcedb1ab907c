#include "app/FileInfo.h"

#include "classlib/rtl/WinApi.h"

String BytesUnitText;

TOleSession::TOleSession() : FInitialized(SUCCEEDED(OleInitialize(nullptr))) {}

TOleSession::~TOleSession() {
    if (FInitialized)
        OleUninitialize();
}

bool ShellFileTypeInfo(const String& Path, bool ByExtension, int& Icon, String& TypeName) {
    SHFILEINFOW Info{};
    const UINT Flags = SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_SMALLICON |
                       (ByExtension ? SHGFI_USEFILEATTRIBUTES : 0);
    if (!SHGetFileInfoW(Path.c_str(), ByExtension ? FILE_ATTRIBUTE_NORMAL : 0, &Info, sizeof(Info),
                        Flags))
        return false;
    Icon = Info.iIcon;
    TypeName = Info.szTypeName;
    return true;
}

int GetFileTypeInfo(const String& Path, String& TypeName) {
    int Icon = 0;
    if (!ShellFileTypeInfo(Path, false, Icon, TypeName)) {
        TypeName.clear();
        return 0;
    }
    return Icon;
}

namespace {

String SizeText(std::int64_t Size, const String& ByteWord) {
    if (Size < 1024)
        return IntToStr(Size) + L' ' + ByteWord;
    std::int64_t Unit = 1073741824;
    const wchar_t* UnitName = L" Gb";
    if (Size < 1048576) {
        Unit = 1024;
        UnitName = L" Kb";
    } else if (Size < 1073741824) {
        Unit = 1048576;
        UnitName = L" Mb";
    }
    const std::int64_t Whole = Size / Unit;
    const std::int64_t Fraction = Size % Unit * 100 / Unit;
    if (Fraction == 0)
        return IntToStr(Whole) + UnitName;
    return IntToStr(Whole) + FormatSettings().DecimalSeparator + Format(L"%.2d", {Fraction}) +
           UnitName;
}

} // namespace

String FormatFileSize(std::uint64_t Size) {
    return SizeText(static_cast<std::int64_t>(Size), BytesUnitText);
}

String FormatFileSize64(std::int64_t Size) {
    return SizeText(Size, L"bytes");
}

TDateTime FileTimeToLocalDateTime(const FILETIME& FileTime) {
    // Through a DOS date and time, as the lists and the old-file test have always compared:
    // the years 1980 to 2107, in steps of two seconds.
    constexpr WORD FirstDosYear = 1980, LastDosYear = 2107;
    FILETIME Local;
    SYSTEMTIME Parts;
    if ((FileTime.dwHighDateTime == 0 && FileTime.dwLowDateTime == 0) ||
        !FileTimeToLocalFileTime(&FileTime, &Local) || !FileTimeToSystemTime(&Local, &Parts) ||
        Parts.wYear < FirstDosYear || Parts.wYear > LastDosYear)
        return 0;
    TDateTime Date;
    TDateTime Time;
    if (!TryEncodeDate(Parts.wYear, Parts.wMonth, Parts.wDay, Date) ||
        !TryEncodeTime(Parts.wHour, Parts.wMinute, Parts.wSecond & ~1, 0, Time))
        return 0;
    return Date + Time;
}

bool ShowFileProperties(const String& Path, HWND Owner) {
    return InvokeShellItemMenu(Path, nullptr, nullptr, 0, smProperties, String(), Owner,
                               POINT{0, 0}, 1);
}
