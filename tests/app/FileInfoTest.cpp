#include "app/FileInfo.h"

#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

// Pins the separator for the examples and puts the program's back afterwards.
class TDecimalSeparator {
public:
    explicit TDecimalSeparator(wchar_t Separator) : FSaved(FormatSettings().DecimalSeparator) {
        FormatSettings().DecimalSeparator = Separator;
    }
    ~TDecimalSeparator() { FormatSettings().DecimalSeparator = FSaved; }

private:
    wchar_t FSaved;
};

class TBytesWord {
public:
    explicit TBytesWord(const String& Word) : FSaved(BytesUnitText) { BytesUnitText = Word; }
    ~TBytesWord() { BytesUnitText = FSaved; }

private:
    String FSaved;
};

TEST(FileInfoSizeText, Table) {
    const TDecimalSeparator Comma(L',');
    const TBytesWord Word(L"Bytes");
    const struct {
        std::uint64_t Size;
        const wchar_t* Expected;
    } Cases[] = {
        {0, L"0 Bytes"},          {1023, L"1023 Bytes"},    {1024, L"1 Kb"},
        {1025, L"1 Kb"},          {1126, L"1,09 Kb"},       {1536, L"1,50 Kb"},
        {1048575, L"1023,99 Kb"}, {1048576, L"1 Mb"},       {1073741823, L"1023,99 Mb"},
        {1073741824, L"1 Gb"},    {1610612736, L"1,50 Gb"}, {4294967295u, L"3,99 Gb"},
        {6442450944u, L"6 Gb"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(FormatFileSize(Case.Size), Case.Expected) << Case.Size;
}

TEST(FileInfoSizeText, SixtyFourBitTable) {
    const TDecimalSeparator Comma(L',');
    const struct {
        std::int64_t Size;
        const wchar_t* Expected;
    } Cases[] = {
        {-5, L"-5 bytes"},
        {0, L"0 bytes"},
        {1023, L"1023 bytes"},
        {1536, L"1,50 Kb"},
        {4294967295LL, L"3,99 Gb"},
        {5LL << 30, L"5 Gb"},
        {(1LL << 40) + (1LL << 29), L"1024,50 Gb"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(FormatFileSize64(Case.Size), Case.Expected) << Case.Size;
}

TEST(FileInfoSizeText, UsesTheLocalesSeparatorAndAnEmptyWordBeforeItIsSet) {
    wchar_t Separator[8] = {};
    ASSERT_GT(GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, Separator, 8), 0);
    EXPECT_EQ(FormatFileSize64(1536), String(L"1") + Separator[0] + L"50 Kb");
    const TBytesWord Unset(L"");
    EXPECT_EQ(FormatFileSize(12), L"12 ");
}

// The UTC file time whose local file time is that wall-clock time.
FILETIME FromLocalFileTime(WORD Year, WORD Month, WORD Day, WORD Hour, WORD Minute, WORD Second,
                           WORD Milli) {
    const SYSTEMTIME Local = LocalTime(Year, Month, Day, Hour, Minute, Second, Milli);
    FILETIME LocalFile{}, Result{};
    EXPECT_TRUE(SystemTimeToFileTime(&Local, &LocalFile));
    EXPECT_TRUE(LocalFileTimeToFileTime(&LocalFile, &Result));
    return Result;
}

TEST(FileInfoFileTime, LocalTimeHasTheDosRangeAndTwoSecondSteps) {
    const struct {
        WORD Year, Month, Day, Hour, Minute, Second, Milli;
        int ShownSecond; // -1: the time gives 0
    } Cases[] = {
        {2021, 6, 15, 13, 0, 1, 0, 0},      // an odd second is dropped
        {2004, 1, 31, 23, 59, 59, 500, 58}, // and so are the milliseconds
        {1980, 1, 1, 0, 0, 0, 0, 0},        // the first DOS day
        {2107, 12, 31, 23, 59, 58, 0, 58},  // the last
        {1979, 12, 31, 23, 59, 58, 0, -1},  // before the DOS range
        {1970, 1, 1, 12, 0, 0, 0, -1},      {2108, 1, 1, 0, 0, 0, 0, -1}, // after it
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Year);
        const TDateTime Value = FileTimeToLocalDateTime(
            FromLocalFileTime(C.Year, C.Month, C.Day, C.Hour, C.Minute, C.Second, C.Milli));
        if (C.ShownSecond < 0) {
            EXPECT_EQ(Value, 0.0);
            continue;
        }
        int Year, Month, Day, Hour, Minute, Second, Milli;
        DecodeDate(Value, Year, Month, Day);
        DecodeTime(Value, Hour, Minute, Second, Milli);
        EXPECT_EQ(Year, C.Year);
        EXPECT_EQ(Month, C.Month);
        EXPECT_EQ(Day, C.Day);
        EXPECT_EQ(Hour, C.Hour);
        EXPECT_EQ(Minute, C.Minute);
        EXPECT_EQ(Second, C.ShownSecond);
        EXPECT_EQ(Milli, 0);
    }
}

TEST(FileInfoFileTime, UnsetOrUnconvertibleTimeGivesZero) {
    EXPECT_EQ(FileTimeToLocalDateTime(FILETIME{0, 0}), 0.0);
    EXPECT_EQ(FileTimeToLocalDateTime(FILETIME{0xFFFFFFFF, 0xFFFFFFFF}), 0.0);
}

TEST(FileInfoShell, TypeNameOfFilesAndOfNothing) {
    TTempFolder Tree;
    Tree.AddFile(L"notes.txt", "n");
    String TypeName = L"stale";
    EXPECT_GE(GetFileTypeInfo(Tree.Path() + L"notes.txt", TypeName), 0);
    EXPECT_FALSE(TypeName.empty());
    EXPECT_GE(GetFileTypeInfo(Tree.Path(), TypeName), 0);
    EXPECT_FALSE(TypeName.empty());

    TypeName = L"stale";
    EXPECT_EQ(GetFileTypeInfo(Tree.Path() + L"missing\\none", TypeName), 0);
    EXPECT_EQ(TypeName, L"");
}

TEST(FileInfoShell, PropertiesOfAVanishedFileShowNothing) {
    const TOleSession Ole;
    TTempFolder Tree;
    EXPECT_FALSE(ShowFileProperties(Tree.Path() + L"deleted.txt", nullptr));
    EXPECT_FALSE(ShowFileProperties(Tree.Path() + L"missing\\deleted.txt", nullptr));
    EXPECT_FALSE(InvokeShellItemMenu(Tree.Path() + L"*.none", nullptr, nullptr, 0, smProperties,
                                     String(), nullptr, POINT{0, 0}, 1));
    EXPECT_FALSE(InvokeShellItemMenu(Tree.Path() + L"gone.txt", nullptr, nullptr, 0, smNamedVerb,
                                     L"open", nullptr, POINT{0, 0}, 1));
}

} // namespace
