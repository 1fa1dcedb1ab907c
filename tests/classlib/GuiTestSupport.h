// The window-layer test support now lives with the other shared test pieces.
#pragma once

#include "tests/support/GuiTestSupport.h"
