// The splash window shown while the program starts, and the start-up log it keeps.
#pragma once

#include "app/FlatForm.h"
#include "classlib/gui/StdCtrls.h"
#include "classlib/rtl/Classes.h"

// A start-up log line: "[hh:nn:ss]Text".
String FormatLogLine(TDateTime Time, const String& Text);

// A stay-on-top skinned window of 307 x 89 centred on the desktop, with one status line and no
// title buttons. Every status
// it shows is also a line of AppDir\log.txt, which holds the lines of the current start only.
class TfrmSplash : public TFlatForm {
public:
    explicit TfrmSplash(TComponent* AOwner);
    ~TfrmSplash() override;

    // Shows Text, adds its line to the log and rewrites log.txt, repaints at once and lets the
    // application handle the messages waiting. A log that cannot be written is left behind:
    // the start goes on without it.
    void SetStatus(const String& Text);

    TLabel* labStatus;

private:
    TStringList FLog;
};

// The splash window while it exists.
extern TfrmSplash* frmSplash;
