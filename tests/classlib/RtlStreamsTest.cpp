#include "classlib/rtl/Classes.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(RtlMemoryStream, ReadWriteSeekAndSize) {
    TMemoryStream M;
    EXPECT_EQ(M.Size(), 0);
    M.WriteBuffer("hello", 5);
    EXPECT_EQ(M.Position(), 5);
    EXPECT_EQ(M.Size(), 5);
    M.SetPosition(1);
    M.WriteBuffer("EL", 2);
    EXPECT_EQ(M.Size(), 5);
    EXPECT_EQ(std::memcmp(M.Memory(), "hELlo", 5), 0);

    char Buf[8] = {};
    M.SetPosition(3);
    EXPECT_EQ(M.Read(Buf, 8), 2);
    EXPECT_EQ(std::string(Buf, 2), "lo");
    EXPECT_EQ(M.Read(Buf, 8), 0);
    EXPECT_THROW(M.ReadBuffer(Buf, 1), EReadError);

    EXPECT_EQ(M.Seek(-2, soFromEnd), 3);
    EXPECT_EQ(M.Seek(1, soFromCurrent), 4);
    EXPECT_EQ(M.Seek(-1, soFromBeginning), -1);
    EXPECT_EQ(M.Position(), 4);

    // Writing past the end fills the gap with zeros.
    M.SetPosition(7);
    M.WriteBuffer("!", 1);
    EXPECT_EQ(M.Size(), 8);
    EXPECT_EQ(std::memcmp(M.Memory(), "hELlo\0\0!", 8), 0);

    M.SetSize(2);
    EXPECT_EQ(M.Position(), 2);
    M.Clear();
    EXPECT_EQ(M.Size(), 0);
    EXPECT_EQ(M.Position(), 0);
    EXPECT_THROW(M.SetSize(-1), EStreamError);
}

TEST(RtlFileStream, CreateWriteReopenAndRead) {
    TTempFolder Temp;
    const String Name = Temp.Path() + L"data \u00E9.bin";
    {
        TFileStream F(Name, fmCreate);
        F.WriteBuffer("0123456789", 10);
        EXPECT_EQ(F.Size(), 10);
        F.SetSize(4);
        EXPECT_EQ(F.Position(), 4);
    }
    EXPECT_EQ(Temp.Read(L"data \u00E9.bin"), "0123");
    {
        TFileStream F(Name, fmOpenReadWrite);
        F.Seek(0, soFromEnd);
        F.WriteBuffer("45", 2);
        F.SetPosition(0);
        char Buf[6];
        F.ReadBuffer(Buf, 6);
        EXPECT_EQ(std::string(Buf, 6), "012345");
        EXPECT_THROW(F.ReadBuffer(Buf, 1), EReadError);
    }
    {
        TFileStream F(Name, fmOpenRead);
        EXPECT_THROW(F.WriteBuffer("x", 1), EWriteError);
    }
    // fmCreate empties an existing file.
    { TFileStream F(Name, fmCreate); }
    EXPECT_EQ(Temp.Read(L"data \u00E9.bin"), "");
}

TEST(RtlFileStream, OpenErrorsNameTheFile) {
    TTempFolder Temp;
    const String Missing = Temp.Path() + L"missing.bin";
    try {
        TFileStream F(Missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& E) {
        EXPECT_NE(E.Message().find(Missing), String::npos) << ToUtf8(E.Message());
    }
    EXPECT_THROW(TFileStream(Temp.Path() + L"none\\x.bin", fmCreate), EFCreateError);
}

TEST(RtlFileStream, ShareModes) {
    TTempFolder Temp;
    const String Name = Temp.AddFile(L"shared.bin", "abc");
    {
        TFileStream Exclusive(Name, fmOpenReadWrite | fmShareExclusive);
        EXPECT_THROW(TFileStream(Name, fmOpenRead | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream Reader(Name, fmOpenRead | fmShareDenyWrite);
        EXPECT_NO_THROW(TFileStream(Name, fmOpenRead | fmShareDenyWrite));
        EXPECT_THROW(TFileStream(Name, fmOpenWrite | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream Writer(Name, fmOpenReadWrite | fmShareDenyNone);
        EXPECT_NO_THROW(TFileStream(Name, fmOpenRead | fmShareDenyNone));
    }
}

TEST(RtlStreams, CopyFromAndMemoryFiles) {
    TTempFolder Temp;
    TMemoryStream Source;
    std::string Big(200000, '\0');
    for (std::size_t I = 0; I < Big.size(); ++I)
        Big[I] = static_cast<char>(I * 7);
    Source.WriteBuffer(Big.data(), static_cast<std::int64_t>(Big.size()));

    TMemoryStream Part;
    Source.SetPosition(10);
    EXPECT_EQ(Part.CopyFrom(Source, 100), 100);
    EXPECT_EQ(std::memcmp(Part.Memory(), Big.data() + 10, 100), 0);
    // Count 0 copies the whole source from its start.
    TMemoryStream All;
    EXPECT_EQ(All.CopyFrom(Source, 0), static_cast<std::int64_t>(Big.size()));
    EXPECT_EQ(std::memcmp(All.Memory(), Big.data(), Big.size()), 0);
    Source.SetPosition(Source.Size() - 5);
    EXPECT_THROW(Part.CopyFrom(Source, 6), EReadError);

    All.SaveToFile(Temp.Path() + L"big.bin");
    EXPECT_EQ(Temp.Read(L"big.bin"), Big);
    TMemoryStream Loaded;
    Loaded.LoadFromFile(Temp.Path() + L"big.bin");
    EXPECT_EQ(Loaded.Size(), static_cast<std::int64_t>(Big.size()));
    EXPECT_EQ(Loaded.Position(), 0);
    EXPECT_EQ(std::memcmp(Loaded.Memory(), Big.data(), Big.size()), 0);
    EXPECT_THROW(Loaded.LoadFromFile(Temp.Path() + L"none.bin"), EFOpenError);
    EXPECT_EQ(Loaded.Size(), static_cast<std::int64_t>(Big.size()));
}

TEST(RtlStreams, StringListThroughAStream) {
    TMemoryStream M;
    TStringList Out;
    Out.SetText(L"one\n\u00E9");
    Out.SaveToStream(M);
    EXPECT_EQ(M.Size(), 9);
    M.SetPosition(0);
    TStringList In;
    In.LoadFromStream(M);
    EXPECT_EQ(In.Text(), Out.Text());
}
