// Stable merge sort that stays in bounds even when a caller's comparison is
// inconsistent (std::sort may not).
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <typename T, typename Less> void MergeSort(std::vector<T>& Items, Less IsLess) {
    const std::size_t N = Items.size();
    if (N < 2)
        return;
    std::vector<T> Buffer(N);
    for (std::size_t Width = 1; Width < N; Width *= 2) {
        for (std::size_t Lo = 0; Lo < N; Lo += 2 * Width) {
            const std::size_t Mid = std::min(Lo + Width, N);
            const std::size_t Hi = std::min(Lo + 2 * Width, N);
            std::size_t A = Lo, B = Mid, Out = Lo;
            while (A < Mid && B < Hi)
                Buffer[Out++] =
                    IsLess(Items[B], Items[A]) ? std::move(Items[B++]) : std::move(Items[A++]);
            while (A < Mid)
                Buffer[Out++] = std::move(Items[A++]);
            while (B < Hi)
                Buffer[Out++] = std::move(Items[B++]);
        }
        Items.swap(Buffer);
    }
}
