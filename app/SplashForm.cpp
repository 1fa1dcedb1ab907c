#include "app/SplashForm.h"

#include "app/AppStartup.h"
#include "classlib/gui/NamedChild.h"

TfrmSplash* frmSplash = nullptr;

String FormatLogLine(TDateTime Time, const String& Text) {
    return Format(L"[%s]%s", {FormatDateTime(L"hh:nn:ss", Time), Text});
}

TfrmSplash::TfrmSplash(TComponent* AOwner) : TFlatForm(AOwner) {
    Name = L"frmSplash";
    SetFormStyle(fsStayOnTop);
    Position = poDesktopCenter;
    SetBounds(0, 0, 307, 89);

    labStatus = MakeNamedChild<TLabel>(*this, *this, L"labStatus", Bounds(24, 48, 65, 13));

    CloseButton->Hide();
    HelpButton->Hide();
}

TfrmSplash::~TfrmSplash() {
    if (frmSplash == this)
        frmSplash = nullptr;
}

void TfrmSplash::SetStatus(const String& Text) {
    labStatus->SetCaption(Text);
    FLog.Add(FormatLogLine(Now(), Text));
    try {
        FLog.SaveToFile(AppDir + L"log.txt");
    } catch (const std::exception&) {
        // A program folder that cannot be written (a standard user under Program Files) must
        // not stop the start: the log is only a record of it.
    }
    Repaint();
    ProcessPendingMessages();
}
