#include "classlib/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TFormatSettings UsLocale() {
    TFormatSettings S = TFormatSettings::Invariant();
    S.DateSeparator = L'/';
    S.ShortDateFormat = L"m/d/yyyy";
    S.LongTimeFormat = L"h:nn:ss ampm";
    S.ShortTimeFormat = L"h:nn ampm";
    return S;
}

TFormatSettings GermanLocale() {
    TFormatSettings S = TFormatSettings::Invariant();
    S.DateSeparator = L'.';
    S.ShortDateFormat = L"dd.mm.yyyy";
    S.LongTimeFormat = L"hh:nn:ss";
    S.DecimalSeparator = L',';
    return S;
}

TDateTime At(int Y, int M, int D, int H = 0, int N = 0, int S = 0, int Ms = 0) {
    return EncodeDate(Y, M, D) + EncodeTime(H, N, S, Ms);
}

} // namespace

TEST(RtlDateTime, EncodeAndDecode) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);

    const int Dates[][3] = {{1, 1, 1},     {1600, 2, 29}, {1899, 12, 29}, {1970, 1, 1},
                            {2000, 2, 29}, {2038, 1, 19}, {9999, 12, 31}};
    for (const auto& D : Dates) {
        int Y, M, Day;
        DecodeDate(EncodeDate(D[0], D[1], D[2]), Y, M, Day);
        EXPECT_EQ(Y, D[0]);
        EXPECT_EQ(M, D[1]);
        EXPECT_EQ(Day, D[2]);
    }
    int H, N, S, Ms;
    DecodeTime(At(2024, 5, 6, 23, 59, 59, 999), H, N, S, Ms);
    EXPECT_EQ(H * 10000000 + N * 100000 + S * 1000 + Ms, 235959999);
    // A time just below midnight does not round up into an impossible 24:00.
    DecodeTime(EncodeDate(2024, 5, 6) + 0.99999999999, H, N, S, Ms);
    int Y, M, D;
    DecodeDate(EncodeDate(2024, 5, 6) + 0.99999999999, Y, M, D);
    EXPECT_LT(H, 24);
    EXPECT_EQ(D * 100 + H, 700);
}

TEST(RtlDateTime, DayOfWeekStartsOnSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1); // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 9)), 7); // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);
}

TEST(RtlDateTime, IncrementsKeepSecondsExact) {
    const TDateTime T = At(2024, 1, 31, 10, 20, 30);
    EXPECT_EQ(IncMonth(T), At(2024, 2, 29, 10, 20, 30));
    EXPECT_EQ(IncMonth(T, 13), At(2025, 2, 28, 10, 20, 30));
    EXPECT_EQ(IncMonth(T, -2), At(2023, 11, 30, 10, 20, 30));
    EXPECT_EQ(IncDay(T, 1), At(2024, 2, 1, 10, 20, 30));
    EXPECT_EQ(IncHour(T, 14), At(2024, 2, 1, 0, 20, 30));
    EXPECT_EQ(IncMinute(T, -21), At(2024, 1, 31, 9, 59, 30));
    EXPECT_EQ(IncSecond(T, 30), At(2024, 1, 31, 10, 21, 0));
    // Many small steps add up without drift.
    TDateTime U = At(2024, 1, 1);
    for (int I = 0; I < 86400; ++I)
        U = IncSecond(U);
    EXPECT_EQ(U, At(2024, 1, 2));
}

TEST(RtlDateTime, FormatDateTime) {
    const TFormatSettings S = UsLocale();
    const TDateTime T = At(2024, 3, 5, 14, 7, 9, 45);
    struct TCase {
        const wchar_t* Fmt;
        const wchar_t* Expected;
    };
    const TCase Cases[] = {
        {L"yyyy-mm-dd hh:nn:ss.zzz", L"2024-03-05 14:07:09.045"},
        {L"yy m d h n s z", L"24 3 5 14 7 9 45"},
        {L"hh:nn:ss", L"14:07:09"},
        {L"h:nn ampm", L"2:07 PM"},
        {L"hh:mm", L"14:07"},
        {L"mmm mmmm ddd dddd", L"Mar March Tue Tuesday"},
        {L"'at' hh \"o'clock\"", L"at 14 o'clock"},
        {L"dd/mm/yyyy", L"05/03/2024"},
        {L"c", L"3/5/2024 2:07:09 PM"},
        {L"ddddd", L"3/5/2024"},
        {L"tt", L"2:07:09 PM"},
        {L"am/pm A/P", L"pm P"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(FormatDateTime(C.Fmt, T, S), C.Expected) << C.Fmt;
    EXPECT_EQ(FormatDateTime(L"h ampm", At(2024, 1, 1, 0, 0), S), L"12 AM");
    EXPECT_EQ(FormatDateTime(L"h ampm", At(2024, 1, 1, 12, 0), S), L"12 PM");
    EXPECT_EQ(FormatDateTime(L"dd.mm.yyyy", T, GermanLocale()), L"05.03.2024");
    // A settings format that names itself does not recurse without end.
    TFormatSettings Loop = S;
    Loop.ShortDateFormat = L"ddddd";
    EXPECT_NO_THROW(FormatDateTime(L"c", T, Loop));
}

TEST(RtlDateTime, DateTimeToStrLeavesOutMidnight) {
    const TFormatSettings S = UsLocale();
    EXPECT_EQ(DateTimeToStr(At(2024, 3, 5), S), L"3/5/2024");
    EXPECT_EQ(DateTimeToStr(At(2024, 3, 5, 9, 0, 1), S), L"3/5/2024 9:00:01 AM");
    EXPECT_EQ(DateToStr(At(2024, 3, 5, 9, 0, 1), S), L"3/5/2024");
    EXPECT_EQ(TimeToStr(At(2024, 3, 5, 21, 0, 1), S), L"9:00:01 PM");
}

TEST(RtlDateTime, TextRoundTripInSeveralLocales) {
    TFormatSettings Named = GermanLocale();
    Named.ShortDateFormat = L"d mmm yyyy";
    const TFormatSettings Locales[] = {UsLocale(), GermanLocale(), TFormatSettings::Invariant(),
                                       Named, FormatSettings()};
    const TDateTime Samples[] = {At(2024, 12, 31, 23, 59, 59), At(2001, 1, 2, 0, 0, 0),
                                 At(1999, 7, 4, 12, 30, 0), At(2024, 2, 29, 0, 0, 1)};
    for (const TFormatSettings& S : Locales) {
        for (const TDateTime T : Samples) {
            const String Text = DateTimeToStr(T, S);
            TDateTime Back = -1;
            ASSERT_TRUE(TryStrToDateTime(Text, Back, S)) << Text;
            EXPECT_EQ(Back, T) << Text;
        }
    }
}

TEST(RtlDateTime, ParsingRejectsNonsense) {
    const TFormatSettings S = UsLocale();
    TDateTime V = 0;
    const wchar_t* const Bad[] = {L"",
                                  L"hello",
                                  L"2/30/2024",
                                  L"13/1/2024",
                                  L"1/1/2024 25:00",
                                  L"1/1/2024 10:61",
                                  L"1/2/3/4",
                                  L"1/1/2024 13:00 PM",
                                  L"1/1/12345"};
    for (const wchar_t* B : Bad)
        EXPECT_FALSE(TryStrToDateTime(B, V, S)) << B;
    EXPECT_THROW(StrToDateTime(L"garbage", S), EConvertError);

    ASSERT_TRUE(TryStrToDateTime(L" 3/5/2024  ", V, S));
    EXPECT_EQ(V, At(2024, 3, 5));
    ASSERT_TRUE(TryStrToDateTime(L"3/5/2024 14:07", V, S));
    EXPECT_EQ(V, At(2024, 3, 5, 14, 7));
    ASSERT_TRUE(TryStrToDateTime(L"3/5/24 2:07:09.5 pm", V, S));
    EXPECT_EQ(V, At(2024, 3, 5, 14, 7, 9, 5));
    ASSERT_TRUE(TryStrToDate(L"5.3.2024", V, GermanLocale()));
    EXPECT_EQ(V, EncodeDate(2024, 3, 5));
    ASSERT_TRUE(TryStrToTime(L"12:00 AM", V, S));
    EXPECT_EQ(V, 0.0);
}

TEST(RtlDateTime, FileTimeConversionIsDirectAndKeepsSeconds) {
    // 2024-03-05 14:07:09.123 UTC, an odd second that a DOS date would lose.
    SYSTEMTIME Utc{2024, 3, 2, 5, 14, 7, 9, 123};
    FILETIME Ft;
    ASSERT_TRUE(SystemTimeToFileTime(&Utc, &Ft));
    SYSTEMTIME Local;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &Utc, &Local));

    const TDateTime T = FileTimeToDateTime(Ft);
    EXPECT_EQ(T, SystemTimeToDateTime(Local));
    const FILETIME Back = DateTimeToFileTime(T);
    EXPECT_EQ(Back.dwHighDateTime, Ft.dwHighDateTime);
    EXPECT_EQ(Back.dwLowDateTime, Ft.dwLowDateTime);

    // 1970 and dates before 1980 convert too.
    SYSTEMTIME Epoch{1970, 1, 4, 1, 0, 0, 1, 0};
    ASSERT_TRUE(SystemTimeToFileTime(&Epoch, &Ft));
    EXPECT_GT(FileTimeToDateTime(Ft), EncodeDate(1969, 12, 30));
    // A FILETIME no calendar can show gives 0.
    const FILETIME Bad{0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_EQ(FileTimeToDateTime(Bad), 0.0);
}

TEST(RtlDateTime, SystemTimeAndDosDate) {
    const SYSTEMTIME St = DateTimeToSystemTime(At(2024, 3, 5, 14, 7, 9, 45));
    EXPECT_EQ(St.wYear, 2024);
    EXPECT_EQ(St.wMonth, 3);
    EXPECT_EQ(St.wDay, 5);
    EXPECT_EQ(St.wDayOfWeek, 2);
    EXPECT_EQ(St.wHour, 14);
    EXPECT_EQ(St.wMinute, 7);
    EXPECT_EQ(St.wSecond, 9);
    EXPECT_EQ(St.wMilliseconds, 45);
    EXPECT_EQ(SystemTimeToDateTime(St), At(2024, 3, 5, 14, 7, 9, 45));

    // 2024-03-05 14:07:08 as a DOS date and time.
    const int Dos = ((2024 - 1980) << 25) | (3 << 21) | (5 << 16) | (14 << 11) | (7 << 5) | 4;
    EXPECT_EQ(FileDateToDateTime(Dos), At(2024, 3, 5, 14, 7, 8));
    EXPECT_EQ(FileDateToDateTime(0), 0.0);
}

TEST(RtlDateTime, NowIsToday) {
    const TDateTime N = Now();
    EXPECT_EQ(Date(), std::floor(N));
    EXPECT_GE(Time(), 0.0);
    EXPECT_LT(Time(), 1.0);
    EXPECT_GT(N, EncodeDate(2020, 1, 1));
}
