#include "treelist/CvXPThemedControl.h"

#include "classlib/gui/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A stand-in visual-styles library that counts what the control asks of it.
struct TFakeThemeLibrary {
    int Opens = 0;
    int Closes = 0;
    std::wstring OpenedClass;
    HWND OpenedFor = nullptr;
    int Edges = 0;
    RECT EdgeRect{};
    UINT Edge = 0;
    UINT EdgeFlags = 0;
    int Backgrounds = 0;
    RECT BackgroundRect{};
};
TFakeThemeLibrary* Fake = nullptr;

HTHEME WINAPI FakeOpen(HWND Wnd, LPCWSTR ClassList) {
    ++Fake->Opens;
    Fake->OpenedClass = ClassList;
    Fake->OpenedFor = Wnd;
    return reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x1000 + Fake->Opens));
}
HRESULT WINAPI FakeClose(HTHEME) {
    ++Fake->Closes;
    return S_OK;
}
HRESULT WINAPI FakeBackground(HTHEME, HDC, int, int, const RECT* Rect, const RECT*) {
    ++Fake->Backgrounds;
    Fake->BackgroundRect = *Rect;
    return S_OK;
}
HRESULT WINAPI FakeEdge(HTHEME, HDC, int, int, const RECT* Rect, UINT Edge, UINT Flags,
                        RECT* Content) {
    ++Fake->Edges;
    Fake->EdgeRect = *Rect;
    Fake->Edge = Edge;
    Fake->EdgeFlags = Flags;
    *Content = *Rect;
    InflateRect(Content, -2, -2);
    return S_OK;
}

template <class TFunction> FARPROC Proc(TFunction Function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(Function));
}

class TThemedProbe : public TCvXPThemedControl {
public:
    using TCvXPThemedControl::TCvXPThemedControl;

protected:
    String GetThemedClassName() const override { return L"TREEVIEW"; }
};

class CvXPThemedControl : public ::testing::Test {
protected:
    void SetUp() override {
        Fake = &Library;
        FakeApi.Available = true;
        FakeApi.Entries[2] = Proc(&FakeOpen);
        FakeApi.Entries[3] = Proc(&FakeClose);
        FakeApi.Entries[5] = Proc(&FakeBackground);
        FakeApi.Entries[14] = Proc(&FakeEdge);
        App = std::make_unique<TApplication>();
        Form.reset(NewForm<TForm>(nullptr));
        Form->SetBounds(0, 0, 300, 200);
    }
    void TearDown() override {
        Form.reset();
        App.reset();
        Fake = nullptr;
    }
    std::unique_ptr<TThemedProbe> MakeControl() {
        auto Control = std::make_unique<TThemedProbe>(nullptr);
        Control->SetBounds(10, 10, 120, 90);
        Control->SetParent(Form.get());
        return Control;
    }

    TFakeThemeLibrary Library;
    TUxThemeApi FakeApi;
    std::unique_ptr<TApplication> App;
    std::unique_ptr<TForm> Form;
};

} // namespace

TEST_F(CvXPThemedControl, OlderSystemsPaintTheClassicLook) {
    struct TCase {
        bool WinNT;
        DWORD Major, Minor;
    };
    for (const TCase& Case : {TCase{true, 5, 0}, TCase{false, 4, 10}}) {
        const TUxThemeScope Older(
            LoadUxTheme(ThemeLibraryWanted(Case.WinNT, Case.Major, Case.Minor)));
        EXPECT_FALSE(ThemesAvailable());
        auto Control = MakeControl();
        EXPECT_TRUE(Control->UseXPThemes());
        const HWND Wnd = Control->Handle();
        EXPECT_EQ(Control->Theme(), nullptr);
        EXPECT_FALSE(Control->IsThemeApplied());
        Control->SetUseXPThemes(false);
        Control->SetUseXPThemes(true);
        EXPECT_EQ(Control->Handle(), Wnd); // nothing to re-create for
        EXPECT_EQ(SendMessageW(Wnd, WM_THEMECHANGED, 0, 0), 1);
        EXPECT_EQ(Control->Theme(), nullptr);
    }
    EXPECT_EQ(Library.Opens, 0);
}

TEST_F(CvXPThemedControl, ThemeLivesWithTheWindow) {
    const TUxThemeScope Scope(FakeApi);
    auto Control = MakeControl();
    EXPECT_EQ(Library.Opens, 0); // no window yet
    const HWND First = Control->Handle();
    EXPECT_EQ(Library.Opens, 1);
    EXPECT_EQ(Library.OpenedClass, L"TREEVIEW");
    EXPECT_EQ(Library.OpenedFor, First);
    EXPECT_TRUE(Control->IsThemeApplied());

    // Off: closed and the window made again without one.
    Control->SetUseXPThemes(false);
    EXPECT_EQ(Library.Closes, 1);
    EXPECT_EQ(Control->Theme(), nullptr);
    EXPECT_TRUE(Control->HandleAllocated());
    EXPECT_EQ(Library.Opens, 1);
    EXPECT_EQ(SendMessageW(Control->Handle(), WM_THEMECHANGED, 0, 0), 1);
    EXPECT_EQ(Library.Opens, 1);

    // On: open for the new window, whatever the old one held.
    Control->SetUseXPThemes(true);
    EXPECT_TRUE(Control->IsThemeApplied());
    EXPECT_EQ(Library.OpenedFor, Control->Handle());
    EXPECT_EQ(Library.Opens - Library.Closes, 1);

    // A changed system style re-opens it.
    const HTHEME Before = Control->Theme();
    EXPECT_EQ(SendMessageW(Control->Handle(), WM_THEMECHANGED, 0, 0), 1);
    EXPECT_NE(Control->Theme(), Before);
    EXPECT_EQ(Library.Opens - Library.Closes, 1);

    // Re-created for another reason: still one theme, for the window there is.
    Control->SetCtl3D(!Control->Ctl3D());
    EXPECT_EQ(Library.OpenedFor, Control->Handle());
    EXPECT_EQ(Library.Opens - Library.Closes, 1);

    Control.reset();
    EXPECT_EQ(Library.Opens, Library.Closes);

    // Switched on before a window exists: only the flag; the window opens it.
    TThemedProbe Late(nullptr);
    Late.SetUseXPThemes(false);
    Late.SetUseXPThemes(true);
    const int Opens = Library.Opens;
    Late.SetParent(Form.get());
    Late.HandleNeeded();
    EXPECT_EQ(Library.Opens, Opens + 1);
    EXPECT_EQ(Library.OpenedFor, Late.Handle());
}

TEST(CvThemedFrame, EdgeAndRoomFromBevelAndBorder) {
    using TCut = TCvThemedBevel::TCut;
    using TKind = TCvThemedBevel::TKind;
    const TRect Client(2, 2, 102, 82);
    const int VScroll = GetSystemMetrics(SM_CYVSCROLL);
    struct TCase {
        int BorderWidth;
        TCvThemedBevel Bevel;
        bool Ctl3D, VertScroll;
        TRect Outer;
        UINT Edge, Flags;
    };
    const TCase Cases[] = {
        {0, {TKind::None, TCut::Lowered, TCut::Raised, BF_RECT, 1}, true, false, Client, 0, 0},
        {3,
         {TKind::Soft, TCut::Lowered, TCut::Raised, BF_RECT, 2},
         false,
         false,
         TRect(-5, -5, 109, 89),
         BDR_SUNKENINNER | BDR_RAISEDOUTER,
         BF_RECT | BF_SOFT | BF_MONO | BF_ADJUST},
        // A space bevel takes room and draws nothing; only the named sides grow.
        {0,
         {TKind::Flat, TCut::None, TCut::Space, BF_LEFT | BF_TOP, 3},
         true,
         true,
         TRect(-1, -1, 102 + VScroll, 82),
         0,
         BF_LEFT | BF_TOP | BF_FLAT | BF_ADJUST},
        {1,
         {TKind::Tile, TCut::Raised, TCut::Lowered, BF_BOTTOM, 1},
         true,
         false,
         TRect(1, 1, 103, 85),
         BDR_RAISEDINNER | BDR_SUNKENOUTER,
         BF_BOTTOM | BF_ADJUST},
    };
    for (const TCase& Case : Cases) {
        const TCvThemedFrame F =
            ThemedFrameOf(Client, Case.BorderWidth, Case.Bevel, Case.Ctl3D, Case.VertScroll, false);
        EXPECT_EQ(F.Outer, Case.Outer) << Case.BorderWidth;
        EXPECT_EQ(F.Content, TRect(2 - Case.BorderWidth, 2 - Case.BorderWidth,
                                   102 + Case.BorderWidth, 82 + Case.BorderWidth));
        EXPECT_EQ(F.HasEdge, Case.Bevel.Kind != TKind::None);
        EXPECT_EQ(F.Edge, Case.Edge);
        EXPECT_EQ(F.Flags, Case.Flags);
    }
}

TEST_F(CvXPThemedControl, ThemedFramePaintsEdgeThenBackground) {
    const TUxThemeScope Scope(FakeApi);
    auto Control = MakeControl();
    Control->HandleNeeded();
    Library.Edges = Library.Backgrounds = 0;

    // Neither bevel nor border: the system's own frame only.
    SendMessageW(Control->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(Library.Edges + Library.Backgrounds, 0);

    Control->Bevel.Kind = TCvThemedBevel::TKind::Soft;
    SendMessageW(Control->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(Library.Edges, 1);
    EXPECT_EQ(Library.Backgrounds, 1);
    EXPECT_EQ(Library.EdgeFlags & BF_ADJUST, static_cast<UINT>(BF_ADJUST));
    // The background goes where the edge left room.
    RECT Expected = Library.EdgeRect;
    InflateRect(&Expected, -2, -2);
    EXPECT_TRUE(EqualRect(&Library.BackgroundRect, &Expected));

    // Without a theme the classic frame runs.
    Control->SetUseXPThemes(false);
    Library.Edges = Library.Backgrounds = 0;
    SendMessageW(Control->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(Library.Edges + Library.Backgrounds, 0);
}
