// The results list at scale: rows that take their texts and pictures from their records when
// painted, and a long fill that Stop ends.
#include "tests/main/MainFormFixture.h"

#include <set>

namespace {

class ResultListTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        Environment.FileKindLookup = [this](const String& Name, bool ByExtension, TFileKind& Kind) {
            (ByExtension ? AskedByExtension : AskedByFile).push_back(Name);
            Kind.Icon = ByExtension ? 1 : 2;
            Kind.TypeName = L"Program";
            return true;
        };
    }

    // Records of files that need not exist: only the shell is asked about them, and that is
    // faked.
    void AddPrograms(int Count) {
        TScanResults& Results = Form->Core().Results;
        for (int I = 0; I < Count; ++I) {
            auto File = std::make_unique<TFile>();
            File->SetPath(Folder);
            File->Name = L"tool" + IntToStr(I) + L".exe";
            File->Size = 1000 + I;
            Results.Append(std::move(File), String());
        }
    }

    std::set<String> NamesOnScreen() const {
        std::set<String> Names;
        for (const TCvTreeItem* Row : Form->lvScanResults->TreeView().Rows())
            Names.insert(TfrmMain::RecordOf(Row)->FullName());
        return Names;
    }

    const TSharedText Folder{L"C:\\tools\\"};
    std::vector<String> AskedByFile;
    std::vector<String> AskedByExtension;
};

TEST_F(ResultListTest, ARowsPictureIsAskedOnlyWhenItIsPaintedAndItsTextsComeFromItsRecord) {
    constexpr int Rows = 3000;
    MakeForm();
    Form->Core().Flow.ShowPage(pgScanResults);
    AddPrograms(Rows);
    Form->Core().OnResultsFilled();
    TCvTree& List = *Form->lvScanResults;
    ASSERT_EQ(List.Items().TotalCount(), Rows);
    EXPECT_TRUE(AskedByFile.empty()) << "neither the fill nor a paint waits for a file";
    EXPECT_LE(AskedByExtension.size(), 1u);

    // The rows keep no copy of their texts: they read them from the records.
    const TCvTreeItem* First = List.Items().ItemAtIndex(0);
    EXPECT_FALSE(First->HasStaticData());
    EXPECT_EQ(First->GetItemText(), L"tool0.exe");
    EXPECT_EQ(First->CellText(1), L"C:\\tools\\");
    EXPECT_EQ(First->CellText(3), L"Program");

    // Painted: the extension is asked once, then each file on screen once, after the paint.
    UpdateWindow(List.TreeView().Handle());
    ASSERT_TRUE(PumpUntil([&] { return !AskedByFile.empty() && !Form->Busy(); }));
    App->ProcessMessages();
    const std::set<String> FirstScreen = NamesOnScreen();
    ASSERT_FALSE(FirstScreen.empty());
    EXPECT_EQ(AskedByExtension.size(), 1u) << "an extension is asked once";
    EXPECT_EQ(std::set<String>(AskedByFile.begin(), AskedByFile.end()), FirstScreen);
    EXPECT_EQ(AskedByFile.size(), FirstScreen.size()) << "each file once";

    // At the end of the list: the rows painted there, and only those.
    AskedByFile.clear();
    List.EnsureVisible(List.Items().ItemAtIndex(Rows - 1));
    UpdateWindow(List.TreeView().Handle());
    ASSERT_TRUE(PumpUntil([&] { return !AskedByFile.empty(); }));
    App->ProcessMessages();
    const std::set<String> LastScreen = NamesOnScreen();
    EXPECT_TRUE(
        LastScreen.count(TfrmMain::RecordOf(List.Items().ItemAtIndex(Rows - 1))->FullName()));
    EXPECT_EQ(std::set<String>(AskedByFile.begin(), AskedByFile.end()), LastScreen);
    EXPECT_LE(AskedByFile.size(), FirstScreen.size());
}

TEST_F(ResultListTest, AStopPostedDuringALongFillEndsItAndTheResultsKeepTheRowsListed) {
    constexpr int Rows = 200000;
    TTempFolder Fixture;
    Fixture.AddFile(L"a.tmp", "a");
    MakeForm();
    OpenJunkOptions(Fixture);

    // The scan found many more: the fill takes a while, and Stop is pressed as it begins.
    Form->Core().OnResultsFilled = [this, Fill = Form->Core().OnResultsFilled] {
        AddPrograms(Rows);
        const ATOM Atom = GlobalAddAtomW(L"btnStopScan");
        const LRESULT Answer = SendMessageW(Form->Handle(), ProbeMessage(), pqControlCentre,
                                            static_cast<LPARAM>(Atom));
        GlobalDeleteAtom(Atom);
        ASSERT_TRUE(ProbeAnswered(Answer)) << "Stop is not shown";
        PostClick(ProbePoint(Answer));
        Fill();
    };
    Form->btnNextClick();

    TScanResults& Results = Form->Core().Results;
    EXPECT_FALSE(Form->Busy());
    EXPECT_EQ(Form->Core().Flow.Page(), pgScanResults);
    EXPECT_LT(Results.Count(), Rows) << "the fill ended early";
    EXPECT_EQ(Form->lvScanResults->Items().TotalCount(), Results.Count())
        << "the results are the rows listed";
    EXPECT_EQ(Form->labScanResultsFilesFoundValue->Caption(), IntToStr(Results.Count()));
    for (int I = 0; I < Form->lvScanResults->Items().TotalCount(); I += 97)
        EXPECT_EQ(TfrmMain::RecordOf(Form->lvScanResults->Items().ItemAtIndex(I)),
                  &Results.File(I));
}

} // namespace
