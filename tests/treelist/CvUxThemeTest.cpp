#include "treelist/CvUxTheme.h"

#include "tests/treelist/DibSurface.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CvUxTheme, LoadsOnlyFromWindowsXPOn) {
    struct TCase {
        bool WinNT;
        DWORD Major, Minor;
        bool Wanted;
    };
    const TCase Cases[] = {
        {true, 5, 0, false},   // Windows 2000
        {false, 4, 10, false}, // Windows 98
        {true, 5, 1, true},    {true, 5, 2, true}, {true, 6, 0, true}, {true, 10, 0, true},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(ThemeLibraryWanted(Case.WinNT, Case.Major, Case.Minor), Case.Wanted)
            << Case.Major << "." << Case.Minor;

    const TUxThemeApi Off = LoadUxTheme(false);
    EXPECT_FALSE(Off.Available);
    EXPECT_EQ(Off.BoundCount(), 0);
    EXPECT_EQ(Off.OpenThemeData(nullptr, L"BUTTON"), nullptr);
}

TEST(CvUxTheme, BindsTheLibraryByName) {
    ASSERT_EQ(UxThemeEntryNames.size(), 47u);
    EXPECT_STREQ(UxThemeEntryNames.front(), "IsThemeActive");
    EXPECT_STREQ(UxThemeEntryNames[14], "DrawThemeEdge");
    EXPECT_STREQ(UxThemeEntryNames.back(), "GetCurrentThemeName");

    const TUxThemeApi& Api = UxTheme();
    ASSERT_TRUE(Api.Available); // this system is NT 5.1 or later and has the library
    EXPECT_GE(Api.BoundCount(), 8);
}

TEST(CvUxTheme, UnknownClassIsNotImplemented) {
    TDibSurface D(20, 20);
    EXPECT_EQ(DrawThemedClassBackground(L"NoSuchThemeClass", D.DC(), 1, 1, TRect(0, 0, 20, 20),
                                        TRect(0, 0, 20, 20)),
              E_NOTIMPL);
    EXPECT_EQ(D.Count(clWhite), 400);
}
