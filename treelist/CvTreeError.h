// The tree-list's own error. Kept apart from the model headers, which stay free of the platform.
#pragma once

#include "classlib/rtl/SysUtils.h"

class ECvTreeError : public Exception {
public:
    using Exception::Exception;
};
