#include "app/FileSplitter.h"

#include "app/QRVUtils.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr char Signature[] = "TFileSplitter by Vexmoorplank";
static_assert(sizeof(Signature) - 1 == 29);

// Reads and writes go in blocks of at most this size, however large the
// buffer size is set, so a part size of a gigabyte needs no gigabyte of memory.
constexpr std::int64_t MaxBlock = 4 * 1024 * 1024;

// "001" for 1; numbers of more than three digits are written in full.
String PartNumberText(int Number) {
    return Format(L"%.3d", {Number});
}

// The part number that the extension of Name spells as PartFileName writes it,
// or 0 when it spells none.
int PartNumberOfExtension(const String& Name) {
    const String Ext = ExtractFileExt(Name);
    if (Ext.size() < 4 || Ext.size() > 10)
        return 0;
    if (!std::all_of(Ext.begin() + 1, Ext.end(), [](wchar_t C) { return C >= L'0' && C <= L'9'; }))
        return 0;
    const int Number = StrToIntDef(Ext.substr(1), 0);
    return Number >= 1 && PartNumberText(Number) == Ext.substr(1) ? Number : 0;
}

// Which part of the split starting with FirstPart the file Name is; -1 for none.
int PartIndexOf(const String& FirstPart, const String& Name) {
    if (SameFileName(FirstPart, Name))
        return 0;
    const int Number = PartNumberOfExtension(Name);
    return Number > 0 && SameFileName(TFileSplitter::PartFileName(FirstPart, Number), Name) ? Number
                                                                                            : -1;
}

void ReplaceFile(const String& FileName) {
    if (FileExists(FileName) && !FileDelete(FileName))
        throw EFCreateError(L"Cannot replace file '" + FileName + L"'. " +
                            SysErrorMessage(GetLastError()));
}

[[noreturn]] void RaiseTooManyParts() {
    throw EFileError(L"A split file can have at most " + IntToStr(TFileSplitter::MaxParts) +
                     L" parts.");
}

[[noreturn]] void RaiseOverwritesInput(const String& PartName, const String& Input) {
    throw EFileError(L"The part '" + PartName + L"' would overwrite the file '" + Input + L"'.");
}

} // namespace

TFileSplitter::TFileSplitter(TComponent* Owner) : TComponent(Owner) {
    std::memcpy(FHeader.data(), Signature, sizeof(Signature) - 1);
}

void TFileSplitter::SetFileName(const String& Value) {
    if (Value == FFileName)
        return;
    FFileName = Value;
    if (!FSplitFileNameExplicit)
        FSplitFileName = ChangeFileExt(FFileName, L".SPL");
}

void TFileSplitter::SetSplitFileName(const String& Value) {
    if (Value == FSplitFileName)
        return;
    FSplitFileName = Value;
    FSplitFileNameExplicit = true;
}

void TFileSplitter::SetReduceFirstSizeBy(std::int32_t Value) {
    if (Value >= 0 && std::int64_t{Size} - Value - (HeaderSize + 1) >= 0)
        FReduceFirstSizeBy = Value;
}

std::uint16_t TFileSplitter::PartCount() const {
    return static_cast<std::uint16_t>(FHeader[30] | (FHeader[31] << 8));
}

void TFileSplitter::SetPartCount(std::int64_t Parts) {
    FHeader[30] = static_cast<std::uint8_t>(Parts & 0xFF);
    FHeader[31] = static_cast<std::uint8_t>(Parts >> 8);
}

String TFileSplitter::PartFileName(const String& FirstPart, int Index) {
    return Index == 0 ? FirstPart : ChangeFileExt(FirstPart, L"." + PartNumberText(Index));
}

bool TFileSplitter::SizesValid() const {
    return std::int64_t{Size} - FReduceFirstSizeBy >= HeaderSize + 1 && BufferSize >= 1;
}

// Size may have changed since ReduceFirstSizeBy was set, and OnNeedDisk may
// change BufferSize between parts.
void TFileSplitter::CheckSizes() const {
    if (std::int64_t{Size} - FReduceFirstSizeBy < HeaderSize + 1)
        throw EFileError(L"The part size " + IntToStr(Size) +
                         L" leaves no room for data in the first part.");
    if (BufferSize < 1)
        throw EFileError(L"The buffer size " + IntToStr(BufferSize) + L" is not valid.");
}

// A first part named like a later part (x.002) would be overwritten by, or
// read again as, that later part.
void TFileSplitter::CheckFirstPartName() const {
    if (PartNumberOfExtension(FSplitFileName) > 0)
        throw EFileError(L"The name of the first part '" + FSplitFileName +
                         L"' is the name of a later part; choose another extension.");
}

void TFileSplitter::CheckNoPartIsInput(std::int64_t Parts) const {
    const int Index = PartIndexOf(FSplitFileName, FFileName);
    if (Index >= 0 && Index < Parts)
        RaiseOverwritesInput(PartFileName(FSplitFileName, Index), FFileName);
}

std::int64_t TFileSplitter::CountParts(std::int64_t InputSize) const {
    const std::int64_t FirstPart = std::int64_t{Size} - FReduceFirstSizeBy;
    const std::int64_t LaterPart = std::min(BufferSize, Size);
    const std::int64_t Rest = InputSize + HeaderSize - FirstPart;
    return Rest <= 0 ? 1 : 1 + (Rest + LaterPart - 1) / LaterPart;
}

bool TFileSplitter::AskForPart(int Index, std::uint16_t Parts) {
    bool Continue = true;
    if (OnNeedDisk)
        OnNeedDisk(this, static_cast<std::uint16_t>(Index + 1), Parts, Continue);
    return Continue;
}

void TFileSplitter::ReportProgress(std::int64_t Done, std::int64_t Total) {
    if (OnProgress)
        OnProgress(this, static_cast<std::uint16_t>(Total > 0 ? Done * 100 / Total : 100));
}

bool TFileSplitter::Split() {
    if (!FileExists(FFileName))
        throw EFileError(L"Input file '" + FFileName + L"' does not exist.");
    if (FSplitFileName.empty())
        FSplitFileName = ChangeFileExt(FFileName, L".SPL");
    CheckSizes();
    CheckFirstPartName();

    TFileStream Input(FFileName, fmOpenRead | fmShareDenyWrite);
    const std::int64_t InputSize = Input.Size();
    const std::int64_t Parts = CountParts(InputSize);
    if (Parts > MaxParts)
        RaiseTooManyParts();
    CheckNoPartIsInput(Parts);
    SetPartCount(Parts);

    std::vector<String> Written;
    try {
        std::int64_t Taken = 0;
        // An empty input still gets its first part: the header alone.
        for (int Index = 0; Index == 0 || Taken < InputSize; ++Index) {
            if (Index == MaxParts)
                RaiseTooManyParts();
            if (!AskForPart(Index, static_cast<std::uint16_t>(Parts)))
                return false;
            CheckSizes();
            const String PartName = PartFileName(FSplitFileName, Index);
            if (SameFileName(PartName, FFileName))
                RaiseOverwritesInput(PartName, FFileName);
            ReplaceFile(PartName);
            TFileStream Part(PartName, fmCreate);
            Written.push_back(PartName);
            Taken += WritePart(Input, Part, Index, InputSize - Taken);
        }
        // Sizes that OnNeedDisk changed change the count: Combine joins what the header says.
        if (static_cast<std::int64_t>(Written.size()) != Parts) {
            SetPartCount(static_cast<std::int64_t>(Written.size()));
            TFileStream First(Written.front(), fmOpenReadWrite | fmShareDenyWrite);
            First.SetPosition(HeaderSize - 2);
            First.WriteBuffer(FHeader.data() + HeaderSize - 2, 2);
        }
    } catch (...) {
        for (const String& PartName : Written)
            FileDelete(PartName);
        throw;
    }
    return true;
}

std::vector<String> TFileSplitter::ExistingParts(bool LaterSizesMayChange) const {
    // Split itself refuses these before it writes anything.
    if (!FileExists(FFileName) || !SizesValid())
        return {};
    const String FirstPart =
        FSplitFileName.empty() ? ChangeFileExt(FFileName, L".SPL") : FSplitFileName;
    std::int64_t Parts = MaxParts;
    if (!LaterSizesMayChange) {
        try {
            TFileStream Input(FFileName, fmOpenRead | fmShareDenyWrite);
            Parts = std::min<std::int64_t>(CountParts(Input.Size()), MaxParts);
        } catch (const Exception&) {
            return {}; // Split reports the input it cannot read
        }
    }
    // One listing of the folder, however many parts the split may write.
    const String Folder = ExtractFilePath(FirstPart);
    std::vector<std::pair<int, String>> Found;
    TSearchRec F;
    for (int Result = FindFirst(ChangeFileExt(FirstPart, L".*"), faAnyFile & ~faDirectory, F);
         Result == 0; Result = FindNext(F)) {
        const int Index = PartIndexOf(FirstPart, Folder + F.Name);
        if (Index >= 0 && Index < Parts)
            Found.emplace_back(Index, Folder + F.Name);
    }
    std::sort(Found.begin(), Found.end());
    std::vector<String> Names;
    for (auto& Part : Found)
        Names.push_back(std::move(Part.second));
    return Names;
}

std::int64_t TFileSplitter::WritePart(TStream& Input, TStream& Part, int Index,
                                      std::int64_t Remaining) {
    std::int64_t Limit = std::min(BufferSize, Size);
    std::int64_t Block = Limit;
    std::int64_t Fill = 0;
    if (Index == 0) {
        Part.WriteBuffer(FHeader.data(), HeaderSize);
        Limit = std::int64_t{Size} - FReduceFirstSizeBy;
        Block = std::min<std::int64_t>(Limit, BufferSize) - HeaderSize;
        Fill = HeaderSize;
    }
    // The last part ends with the input; its progress counts to that end.
    const std::int64_t Target = std::min(Limit, Fill + Remaining);
    std::vector<std::uint8_t> Buffer(
        static_cast<size_t>(std::clamp<std::int64_t>(Block, 1, MaxBlock)));
    CopyBlocks(Input, Part, Fill, Target, Buffer, L"The file '" + FFileName + L"'");
    return Target - Fill;
}

int TFileSplitter::Combine() {
    if (!FileExists(FSplitFileName))
        throw EFileError(L"Input file '" + FSplitFileName + L"' does not exist.");
    if (FFileName.empty())
        FFileName = ChangeFileExt(FSplitFileName, L".XXX");
    if (BufferSize < 1)
        throw EFileError(L"The buffer size " + IntToStr(BufferSize) + L" is not valid.");
    CheckFirstPartName();
    if (PartIndexOf(FSplitFileName, FFileName) >= 0)
        throw EFileError(L"The output file '" + FFileName + L"' is one of the parts to join.");

    ReplaceFile(FFileName);
    FHeader[30] = FHeader[31] = 0;
    int Joined = 0;
    try {
        TFileStream Output(FFileName, fmCreate);
        std::vector<std::uint8_t> Buffer(
            static_cast<size_t>(std::min<std::int64_t>(BufferSize, MaxBlock)));
        // Parts of an earlier, longer split of the same name may follow the last one.
        for (; Joined == 0 || Joined < PartCount(); ++Joined) {
            const String PartName = PartFileName(FSplitFileName, Joined);
            if (!AskForPart(Joined, PartCount()) || !FileExists(PartName))
                break;
            TFileStream Part(PartName, fmOpenRead | fmShareDenyWrite);
            if (Joined == 0) {
                Part.ReadBuffer(FHeader.data(), HeaderSize);
                if (PartCount() == 0)
                    throw EFileError(L"The header of '" + PartName +
                                     L"' does not count its parts.");
            }
            // Progress is the position in the part, so the first part too ends at 100.
            CopyBlocks(Part, Output, Part.Position(), Part.Size(), Buffer,
                       L"The part '" + PartName + L"'");
        }
    } catch (...) {
        FileDelete(FFileName);
        throw;
    }
    return Joined;
}

void TFileSplitter::CopyBlocks(TStream& From, TStream& To, std::int64_t Done, std::int64_t Total,
                               std::vector<std::uint8_t>& Buffer, const String& Source) {
    if (Done >= Total)
        ReportProgress(Total, Total);
    while (Done < Total) {
        const std::int64_t Want =
            std::min<std::int64_t>(static_cast<std::int64_t>(Buffer.size()), Total - Done);
        const std::int64_t Got = From.Read(Buffer.data(), Want);
        if (Got <= 0)
            throw EReadError(Source + L" ended before all of it was read.");
        To.WriteBuffer(Buffer.data(), Got);
        Done += Got;
        ReportProgress(Done, Total);
    }
}
