#include "classlib/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Fixed settings so the expectations hold in any locale.
TFormatSettings Us() {
    TFormatSettings S = TFormatSettings::Invariant();
    S.DecimalSeparator = L'.';
    S.ThousandSeparator = L',';
    S.CurrencyString = L"$";
    S.CurrencyFormat = 0;
    return S;
}

TFormatSettings German() {
    TFormatSettings S = Us();
    S.DecimalSeparator = L',';
    S.ThousandSeparator = L'.';
    S.CurrencyString = L"\u20AC";
    S.CurrencyFormat = 3;
    return S;
}

} // namespace

TEST(RtlFormat, Conversions) {
    const TFormatSettings S = Us();
    struct TCase {
        const wchar_t* Fmt;
        const wchar_t* Expected;
    };
    const String Name = L"disk";
    const TCase Cases[] = {
        {L"[%s]%s", L"[12:00:01]Started"},
        {L"%d files", L"-5 files"},
        {L"%5d|%-5d|", L"   -5|-5   |"},
        {L"%.4d", L"-0005"},
        {L"%u", L"4294967291"},
        {L"%x", L"FFFFFFFB"},
        {L"%.8x", L"FFFFFFFB"},
        {L"%s", L"12:00:01"},
    };
    EXPECT_EQ(Format(Cases[0].Fmt, {L"12:00:01", L"Started"}, S), Cases[0].Expected);
    EXPECT_EQ(Format(Cases[1].Fmt, {-5}, S), Cases[1].Expected);
    EXPECT_EQ(Format(Cases[2].Fmt, {-5, -5}, S), Cases[2].Expected);
    EXPECT_EQ(Format(Cases[3].Fmt, {-5}, S), Cases[3].Expected);
    EXPECT_EQ(Format(Cases[4].Fmt, {-5}, S), Cases[4].Expected);
    EXPECT_EQ(Format(Cases[5].Fmt, {-5}, S), Cases[5].Expected);
    EXPECT_EQ(Format(Cases[6].Fmt, {-5}, S), Cases[6].Expected);
    EXPECT_EQ(Format(Cases[7].Fmt, {String(L"12:00:01")}, S), Cases[7].Expected);
    EXPECT_EQ(Format(L"%x", {255}, S), L"FF");
    EXPECT_EQ(Format(L"%X", {INT64_C(-1)}, S), L"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format(L"%d", {INT64_C(9000000000)}, S), L"9000000000");
    EXPECT_EQ(Format(L"%u", {UINT64_C(18446744073709551615)}, S), L"18446744073709551615");
    EXPECT_EQ(Format(L"%d", {UINT64_C(18446744073709551615)}, S), L"18446744073709551615");
    EXPECT_EQ(Format(L"%.2s|%6s|%-6s|", {Name, Name, Name}, S), L"di|  disk|disk  |");
    EXPECT_EQ(Format(L"100%%", {}, S), L"100%");
    EXPECT_EQ(Format(L"%S and %D", {Name, 3}, S), L"disk and 3");
}

TEST(RtlFormat, FloatsFollowTheSettings) {
    EXPECT_EQ(Format(L"%3.2f%%", {12.345}, Us()), L"12.35%");
    EXPECT_EQ(Format(L"%3.2f%%", {12.345}, German()), L"12,35%");
    EXPECT_EQ(Format(L"%f", {2}, Us()), L"2.00");
    EXPECT_EQ(Format(L"%.0f", {2.5}, Us()), L"2");
    EXPECT_EQ(Format(L"%.1f", {-0.04}, Us()), L"0.0");
    EXPECT_EQ(Format(L"%n", {1234567.891}, Us()), L"1,234,567.89");
    EXPECT_EQ(Format(L"%.0n", {-1234567.0}, German()), L"-1.234.567");
    EXPECT_EQ(Format(L"%g", {0.5}, Us()), L"0.5");
    EXPECT_EQ(Format(L"%g", {1e20}, Us()), L"1E20");
    EXPECT_EQ(Format(L"%g", {100.0}, Us()), L"100");
    EXPECT_EQ(Format(L"%.3g", {3.14159}, German()), L"3,14");
}

TEST(RtlFormat, IndexSelectsTheArgumentAndLaterOnesFollowIt) {
    const TFormatSettings S = Us();
    EXPECT_EQ(Format(L"%1:s %0:s", {L"a", L"b"}, S), L"b a");
    EXPECT_EQ(Format(L"%1:s %s %0:s", {L"a", L"b", L"c"}, S), L"b c a");
    EXPECT_EQ(Format(L"%0:s%0:s", {L"x"}, S), L"xx");
}

// Language texts are untrusted: a placeholder that has no fitting argument is
// kept as written, and no argument is read that was not passed.
TEST(RtlFormat, MissingOrMismatchedArgumentsLeaveThePlaceholder) {
    const TFormatSettings S = Us();
    struct TCase {
        const wchar_t* Fmt;
        const wchar_t* Expected;
    };
    const TCase NoArgs[] = {
        {L"%s", L"%s"},
        {L"%d of %d", L"%d of %d"},
        {L"%5.2f", L"%5.2f"},
        {L"%1:s", L"%1:s"},
        {L"50% off", L"50% off"},
        {L"100%", L"100%"},
        {L"%", L"%"},
        {L"%z %q", L"%z %q"},
        {L"%-", L"%-"},
        {L"%.", L"%."},
        {L"%5", L"%5"},
        {L"%.s", L"%.s"},
        {L"%p %e %m", L"%p %e %m"},
    };
    for (const TCase& C : NoArgs)
        EXPECT_EQ(Format(C.Fmt, {}, S), C.Expected) << C.Fmt;

    EXPECT_EQ(Format(L"%d items in %s", {L"seven", L"box"}, S), L"%d items in box");
    EXPECT_EQ(Format(L"%s has %d", {3, 4}, S), L"%s has 4");
    EXPECT_EQ(Format(L"%x", {1.5}, S), L"%x");
    EXPECT_EQ(Format(L"%f", {L"1.5"}, S), L"%f");
    EXPECT_EQ(Format(L"%s %s %s", {L"one"}, S), L"one %s %s");
    EXPECT_EQ(Format(L"%2:s %s", {L"a", L"b"}, S), L"%2:s %s");
    EXPECT_EQ(Format(L"%\u0131", {1}, S), L"%\u0131");
}

TEST(RtlFormat, HugeWidthsAreNotHonoured) {
    const TFormatSettings S = Us();
    EXPECT_EQ(Format(L"%999999999s", {L"x"}, S), L"%999999999s");
    EXPECT_EQ(Format(L"%.99999999d", {1}, S), L"%.99999999d");
    EXPECT_EQ(Format(L"%99999999999999999999:s", {L"x"}, S), L"%99999999999999999999:s");
    EXPECT_EQ(Format(L"%9999s", {L"x"}, S).size(), 9999u);
}

TEST(RtlFloat, FloatToStrF) {
    const TFormatSettings S = Us();
    struct TCase {
        double Value;
        TFloatFormat Format;
        int Precision, Digits;
        const wchar_t* Expected;
    };
    const TCase Cases[] = {
        {1234.5678, ffFixed, 15, 2, L"1234.57"},
        {1234.5678, ffNumber, 15, 2, L"1,234.57"},
        {1234.5678, ffCurrency, 15, 2, L"$1,234.57"},
        {-1234.5, ffCurrency, 15, 2, L"-$1,234.50"},
        {1234.5678, ffExponent, 4, 2, L"1.235E+03"},
        {0.0000012, ffGeneral, 15, 0, L"1.2E-6"},
        {0.000012, ffGeneral, 15, 0, L"0.000012"},
        {0.0001, ffGeneral, 15, 0, L"0.0001"},
        {123456789012345.0, ffGeneral, 15, 0, L"123456789012345"},
        {1e15, ffGeneral, 15, 0, L"1E15"},
        {-2.5, ffGeneral, 15, 0, L"-2.5"},
        {0.1 + 0.2, ffGeneral, 15, 0, L"0.3"},
        {1e30, ffFixed, 15, 2, L"1.00000000000000E+30"},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(FloatToStrF(C.Value, C.Format, C.Precision, C.Digits, S), C.Expected) << C.Value;
    EXPECT_EQ(FloatToStrF(12.5, ffCurrency, 15, 2, German()), L"12,50 \u20AC");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity(), S), L"INF");
    EXPECT_EQ(FloatToStr(std::nan(""), S), L"NAN");
    EXPECT_EQ(FloatToStr(0.5, German()), L"0,5");
}

TEST(RtlFloat, StrToFloat) {
    double V = 0;
    EXPECT_TRUE(TryStrToFloat(L" 1.5 ", V, Us()));
    EXPECT_DOUBLE_EQ(V, 1.5);
    EXPECT_TRUE(TryStrToFloat(L"-2,25", V, German()));
    EXPECT_DOUBLE_EQ(V, -2.25);
    EXPECT_TRUE(TryStrToFloat(L"+1E3", V, Us()));
    EXPECT_DOUBLE_EQ(V, 1000);
    EXPECT_FALSE(TryStrToFloat(L"1,5", V, Us()));
    EXPECT_FALSE(TryStrToFloat(L"1.5.2", V, Us()));
    EXPECT_FALSE(TryStrToFloat(L"", V, Us()));
    EXPECT_FALSE(TryStrToFloat(L"abc", V, Us()));
    EXPECT_THROW(StrToFloat(L"x", Us()), EConvertError);
    // A value written by FloatToStr reads back unchanged.
    const double Samples[] = {0.1, 1.0 / 3, 123456.789, -1e-7, 5e100};
    for (const double D : Samples) {
        ASSERT_TRUE(TryStrToFloat(FloatToStr(D, German()), V, German()));
        EXPECT_NEAR(V, D, std::fabs(D) * 1e-14);
    }
}

TEST(RtlFormatSettings, UserLocaleIsReadOnce) {
    TFormatSettings& S = FormatSettings();
    EXPECT_EQ(&S, &FormatSettings());
    EXPECT_NE(S.DecimalSeparator, 0);
    EXPECT_FALSE(S.ShortDateFormat.empty());
    EXPECT_FALSE(S.LongTimeFormat.empty());
    EXPECT_FALSE(S.LongMonthNames[11].empty());
}
