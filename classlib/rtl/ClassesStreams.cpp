// TStream, THandleStream, TFileStream and TMemoryStream.
#include "classlib/rtl/Classes.h"

#include "classlib/rtl/PathLayer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

// ---------------------------------------------------------------- TStream

std::int64_t TStream::Size() {
    const std::int64_t Pos = Seek(0, soCurrent);
    const std::int64_t End = Seek(0, soEnd);
    Seek(Pos, soBeginning);
    return End;
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
    if (Count > 0 && Read(Buffer, Count) != Count)
        throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
    if (Count > 0 && Write(Buffer, Count) != Count)
        throw EWriteError(L"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    if (Count <= 0)
        return 0;
    constexpr std::int64_t ChunkSize = 64 * 1024;
    std::vector<unsigned char> Buffer(static_cast<std::size_t>(std::min(Count, ChunkSize)));
    std::int64_t Left = Count;
    while (Left > 0) {
        const std::int64_t N = std::min(Left, ChunkSize);
        Source.ReadBuffer(Buffer.data(), N);
        WriteBuffer(Buffer.data(), N);
        Left -= N;
    }
    return Count;
}

// ---------------------------------------------------------- THandleStream

namespace {

// ReadFile/WriteFile move at most a DWORD at a time.
constexpr std::int64_t MaxTransfer = 1 << 30;

// Moves Count bytes in DWORD-sized steps until done, failed or stalled;
// returns the bytes moved.
template <typename Byte, typename Step>
std::int64_t TransferAll(Byte* Data, std::int64_t Count, Step Move) {
    std::int64_t Done = 0;
    while (Done < Count) {
        DWORD Moved = 0;
        const auto Want = static_cast<DWORD>(std::min(Count - Done, MaxTransfer));
        if (!Move(Data + Done, Want, &Moved) || Moved == 0)
            break;
        Done += Moved;
    }
    return Done;
}

} // namespace

std::int64_t THandleStream::Read(void* Buffer, std::int64_t Count) {
    return TransferAll(static_cast<unsigned char*>(Buffer), Count,
                       [this](unsigned char* To, DWORD Want, DWORD* Got) {
                           return ReadFile(FHandle, To, Want, Got, nullptr);
                       });
}

std::int64_t THandleStream::Write(const void* Buffer, std::int64_t Count) {
    return TransferAll(static_cast<const unsigned char*>(Buffer), Count,
                       [this](const unsigned char* From, DWORD Want, DWORD* Put) {
                           return WriteFile(FHandle, From, Want, Put, nullptr);
                       });
}

std::int64_t THandleStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    LARGE_INTEGER Distance, NewPos;
    Distance.QuadPart = Offset;
    const DWORD Method =
        Origin == soBeginning ? FILE_BEGIN : (Origin == soCurrent ? FILE_CURRENT : FILE_END);
    if (!SetFilePointerEx(FHandle, Distance, &NewPos, Method))
        return -1;
    return NewPos.QuadPart;
}

void THandleStream::SetSize(std::int64_t NewSize) {
    const std::int64_t Pos = Position();
    if (NewSize < 0 || Seek(NewSize, soBeginning) != NewSize || !SetEndOfFile(FHandle)) {
        const DWORD Err = GetLastError();
        Seek(Pos, soBeginning);
        throw EWriteError(L"Cannot change the stream size: " + SysErrorMessage(Err));
    }
    Seek(std::min(Pos, NewSize), soBeginning);
}

// ------------------------------------------------------------ TFileStream

namespace {

DWORD ShareMode(unsigned Mode) {
    switch (Mode & 0xF0) {
    case fmShareExclusive:
        return 0;
    case fmShareDenyRead:
        return FILE_SHARE_WRITE;
    case fmShareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: // fmShareCompat, fmShareDenyWrite
        return FILE_SHARE_READ;
    }
}

DWORD AccessMode(unsigned Mode) {
    switch (Mode & 0x03) {
    case fmOpenWrite:
        return GENERIC_WRITE;
    case fmOpenReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

} // namespace

TFileStream::TFileStream(const String& FileName, unsigned Mode)
    : THandleStream(INVALID_HANDLE_VALUE), FFileName(FileName) {
    const bool Create = (Mode & fmCreate) == fmCreate;
    FHandle = CreateFileW(ExtendedPath(FileName).c_str(),
                          Create ? GENERIC_READ | GENERIC_WRITE : AccessMode(Mode), ShareMode(Mode),
                          nullptr, Create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
        const String Reason = SysErrorMessage(GetLastError());
        if (Create)
            throw EFCreateError(L"Cannot create file \"" + FileName + L"\". " + Reason);
        throw EFOpenError(L"Cannot open file \"" + FileName + L"\". " + Reason);
    }
}

TFileStream::~TFileStream() {
    CloseHandle(FHandle);
}

// ---------------------------------------------------------- TMemoryStream

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
    const std::int64_t Left = Size() - FPosition;
    const std::int64_t N = std::min(Count, Left);
    if (N <= 0)
        return 0;
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(N));
    FPosition += N;
    return N;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
    if (Count <= 0)
        return 0;
    if (FPosition + Count > Size()) {
        const std::int64_t Pos = FPosition;
        SetSize(Pos + Count);
        FPosition = Pos;
    }
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition += Count;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    const std::int64_t Base =
        Origin == soBeginning ? 0 : (Origin == soCurrent ? FPosition : Size());
    const std::int64_t NewPos = Base + Offset;
    if (NewPos < 0)
        return -1;
    FPosition = NewPos;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0)
        throw EStreamError(L"Invalid stream size");
    try {
        FData.resize(static_cast<std::size_t>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EStreamError(L"Out of memory while expanding memory stream");
    } catch (const std::length_error&) {
        throw EStreamError(L"Out of memory while expanding memory stream");
    }
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
    Stream.SetPosition(0);
    const std::int64_t Count = Stream.Size();
    SetSize(Count);
    Stream.ReadBuffer(FData.data(), Count);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream) const {
    Stream.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(Stream);
}

void TMemoryStream::SaveToFile(const String& FileName) const {
    TFileStream Stream(FileName, fmCreate);
    SaveToStream(Stream);
}
