#include "classlib/gui/Controls.h"

#include <gtest/gtest.h>

namespace {

// Another program's window may carry our control property (another copy of ours sets it): its
// value is an address in that program and must never be taken for one of our controls.
TEST(FindControl, AWindowOfAnotherProcessIsNoControlOfOurs) {
    const HWND Foreign = GetDesktopWindow();
    DWORD Process = 0;
    GetWindowThreadProcessId(Foreign, &Process);
    ASSERT_NE(Process, GetCurrentProcessId());
    ASSERT_TRUE(SetPropW(Foreign, L"QrvControl", reinterpret_cast<HANDLE>(0xCADCB0)));
    EXPECT_EQ(FindControl(Foreign), nullptr);
    RemovePropW(Foreign, L"QrvControl");
}

} // namespace
