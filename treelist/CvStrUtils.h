// Text routines of the tree-list: UTF-16 buffers, ordinal search and comparison, hexadecimal
// and currency parsing, and the case folding used for sort keys that ignore case. Lengths,
// indices and positions count UTF-16 code units: 1-based in strings, 0-based in buffers.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include <cstdint>
#include <span>
#include <string>

// ------------------------------------------------------------ case table

// Status bits of a case-table row.
constexpr unsigned CaseStatusC = 1; // common
constexpr unsigned CaseStatusS = 2; // simple
constexpr unsigned CaseStatusF = 4; // full
constexpr unsigned CaseStatusT = 8; // Turkic

struct TCaseTableEntry {
    std::uint16_t Status;
    std::uint16_t Code;
    std::uint16_t Folded[3]; // one to three units; the unused ones are 0
};

// The Unicode 3.0 case-folding rows of the Basic Multilingual Plane, ascending by code. Entry
// numbers count from 1: entry n is UnicodeCaseTable()[n - 1].
std::span<const TCaseTableEntry> UnicodeCaseTable();

enum class TCaseDirection {
    Forward, // keyed by code: folds
    Reverse, // keyed by the first folded unit: unfolds
};

// The first entry in table order with this key and a status in Mask (0..15); 0 when none. The
// lookup arrays of a direction are built on its first call and kept.
int CaseTableLookup(wchar_t Unit, TCaseDirection Direction, unsigned Mask);
// How many units of S from the 1-based Index spell the entry's folded form: 1 to 3, or 0.
int CaseTableMatchLength(const String& S, int Index, int Entry);
String CaseTableConvert(const String& S, TCaseDirection Direction, unsigned Mask);
// Each unit becomes the code of the first common, simple or Turkic entry that folds to it.
String CaseTableUpper(const String& S);
// The case-free form of a sort key.
String WideFoldCase(const String& S);
// One unit of it: the rows WideFoldCase uses fold one unit to one unit, so a key can be folded
// as it is read, without a copy.
wchar_t WideFoldUnit(wchar_t Unit);

// ------------------------------------------------------ numbers in text

// "$" first, then blanks, a sign and hex digits; wraps at 32 bits. Throws EConvertError
// "'<text>' is not a valid integer value" with the text as it stood where reading failed.
std::int32_t HexToInt(const String& S);
std::int32_t HexToIntDef(const String& S, std::int32_t Default);

// A count of ten-thousandths.
using TCurrency = std::int64_t;
// Reads a money amount leniently for sorting; never throws. Comma and full stop always start
// the fraction, beside the locale's decimal separator.
TCurrency ParseCurrencyText(const String& S);
TCurrency ParseCurrencyText(const String& S, const String& CurrencySymbol, wchar_t DecimalSeparator,
                            wchar_t ThousandSeparator);

// ------------------------------------------------ comparison and search

// -1, 0 or 1, unit by unit as unsigned values; a prefix sorts first.
int WideCompareOrdinal(const String& A, const String& B);
// Difference of the first differing units, up to and including B's terminator.
int WideBufCompare(const wchar_t* A, const wchar_t* B);
int WideCompareStr(const String& A, const String& B);
// Narrow texts in the user's locale, ignoring case.
bool SameTextNoCase(const std::string& A, const std::string& B);
// 1-based position, 0 when absent or either is empty.
int WidePos(const String& Sub, const String& S);
int WideLastPos(const String& Sub, const String& S);
// Zero-terminated texts; nullptr when absent.
const wchar_t* WideStrPos(const wchar_t* Text, const wchar_t* Sub);
// Searching for 0 finds the terminator.
const wchar_t* WideStrScan(const wchar_t* Text, wchar_t Unit);
const wchar_t* WideStrRScan(const wchar_t* Text, wchar_t Unit);
// True when Prefix is nullptr or Text begins with it; false for a nullptr Text.
bool AnsiPrefixMatch(const char* Text, const char* Prefix);
// True when the text of S from the 1-based Index begins with Sub.
bool AnsiContainsAt(const std::string& S, int Index, const std::string& Sub);

// ---------------------------------------------------- buffers and strings

int WideStrLen(const wchar_t* Text);
wchar_t* WideStrEnd(wchar_t* Text);
wchar_t* WideStrCopy(wchar_t* Dest, const wchar_t* Src);
// Copies up to MaxLen units or to Src's terminator, and always terminates Dest.
wchar_t* WideStrLCopy(wchar_t* Dest, const wchar_t* Src, int MaxLen);
wchar_t* WideCopyToBuffer(wchar_t* Dest, const String& S);
wchar_t* WideStrCat(wchar_t* Dest, const wchar_t* Src);
// Right for overlapping ranges either way.
void WideStrMove(const wchar_t* Src, wchar_t* Dest, int Count);
// Nothing for a negative Count.
void WideFillUnits(wchar_t* Dest, int Count, wchar_t Unit);
String WideFromBuffer(const wchar_t* Text);
// A nullptr Buffer gives Length zero units.
void WideSetString(String& S, const wchar_t* Buffer, int Length);
String WideStringOfChar(wchar_t Unit, int Count);
// 1-based, clipped to the string.
String WideCopyRange(const String& S, int Index, int Count);
void WideDelete(String& S, int Index, int Count);
// Removes the range from S and returns it.
String WideCutOut(String& S, int Index, int Count);
