// Pieces shared by the QRVUtils sources only.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include "classlib/rtl/WinApi.h"

#include <memory>
#include <type_traits>

namespace qrvutils {

inline bool IsDotEntry(const String& Name) {
    return Name == L"." || Name == L"..";
}

// Critical-error boxes (a drive without a medium) stay away while it lives.
class TNoErrorBoxes {
public:
    TNoErrorBoxes() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &FPrevious); }
    ~TNoErrorBoxes() { SetThreadErrorMode(FPrevious, nullptr); }
    TNoErrorBoxes(const TNoErrorBoxes&) = delete;
    TNoErrorBoxes& operator=(const TNoErrorBoxes&) = delete;

private:
    DWORD FPrevious = 0;
};

} // namespace qrvutils
