#include "app/Progress.h"

#include "app/Language.h"
#include "classlib/gui/Forms.h"

String PleaseWaitText() {
    String Text = L"Please wait...";
    if (AppLanguage)
        AppLanguage->GetMessageText(L"sPleaseWait", Text);
    return Text;
}

void TWindowPumpProgress::Pump() {
    ProcessMessagesDuringWork();
}
