// The header control's lookup box, its section menus and its section hints.
#include "treelist/CvHeader.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/StdCtrls.h"
#include "treelist/CvHintWnd.h"
#include "treelist/CvVCLUtils.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

// ------------------------------------------------------------ lookup box

void TCustomCvHeader::ShowLookup(TCvHeaderSection* Section) {
    TWinControl* Host = Parent();
    if (!Section || !Host)
        return;
    if (LookupSection()) {
        // The open one ends first: its section hears of it and the focus goes back, so that
        // the new box does not take itself for the control to return to.
        const TAliveToken Alive = AliveToken();
        CloseLookup(false);
        if (!Alive.Alive())
            return;
    }
    if (!FLookupBox) {
        FLookupBox = new TComboBox(this);
        FLookupBox->SetCtl3D(false);
        FLookupBox->SetVisible(false);
        FLookupBox->OnExit = [this](TObject*) { CloseLookup(false); };
        FLookupBox->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
            LookupKeyDown(Key, Shift);
        };
        FLookupBox->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) {
            LookupKeyUp(Key, Shift);
        };
        FLookupBox->OnChange = [this](TObject*) { LookupChanged(); };
    } else {
        FLookupBox->SetText(String()); // not active yet: no lookup notice
    }
    FLookupBox->SetParent(Host);
    FLookupBox->Items().Assign(Section->LookupHistory());

    TRect R = SectionRect(Section->SectionIndex());
    const int DX = Left() - ShiftOf(Section);
    R = TRect(R.Left + DX, R.Top + Top(), R.Right + DX, R.Bottom + Top());
    FLookupBox->Font().Assign(Font());
    const int Height = Font().Height();
    const int Smaller = std::abs(Height) - 2;
    FLookupBox->Font().SetHeight(Height < 0 ? -Smaller : Smaller);
    FLookupBox->SetBounds(R.Left, R.Top, R.Width(), std::max(FLookupBox->Height(), R.Height() - 2));

    FLookupBox->Show();
    FLookupBox->BringToFront();
    FFocusBeforeLookup = GetFocus();
    FLookupSection = Section; // open from here on: the box's text changes are lookups
    FLookupBox->SetFocus();
}

void TCustomCvHeader::LookupChanged() {
    if (FSettingLookupText || !FLookupSection)
        return;
    const String Typed = FLookupBox->Text();
    String Text = Typed;
    NotifyHeaderLookup(FLookupSection, Text);
    if (Text != Typed && FLookupBox) {
        const TFlagScope Setting(FSettingLookupText);
        FLookupBox->SetText(Text);
    }
}

void TCustomCvHeader::LookupKeyDown(WORD& Key, TShiftState /*Shift*/) {
    if (Key != VK_RETURN && Key != VK_ESCAPE)
        return;
    const bool Accepted = Key == VK_RETURN;
    Key = 0;
    CloseLookup(Accepted);
}

void TCustomCvHeader::LookupKeyUp(WORD& Key, TShiftState Shift) {
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && Shift.Empty())
        Key = 0;
}

void TCustomCvHeader::CloseLookup(bool Accepted) {
    // Taken first: the box's own exit as it hides finds nothing to close.
    TCvHeaderSection* const Section = std::exchange(FLookupSection, nullptr);
    if (!Section || !FLookupBox)
        return;
    const String Text = FLookupBox->Text();
    const HWND Focus = GetFocus();
    const HWND Box = FLookupBox->Handle();
    const bool HadFocus = Focus == Box || IsChild(Box, Focus);

    const TAliveToken Alive = AliveToken();
    NotifyHeaderLookupDone(Section, Text, Accepted);
    if (!Alive.Alive())
        return;
    if (Accepted) {
        TStringList& History = Section->LookupHistory();
        if (const int Old = History.IndexOf(Text); Old >= 0)
            History.Delete(Old);
        History.Insert(0, Text);
    }
    // Where the user moved the focus on their own, it stays there.
    if (HadFocus && FFocusBeforeLookup)
        ::SetFocus(FFocusBeforeLookup); // a window gone meanwhile: nothing to give it back to
    FFocusBeforeLookup = nullptr;
    if (FLookupBox)
        FLookupBox->Hide();
}

// ------------------------------------------------------------ menus

bool TCustomCvHeader::ShowSectionMenu(int X, int Y) {
    TCvHeaderSection* Under = SectionAt(X, Y);
    TPopupMenu* Menu = Under ? Under->PopupMenu() : nullptr;
    // A section with a menu of its own never shows the header's.
    const bool OwnMenu = Menu != nullptr;
    if (!OwnMenu)
        Menu = PopupMenu();
    if (!Menu || !Menu->AutoPopup)
        return OwnMenu;
    Menu->PopupComponent = this;
    const TPoint At = ClientToScreen(TPoint{X, Y});
    Menu->Popup(At.X, At.Y); // may delete the header: the caller checks
    return true;
}

// ------------------------------------------------------------ hints

namespace {

// What the hint shows over Section (null: beside every section).
String HintTextOf(const TCvHeaderSection* Section, const String& HeaderHint) {
    if (Section && !Section->Hint().empty())
        return Section->Hint(); // whole: a section's hint has no long part
    return ShortHintOf(HeaderHint);
}

} // namespace

void TCustomCvHeader::HintShow(THintInfo& Info) {
    FHintSection = SectionAt(Info.CursorPos.X, Info.CursorPos.Y);
    FShownHint = HintTextOf(FHintSection, FWideHint);
    Info.HintStr = PackedHintString(FShownHint);
}

void TCustomCvHeader::RefreshHint(int X, int Y) {
    if (!Application || !ShowHint())
        return;
    // Only a hint on show follows the mouse; none pops up before its pause.
    const THintWindow* Window = Application->HintWindow();
    if (!Window || !Window->Visible())
        return;
    if (HintTextOf(SectionAt(X, Y), FWideHint) == FShownHint)
        return;
    // The application keeps the hint while the mouse stays on one control: it is asked again.
    Application->ActivateHint(ClientToScreen(TPoint{X, Y}));
}
