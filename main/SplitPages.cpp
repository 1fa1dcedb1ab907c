#include "main/SplitPages.h"
#include "classlib/rtl/PathLayer.h"

#include "app/QRVUtils.h"

#include "classlib/rtl/WinApi.h"

#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t SmallestPart = TFileSplitter::HeaderSize + 1;
constexpr std::int64_t LargestPart = std::numeric_limits<std::int32_t>::max();

// A file of the join folder that nothing else uses, for the output while it grows.
String TemporaryJoinFile(const String& Folder) {
    const String Name = CreateTempFileIn(Folder, L"qrv");
    if (Name.empty())
        throw EFileError(L"Cannot write into the folder '" + Folder + L"'.");
    return Name;
}

} // namespace

std::optional<std::int32_t> SplitPartSize(const String& Text, int Unit) {
    std::int64_t Value = 0;
    if (Unit < 0 || Unit > 3 || !TryStrToInt64(Trim(Text), Value) || Value < 0 ||
        Value > LargestPart)
        return std::nullopt;
    const std::int64_t Size = Value << (10 * Unit);
    if (Size < SmallestPart || Size > LargestPart)
        return std::nullopt;
    return static_cast<std::int32_t>(Size);
}

String SplitFirstPartName(const String& Destination, const String& FileName) {
    return IncludeTrailingBackslash(Destination) + ChangeFileExt(ExtractFileName(FileName), L"") +
           L".spl";
}

TSplitPages::TSplitPages(TTable& SplitTable, const TFeatureContext& Context, const IClock& Clock,
                         IProgress* Progress)
    : FTable(SplitTable), FContext(Context), FClock(Clock), FProgress(Progress) {
    FSplitter.OnNeedDisk = [this](TObject*, std::uint16_t, std::uint16_t, bool& Continue) {
        NeedDisk(Continue);
    };
    FSplitter.OnProgress = [this](TObject*, std::uint16_t Percent) { ShowProgress(Percent); };
}

void TSplitPages::NeedDisk(bool& Continue) {
    Continue = true;
    IPrompt* const Prompt = FContext.Prompt();
    if (!FAskEachSize || !Prompt)
        return;
    String Answer = IntToStr(FSplitter.Size);
    if (!Prompt->InputQuery(L"Split", FContext.Message(L"EnterSplitVolumeSize"), Answer, 255,
                            String()))
        return;
    // A part must hold at least one byte: a smaller answer would cut parts without end.
    int Size = 0;
    if (TryStrToInt(Trim(Answer), Size) && Size >= 1)
        FSplitter.BufferSize = Size;
}

void TSplitPages::ShowProgress(int Percent) {
    if (!FProgress)
        return;
    FProgress->SetPosition(Percent);
    FProgress->Pump();
}

void TSplitPages::ShowFailure(const Exception& Error) const {
    FContext.Notice(Error.Message(), IPrompt::IconStop);
}

bool TSplitPages::ConfirmOverwrite(const String& FileName) const {
    return FContext.Confirm(FContext.Message(L"OverwriteFileConfirm", FileName));
}

TSplitOutcome TSplitPages::Split(const String& FileName, const String& Destination,
                                 const String& SizeText, int Unit, bool DeleteAfter,
                                 bool AskEachSize) {
    std::int64_t Typed = 0;
    if (TryStrToInt64(Trim(SizeText), Typed)) {
        const std::optional<std::int32_t> Size = SplitPartSize(SizeText, Unit);
        if (!Size) {
            FContext.Notice(FContext.Message(L"sSplitSizeOutOfRange"), IPrompt::IconStop);
            return spSizeRefused;
        }
        FSplitter.Size = *Size;
        FSplitter.BufferSize = *Size;
    }

    const String FirstPart = SplitFirstPartName(Destination, FileName);
    FSplitter.SetFileName(FileName);
    FSplitter.SetSplitFileName(FirstPart);
    // Any file the split would write over, a part of an earlier split or the user's own
    // file of a part's name: one question for all of them.
    const std::vector<String> Replaced = FSplitter.ExistingParts(AskEachSize);
    if (!Replaced.empty() && !ConfirmOverwrite(Replaced.front()))
        return spNotConfirmed;

    FAskEachSize = AskEachSize;
    try {
        std::optional<TProgressScope> Shown;
        if (FProgress)
            Shown.emplace(*FProgress, ExtractFileName(FileName), 100, false);
        FSplitter.Split();
    } catch (const Exception& Error) {
        FAskEachSize = false;
        ShowFailure(Error);
        return spFailed;
    }
    FAskEachSize = false;

    if (DeleteAfter)
        FileDelete(FileName);
    try {
        FTable.Append();
        FTable.FieldByName(L"Date").SetAsDateTime(std::floor(FClock.Now()));
        FTable.FieldByName(L"OriginalFileName").SetAsString(FileName);
        FTable.FieldByName(L"NewFileName").SetAsString(FirstPart);
        FTable.Post();
    } catch (const Exception&) {
        FTable.Cancel();
    }
    FContext.Notice(FContext.Message(L"SplitFileOK"), IPrompt::IconInformation);
    return spSplit;
}

void TSplitPages::LoadRecords() {
    FRecords.clear();
    try {
        for (FTable.First(); !FTable.Eof(); FTable.Next()) {
            TSplitRecord Record;
            Record.ID = FTable.FieldByName(AutoIncFieldName).AsInteger();
            Record.Date = FTable.FieldByName(L"Date").AsDateTime();
            Record.OriginalFileName = FTable.FieldByName(L"OriginalFileName").AsString();
            Record.NewFileName = FTable.FieldByName(L"NewFileName").AsString();
            FRecords.push_back(std::move(Record));
        }
    } catch (const Exception&) {
        // The records read so far are listed.
    }
}

String TSplitPages::JoinFolderFor(const TSplitRecord& Record) {
    return ExtractFilePath(Record.OriginalFileName);
}

void TSplitPages::JoinInto(const String& FirstPart, const String& Output) {
    const String Temporary = TemporaryJoinFile(ExtractFilePath(Output));
    try {
        std::optional<TProgressScope> Shown;
        if (FProgress)
            Shown.emplace(*FProgress, ExtractFileName(FirstPart), 100, false);
        FSplitter.SetFileName(Temporary);
        FSplitter.SetSplitFileName(FirstPart);
        const int Joined = FSplitter.Combine();
        if (Joined < FSplitter.PartCount())
            throw EFileError(L"Only " + IntToStr(Joined) + L" of the " +
                             IntToStr(FSplitter.PartCount()) + L" parts of '" + FirstPart +
                             L"' were found.");
        if (!MoveFileExW(ExtendedPath(Temporary).c_str(), ExtendedPath(Output).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
            throw EFileError(L"Cannot write the file '" + Output + L"'.");
    } catch (...) {
        FileDelete(Temporary);
        throw;
    }
}

TCombineOutcome TSplitPages::Combine(std::size_t Index, const String& JoinFolder) {
    if (Index >= FRecords.size())
        return cbFailed;
    const TSplitRecord& Record = FRecords[Index];
    const String Output =
        IncludeTrailingBackslash(JoinFolder) + ExtractFileName(Record.OriginalFileName);
    if (FileExists(Output) && !ConfirmOverwrite(Output))
        return cbNotConfirmed;
    try {
        JoinInto(Record.NewFileName, Output);
    } catch (const Exception& Error) {
        ShowFailure(Error);
        return cbFailed;
    }
    FContext.Notice(FContext.Message(L"CombineUnSplitFileOK"), IPrompt::IconInformation);
    return cbJoined;
}

bool TSplitPages::Forget(std::size_t Index) {
    if (Index >= FRecords.size())
        return false;
    const std::int64_t ID = FRecords[Index].ID;
    bool Deleted = false;
    try {
        for (FTable.First(); !FTable.Eof();) {
            if (FTable.FieldByName(AutoIncFieldName).AsInteger() == ID) {
                FTable.Delete();
                Deleted = true;
                break;
            }
            FTable.Next();
        }
    } catch (const Exception&) {
        Deleted = false;
    }
    if (!Deleted)
        return false;
    FRecords.erase(FRecords.begin() + static_cast<std::ptrdiff_t>(Index));
    FContext.Notice(FContext.Message(L"RemoveUnSplitFileOK"), IPrompt::IconInformation);
    return true;
}
