// Small shared routines of the tree-list: Windows-version flags, integer and rectangle helpers,
// the length-prefixed strings of the stored forms, the Shift/Alt/Ctrl state and a message pump.
#pragma once

#include "classlib/gui/Graphics.h"
#include "classlib/rtl/Classes.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

// ------------------------------------------------------------ version flags

// The platform of the version information, read once.
bool IsWinNT();
// Windows 98 or Me.
bool IsWin98();

// ------------------------------------------------------------ numbers and rectangles

constexpr int MinOf(int A, int B) {
    return A < B ? A : B;
}
constexpr int MaxOf(int A, int B) {
    return A > B ? A : B;
}
constexpr int SignOf(int Value) {
    return Value > 0 ? 1 : (Value < 0 ? -1 : 0);
}
constexpr bool InRangeInt(int Low, int High, int Value) {
    return Low <= Value && Value <= High;
}
constexpr std::uint32_t ByteSwap32(std::uint32_t Value) {
    return (Value >> 24) | ((Value >> 8) & 0xFF00u) | ((Value << 8) & 0xFF0000u) | (Value << 24);
}
// Centres an inner box in an outer one, clipped to it. Right and Bottom are inclusive here.
void CenterRect(int InnerWidth, int OuterWidth, int InnerHeight, TRect& Rect, int OuterHeight);

// ------------------------------------------------------------ stream strings

// A 32-bit little-endian length (bytes for narrow text, UTF-16 units for wide text), then the
// characters without terminator. None of these throws: a stream error gives false, and a read
// that fails leaves the target as it was.
bool WriteAnsiStringToStream(TStream& Stream, const std::string& S);
bool ReadAnsiStringFromStream(TStream& Stream, std::string& S);
bool WriteWideStringToStream(TStream& Stream, const String& S);
bool ReadWideStringFromStream(TStream& Stream, String& S);
// Reads exactly Bytes bytes, in pieces, so that a damaged length cannot make it reserve more
// memory than the stream holds. Throws EReadError when the stream ends first.
std::string ReadStreamBytes(TStream& Stream, std::size_t Bytes);

inline bool ReadFStringFromStream(TStream& Stream, String& S) {
    return ReadWideStringFromStream(Stream, S);
}

// ------------------------------------------------------------ keyboard and messages

// The keys held down come from the class library's KeyboardShiftState (Controls.h).

// Keeps messages flowing during long work of the tree-list, through the program's one pump. A
// quit request met on the way stays pending for the main loop.
class TCvMessagePump : public TObject {
public:
    // Dispatches the next waiting message; false when none waits or the next one is a quit,
    // which stays queued (taking it would lose the program's end).
    bool ProcessMessage();
    void ProcessMessages();
};

// Runs the unit's pump.
extern const std::function<void()> ProcessMessagesHook;
