// A right press on a row of a shown list, as the mouse gives it: down and up on the row's text,
// with the popup menu that the release opens ended as soon as it shows.
#pragma once

#include "classlib/gui/WindowProbe.h"
#include "tests/support/GuiTestSupport.h"
#include "treelist/CvTree.h"

#include <gtest/gtest.h>

inline void RightPressRow(TCvTree& List, const String& RowText) {
    TProbeRow Row{RowText};
    const LRESULT Answer = List.Perform(CM_PROBEROW, pqRowText, reinterpret_cast<LPARAM>(&Row));
    ASSERT_TRUE(ProbeAnswered(Answer))
        << "no row " << ToUtf8(RowText) << " in " << ToUtf8(List.Name);
    const TPoint Screen = ProbePoint(Answer);
    POINT At{Screen.X, Screen.Y};
    const HWND Target = DeepestChildAt(List.Handle(), At);
    ScreenToClient(Target, &At);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR Id, DWORD) {
        KillTimer(nullptr, Id);
        EndMenu();
    });
    SendMessageW(Target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(At.x, At.y));
    SendMessageW(Target, WM_RBUTTONUP, 0, MAKELPARAM(At.x, At.y));
}
