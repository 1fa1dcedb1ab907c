#pragma once

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// A refused or failed split or combine (missing input, a part name that
// would overwrite the input, sizes that leave no room for data).
class EFileError : public Exception {
public:
    using Exception::Exception;
};

// Called before each part; clearing Continue stops the operation.
using TNeedDiskEvent = std::function<void(TObject* Sender, std::uint16_t DiskID,
                                          std::uint16_t NumOfDisks, bool& Continue)>;
// The percentage of the current part done; reaches 100 at the end of every part.
using TProgressEvent = std::function<void(TObject* Sender, std::uint16_t PercentDone)>;

// Cuts a file into numbered parts (name.spl, name.001, name.002, ...) and joins
// them again. The first part starts with a 32-byte header: a fixed signature,
// a zero byte and the number of parts (16-bit little-endian).
class TFileSplitter : public TComponent {
public:
    static constexpr std::int32_t DefaultSize = 1457664; // a 1.44 MB floppy disk
    static constexpr int HeaderSize = 32;
    static constexpr int MaxParts = 65535;

    explicit TFileSplitter(TComponent* Owner);

    // The whole file: the input of Split, the output of Combine. A new value
    // also names the first part (extension .SPL) unless that was set explicitly.
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& Value);
    const String& SplitFileName() const { return FSplitFileName; }
    void SetSplitFileName(const String& Value);

    // The part size, header included.
    std::int32_t Size = DefaultSize;
    // The copy block; it also limits every part after the first.
    std::int32_t BufferSize = DefaultSize;
    // The first part is this much shorter than Size. A value that would leave
    // the first part no data byte is ignored.
    std::int32_t ReduceFirstSizeBy() const { return FReduceFirstSizeBy; }
    void SetReduceFirstSizeBy(std::int32_t Value);

    TNeedDiskEvent OnNeedDisk;
    TProgressEvent OnProgress;

    // Writes the parts of FileName, replacing files of the same names. Returns
    // false when OnNeedDisk stopped it (the parts written so far stay). On an
    // error the parts written by this call are removed again.
    bool Split();
    // The files Split would replace: the parts it writes for FileName with the
    // current sizes that exist already, first part first. LaterSizesMayChange
    // (OnNeedDisk sets them part by part): every later part name counts.
    std::vector<String> ExistingParts(bool LaterSizesMayChange) const;
    // Joins the parts that the first part's header counts, starting with
    // SplitFileName, into FileName (replaced); parts beyond that count are left
    // alone. Returns the number joined, fewer when a part is missing or
    // OnNeedDisk stopped. On an error the incomplete output is removed.
    int Combine();

    // The part count of the header: computed by Split, read by Combine.
    std::uint16_t PartCount() const;

    // The name of part Index (0 = the first part itself, then .001, .002, ...).
    static String PartFileName(const String& FirstPart, int Index);

private:
    bool SizesValid() const;
    void CheckSizes() const;
    void CheckNoPartIsInput(std::int64_t Parts) const;
    void CheckFirstPartName() const;
    std::int64_t CountParts(std::int64_t InputSize) const;
    void SetPartCount(std::int64_t Parts);
    bool AskForPart(int Index, std::uint16_t Parts);
    std::int64_t WritePart(TStream& Input, TStream& Part, int Index, std::int64_t Remaining);
    // Copies From to To from Done up to Total in blocks of Buffer's size, reporting
    // Done against Total; Source names From in the error of a short read.
    void CopyBlocks(TStream& From, TStream& To, std::int64_t Done, std::int64_t Total,
                    std::vector<std::uint8_t>& Buffer, const String& Source);
    void ReportProgress(std::int64_t Done, std::int64_t Total);

    String FFileName;
    String FSplitFileName;
    bool FSplitFileNameExplicit = false;
    std::int32_t FReduceFirstSizeBy = 0;
    std::array<std::uint8_t, HeaderSize> FHeader{};
};
