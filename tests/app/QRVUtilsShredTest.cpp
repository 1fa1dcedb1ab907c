#include "app/QRVUtils.h"

#include "tests/app/QRVUtilsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// Records what ShredFile reports; OnReset runs when the range goes back to 0.
class TRecordedProgress : public TShredProgress {
public:
    void SetRange(std::int64_t Max, std::int64_t Position) override {
        Ranges.emplace_back(Max, Position);
        if (Max == 0 && OnReset)
            OnReset();
    }
    void StepBy(std::int64_t Delta) override { Steps.push_back(Delta); }

    std::vector<std::pair<std::int64_t, std::int64_t>> Ranges;
    std::vector<std::int64_t> Steps;
    std::function<void()> OnReset;
};

std::string Pattern(std::size_t Size) {
    std::string Bytes(Size, '\0');
    for (std::size_t I = 0; I < Size; ++I)
        Bytes[I] = static_cast<char>('a' + I % 26);
    return Bytes;
}

TEST(QRVUtilsShred, SevenPassesOverwriteTheContentThenTheFileGoes) {
    TTempFolder Tree;
    const String File = Tree.Path() + L"secret.doc";
    const std::string Original = Pattern(100000);
    Tree.AddFile(L"secret.doc", Original);

    TRecordedProgress Progress;
    std::string LastPass;
    Progress.OnReset = [&] { LastPass = ReadBytes(File); };
    ShredFile(File, &Progress);

    EXPECT_FALSE(PathPresent(File));
    // The random pass is the last one: same length, none of the old bytes' order.
    ASSERT_EQ(LastPass.size(), Original.size());
    EXPECT_NE(LastPass, Original);
    EXPECT_NE(LastPass.find_first_not_of('\0'), std::string::npos);
    EXPECT_NE(LastPass.find_first_not_of('\xFF'), std::string::npos);

    const std::vector<std::pair<std::int64_t, std::int64_t>> Ranges = {{100000, 0}, {0, 0}};
    EXPECT_EQ(Progress.Ranges, Ranges);
    // Blocks of 65535 bytes and the rest, each counted a seventh.
    std::vector<std::int64_t> Steps;
    for (int Pass = 0; Pass < 7; ++Pass) {
        Steps.push_back(65535 / 7);
        Steps.push_back((100000 - 65535) / 7);
    }
    EXPECT_EQ(Progress.Steps, Steps);
}

TEST(QRVUtilsShred, ReadOnlyHiddenAndEmptyFilesAreShredded) {
    TTempFolder Tree;
    Tree.AddFile(L"ro.txt", "read only");
    const String ReadOnly = Tree.Path() + L"ro.txt";
    ASSERT_TRUE(
        SetFileAttributesW(ReadOnly.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    Tree.AddFile(L"empty.txt", "");

    ShredFile(ReadOnly);
    EXPECT_FALSE(PathPresent(ReadOnly));

    TRecordedProgress Progress;
    ShredFile(Tree.Path() + L"empty.txt", &Progress);
    EXPECT_FALSE(PathPresent(Tree.Path() + L"empty.txt"));
    EXPECT_TRUE(Progress.Steps.empty());
}

TEST(QRVUtilsShred, MissingFileIsNoError) {
    TTempFolder Tree;
    TRecordedProgress Progress;
    EXPECT_NO_THROW(ShredFile(Tree.Path() + L"missing.txt", &Progress));
    EXPECT_NO_THROW(ShredFile(L""));
    EXPECT_TRUE(Progress.Ranges.empty());
}

TEST(QRVUtilsShred, FileInUseRaisesAndStaysIntact) {
    TTempFolder Tree;
    const String File = Tree.Path() + L"busy.dat";
    const std::string Original = Pattern(70000);
    Tree.AddFile(L"busy.dat", Original);
    ASSERT_TRUE(SetFileAttributesW(File.c_str(), FILE_ATTRIBUTE_READONLY));
    const HANDLE Lock =
        CreateFileW(File.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(Lock, INVALID_HANDLE_VALUE);

    TRecordedProgress Progress;
    EXPECT_THROW(ShredFile(File, &Progress), Exception);
    CloseHandle(Lock);

    EXPECT_EQ(ReadBytes(File), Original);
    EXPECT_EQ(GetFileAttributesW(File.c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    SetFileAttributesW(File.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_FALSE(Progress.Ranges.empty());
    EXPECT_EQ(Progress.Ranges.back(), std::make_pair(std::int64_t{0}, std::int64_t{0}));
}

TEST(QRVUtilsShred, LinkIsNotFollowed) {
    const String Fixtures = UtilsFixtures();
    ASSERT_FALSE(Fixtures.empty()) << "QRV_FIXTURES is not set";
    const String Link = Fixtures + L"shred-link";
    ASSERT_TRUE(FolderExists(Link)) << "fixture missing";

    EXPECT_THROW(ShredFile(Link), Exception);
    EXPECT_TRUE(FolderExists(Link));
    EXPECT_EQ(ReadBytes(Fixtures + L"outside\\keep.txt"), "keep");
}

TEST(QRVUtilsShred, RandomBytesCoverTheWholeRange) {
    std::vector<std::uint8_t> First(65536), Second(65536);
    FillRandomBuffer(First);
    FillRandomBuffer(Second);
    EXPECT_NE(First, Second);
    std::vector<int> Seen(256);
    for (const std::uint8_t Byte : First)
        ++Seen[Byte];
    // Each value is expected 256 times; a missing one (such as 255) means a wrong range.
    EXPECT_GT(*std::min_element(Seen.begin(), Seen.end()), 150);

    std::vector<std::uint8_t> Odd(13, 0);
    FillRandomBuffer(Odd);
    EXPECT_NE(std::count(Odd.begin(), Odd.end(), 0), 13);
}

} // namespace
