#pragma once
// The program the shutdown manager's scheduled task runs: with the parameter "ask" it asks the
// user first, without it it shuts the computer down at once.

#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

#include <functional>
#include <vector>

// True when the task's parameters ask for the question first ("ask", in any letter case).
bool ShutdownAsksFirst(const std::vector<String>& Params);

enum TShutdownOutcome {
    soShutDown, // Windows took the request to shut down
    soDeclined, // the user answered No
    soFailed,   // Windows refused; the user was told why
};

struct TShutdownSteps {
    // The question; true on Yes.
    std::function<bool()> AskUser;
    // Asks Windows to shut down: 0 when it took the request, else the system error code.
    std::function<DWORD()> ShutDown;
    // Tells the user that Windows refused, with its error code.
    std::function<void(DWORD Error)> ReportFailure;
};

TShutdownOutcome RunShutdownTask(bool Ask, const TShutdownSteps& Steps);

// The steps with the program's message box, titled with the application's title: the question
// "sShutdownAsk" with Yes and No, and the failure "sShutdownFailed" with the system's reason.
TShutdownSteps ShutdownStepsWithMessages(std::function<DWORD()> ShutDown);

// Shuts Windows down and powers the computer off, as a planned shutdown, with the shutdown
// privilege of this process's account: 0 or the system error code.
DWORD ShutDownWindows();
