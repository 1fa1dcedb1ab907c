// The in-place OLE host: what the object is given as its sites, its rectangle following the
// control, and letting go of it; with an object of the test's own, since the system's browser
// cannot show anything here.
#include "GuiTestSupport.h"

#include "classlib/gui/OleHost.h"
#include "tests/support/FakeOleObject.h"

#include <vector>

namespace {

bool SameRect(const RECT& A, const TRect& B) {
    return A.left == B.Left && A.top == B.Top && A.right == B.Right && A.bottom == B.Bottom;
}

class GuiOleHostTest : public PlainFormTest<300, 200> {
protected:
    TOleHost* MakeHost() {
        auto* Host = Place<TOleHost>(*Form, Bounds(10, 10, 200, 120));
        Host->Anchors = TAnchors{akLeft, akTop, akRight, akBottom};
        return Host;
    }

    TFakeOleObject Object;
};

TEST_F(GuiOleHostTest, TheObjectIsActivatedInPlaceOnTheControlsSites) {
    TOleHost* Host = MakeHost();
    ASSERT_TRUE(Host->HostObject(&Object));
    EXPECT_EQ(Host->OleObject(), &Object);
    EXPECT_EQ(Object.Site, Host->ClientSite());
    ASSERT_EQ(Object.Verbs, std::vector<LONG>{OLEIVERB_INPLACEACTIVATE});
    EXPECT_EQ(Object.VerbSite, Host->ClientSite());
    EXPECT_EQ(Object.VerbParent, Host->Handle());
    EXPECT_TRUE(SameRect(Object.VerbRect, Bounds(0, 0, 200, 120)));
    ASSERT_FALSE(Object.Rects.empty());
    EXPECT_TRUE(SameRect(Object.Rects.back(), Bounds(0, 0, 200, 120)));

    // What the object asks of its site: the window, the frame and where it stands.
    IOleInPlaceSite* InPlaceSite = nullptr;
    ASSERT_EQ(Host->ClientSite()->QueryInterface(IID_IOleInPlaceSite,
                                                 reinterpret_cast<void**>(&InPlaceSite)),
              S_OK);
    HWND Window = nullptr;
    EXPECT_EQ(InPlaceSite->GetWindow(&Window), S_OK);
    EXPECT_EQ(Window, Host->Handle());
    EXPECT_EQ(InPlaceSite->CanInPlaceActivate(), S_OK);
    IOleInPlaceFrame* Frame = nullptr;
    IOleInPlaceUIWindow* Document = reinterpret_cast<IOleInPlaceUIWindow*>(1);
    RECT Position{};
    RECT Clip{};
    OLEINPLACEFRAMEINFO Info{};
    Info.cb = sizeof(Info);
    ASSERT_EQ(InPlaceSite->GetWindowContext(&Frame, &Document, &Position, &Clip, &Info), S_OK);
    EXPECT_EQ(Frame, Host->Frame());
    EXPECT_EQ(Document, nullptr);
    EXPECT_TRUE(SameRect(Position, Bounds(0, 0, 200, 120)));
    EXPECT_TRUE(SameRect(Clip, Bounds(0, 0, 200, 120)));
    EXPECT_EQ(Info.hwndFrame, Form->Handle());
    EXPECT_FALSE(Info.fMDIApp);
    HWND FrameWindow = nullptr;
    EXPECT_EQ(Frame->GetWindow(&FrameWindow), S_OK);
    EXPECT_EQ(FrameWindow, Form->Handle());
    // No tool space, no menus of its own.
    RECT Border{};
    EXPECT_EQ(Frame->GetBorder(&Border), INPLACE_E_NOTOOLSPACE);
    BORDERWIDTHS Wanted{0, 20, 0, 0};
    EXPECT_EQ(Frame->RequestBorderSpace(&Wanted), INPLACE_E_NOTOOLSPACE);
    EXPECT_EQ(Frame->SetBorderSpace(nullptr), S_OK);
    IOleContainer* Container = reinterpret_cast<IOleContainer*>(1);
    EXPECT_EQ(Host->ClientSite()->GetContainer(&Container), E_NOINTERFACE);
    EXPECT_EQ(Container, nullptr);
    IUnknown* Other = nullptr;
    EXPECT_EQ(Host->ClientSite()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&Other)),
              E_NOINTERFACE);
    Frame->Release();
    InPlaceSite->Release();
}

TEST_F(GuiOleHostTest, TheObjectFollowsTheControlsSize) {
    TOleHost* Host = MakeHost();
    ASSERT_TRUE(Host->HostObject(&Object));
    Form->SetBounds(0, 0, 400, 260); // the host is anchored on all sides
    ASSERT_FALSE(Object.Rects.empty());
    EXPECT_TRUE(SameRect(Object.Rects.back(), Bounds(0, 0, 300, 180)));
    EXPECT_TRUE(SameRect(Object.Clips.back(), Bounds(0, 0, 300, 180)));
    // The object asking to move goes back where the control is.
    const size_t Before = Object.Rects.size();
    IOleInPlaceSite* InPlaceSite = nullptr;
    Host->ClientSite()->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&InPlaceSite));
    const RECT Elsewhere{5, 5, 50, 50};
    EXPECT_EQ(InPlaceSite->OnPosRectChange(&Elsewhere), S_OK);
    InPlaceSite->Release();
    ASSERT_EQ(Object.Rects.size(), Before + 1);
    EXPECT_TRUE(SameRect(Object.Rects.back(), Bounds(0, 0, 300, 180)));
}

TEST_F(GuiOleHostTest, LettingGoDeactivatesClosesAndReleasesTheObject) {
    {
        TOleHost* Host = MakeHost();
        ASSERT_TRUE(Host->HostObject(&Object));
        EXPECT_GT(Object.References, 1u);
        delete Host;
    }
    EXPECT_TRUE(Object.Deactivated);
    EXPECT_TRUE(Object.Closed);
    EXPECT_EQ(Object.CloseOption, static_cast<DWORD>(OLECLOSE_NOSAVE));
    EXPECT_EQ(Object.Site, nullptr);
    EXPECT_EQ(Object.References, 1u) << "only the test's own reference is left";
}

TEST_F(GuiOleHostTest, AnObjectThatRefusesActivationIsNotHeld) {
    TOleHost* Host = MakeHost();
    Object.RefuseVerb = true;
    EXPECT_FALSE(Host->HostObject(&Object));
    EXPECT_EQ(Host->OleObject(), nullptr);
    EXPECT_EQ(Object.Site, nullptr);
    EXPECT_EQ(Object.References, 1u);
    EXPECT_TRUE(Object.Rects.empty());
}

TEST_F(GuiOleHostTest, WithoutAnObjectTheBrowserLoadsNothing) {
    auto* Browser = Place<TWebBrowser>(*Form, Bounds(0, 0, 100, 100));
    constexpr CLSID NoSuchClass = {
        0x0BADF00D, 0x0000, 0x4000, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
    EXPECT_FALSE(Browser->CreateObject(NoSuchClass));
    EXPECT_EQ(Browser->OleObject(), nullptr);
    EXPECT_FALSE(Browser->Navigate(L"file:///C:/report.htm"));
    // An object without the browser's automation refuses the address too.
    ASSERT_TRUE(Browser->HostObject(&Object));
    EXPECT_FALSE(Browser->Navigate(L"file:///C:/report.htm"));
}

} // namespace
