#include "app/FileSplitter.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string Pattern(std::size_t Length) {
    std::string Bytes(Length, '\0');
    for (std::size_t I = 0; I < Length; ++I)
        Bytes[I] = static_cast<char>((I * 7 + 3) % 251);
    return Bytes;
}

std::string Header(std::uint16_t Parts) {
    std::string Bytes = "TFileSplitter by Vexmoorplank";
    Bytes += '\0';
    Bytes += static_cast<char>(Parts & 0xFF);
    Bytes += static_cast<char>(Parts >> 8);
    return Bytes;
}

// The lengths of the parts that exist, in order.
std::vector<std::size_t> PartLengths(const std::wstring& FirstPart) {
    std::vector<std::size_t> Lengths;
    for (int Index = 0; FileExists(TFileSplitter::PartFileName(FirstPart, Index)); ++Index)
        Lengths.push_back(ReadBytes(TFileSplitter::PartFileName(FirstPart, Index)).size());
    return Lengths;
}

class FileSplitterTest : public ::testing::Test {
protected:
    TTempFolder Tree;
    TFileSplitter Splitter{nullptr};

    std::wstring Input(const std::string& Bytes, const std::wstring& Name = L"data.bin") {
        Tree.AddFile(Name, Bytes);
        Splitter.SetFileName(Tree.Path() + Name);
        return Tree.Path() + Name;
    }
    // Joins the parts of data.bin into Name.
    void CombineInto(const std::wstring& Name) {
        Splitter.SetFileName(Tree.Path() + Name);
        Splitter.SetSplitFileName(Tree.Path() + L"data.SPL");
        Splitter.Combine();
    }
};

TEST_F(FileSplitterTest, FirstPartStartsWithTheHeader) {
    Input("0123456789");
    Splitter.Size = 100;
    ASSERT_TRUE(Splitter.Split());
    EXPECT_EQ(ReadBytes(Tree.Path() + L"data.SPL"), Header(1) + "0123456789");
    const std::string Golden("TFileSplitter by Vexmoorplank\x00\x01\x00", 32);
    EXPECT_EQ(ReadBytes(Tree.Path() + L"data.SPL").substr(0, 32), Golden);
}

struct TLayoutCase {
    const char* Name;
    std::size_t InputSize;
    std::int32_t Size;
    std::int32_t BufferSize;
    std::int32_t Reduce;
    std::vector<std::size_t> Parts; // lengths, header included in the first
};

TEST_F(FileSplitterTest, PartLengthsCountAndRoundTrip) {
    const std::int32_t D = TFileSplitter::DefaultSize;
    const std::vector<TLayoutCase> Cases = {
        {"fits the default part exactly", D - 32, D, D, 0, {D}},
        {"one byte over the default part", D - 31, D, D, 0, {D, 1}},
        {"odd remainder", 250, 100, 100, 0, {100, 100, 82}},
        {"first part reduced", 200, 100, 100, 10, {90, 100, 42}},
        {"reduction pushes the last bytes into a part of their own", 68, 100, 100, 10, {90, 10}},
        {"buffer smaller than the part size limits later parts", 150, 100, 40, 0, {100, 40, 40, 2}},
        {"buffer smaller than the header", 100, 100, 20, 0, {100, 20, 12}},
        {"empty input gives the header alone", 0, 100, 100, 0, {32}},
    };
    for (const TLayoutCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTempFolder Folder;
        TFileSplitter Splitter(nullptr);
        const std::string Bytes = Pattern(Case.InputSize);
        Folder.AddFile(L"in.dat", Bytes);
        Splitter.SetFileName(Folder.Path() + L"in.dat");
        Splitter.Size = Case.Size;
        Splitter.BufferSize = Case.BufferSize;
        Splitter.SetReduceFirstSizeBy(Case.Reduce);
        ASSERT_TRUE(Splitter.Split());

        const std::wstring First = Folder.Path() + L"in.SPL";
        EXPECT_EQ(PartLengths(First), Case.Parts);
        EXPECT_EQ(Splitter.PartCount(), Case.Parts.size());
        EXPECT_EQ(ReadBytes(First).substr(0, 32),
                  Header(static_cast<std::uint16_t>(Case.Parts.size())));

        Splitter.SetFileName(Folder.Path() + L"out.dat");
        Splitter.SetSplitFileName(First);
        EXPECT_EQ(Splitter.Combine(), static_cast<int>(Case.Parts.size()));
        EXPECT_EQ(ReadBytes(Folder.Path() + L"out.dat"), Bytes);
        EXPECT_EQ(ReadBytes(Folder.Path() + L"in.dat"), Bytes);
    }
}

TEST_F(FileSplitterTest, PartNames) {
    EXPECT_EQ(TFileSplitter::PartFileName(L"C:\\a\\backup.spl", 0), L"C:\\a\\backup.spl");
    EXPECT_EQ(TFileSplitter::PartFileName(L"C:\\a\\backup.spl", 1), L"C:\\a\\backup.001");
    EXPECT_EQ(TFileSplitter::PartFileName(L"C:\\a\\backup.spl", 12), L"C:\\a\\backup.012");
    EXPECT_EQ(TFileSplitter::PartFileName(L"C:\\a\\backup.spl", 1000), L"C:\\a\\backup.1000");
    EXPECT_EQ(TFileSplitter::PartFileName(L"C:\\a.b\\backup", 2), L"C:\\a.b\\backup.002");

    Input(Pattern(250));
    Splitter.Size = 100;
    Splitter.BufferSize = 100;
    ASSERT_TRUE(Splitter.Split());
    for (const wchar_t* Name : {L"data.SPL", L"data.001", L"data.002"})
        EXPECT_TRUE(FileExists(Tree.Path() + Name)) << Name;
    EXPECT_FALSE(FileExists(Tree.Path() + L"data.003"));
}

TEST_F(FileSplitterTest, SplitFileNameFollowsFileNameUntilSetExplicitly) {
    TFileSplitter S(nullptr);
    S.SetFileName(L"C:\\a\\b.dat");
    EXPECT_EQ(S.SplitFileName(), L"C:\\a\\b.SPL");
    S.SetFileName(L"C:\\a\\c.txt");
    EXPECT_EQ(S.SplitFileName(), L"C:\\a\\c.SPL");
    S.SetSplitFileName(L"D:\\parts\\x.spl");
    S.SetFileName(L"C:\\a\\d.dat");
    EXPECT_EQ(S.SplitFileName(), L"D:\\parts\\x.spl");
    // Only a new value marks the name explicit.
    TFileSplitter T(nullptr);
    T.SetFileName(L"C:\\a\\b.dat");
    T.SetSplitFileName(L"C:\\a\\b.SPL");
    T.SetFileName(L"C:\\a\\c.dat");
    EXPECT_EQ(T.SplitFileName(), L"C:\\a\\c.SPL");
}

TEST_F(FileSplitterTest, DefaultsAndReduceFirstSizeByLimits) {
    EXPECT_EQ(Splitter.Size, 1457664);
    EXPECT_EQ(Splitter.BufferSize, 1457664);
    EXPECT_EQ(Splitter.ReduceFirstSizeBy(), 0);
    Splitter.Size = 100;
    Splitter.SetReduceFirstSizeBy(67); // leaves the header and one data byte
    EXPECT_EQ(Splitter.ReduceFirstSizeBy(), 67);
    Splitter.SetReduceFirstSizeBy(68);
    EXPECT_EQ(Splitter.ReduceFirstSizeBy(), 67);
    Splitter.SetReduceFirstSizeBy(-10);
    EXPECT_EQ(Splitter.ReduceFirstSizeBy(), 67);
}

TEST_F(FileSplitterTest, CombineStopsAtTheFirstMissingPart) {
    const std::string Bytes = Pattern(250);
    Input(Bytes);
    Splitter.Size = 100;
    Splitter.BufferSize = 100;
    ASSERT_TRUE(Splitter.Split());
    ASSERT_TRUE(FileDelete(Tree.Path() + L"data.001"));

    Splitter.SetFileName(Tree.Path() + L"out.dat");
    Splitter.SetSplitFileName(Tree.Path() + L"data.SPL");
    EXPECT_EQ(Splitter.Combine(), 1);
    EXPECT_EQ(Splitter.PartCount(), 3); // the header still says three
    EXPECT_EQ(ReadBytes(Tree.Path() + L"out.dat"), Bytes.substr(0, 68));
}

// A shorter split under the name of an earlier, longer one leaves the earlier later parts.
TEST_F(FileSplitterTest, CombineJoinsTheHeadersCountAndLeavesLaterPartsAlone) {
    Input(Pattern(9000));
    Splitter.Size = 2000;
    Splitter.BufferSize = 2000;
    ASSERT_TRUE(Splitter.Split());
    const std::string Newer(3000, 'n');
    Input(Newer);
    ASSERT_TRUE(Splitter.Split());
    ASSERT_EQ(PartLengths(Tree.Path() + L"data.SPL"),
              (std::vector<std::size_t>{2000, 1032, 2000, 2000, 1032}));

    Splitter.SetFileName(Tree.Path() + L"out.dat");
    Splitter.SetSplitFileName(Tree.Path() + L"data.SPL");
    EXPECT_EQ(Splitter.Combine(), 2);
    EXPECT_EQ(ReadBytes(Tree.Path() + L"out.dat").size(), Newer.size());
    EXPECT_TRUE(ReadBytes(Tree.Path() + L"out.dat") == Newer);
    EXPECT_TRUE(ReadBytes(Tree.Path() + L"data.002") == Pattern(9000).substr(3968, 2000));

    // A header that counts no parts cannot say where the file ends.
    Tree.AddFile(L"x.spl", Header(0) + "abc");
    Tree.AddFile(L"x.001", "def");
    Splitter.SetFileName(Tree.Path() + L"x.dat");
    Splitter.SetSplitFileName(Tree.Path() + L"x.spl");
    EXPECT_THROW(Splitter.Combine(), EFileError);
    EXPECT_FALSE(FileExists(Tree.Path() + L"x.dat"));
}

// 250 bytes in parts of 100 make data.SPL, data.001 and data.002.
TEST_F(FileSplitterTest, ExistingPartsNamesEveryFileTheSplitWouldReplace) {
    struct TCase {
        const char* Name;
        std::vector<std::wstring> Present;
        bool LaterSizesMayChange;
        std::vector<std::wstring> Expected;
    };
    const std::vector<TCase> Cases = {
        {"nothing there", {}, false, {}},
        {"the user's own file of the last part's name", {L"data.002"}, false, {L"data.002"}},
        {"first part first",
         {L"data.002", L"DATA.001", L"data.spl"},
         false,
         {L"data.spl", L"DATA.001", L"data.002"}},
        {"beyond the count", {L"data.003", L"data.010"}, false, {}},
        {"beyond the count while the sizes may change", {L"data.003"}, true, {L"data.003"}},
        {"not part names", {L"data.02", L"data.0001", L"data.txt", L"data.bin.001"}, true, {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTempFolder Folder;
        TFileSplitter S(nullptr);
        Folder.AddFile(L"data.bin", Pattern(250));
        for (const std::wstring& Name : Case.Present)
            Folder.AddFile(Name, "mine");
        S.SetFileName(Folder.Path() + L"data.bin");
        S.Size = 100;
        S.BufferSize = 100;
        std::vector<String> Expected;
        for (const std::wstring& Name : Case.Expected)
            Expected.push_back(Folder.Path() + Name);
        EXPECT_EQ(S.ExistingParts(Case.LaterSizesMayChange), Expected);
    }
}

TEST_F(FileSplitterTest, CombineSkipsTheHeaderWithoutCheckingIt) {
    Tree.AddFile(L"x.spl", std::string(32, 'Z') + "payload");
    Tree.AddFile(L"x.001", "-tail");
    Splitter.SetFileName(Tree.Path() + L"joined.dat");
    Splitter.SetSplitFileName(Tree.Path() + L"x.spl");
    EXPECT_EQ(Splitter.Combine(), 2);
    EXPECT_EQ(ReadBytes(Tree.Path() + L"joined.dat"), "payload-tail");
}

TEST_F(FileSplitterTest, CombineWithoutFileNameWritesXxx) {
    Tree.AddFile(L"x.spl", Header(1) + "abc");
    Splitter.SetSplitFileName(Tree.Path() + L"x.spl");
    Splitter.Combine();
    EXPECT_EQ(ReadBytes(Tree.Path() + L"x.XXX"), "abc");
}

TEST_F(FileSplitterTest, MissingInputIsRefusedWithItsName) {
    Splitter.SetFileName(Tree.Path() + L"none.dat");
    try {
        Splitter.Split();
        FAIL() << "no error";
    } catch (const EFileError& E) {
        EXPECT_EQ(E.Message(), L"Input file '" + Tree.Path() + L"none.dat' does not exist.");
    }
    Splitter.SetSplitFileName(Tree.Path() + L"none.spl");
    try {
        Splitter.Combine();
        FAIL() << "no error";
    } catch (const EFileError& E) {
        EXPECT_EQ(E.Message(), L"Input file '" + Tree.Path() + L"none.spl' does not exist.");
    }
    EXPECT_FALSE(FileExists(Tree.Path() + L"none.dat"));
}

// Every refusal leaves the files as they were and writes nothing.
TEST_F(FileSplitterTest, SplitRefusesToOverwriteItsInputOrToWorkWithoutRoom) {
    struct TCase {
        const char* Name;
        std::wstring InputName;
        std::wstring SplitName; // empty: derived from the input
        std::int32_t Size;
        std::int32_t BufferSize;
        std::size_t InputSize;
    };
    const std::vector<TCase> Cases = {
        {"input is the first part", L"data.spl", L"", 100, 100, 250},
        {"input is a later part", L"data.002", L"data.spl", 100, 100, 250},
        {"first part named like a later part", L"data.bin", L"data.002", 100, 100, 250},
        {"part size zero", L"data.bin", L"", 0, 100, 250},
        {"negative part size", L"data.bin", L"", -100, 100, 250},
        {"part size leaves no data byte", L"data.bin", L"", 32, 100, 250},
        {"buffer size zero", L"data.bin", L"", 100, 0, 250},
        {"more parts than the header can count", L"data.bin", L"", 33, 1, 65536},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTempFolder Folder;
        TFileSplitter S(nullptr);
        const std::string Bytes = Pattern(Case.InputSize);
        Folder.AddFile(Case.InputName, Bytes);
        S.SetFileName(Folder.Path() + Case.InputName);
        if (!Case.SplitName.empty())
            S.SetSplitFileName(Folder.Path() + Case.SplitName);
        S.Size = Case.Size;
        S.BufferSize = Case.BufferSize;
        EXPECT_THROW(S.Split(), EFileError);
        EXPECT_EQ(ReadBytes(Folder.Path() + Case.InputName), Bytes);
        int Files = 0;
        for (const auto& Entry : std::filesystem::directory_iterator(Folder.Path()))
            Files += Entry.is_regular_file() ? 1 : 0;
        EXPECT_EQ(Files, 1);
    }
}

TEST_F(FileSplitterTest, ReduceFirstSizeByIsRecheckedAfterSizeShrinks) {
    Input(Pattern(250));
    Splitter.Size = 100;
    Splitter.SetReduceFirstSizeBy(60);
    Splitter.Size = 80; // 80 - 60 leaves no data byte after the header
    EXPECT_THROW(Splitter.Split(), EFileError);
    EXPECT_FALSE(FileExists(Tree.Path() + L"data.SPL"));
}

TEST_F(FileSplitterTest, CombineRefusesToWriteOverAPart) {
    const std::string Bytes = Pattern(250);
    Input(Bytes);
    Splitter.Size = 100;
    Splitter.BufferSize = 100;
    ASSERT_TRUE(Splitter.Split());
    const std::vector<std::size_t> Before = PartLengths(Tree.Path() + L"data.SPL");
    Splitter.SetSplitFileName(Tree.Path() + L"data.SPL");

    for (const wchar_t* Output :
         {L"data.SPL", L"DATA.spl", L"data.001", L"data.002", L"data.007"}) {
        SCOPED_TRACE(ToUtf8(Output));
        Splitter.SetFileName(Tree.Path() + Output);
        EXPECT_THROW(Splitter.Combine(), EFileError);
        EXPECT_EQ(PartLengths(Tree.Path() + L"data.SPL"), Before);
    }
    EXPECT_FALSE(FileExists(Tree.Path() + L"data.007"));

    Splitter.SetFileName(Tree.Path() + L"data.bin");
    Splitter.SetSplitFileName(Tree.Path() + L"data.001");
    EXPECT_THROW(Splitter.Combine(), EFileError);
    EXPECT_EQ(ReadBytes(Tree.Path() + L"data.bin"), Bytes);
}

TEST_F(FileSplitterTest, DamagedFirstPartFailsAndLeavesNoOutput) {
    Tree.AddFile(L"x.spl", "too short for a header");
    Splitter.SetFileName(Tree.Path() + L"out.dat");
    Splitter.SetSplitFileName(Tree.Path() + L"x.spl");
    EXPECT_THROW(Splitter.Combine(), EReadError);
    EXPECT_FALSE(FileExists(Tree.Path() + L"out.dat"));
}

// The asking handler may change the buffer size before each part; a value
// that leaves no room must stop the split rather than write empty parts.
TEST_F(FileSplitterTest, InvalidSizeFromTheHandlerStopsAndRemovesTheParts) {
    Input(Pattern(250));
    Splitter.Size = 100;
    Splitter.BufferSize = 100;
    Splitter.OnNeedDisk = [this](TObject*, std::uint16_t DiskID, std::uint16_t, bool&) {
        if (DiskID == 2)
            Splitter.BufferSize = 0;
    };
    EXPECT_THROW(Splitter.Split(), EFileError);
    EXPECT_FALSE(FileExists(Tree.Path() + L"data.SPL"));
    EXPECT_FALSE(FileExists(Tree.Path() + L"data.001"));
}

TEST_F(FileSplitterTest, HandlerChangesLaterPartSizes) {
    const std::string Bytes = Pattern(250);
    Input(Bytes);
    Splitter.Size = 100;
    Splitter.BufferSize = 100;
    Splitter.OnNeedDisk = [this](TObject*, std::uint16_t DiskID, std::uint16_t, bool&) {
        if (DiskID == 2)
            Splitter.BufferSize = 50;
        if (DiskID == 3)
            Splitter.BufferSize = 1000; // limited to Size
    };
    ASSERT_TRUE(Splitter.Split());
    EXPECT_EQ(PartLengths(Tree.Path() + L"data.SPL"), (std::vector<std::size_t>{100, 50, 100, 32}));
    EXPECT_EQ(ReadBytes(Tree.Path() + L"data.SPL").substr(0, 32), Header(4));
    Splitter.OnNeedDisk = nullptr;
    CombineInto(L"out.dat");
    EXPECT_EQ(ReadBytes(Tree.Path() + L"out.dat"), Bytes);
}

struct TEvent {
    char Kind; // 'd' need disk, 'p' progress
    int A;
    int B;
    bool operator==(const TEvent&) const = default;
};

TEST_F(FileSplitterTest, EventsOfSplitAndCombine) {
    Input(Pattern(250));
    Splitter.Size = 100;
    Splitter.BufferSize = 100;
    std::vector<TEvent> Events;
    Splitter.OnNeedDisk = [&](TObject* Sender, std::uint16_t DiskID, std::uint16_t Disks, bool&) {
        EXPECT_EQ(Sender, &Splitter);
        Events.push_back({'d', DiskID, Disks});
    };
    Splitter.OnProgress = [&](TObject*, std::uint16_t Percent) {
        Events.push_back({'p', Percent, 0});
    };
    ASSERT_TRUE(Splitter.Split());
    // Parts of 100, 100 and 82 bytes; each reaches 100 percent.
    EXPECT_EQ(
        Events,
        (std::vector<TEvent>{
            {'d', 1, 3}, {'p', 100, 0}, {'d', 2, 3}, {'p', 100, 0}, {'d', 3, 3}, {'p', 100, 0}}));

    Events.clear();
    Splitter.BufferSize = 40;
    CombineInto(L"out.dat");
    // The count is 0 until the first part's header has been read; no fourth
    // part is asked for.
    EXPECT_EQ(Events, (std::vector<TEvent>{{'d', 1, 0},
                                           {'p', 72, 0},
                                           {'p', 100, 0},
                                           {'d', 2, 3},
                                           {'p', 40, 0},
                                           {'p', 80, 0},
                                           {'p', 100, 0},
                                           {'d', 3, 3},
                                           {'p', 48, 0},
                                           {'p', 97, 0},
                                           {'p', 100, 0}}));
}

TEST_F(FileSplitterTest, StoppingFromTheHandler) {
    const std::string Bytes = Pattern(250);
    Input(Bytes);
    Splitter.Size = 100;
    Splitter.BufferSize = 100;
    Splitter.OnNeedDisk = [](TObject*, std::uint16_t DiskID, std::uint16_t, bool& Continue) {
        Continue = DiskID < 2;
    };
    EXPECT_FALSE(Splitter.Split());
    EXPECT_EQ(PartLengths(Tree.Path() + L"data.SPL"), std::vector<std::size_t>{100});

    Splitter.OnNeedDisk = nullptr;
    ASSERT_TRUE(Splitter.Split());
    Splitter.OnNeedDisk = [](TObject*, std::uint16_t DiskID, std::uint16_t, bool& Continue) {
        Continue = DiskID < 3;
    };
    Splitter.SetFileName(Tree.Path() + L"out.dat");
    Splitter.SetSplitFileName(Tree.Path() + L"data.SPL");
    EXPECT_EQ(Splitter.Combine(), 2);
    EXPECT_EQ(ReadBytes(Tree.Path() + L"out.dat"), Bytes.substr(0, 168));
}

// Large parts: the percentage must not overflow a 32-bit product.
TEST_F(FileSplitterTest, ProgressOfLargePartsStaysInRange) {
    const std::size_t Length = 25'000'000;
    const std::string Bytes = Pattern(Length);
    Input(Bytes);
    Splitter.Size = 30'000'000;
    Splitter.BufferSize = 30'000'000;
    std::vector<int> Percents;
    Splitter.OnProgress = [&](TObject*, std::uint16_t Percent) { Percents.push_back(Percent); };
    ASSERT_TRUE(Splitter.Split());
    ASSERT_FALSE(Percents.empty());
    for (std::size_t I = 1; I < Percents.size(); ++I)
        EXPECT_LE(Percents[I - 1], Percents[I]);
    EXPECT_LE(Percents.front(), 100);
    EXPECT_EQ(Percents.back(), 100);
}

} // namespace
