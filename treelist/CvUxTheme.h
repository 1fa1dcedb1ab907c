// The visual-styles library, bound at run time so that the programs also start where it is
// missing. Only Windows NT 5.1 and later load it.
#pragma once

#include "classlib/gui/Graphics.h"

#include <array>

using HTHEME = HANDLE;

// The library's entry points, in the order they are bound.
constexpr int UxThemeEntryCount = 47;
extern const std::array<const char*, UxThemeEntryCount> UxThemeEntryNames;

struct TUxThemeApi {
    bool Available = false; // the library was loaded
    std::array<FARPROC, UxThemeEntryCount> Entries{};

    int BoundCount() const;
    // The entries the controls call; nullptr when the library lacks them.
    HTHEME OpenThemeData(HWND Wnd, const wchar_t* ClassList) const;
    HRESULT CloseThemeData(HTHEME Theme) const;
    HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                                const RECT* ClipRect) const;
    HRESULT DrawThemeEdge(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                          UINT Edge, UINT Flags, RECT* ContentRect) const;
    HRESULT GetThemePartSize(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                             int SizeKind, SIZE* Size) const;
};

// Whether this platform gets the library: NT with version 5.1 or later.
bool ThemeLibraryWanted(bool WinNT, DWORD Major, DWORD Minor);
// Loads and binds the library when Wanted.
TUxThemeApi LoadUxTheme(bool Wanted);
// The program's binding, made on first use from the running system's version.
const TUxThemeApi& UxTheme();
inline bool ThemesAvailable() {
    return UxTheme().Available;
}

// Makes UxTheme() answer Api while it lives: how tests play another system or a fake library.
class TUxThemeScope {
public:
    explicit TUxThemeScope(const TUxThemeApi& Api);
    ~TUxThemeScope();
    TUxThemeScope(const TUxThemeScope&) = delete;
    TUxThemeScope& operator=(const TUxThemeScope&) = delete;

private:
    TUxThemeApi FApi;
    const TUxThemeApi* FPrevious;
};

// Draws the background of a part of a theme class with no window. E_NOTIMPL when no theme of
// that class opens.
HRESULT DrawThemedClassBackground(const String& ClassName, HDC DC, int PartId, int StateId,
                                  const TRect& Rect, const TRect& ClipRect);

// Draws a part of an open theme into R; E_NOTIMPL without a theme or library.
HRESULT DrawThemePart(HTHEME Theme, HDC DC, int PartId, int StateId, const TRect& R);

// The true size of a part of an open theme, or of a theme class opened for the question; false
// without a theme or library, or when the theme does not know it.
bool ThemePartSize(HTHEME Theme, int PartId, int StateId, SIZE& Size);
bool ThemedClassPartSize(const String& ClassName, int PartId, int StateId, SIZE& Size);
