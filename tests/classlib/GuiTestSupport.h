// The window-layer test support lives with the other shared test pieces.
#pragma once

#include "tests/support/GuiTestSupport.h"
