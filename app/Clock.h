#pragma once
// The clock the logic asks for the time, so that tests can set it.

#include "classlib/rtl/SysUtils.h"

class IClock {
public:
    virtual ~IClock() = default;
    // Local date and time.
    virtual TDateTime Now() const = 0;
};

class TSystemClock : public IClock {
public:
    TDateTime Now() const override { return ::Now(); }
};
