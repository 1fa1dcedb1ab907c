#include "app/QRVUtils.h"

#include "app/QRVUtilsPrivate.h"
#include "classlib/gui/Forms.h"
#include "classlib/rtl/PathLayer.h"

#include <algorithm>
#include <array>
#include <random>
#include <vector>

using namespace qrvutils;

namespace {

constexpr std::size_t PatternSize = 65536;
// Blocks are one byte short of the pattern buffer.
constexpr DWORD BlockSize = 65535;
constexpr int PassCount = 7;

[[noreturn]] void RaiseShredError(const String& Path, DWORD Error) {
    throw EWriteError(Format(L"Cannot shred file \"%s\". %s", {Path, SysErrorMessage(Error)}));
}

[[noreturn]] void RefuseShred(const String& Path, const String& Reason) {
    throw EWriteError(Format(L"Cannot shred file \"%s\". %s", {Path, Reason}));
}

// Overwriting reaches the data, not the name: data with other names (hard links) or behind
// a link belongs to those names too.
void CheckOwnsItsData(const String& Path, DWORD Attributes, DWORD Links) {
    if (Attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        RefuseShred(Path, L"It is a link or a folder.");
    if (Links > 1)
        RefuseShred(Path, L"Its data has other names (hard links), which would lose it too.");
}

// One pass over the file with Pattern, from offset 0 to its size; the length
// never changes. Stops at the first failed or short write.
void OverwritePass(const String& Path, const std::vector<std::uint8_t>& Pattern,
                   TShredProgress* Progress) {
    // Opened as the entry itself: a link swapped in since the check is not followed.
    const TOwnedHandle File =
        OwnHandle(CreateFileW(ExtendedPath(Path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!File)
        RaiseShredError(Path, GetLastError());
    BY_HANDLE_FILE_INFORMATION Info;
    if (!GetFileInformationByHandle(File.get(), &Info))
        RaiseShredError(Path, GetLastError());
    CheckOwnsItsData(Path, Info.dwFileAttributes, Info.nNumberOfLinks);

    const std::int64_t Size =
        (static_cast<std::int64_t>(Info.nFileSizeHigh) << 32) | Info.nFileSizeLow;
    std::int64_t Position = 0;
    while (Position < Size) {
        const DWORD Count = static_cast<DWORD>(std::min<std::int64_t>(BlockSize, Size - Position));
        DWORD Written = 0;
        if (!WriteFile(File.get(), Pattern.data(), Count, &Written, nullptr))
            RaiseShredError(Path, GetLastError());
        if (Written != Count)
            RaiseShredError(Path, ERROR_WRITE_FAULT);
        Position += Written;
        if (Progress)
            Progress->StepBy(Written / PassCount);
        ProcessMessagesDuringWork();
    }
    // Each pass must reach the disk, not only the cache.
    if (!FlushFileBuffers(File.get()))
        RaiseShredError(Path, GetLastError());
}

std::mt19937_64& RandomEngine() {
    static std::mt19937_64 Engine{std::random_device{}()};
    return Engine;
}

} // namespace

void FillRandomBuffer(std::span<std::uint8_t> Buffer) {
    std::mt19937_64& Engine = RandomEngine();
    for (std::size_t I = 0; I < Buffer.size(); I += 8) {
        std::uint64_t Bits = Engine();
        for (std::size_t J = I; J < std::min(I + 8, Buffer.size()); ++J, Bits >>= 8)
            Buffer[J] = static_cast<std::uint8_t>(Bits);
    }
}

bool ShredFile(const String& Path, TShredProgress* Progress) {
    if (Path.empty())
        return false;
    // Other programs would reach the device, not this file, by its name.
    if (IsDeviceName(ExtractFileName(ExcludeTrailingBackslash(Path))))
        RefuseShred(Path, L"Its name is reserved for a device.");
    const String Entry = ExtendedPath(Path);
    WIN32_FILE_ATTRIBUTE_DATA Found;
    TEntryInfo Facts;
    if (!GetFileAttributesExW(Entry.c_str(), GetFileExInfoStandard, &Found) ||
        !InspectEntry(Entry, Facts))
        return false;
    CheckOwnsItsData(Path, Facts.Attributes, Facts.Links);
    if (Progress)
        Progress->SetRange(
            (static_cast<std::int64_t>(Found.nFileSizeHigh) << 32) | Found.nFileSizeLow, 0);
    ProcessPendingMessages();

    const std::vector<std::uint8_t> Zeros(PatternSize, 0x00);
    const std::vector<std::uint8_t> Ones(PatternSize, 0xFF);
    std::vector<std::uint8_t> Random(PatternSize);
    FillRandomBuffer(Random);
    const std::array<const std::vector<std::uint8_t>*, PassCount> Passes = {
        &Zeros, &Ones, &Zeros, &Ones, &Zeros, &Ones, &Random};

    try {
        SetFileAttributesW(Entry.c_str(), FILE_ATTRIBUTE_ARCHIVE);
        try {
            OverwritePass(Path, *Passes[0], Progress);
        } catch (const Exception&) {
            // The first pass may fail on its own; the second reports why.
        }
        for (int Pass = 1; Pass < PassCount; ++Pass)
            OverwritePass(Path, *Passes[Pass], Progress);
    } catch (...) {
        SetFileAttributesW(Entry.c_str(), Found.dwFileAttributes);
        if (Progress)
            Progress->SetRange(0, 0);
        throw;
    }
    if (Progress)
        Progress->SetRange(0, 0);
    if (!DeleteFileW(Entry.c_str()))
        RaiseShredError(Path, GetLastError());
    return true;
}
