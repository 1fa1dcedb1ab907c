#include "app/Progress.h"

#include "classlib/gui/Forms.h"

void TWindowPumpProgress::Pump() {
    ProcessMessagesDuringWork();
}
