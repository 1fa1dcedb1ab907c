#include "treelist/CvTools.h"

#include "classlib/gui/Forms.h"

#include <algorithm>
#include <cstring>

#include "classlib/rtl/WinApi.h"

// ------------------------------------------------------------ version flags

namespace {

struct TVersionFlags {
    bool WinNT = false;
    bool Win98 = false;
};

const TVersionFlags& VersionFlags() {
    static const TVersionFlags Flags = [] {
        OSVERSIONINFOA Info{};
        Info.dwOSVersionInfoSize = sizeof Info;
        TVersionFlags Result;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (GetVersionExA(&Info)) {
#pragma GCC diagnostic pop
            Result.WinNT = Info.dwPlatformId == VER_PLATFORM_WIN32_NT;
            Result.Win98 =
                Info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && Info.dwMinorVersion > 0;
        }
        return Result;
    }();
    return Flags;
}

} // namespace

bool IsWinNT() {
    return VersionFlags().WinNT;
}
bool IsWin98() {
    return VersionFlags().Win98;
}

// ------------------------------------------------------------ numbers and rectangles

void CenterRect(int InnerWidth, int OuterWidth, int InnerHeight, TRect& Rect, int OuterHeight) {
    Rect.Left = std::max(OuterWidth / 2 - InnerWidth / 2, 0);
    Rect.Right = std::min(Rect.Left + InnerWidth - 1, Rect.Left + OuterWidth - 1);
    Rect.Top = std::max(OuterHeight / 2 - InnerHeight / 2, 0);
    Rect.Bottom = std::min(Rect.Top + InnerHeight - 1, Rect.Top + OuterHeight - 1);
}

// ------------------------------------------------------------ stream strings

namespace {

bool WriteCounted(TStream& Stream, std::size_t Units, const void* Data, std::int64_t Bytes) {
    // A length that does not fit the stored 32 bits would make the rest of the stream unreadable.
    if (Units > static_cast<std::size_t>(INT32_MAX))
        return false;
    const auto Count = static_cast<std::int32_t>(Units);
    try {
        Stream.WriteBuffer(&Count, sizeof Count);
        if (Bytes > 0)
            Stream.WriteBuffer(Data, Bytes);
        return true;
    } catch (...) {
        return false;
    }
}

bool ReadCounted(TStream& Stream, std::size_t UnitSize, std::string& Payload) {
    try {
        std::int32_t Count = 0;
        Stream.ReadBuffer(&Count, sizeof Count);
        if (Count < 0)
            throw EReadError(L"Invalid string header read from the stream");
        Payload = ReadStreamBytes(Stream, static_cast<std::size_t>(Count) * UnitSize);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

std::string ReadStreamBytes(TStream& Stream, std::size_t Bytes) {
    constexpr std::size_t Piece = 1 << 16;
    std::string Data;
    while (Data.size() < Bytes) {
        const std::size_t At = Data.size();
        const std::size_t Size = std::min(Piece, Bytes - At);
        Data.resize(At + Size);
        Stream.ReadBuffer(Data.data() + At, static_cast<std::int64_t>(Size));
    }
    return Data;
}

bool WriteAnsiStringToStream(TStream& Stream, const std::string& S) {
    return WriteCounted(Stream, S.size(), S.data(), static_cast<std::int64_t>(S.size()));
}

bool ReadAnsiStringFromStream(TStream& Stream, std::string& S) {
    std::string Payload;
    if (!ReadCounted(Stream, 1, Payload))
        return false;
    S = std::move(Payload);
    return true;
}

bool WriteWideStringToStream(TStream& Stream, const String& S) {
    return WriteCounted(Stream, S.size(), S.data(),
                        static_cast<std::int64_t>(S.size() * sizeof(wchar_t)));
}

bool ReadWideStringFromStream(TStream& Stream, String& S) {
    std::string Payload;
    if (!ReadCounted(Stream, sizeof(wchar_t), Payload))
        return false;
    String Text(Payload.size() / sizeof(wchar_t), L'\0');
    std::memcpy(Text.data(), Payload.data(), Payload.size());
    S = std::move(Text);
    return true;
}

// ------------------------------------------------------------ keyboard and messages

bool TCvMessagePump::ProcessMessage() {
    MSG Msg{};
    if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE) || Msg.message == WM_QUIT)
        return false;
    if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
    return true;
}

void TCvMessagePump::ProcessMessages() {
    ProcessPendingMessages();
}

namespace {
TCvMessagePump MessagePump;
}

const std::function<void()> ProcessMessagesHook = [] { MessagePump.ProcessMessages(); };
