// Strings, conversions, Format, exceptions, paths, files and date-time: the
// runtime layer the programs are written against.
#pragma once

#include "classlib/rtl/WinApi.h"

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

using String = std::wstring;

// ---------------------------------------------------------------- exceptions

class Exception : public std::exception {
public:
    explicit Exception(String Msg);
    const String& Message() const noexcept { return FMessage; }
    // UTF-8 form of Message().
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    String FMessage;
    std::string FUtf8;
};

// Thrown by Abort(): a silent stop that callers catch without telling the user.
class EAbort : public Exception {
public:
    using Exception::Exception;
};
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
class EInOutError : public Exception {
public:
    EInOutError(String Msg, DWORD ErrorCode) : Exception(std::move(Msg)), FErrorCode(ErrorCode) {}
    DWORD ErrorCode() const noexcept { return FErrorCode; }

private:
    DWORD FErrorCode;
};
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EListError : public Exception {
public:
    using Exception::Exception;
};
class EStringListError : public EListError {
public:
    using EListError::EListError;
};
class EOSError : public Exception {
public:
    // Message from SysErrorMessage(ErrorCode).
    explicit EOSError(DWORD ErrorCode);
    EOSError(String Msg, DWORD ErrorCode) : Exception(std::move(Msg)), FErrorCode(ErrorCode) {}
    DWORD ErrorCode() const noexcept { return FErrorCode; }

private:
    DWORD FErrorCode;
};

[[noreturn]] void Abort();

// ------------------------------------------------------------ ownership

struct THandleCloser {
    void operator()(HANDLE Handle) const { CloseHandle(Handle); }
};
// A kernel handle that CloseHandle releases; never INVALID_HANDLE_VALUE.
using TOwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, THandleCloser>;

// Kernel calls answer failure with null or with INVALID_HANDLE_VALUE: both become an empty owner.
inline TOwnedHandle OwnHandle(HANDLE Handle) {
    return TOwnedHandle(Handle == INVALID_HANDLE_VALUE ? nullptr : Handle);
}

// Holds a flag set for a scope and clears it however the scope ends.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

// Counts a nesting level up for a scope and down again however the scope ends.
class TDepthScope {
public:
    explicit TDepthScope(int& Depth) : FDepth(Depth) { ++FDepth; }
    ~TDepthScope() { --FDepth; }
    TDepthScope(const TDepthScope&) = delete;
    TDepthScope& operator=(const TDepthScope&) = delete;

private:
    int& FDepth;
};

// ----------------------------------------------------------- conversions

std::string ToUtf8(std::wstring_view S);
String FromUtf8(std::string_view S);
// Narrow text in the system ANSI code page (CP_ACP).
std::string ToAnsi(std::wstring_view S);
String FromAnsi(std::string_view S);

// ------------------------------------------------------------- strings

// Trim* remove characters <= ' ' (control characters and space).
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);
// ASCII-only case mapping.
String LowerCase(const String& S);
String UpperCase(const String& S);
// Locale case mapping (user locale).
String AnsiLowerCase(const String& S);
String AnsiUpperCase(const String& S);
// ASCII case-insensitive ordinal comparison; <0, 0, >0.
int CompareText(const String& S1, const String& S2);
int CompareStr(const String& S1, const String& S2);
bool SameText(const String& S1, const String& S2);
// User-locale comparison through CompareStringW; <0, 0, >0.
int AnsiCompareText(const String& S1, const String& S2);
int AnsiCompareStr(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
class TReplaceFlags {
public:
    TReplaceFlags() = default;
    TReplaceFlags(TReplaceFlag Flag) : FBits(Bit(Flag)) {}
    TReplaceFlags(std::initializer_list<TReplaceFlag> Flags) {
        for (const TReplaceFlag F : Flags)
            FBits |= Bit(F);
    }
    bool Contains(TReplaceFlag Flag) const { return (FBits & Bit(Flag)) != 0; }

private:
    static unsigned Bit(TReplaceFlag F) { return 1u << static_cast<unsigned>(F); }
    unsigned FBits = 0;
};
// Case-insensitive matching (rfIgnoreCase) folds with the user locale.
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags = {});

// 1-based positions; 0 means absent. PosEx starts searching at Offset.
int Pos(const String& SubStr, const String& S);
int PosEx(const String& SubStr, const String& S, int Offset = 1);
// Index is 1-based; out-of-range Index/Count are clamped as in the classic
// library (Index < 1 counts from 1, Count past the end stops at the end).
String Copy(const String& S, int Index, int Count);
// 1-based index of the last character of S found in Delimiters; 0 if none.
int LastDelimiter(const String& Delimiters, const String& S);
String StringOfChar(wchar_t Ch, int Count);

String IntToStr(std::int64_t Value);
// Upper-case hex with at least Digits digits.
String IntToHex(std::int64_t Value, int Digits);
// Accept optional leading blanks, a sign, decimal digits or hex after "$"/"0x".
int StrToInt(const String& S);            // throws EConvertError
std::int64_t StrToInt64(const String& S); // throws EConvertError
int StrToIntDef(const String& S, int Default);
std::int64_t StrToInt64Def(const String& S, std::int64_t Default);
bool TryStrToInt(const String& S, int& Value);
bool TryStrToInt64(const String& S, std::int64_t& Value);

// --------------------------------------------------------- locale settings

struct TFormatSettings {
    wchar_t DecimalSeparator = L'.';
    wchar_t ThousandSeparator = L',';
    wchar_t DateSeparator = L'/';
    wchar_t TimeSeparator = L':';
    String CurrencyString = L"$";
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int CurrencyFormat = 0;
    int CurrencyDecimals = 2;
    // In FormatDateTime notation (m = month, n = minute, ampm = AM/PM marker).
    String ShortDateFormat = L"m/d/yyyy";
    String LongDateFormat = L"dddd, mmmm d, yyyy";
    String ShortTimeFormat = L"h:nn ampm";
    String LongTimeFormat = L"h:nn:ss ampm";
    String TimeAMString = L"AM";
    String TimePMString = L"PM";
    String ShortMonthNames[12];
    String LongMonthNames[12];
    String ShortDayNames[7]; // Sunday first
    String LongDayNames[7];

    // Settings of the current user's locale.
    static TFormatSettings FromUserLocale();
    // Locale-independent settings: "." decimals, yyyy-mm-dd, hh:nn:ss, English names.
    static TFormatSettings Invariant();
};
// The process-wide settings, read from the user locale on first use. Tests and
// callers that need a fixed form may change it or pass their own settings.
TFormatSettings& FormatSettings();

// ---------------------------------------------------------------- Format

class FormatArg {
public:
    FormatArg(const String& S) : FValue(S) {}
    FormatArg(String&& S) : FValue(std::move(S)) {}
    FormatArg(const wchar_t* S) : FValue(String(S ? S : L"")) {}
    FormatArg(std::wstring_view S) : FValue(String(S)) {}
    FormatArg(double D) : FValue(D) {}
    FormatArg(float F) : FValue(static_cast<double>(F)) {}
    template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, wchar_t> &&
             !std::is_same_v<T, char>) FormatArg(T V)
        : FValue(static_cast<std::int64_t>(V)), FIs64(sizeof(T) > 4),
          FUnsigned(std::is_unsigned_v<T>) {}

    bool IsString() const { return std::holds_alternative<String>(FValue); }
    bool IsInteger() const { return std::holds_alternative<std::int64_t>(FValue); }
    bool IsFloat() const { return std::holds_alternative<double>(FValue); }
    const String& AsString() const { return std::get<String>(FValue); }
    std::int64_t AsInteger() const { return std::get<std::int64_t>(FValue); }
    double AsFloat() const { return std::get<double>(FValue); }
    // Width of the integer the caller passed: %u and %x of a negative 32-bit value
    // print its 32-bit pattern.
    bool Is64() const { return FIs64; }
    bool IsUnsigned() const { return FUnsigned; }

private:
    std::variant<String, std::int64_t, double> FValue;
    bool FIs64 = false;
    bool FUnsigned = false;
};

// Placeholders: %[index:][-][width][.prec]type with type s d u x f g n (any case)
// and %% for a percent sign. Never reads an argument that was not passed: a
// placeholder whose argument is missing or of the wrong kind, or that is
// malformed, stays in the result as written (language texts are untrusted).
String Format(const String& Fmt, std::initializer_list<FormatArg> Args);
String Format(const String& Fmt, std::initializer_list<FormatArg> Args,
              const TFormatSettings& Settings);

// ------------------------------------------------------------- floats

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
String FloatToStr(double Value);
String FloatToStr(double Value, const TFormatSettings& Settings);
String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                   const TFormatSettings& Settings);
double StrToFloat(const String& S); // throws EConvertError
double StrToFloat(const String& S, const TFormatSettings& Settings);
double StrToFloatDef(const String& S, double Default);
bool TryStrToFloat(const String& S, double& Value);
bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& Settings);

// --------------------------------------------------------------- paths

// Delimiters are '\' and ':' (and '/' is treated as '\' only by the OS, not here).
String ExtractFilePath(const String& FileName); // with trailing '\'
String ExtractFileDir(const String& FileName);  // without trailing '\' (except "C:\")
String ExtractFileName(const String& FileName);
String ExtractFileExt(const String& FileName);   // with the dot; "" when none
String ExtractFileDrive(const String& FileName); // "C:" or "\\server\share"
String ChangeFileExt(const String& FileName, const String& Extension);
String IncludeTrailingBackslash(const String& S);
String ExcludeTrailingBackslash(const String& S);
String ExpandFileName(const String& FileName);

// --------------------------------------------------------------- files

constexpr int faReadOnly = 0x00000001;
constexpr int faHidden = 0x00000002;
constexpr int faSysFile = 0x00000004;
constexpr int faVolumeID = 0x00000008;
constexpr int faDirectory = 0x00000010;
constexpr int faArchive = 0x00000020;
constexpr int faNormal = 0x00000080;
constexpr int faTemporary = 0x00000100;
constexpr int faSymLink = 0x00000400; // reparse point
constexpr int faCompressed = 0x00000800;
constexpr int faAnyFile = 0x000001FF;

bool FileExists(const String& FileName);       // an existing file, not a folder
bool DirectoryExists(const String& Directory); // an existing folder
bool ForceDirectories(const String& Dir);      // creates every missing level
bool CreateDir(const String& Dir);
bool RemoveDir(const String& Dir);
bool FileDelete(const String& FileName);
bool RenameFile(const String& OldName, const String& NewName);
// -1 when the file cannot be reached.
int FileGetAttr(const String& FileName);
// 0 on success, else the Windows error code.
int FileSetAttr(const String& FileName, int Attr);
String GetCurrentDir();
bool SetCurrentDir(const String& Dir);
// The user's temp folder, with a trailing '\'.
String GetTempDir();

// One directory entry. Owns its search handle: FindClose or the destructor
// closes it.
struct TSearchRec {
    String Name;
    std::int64_t Size = 0;
    int Attr = 0;
    FILETIME Time{}; // last write, UTC
    WIN32_FIND_DATAW FindData{};

    TSearchRec() = default;
    TSearchRec(const TSearchRec&) = delete;
    TSearchRec& operator=(const TSearchRec&) = delete;
    TSearchRec(TSearchRec&& Other) noexcept;
    TSearchRec& operator=(TSearchRec&& Other) noexcept;
    ~TSearchRec();

    HANDLE FindHandle = INVALID_HANDLE_VALUE;
    int ExcludeAttr = 0;
};
// Attr selects which entries beside normal files are returned: hidden, system,
// volume and directory entries only when their bit is in Attr (faAnyFile: all).
// Returns 0 when an entry was found, else a Windows error code.
int FindFirst(const String& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

String SysErrorMessage(DWORD ErrorCode);
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD ErrorCode);

// ------------------------------------------------------------ date-time

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;

TDateTime Now();
TDateTime Date();
TDateTime Time();
bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);
TDateTime EncodeDate(int Year, int Month, int Day);         // throws EConvertError
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec); // throws EConvertError
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime DateTime);

// yyyy yy mmmm mmm mm m dddd ddd dd d hh h nn n ss s zzz ampm am/pm a/p, "/" and
// ":" as the locale separators, 'quoted' and "quoted" literals; c = short date +
// long time, ddddd = short date, tt = long time.
String FormatDateTime(const String& Fmt, TDateTime DateTime);
String FormatDateTime(const String& Fmt, TDateTime DateTime, const TFormatSettings& Settings);
String DateToStr(TDateTime DateTime);
String TimeToStr(TDateTime DateTime);
String DateTimeToStr(TDateTime DateTime);
String DateToStr(TDateTime DateTime, const TFormatSettings& Settings);
String TimeToStr(TDateTime DateTime, const TFormatSettings& Settings);
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings);
// Parse the short date form (day, month and year in the locale's order; month
// names accepted) and the time form (h[:n[:s[.z]]] with optional AM/PM marker).
bool TryStrToDate(const String& S, TDateTime& Value);
bool TryStrToTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value);
bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings);
TDateTime StrToDate(const String& S);     // throws EConvertError
TDateTime StrToTime(const String& S);     // throws EConvertError
TDateTime StrToDateTime(const String& S); // throws EConvertError
TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings);

TDateTime SystemTimeToDateTime(const SYSTEMTIME& ST);
SYSTEMTIME DateTimeToSystemTime(TDateTime DateTime);
// UTC FILETIME <-> local TDateTime, with the daylight rule of that date;
// milliseconds are kept.
TDateTime FileTimeToDateTime(const FILETIME& FT);
FILETIME DateTimeToFileTime(TDateTime DateTime);
// DOS packed date (high word) and time (low word), 2-second steps.
TDateTime FileDateToDateTime(int FileDate);

TDateTime IncDay(TDateTime DateTime, int NumberOfDays = 1);
TDateTime IncHour(TDateTime DateTime, std::int64_t NumberOfHours = 1);
TDateTime IncMinute(TDateTime DateTime, std::int64_t NumberOfMinutes = 1);
TDateTime IncSecond(TDateTime DateTime, std::int64_t NumberOfSeconds = 1);
// Keeps the time of day; the day is clipped to the length of the new month.
TDateTime IncMonth(TDateTime DateTime, int NumberOfMonths = 1);
