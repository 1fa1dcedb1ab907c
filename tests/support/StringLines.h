#pragma once

#include "classlib/rtl/Classes.h"

#include <vector>

// The strings of a list, for comparing it as a whole.
inline std::vector<String> Lines(const TStrings& List) {
    std::vector<String> Result;
    for (int I = 0; I < List.Count(); ++I)
        Result.push_back(List.Strings(I));
    return Result;
}
