#include "treelist/CvUxTheme.h"

#include "treelist/CvTools.h"

#include <algorithm>
#include <utility>

const std::array<const char*, UxThemeEntryCount> UxThemeEntryNames = {
    "IsThemeActive",
    "EnableTheming",
    "OpenThemeData",
    "CloseThemeData",
    "DrawThemeParentBackground",
    "DrawThemeBackground",
    "DrawThemeText",
    "GetThemeBackgroundContentRect",
    "GetThemeBackgroundExtent",
    "GetThemePartSize",
    "GetThemeTextExtent",
    "GetThemeTextMetrics",
    "GetThemeBackgroundRegion",
    "HitTestThemeBackground",
    "DrawThemeEdge",
    "DrawThemeIcon",
    "IsThemePartDefined",
    "IsThemeBackgroundPartiallyTransparent",
    "GetThemeColor",
    "GetThemeMetric",
    "GetThemeString",
    "GetThemeBool",
    "GetThemeInt",
    "GetThemeEnumValue",
    "GetThemeFileName",
    "GetThemePosition",
    "GetThemeFont",
    "GetThemeRect",
    "GetThemeMargins",
    "GetThemeIntList",
    "GetThemePropertyOrigin",
    "SetWindowTheme",
    "GetThemeSysColor",
    "GetThemeSysColorBrush",
    "GetThemeSysSize",
    "GetThemeSysBool",
    "GetThemeSysFont",
    "GetThemeSysString",
    "GetThemeSysInt",
    "IsAppThemed",
    "GetWindowTheme",
    "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled",
    "GetThemeAppProperties",
    "SetThemeAppProperties",
    "GetThemeDocumentationProperty",
    "GetCurrentThemeName",
};

namespace {

enum TEntry {
    eOpenThemeData = 2,
    eCloseThemeData = 3,
    eDrawThemeBackground = 5,
    eGetThemePartSize = 9,
    eDrawThemeEdge = 14
};

template <typename TFunction> TFunction Entry(const TUxThemeApi& Api, TEntry Which) {
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(Api.Entries[Which]));
}

} // namespace

int TUxThemeApi::BoundCount() const {
    return static_cast<int>(
        std::count_if(Entries.begin(), Entries.end(), [](FARPROC P) { return P != nullptr; }));
}

HTHEME TUxThemeApi::OpenThemeData(HWND Wnd, const wchar_t* ClassList) const {
    const auto Call = Entry<HTHEME(WINAPI*)(HWND, LPCWSTR)>(*this, eOpenThemeData);
    return Call != nullptr ? Call(Wnd, ClassList) : nullptr;
}

HRESULT TUxThemeApi::CloseThemeData(HTHEME Theme) const {
    const auto Call = Entry<HRESULT(WINAPI*)(HTHEME)>(*this, eCloseThemeData);
    return Call != nullptr ? Call(Theme) : E_NOTIMPL;
}

HRESULT TUxThemeApi::DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId,
                                         const RECT* Rect, const RECT* ClipRect) const {
    const auto Call = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*)>(
        *this, eDrawThemeBackground);
    return Call != nullptr ? Call(Theme, DC, PartId, StateId, Rect, ClipRect) : E_NOTIMPL;
}

HRESULT TUxThemeApi::DrawThemeEdge(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                                   UINT Edge, UINT Flags, RECT* ContentRect) const {
    const auto Call =
        Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*)>(
            *this, eDrawThemeEdge);
    return Call != nullptr ? Call(Theme, DC, PartId, StateId, Rect, Edge, Flags, ContentRect)
                           : E_NOTIMPL;
}

bool ThemeLibraryWanted(bool WinNT, DWORD Major, DWORD Minor) {
    return WinNT && (Major > 5 || (Major == 5 && Minor >= 1));
}

TUxThemeApi LoadUxTheme(bool Wanted) {
    TUxThemeApi Api;
    if (!Wanted)
        return Api;
    // Kept loaded until the process ends.
    const HMODULE Library = LoadLibraryW(L"uxtheme.dll");
    if (Library == nullptr)
        return Api;
    Api.Available = true;
    for (int I = 0; I < UxThemeEntryCount; ++I)
        Api.Entries[static_cast<std::size_t>(I)] =
            GetProcAddress(Library, UxThemeEntryNames[static_cast<std::size_t>(I)]);
    return Api;
}

namespace {
const TUxThemeApi* GStandIn = nullptr;
} // namespace

TUxThemeScope::TUxThemeScope(const TUxThemeApi& Api)
    : FApi(Api), FPrevious(std::exchange(GStandIn, &FApi)) {}

TUxThemeScope::~TUxThemeScope() {
    GStandIn = FPrevious;
}

const TUxThemeApi& UxTheme() {
    if (GStandIn)
        return *GStandIn;
    static const TUxThemeApi Api = [] {
        OSVERSIONINFOA Info{};
        Info.dwOSVersionInfoSize = sizeof Info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        const bool Known = GetVersionExA(&Info) != 0;
#pragma GCC diagnostic pop
        return LoadUxTheme(Known &&
                           ThemeLibraryWanted(IsWinNT(), Info.dwMajorVersion, Info.dwMinorVersion));
    }();
    return Api;
}

HRESULT DrawThemedClassBackground(const String& ClassName, HDC DC, int PartId, int StateId,
                                  const TRect& Rect, const TRect& ClipRect) {
    const TUxThemeApi& Api = UxTheme();
    if (!Api.Available)
        return E_NOTIMPL;
    const HTHEME Theme = Api.OpenThemeData(nullptr, ClassName.c_str());
    if (Theme == nullptr)
        return E_NOTIMPL;
    const RECT R = Rect;
    const RECT Clip = ClipRect;
    const HRESULT Result = Api.DrawThemeBackground(Theme, DC, PartId, StateId, &R, &Clip);
    Api.CloseThemeData(Theme);
    return Result;
}

HRESULT TUxThemeApi::GetThemePartSize(HTHEME Theme, HDC DC, int PartId, int StateId,
                                      const RECT* Rect, int SizeKind, SIZE* Size) const {
    const auto Call = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, int, SIZE*)>(
        *this, eGetThemePartSize);
    return Call != nullptr ? Call(Theme, DC, PartId, StateId, Rect, SizeKind, Size) : E_NOTIMPL;
}

bool ThemePartSize(HTHEME Theme, int PartId, int StateId, SIZE& Size) {
    constexpr int TrueSize = 1; // TS_TRUE
    const TUxThemeApi& Api = UxTheme();
    return Api.Available && Theme != nullptr &&
           SUCCEEDED(
               Api.GetThemePartSize(Theme, nullptr, PartId, StateId, nullptr, TrueSize, &Size)) &&
           Size.cx > 0 && Size.cy > 0;
}

bool ThemedClassPartSize(const String& ClassName, int PartId, int StateId, SIZE& Size) {
    const TUxThemeApi& Api = UxTheme();
    if (!Api.Available)
        return false;
    const HTHEME Theme = Api.OpenThemeData(nullptr, ClassName.c_str());
    if (Theme == nullptr)
        return false;
    const bool Known = ThemePartSize(Theme, PartId, StateId, Size);
    Api.CloseThemeData(Theme);
    return Known;
}

HRESULT DrawThemePart(HTHEME Theme, HDC DC, int PartId, int StateId, const TRect& R) {
    const TUxThemeApi& Api = UxTheme();
    if (!Api.Available || Theme == nullptr)
        return E_NOTIMPL;
    const RECT Area = R;
    return Api.DrawThemeBackground(Theme, DC, PartId, StateId, &Area, &Area);
}
