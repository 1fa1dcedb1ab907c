#pragma once
// The split and combine pages without their windows: cutting a file into parts with the record
// of every split in the table Split, the list of recorded splits, joining and forgetting them.

#include "app/Clock.h"
#include "app/FileSplitter.h"
#include "app/Progress.h"
#include "classlib/db/DBTables.h"
#include "classlib/rtl/SysUtils.h"
#include "main/FeatureContext.h"

#include <cstdint>
#include <optional>
#include <vector>

// The part size for the size edit's text and the unit list's index (0 bytes, 1 KB, 2 MB, 3 GB);
// none when the text is no integer or the size lies outside 33 bytes .. 2 GB - 1.
std::optional<std::int32_t> SplitPartSize(const String& Text, int Unit);
// The first part of a split of FileName into Destination: the name without its last
// extension, with ".spl".
String SplitFirstPartName(const String& Destination, const String& FileName);

// One record of the table Split.
struct TSplitRecord {
    std::int64_t ID = 0;
    TDateTime Date = 0;
    String OriginalFileName;
    String NewFileName;
};

enum TSplitOutcome {
    spSplit,        // the parts are written and the split recorded
    spSizeRefused,  // the part size lies outside its limits; nothing was written
    spNotConfirmed, // the user kept the existing parts
    spFailed,       // the split failed; its own half-made parts are gone
};

enum TCombineOutcome {
    cbJoined,       // the output holds every part
    cbNotConfirmed, // the user kept the existing output
    cbFailed,       // a part was missing or unreadable; an existing output is untouched
};

class TSplitPages {
public:
    // Progress may be null.
    TSplitPages(TTable& SplitTable, const TFeatureContext& Context, const IClock& Clock,
                IProgress* Progress);

    // The splitter, with the sizes of the last split.
    const TFileSplitter& Splitter() const { return FSplitter; }

    // btnSplitFilesSplitClick: sets the part size from the edit's text and unit (a text that is
    // no integer keeps the last sizes), asks before replacing existing parts, splits, deletes
    // the file with DeleteAfter, records the split and tells "SplitFileOK".
    TSplitOutcome Split(const String& FileName, const String& Destination, const String& SizeText,
                        int Unit, bool DeleteAfter, bool AskEachSize);

    // The recorded splits in table order.
    const std::vector<TSplitRecord>& Records() const { return FRecords; }
    void LoadRecords();
    // The folder a split is joined into unless the user picks another: its original's folder.
    static String JoinFolderFor(const TSplitRecord& Record);
    // Joins record Index into JoinFolder under the original's name, asking before replacing a
    // file there; shows "CombineUnSplitFileOK" only when every part was joined.
    TCombineOutcome Combine(std::size_t Index, const String& JoinFolder);
    // Deletes record Index (by its ID) and its row; the parts on disk stay. Shows
    // "RemoveUnSplitFileOK" when the record went.
    bool Forget(std::size_t Index);

private:
    void NeedDisk(bool& Continue);
    void ShowProgress(int Percent);
    void ShowFailure(const Exception& Error) const;
    bool ConfirmOverwrite(const String& FileName) const;
    void JoinInto(const String& FirstPart, const String& Output);

    TTable& FTable;
    const TFeatureContext& FContext;
    const IClock& FClock;
    IProgress* FProgress;
    TFileSplitter FSplitter{nullptr};
    bool FAskEachSize = false;
    std::vector<TSplitRecord> FRecords;
};
