#include "main/FileKinds.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

// A shell that counts what it is asked, answers from a table and fails for named files.
class FileKindsTest : public ::testing::Test {
protected:
    struct TAsked {
        String Name;
        bool ByExtension;
        bool operator==(const TAsked&) const = default;
    };

    std::unique_ptr<TFile> Record(const String& Folder, const String& Name) {
        auto File = std::make_unique<TFile>();
        File->SetPath(Folder);
        File->Name = Name;
        return File;
    }

    std::vector<TAsked> Asked;
    std::set<String> Unreadable;
    TFileKinds Kinds{[this](const String& Name, bool ByExtension, TFileKind& Kind) {
        Asked.push_back({Name, ByExtension});
        if (Unreadable.count(Name))
            return false;
        // Each file of its own picture has its own; the others share their extension's.
        Kind.Icon = ByExtension ? 100 : static_cast<int>(Name.size());
        Kind.TypeName = L"type of " + ExtractFileExt(Name);
        return true;
    }};
};

TEST_F(FileKindsTest, AnExtensionIsAskedOnceAndOnlyItsAnswersAreKept) {
    const String LongFolder = L"C:\\" + String(270, L'x') + L"\\";
    Unreadable.insert(LongFolder + L"a.txt");
    const auto Unreadable1 = Record(LongFolder, L"a.txt");
    const auto Readable = Record(L"C:\\d\\", L"b.txt");
    const auto Another = Record(L"C:\\e\\", L"c.TXT");

    // One unreadable file leaves its row without a type, not every file of its extension.
    EXPECT_EQ(Kinds.TypeName(*Unreadable1), L"");
    EXPECT_EQ(Kinds.TypeName(*Readable), L"type of .txt");
    EXPECT_EQ(Kinds.TypeName(*Another), L"type of .txt");
    EXPECT_EQ(Kinds.Picture(*Another), Kinds.Picture(*Readable));
    EXPECT_EQ(Asked,
              (std::vector<TAsked>{{LongFolder + L"a.txt", false}, {L"C:\\d\\b.txt", false}}))
        << "answered extensions are not asked again, whatever their case";
    EXPECT_FALSE(Kinds.HasPending());

    // A folder's row is not taken for a file without an extension.
    const auto Folder = Record(L"C:\\empty", L"");
    const auto NoExtension = Record(L"C:\\d\\README", L"");
    NoExtension->SetPath(L"C:\\d\\");
    NoExtension->Name = L"README";
    Kinds.Picture(*Folder);
    Kinds.Picture(*NoExtension);
    EXPECT_EQ(Asked.size(), 4u);
}

TEST_F(FileKindsTest, AFileWithItsOwnPictureShowsItsExtensionsUntilItsOwnIsAskedWhileOnScreen) {
    const auto Shown = Record(L"C:\\p\\", L"tool.exe");
    const auto Scrolled = Record(L"C:\\p\\", L"other.EXE");
    const auto Link = Record(L"C:\\p\\", L"go.lnk");

    // Painted: the extension's picture at once, asked by extension alone; the files wait.
    EXPECT_EQ(Kinds.Picture(*Shown), 100);
    EXPECT_EQ(Kinds.Picture(*Shown), 100);
    EXPECT_EQ(Kinds.Picture(*Scrolled), 100);
    EXPECT_EQ(Kinds.Picture(*Link), 100);
    EXPECT_EQ(Asked, (std::vector<TAsked>{{L"C:\\p\\tool.exe", true}, {L"C:\\p\\go.lnk", true}}));
    ASSERT_TRUE(Kinds.HasPending());

    // Only the rows still on screen are asked, once each; the others are asked when painted
    // again.
    Asked.clear();
    const std::set<const TFile*> OnScreen{Shown.get(), Link.get()};
    EXPECT_TRUE(Kinds.ResolvePending([&](const TFile* F) { return OnScreen.count(F) > 0; }, 1000));
    EXPECT_FALSE(Kinds.HasPending());
    EXPECT_EQ(Asked, (std::vector<TAsked>{{L"C:\\p\\tool.exe", false}, {L"C:\\p\\go.lnk", false}}));
    EXPECT_EQ(Kinds.Picture(*Shown), 13); // its own: the length of its name, here
    EXPECT_EQ(Kinds.Picture(*Link), 11);
    EXPECT_EQ(Kinds.Picture(*Scrolled), 100);
    EXPECT_TRUE(Kinds.HasPending()) << "painted again, the scrolled row waits again";

    // A file the shell cannot read keeps the generic picture and is not asked again.
    Asked.clear();
    Unreadable.insert(L"C:\\p\\other.EXE");
    Kinds.ResolvePending([](const TFile*) { return true; }, 1000);
    EXPECT_EQ(Kinds.Picture(*Scrolled), 100);
    EXPECT_EQ(Asked.size(), 1u);
    EXPECT_FALSE(Kinds.HasPending());

    // New rows: the files' answers go, the extensions' stay.
    Asked.clear();
    Kinds.ForgetFiles();
    EXPECT_EQ(Kinds.Picture(*Shown), 100);
    EXPECT_TRUE(Asked.empty());
    EXPECT_TRUE(Kinds.HasPending());
}

} // namespace
