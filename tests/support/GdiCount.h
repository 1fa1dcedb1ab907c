// Counting the process's live GDI objects, to show that a loop of create/paint/destroy leaks
// none. Wine's GetGuiResources is a stub that answers 0, so the count comes from the GDI handle
// table the system keeps in the process: on x64 the PEB holds its address at +0xF8, and every
// live object has a 24-byte cell whose type byte (offset 14) is set.
//
//     EXPECT_EQ(GdiGrowth([&] { ... one create/paint/destroy round ... }), 0);
#pragma once

#include "classlib/rtl/WinApi.h"

#include <cstdint>

// Live GDI objects of this process.
inline int GdiObjectCount() {
    constexpr std::size_t PebGdiTable = 0xF8;
    constexpr std::size_t CellSize = 24;
    constexpr std::size_t TypeOffset = 14;
    constexpr std::size_t Cells = 0x10000;
    const std::uint8_t* Peb = nullptr;
    asm("movq %%gs:0x60, %0" : "=r"(Peb)); // the TEB's pointer to the PEB
    const auto* Table = *reinterpret_cast<const std::uint8_t* const*>(Peb + PebGdiTable);
    if (!Table) // a system that keeps no table there answers the documented way
        return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    int Live = 0;
    for (std::size_t I = 0; I < Cells; ++I)
        if (Table[I * CellSize + TypeOffset] != 0)
            ++Live;
    return Live;
}

// How many GDI objects Rounds runs of Round leave behind. Two runs first warm up what is made
// once and kept (stock objects, cached fonts, class brushes), so only a leak per run counts.
template <class TRound> int GdiGrowth(TRound Round, int Rounds = 20) {
    Round();
    Round();
    const int Before = GdiObjectCount();
    for (int I = 0; I < Rounds; ++I)
        Round();
    return GdiObjectCount() - Before;
}
