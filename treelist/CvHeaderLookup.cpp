// The header control's lookup box, its section menus and its section hints.
#include "treelist/CvHeader.h"

#include "classlib/gui/Forms.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/StdCtrls.h"
#include "treelist/CvHintWnd.h"

#include <algorithm>
#include <cstdlib>

// ------------------------------------------------------------ lookup box

void TCustomCvHeader::ShowLookup(TCvHeaderSection* Section) {
    TWinControl* Host = Parent();
    if (!Section || !Host)
        return;
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
    FLookupSection = Section;

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
    FLookupActive = true;
    FLookupBox->SetFocus();
}

void TCustomCvHeader::LookupChanged() {
    if (!FLookupActive || FSettingLookupText || !FLookupSection)
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
    if (!FLookupActive || !FLookupBox)
        return;
    FLookupActive = false; // the box's own exit as it hides finds nothing to close
    const String Text = FLookupBox->Text();
    const HWND Focus = GetFocus();
    const HWND Box = FLookupBox->Handle();
    const bool HadFocus = Focus == Box || IsChild(Box, Focus);

    const TAliveToken Alive = AliveToken();
    if (FLookupSection)
        NotifyHeaderLookupDone(FLookupSection, Text, Accepted);
    if (!Alive.Alive())
        return;
    if (Accepted && FLookupSection) {
        TStringList& History = FLookupSection->LookupHistory();
        if (const int Old = History.IndexOf(Text); Old >= 0)
            History.Delete(Old);
        History.Insert(0, Text);
    }
    FLookupSection = nullptr;
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
    return GetShortHint(HeaderHint);
}

} // namespace

void TCustomCvHeader::HintShow(THintInfo& Info) {
    FHintSection = SectionAt(Info.CursorPos.X, Info.CursorPos.Y);
    Info.HintStr = PackedHintString(HintTextOf(FHintSection, FWideHint));
}

void TCustomCvHeader::RefreshHint(int X, int Y) {
    if (!FHintSection || !Application || !ShowHint())
        return;
    TCvHeaderSection* Under = SectionAt(X, Y);
    if (Under == FHintSection)
        return;
    const String Shown = HintTextOf(FHintSection, FWideHint);
    const String Wanted = HintTextOf(Under, FWideHint);
    if (Wanted == Shown)
        return;
    // The application keeps the hint while the mouse stays on one control: it is asked again.
    Application->ActivateHint(ClientToScreen(TPoint{X, Y}));
}
