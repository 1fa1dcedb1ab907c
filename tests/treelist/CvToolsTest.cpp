#include "classlib/gui/Controls.h"
#include "treelist/CvTools.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(TMemoryStream& M) {
    return std::string(static_cast<const char*>(M.Memory()), static_cast<std::size_t>(M.Size()));
}

TMemoryStream StreamOf(const std::string& Data) {
    TMemoryStream M;
    M.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
    M.SetPosition(0);
    return M;
}

// A stream that refuses every write.
class TFullStream : public TMemoryStream {
public:
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
};

} // namespace

TEST(CvTools, IntegerHelpers) {
    EXPECT_EQ(MinOf(3, -2), -2);
    EXPECT_EQ(MaxOf(3, -2), 3);
    EXPECT_EQ(SignOf(-7), -1);
    EXPECT_EQ(SignOf(0), 0);
    EXPECT_EQ(SignOf(9), 1);
    EXPECT_TRUE(InRangeInt(1, 3, 3));
    EXPECT_FALSE(InRangeInt(1, 3, 4));
    EXPECT_EQ(ByteSwap32(0x11223344u), 0x44332211u);
    EXPECT_TRUE(IsWinNT());
    EXPECT_FALSE(IsWin98());
}

TEST(CvTools, CenterRect) {
    struct TCase {
        int InnerW, OuterW, InnerH, OuterH;
        TRect Expected;
    };
    const TCase Cases[] = {
        {4, 20, 7, 10, TRect(8, 2, 11, 8)},
        {4, 2, 7, 10, TRect(0, 2, 1, 8)}, // clipped to the outer box
        {9, 4, 3, 3, TRect(0, 0, 3, 2)},
        {5, 10, 5, 10, TRect(3, 3, 7, 7)},
    };
    for (const TCase& Case : Cases) {
        TRect R;
        CenterRect(Case.InnerW, Case.OuterW, Case.InnerH, R, Case.OuterH);
        EXPECT_EQ(R, Case.Expected) << Case.InnerW << "x" << Case.InnerH;
    }
}

TEST(CvTools, StreamStringsAreByteExact) {
    TMemoryStream M;
    EXPECT_TRUE(WriteWideStringToStream(M, L"ab"));
    EXPECT_TRUE(WriteAnsiStringToStream(M, "xyz"));
    EXPECT_TRUE(WriteWideStringToStream(M, L""));
    EXPECT_TRUE(WriteWideStringToStream(M, L"\u00E9"));
    EXPECT_EQ(Bytes(M), std::string("\x02\0\0\0a\0b\0"
                                    "\x03\0\0\0xyz"
                                    "\0\0\0\0"
                                    "\x01\0\0\0\xE9\0",
                                    25));
    M.SetPosition(0);
    String Wide = L"old";
    std::string Narrow;
    EXPECT_TRUE(ReadWideStringFromStream(M, Wide));
    EXPECT_EQ(Wide, L"ab");
    EXPECT_TRUE(ReadAnsiStringFromStream(M, Narrow));
    EXPECT_EQ(Narrow, "xyz");
    EXPECT_TRUE(ReadFStringFromStream(M, Wide));
    EXPECT_EQ(Wide, L"");
    EXPECT_TRUE(ReadWideStringFromStream(M, Wide));
    EXPECT_EQ(Wide, L"\u00E9");
}

TEST(CvTools, DamagedStreamStringsLeaveTheTarget) {
    const std::string Cases[] = {
        std::string("\xFF\xFF\xFF\xFF", 4), // negative length
        std::string("\x03\0\0\0a\0b", 7),   // ends inside the characters
        std::string("\x02\0", 2),           // ends inside the length
        std::string(""),                    // nothing at all
        std::string("\xFF\xFF\xFF\x7F"
                    "abcd",
                    8), // a huge length on a short stream
    };
    for (const std::string& Data : Cases) {
        SCOPED_TRACE(Data.size());
        TMemoryStream M = StreamOf(Data);
        String Wide = L"kept";
        EXPECT_FALSE(ReadWideStringFromStream(M, Wide));
        EXPECT_EQ(Wide, L"kept");
        M.SetPosition(0);
        std::string Narrow = "kept";
        if (Data.size() != 7) { // seven bytes are a whole narrow string of three
            EXPECT_FALSE(ReadAnsiStringFromStream(M, Narrow));
            EXPECT_EQ(Narrow, "kept");
        }
    }
    TFullStream Full;
    EXPECT_FALSE(WriteWideStringToStream(Full, L"ab"));
    EXPECT_FALSE(WriteAnsiStringToStream(Full, ""));
}

TEST(CvTools, KeyboardShiftStateReadsTheKeyState) {
    BYTE Saved[256];
    ASSERT_TRUE(GetKeyboardState(Saved));
    BYTE State[256] = {};
    State[VK_CONTROL] = State[VK_RCONTROL] = 0x80;
    SetKeyboardState(State);
    EXPECT_EQ(KeyboardShiftState(), (TShiftState{ssCtrl}));
    State[VK_SHIFT] = State[VK_MENU] = 0x80;
    SetKeyboardState(State);
    EXPECT_EQ(KeyboardShiftState(), (TShiftState{ssShift, ssAlt, ssCtrl}));
    SetKeyboardState(Saved);
}

TEST(CvTools, OneStepOfThePumpDispatchesOneMessageAndStopsBeforeAQuit) {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    TCvMessagePump Pump;
    EXPECT_FALSE(Pump.ProcessMessage()); // nothing waits
    const DWORD Thread = GetCurrentThreadId();
    PostThreadMessageW(Thread, WM_NULL, 0, 0);
    PostThreadMessageW(Thread, WM_NULL, 0, 0);
    PostQuitMessage(3); // the system hands a quit out after the posted messages
    EXPECT_TRUE(Pump.ProcessMessage());
    EXPECT_TRUE(Pump.ProcessMessage());
    EXPECT_FALSE(Pump.ProcessMessage());
    EXPECT_FALSE(Pump.ProcessMessage());
    ASSERT_TRUE(PeekMessageW(&Msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(Msg.wParam, 3u);
}

TEST(CvTools, PumpKeepsAQuitPending) {
    // Without an application object the pump stops at a quit and leaves it for the main loop.
    PostQuitMessage(7);
    ProcessMessagesHook();
    MSG Msg;
    ASSERT_TRUE(PeekMessageW(&Msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(Msg.wParam, 7u);
}
