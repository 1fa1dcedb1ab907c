// The item stream (binary property "Data"): each item's record followed by its children's, root
// first. Written in the current version -13; every older version is read.
#include "treelist/CvTreeItems.h"

#include "treelist/CvTools.h"
#include "treelist/CvTreeCore.h"

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/TextEncoding.h"

#include <cstring>

namespace {

constexpr std::int32_t CurrentVersion = -13;
constexpr int RecordSize = 128;
constexpr int StyleRecordSize = 36;

// ---- little-endian fields

std::int32_t ReadInt(TStream& S) {
    unsigned char B[4];
    S.ReadBuffer(B, 4);
    return static_cast<std::int32_t>(B[0] | (B[1] << 8) | (B[2] << 16) |
                                     (static_cast<std::uint32_t>(B[3]) << 24));
}

std::uint8_t ReadByte(TStream& S) {
    std::uint8_t B;
    S.ReadBuffer(&B, 1);
    return B;
}

void WriteInt(TStream& S, std::int32_t V) {
    const auto U = static_cast<std::uint32_t>(V);
    const unsigned char B[4] = {static_cast<unsigned char>(U), static_cast<unsigned char>(U >> 8),
                                static_cast<unsigned char>(U >> 16),
                                static_cast<unsigned char>(U >> 24)};
    S.WriteBuffer(B, 4);
}

void WriteByte(TStream& S, std::uint8_t V) {
    S.WriteBuffer(&V, 1);
}

std::int32_t Get32(const unsigned char* R, int At) {
    return static_cast<std::int32_t>(R[At] | (R[At + 1] << 8) | (R[At + 2] << 16) |
                                     (static_cast<std::uint32_t>(R[At + 3]) << 24));
}

void Put32(unsigned char* R, int At, std::int32_t V) {
    const auto U = static_cast<std::uint32_t>(V);
    for (int I = 0; I < 4; ++I)
        R[At + I] = static_cast<unsigned char>(U >> (8 * I));
}

// ---- strings

TCvString Widen(const std::string& Bytes) {
    if (Bytes.empty())
        return {};
    const int N =
        MultiByteToWideChar(CP_ACP, 0, Bytes.data(), static_cast<int>(Bytes.size()), nullptr, 0);
    TCvString W(N, L'\0');
    MultiByteToWideChar(CP_ACP, 0, Bytes.data(), static_cast<int>(Bytes.size()), W.data(), N);
    return W;
}

// A counted ANSI text whose damage ends the reading (main and column texts). Read in pieces, so
// a damaged count can't reserve more memory than the stream holds.
TCvString ReadAnsiText(TStream& S) {
    const std::int32_t N = ReadInt(S);
    if (N < 0)
        throw EReadError(L"Stream read error");
    return Widen(ReadStreamBytes(S, static_cast<size_t>(N)));
}

void Written(bool Ok) {
    if (!Ok)
        throw EWriteError(L"Stream write error");
}

void WriteAnsiText(TStream& S, std::wstring_view Text) {
    Written(WriteAnsiStringToStream(S, EncodeText(Text, TTextEncoding::Ansi)));
}

// A stream string whose failure (a negative length) spoils that string only: the target keeps
// its value and the reading goes on after the length.
void ReadStreamString(TStream& S, TCvString& Target, bool Wide) {
    if (Wide) {
        ReadWideStringFromStream(S, Target);
        return;
    }
    std::string Bytes;
    if (ReadAnsiStringFromStream(S, Bytes))
        Target = Widen(Bytes);
}

void SetFlagBit(std::uint32_t& Flags, std::uint32_t Bit, bool On) {
    Flags = On ? Flags | Bit : Flags & ~Bit;
}

} // namespace

// ------------------------------------------------------------------ styles

void TCvTreeItem::WriteStyle(TStream& Stream, TCvCellStyle& Style, bool Custom) {
    if (Custom) {
        FOwner->OnCellStyleSave(FOwner, Stream, &Style);
        return;
    }
    unsigned char R[StyleRecordSize] = {};
    Put32(R, 0, Style.CellBkColor);
    Put32(R, 4, Style.TextBkColor);
    Put32(R, 8, Style.TextColor);
    Put32(R, 12, static_cast<std::int32_t>(Style.TextFlags));
    R[20] = static_cast<unsigned char>(Style.CellType);
    R[21] = static_cast<unsigned char>(Style.Style);
    R[22] = Style.OwnerProps ? 1 : 0;
    R[23] = Style.UseBkColor ? 1 : 0;
    Put32(R, 24, Style.FontSize);
    R[28] = Style.FontStyles;
    Put32(R, 32, Style.Tag);
    Stream.WriteBuffer(R, StyleRecordSize);
    WriteAnsiText(Stream, Style.FontName);
}

void TCvTreeItem::ReadStyle(TStream& Stream, TCvCellStyle& Style, bool Custom) {
    if (Custom) {
        // Without the handler the bytes can't be skipped: stop rather than read on misplaced.
        if (!FOwner->OnCellStyleLoad)
            throw EReadError(L"Stream read error");
        FOwner->OnCellStyleLoad(FOwner, Stream, &Style);
        return;
    }
    unsigned char R[StyleRecordSize];
    Stream.ReadBuffer(R, StyleRecordSize);
    Style.CellBkColor = Get32(R, 0);
    Style.TextBkColor = Get32(R, 4);
    Style.TextColor = Get32(R, 8);
    Style.TextFlags = static_cast<std::uint32_t>(Get32(R, 12));
    Style.CellType = static_cast<TCvFieldType>(R[20]);
    Style.Style = static_cast<TCvSectionStyle>(R[21]);
    Style.OwnerProps = R[22] != 0;
    Style.UseBkColor = R[23] != 0;
    Style.FontSize = Get32(R, 24);
    Style.FontStyles = R[28];
    Style.Tag = Get32(R, 32);
    ReadStreamString(Stream, Style.FontName, false);
}

// ------------------------------------------------------------------ writing

void TCvTreeItem::WriteData(TStream& Stream) {
    WriteRecord(Stream);
    WriteInt(Stream, ChildrenCount());
    for (const auto& Child : FChildren)
        Child->WriteData(Stream);
}

void TCvTreeItem::WriteRecord(TStream& Stream) {
    WriteInt(Stream, CurrentVersion);
    WriteAnsiText(Stream, Text());

    unsigned char R[RecordSize] = {};
    // Focus and selection belong to the session, and the reader drops them: never stored.
    const std::uint16_t State =
        FState & ~(CvStateBit(TCvItemState::Focused) | CvStateBit(TCvItemState::Selected));
    R[0] = static_cast<unsigned char>(State);
    R[1] = static_cast<unsigned char>(State >> 8);
    Put32(R, 4, FMainImage);
    Put32(R, 8, MainStateImage);
    Put32(R, 12, FSecondImage);
    Put32(R, 16, SecondStateImage);
    Put32(R, 20, static_cast<std::int32_t>(FFlags & ~CvTransientItemFlags));
    Put32(R, 28, Color);
    Put32(R, 32, FRowBkColor);
    Put32(R, 36, BkColor);
    R[40] = FCheckBoxState;
    R[41] = FCheckBoxType;
    Put32(R, 44, FOwnHeight);
    R[48] = BorderStyle;
    Put32(R, 52, IndentAdjust);
    Put32(R, 56, StrikedLineColor);
    Put32(R, 60, Tag);
    R[64] = static_cast<unsigned char>(OverlayIndex);
    R[66] = static_cast<unsigned char>(OverlayIndex2);
    Stream.WriteBuffer(R, RecordSize);

    WriteInt(Stream, -1);
    Written(WriteWideStringToStream(Stream, FTexts && FExtras ? FExtras->Hint : TCvString()));
    const int Columns = FTexts.ColumnCount();
    WriteInt(Stream, Columns);
    for (int I = 0; I < Columns; ++I)
        WriteAnsiText(Stream, FTexts.Column(I));

    const bool UseStyles = HasFlag(ifUseStyles);
    WriteByte(Stream, UseStyles ? 1 : 0);
    if (UseStyles) {
        const bool Custom = static_cast<bool>(FOwner->OnCellStyleSave);
        WriteByte(Stream, Custom ? 1 : 0);
        TCvCellStyle Empty(nullptr);
        WriteStyle(Stream, FTexts ? *MainStyle() : Empty, Custom);
        WriteInt(Stream, StylesCount());
        for (int I = 0; I < StylesCount(); ++I)
            WriteStyle(Stream, *GetStyle(I), Custom);
    }
    FOwner->DoItemSave(Stream, this);
}

// ------------------------------------------------------------------ reading

void TCvTreeItem::ReadData(TStream& Stream) {
    ReadRecord(Stream);
    ReadChildren(Stream);
}

void TCvTreeItem::ReadChildren(TStream& Stream) {
    const std::int32_t Children = ReadInt(Stream);
    if (Children < 0)
        throw EReadError(L"Stream read error");
    for (std::int32_t I = 0; I < Children; ++I) {
        TCvTreeItem* const Child = FCollection->AppendChild(this);
        // A record that breaks off leaves no half-read row behind; complete ones stay.
        try {
            Child->ReadRecord(Stream);
        } catch (...) {
            FCollection->RemoveItem(Child);
            throw;
        }
        Child->ReadChildren(Stream);
    }
}

void TCvTreeItem::ReadRecord(TStream& Stream) {
    TCvTreeCore& T = *FOwner;
    std::int32_t Version = ReadInt(Stream);
    TCvString MainText;
    if (Version >= 0) {
        // Version 0 has no marker: this was already the text's byte count.
        MainText = Widen(ReadStreamBytes(Stream, static_cast<size_t>(Version)));
        Version = 0;
    } else {
        MainText = ReadAnsiText(Stream);
    }
    if (FTexts)
        FTexts.SetMain(MainText);

    std::uint32_t Flags = FFlags;
    std::uint16_t State = FState;
    if (Version <= -11) {
        unsigned char R[RecordSize];
        Stream.ReadBuffer(R, RecordSize);
        State = static_cast<std::uint16_t>(R[0] | (R[1] << 8));
        FMainImage = Get32(R, 4);
        MainStateImage = Get32(R, 8);
        FSecondImage = Get32(R, 12);
        SecondStateImage = Get32(R, 16);
        Flags = static_cast<std::uint32_t>(Get32(R, 20));
        Color = Get32(R, 28);
        FRowBkColor = Get32(R, 32);
        BkColor = Get32(R, 36);
        FCheckBoxState = R[40];
        FCheckBoxType = R[41];
        FOwnHeight = static_cast<std::uint16_t>(Get32(R, 44));
        BorderStyle = R[48];
        IndentAdjust = Get32(R, 52);
        StrikedLineColor = Get32(R, 56);
        Tag = Get32(R, 60);
        if (Version <= -13) {
            OverlayIndex = static_cast<std::int8_t>(R[64]);
            OverlayIndex2 = static_cast<std::int8_t>(R[66]);
        }
    } else if (Version >= -10 && Version <= -8) {
        const bool Old = Version != -10;
        unsigned char R[60];
        const int Size = Old ? 52 : 60;
        Stream.ReadBuffer(R, Size);
        State = static_cast<std::uint16_t>(R[0] | (R[1] << 8));
        FMainImage = Get32(R, 4);
        MainStateImage = Get32(R, 8);
        SetFlagBit(Flags, ifForceButtons, Get32(R, 12) != 0);
        Color = Get32(R, 16);
        struct TOffsets {
            int BkColor, RowBkColor, ParentColors, ParentStyle, CheckBoxEnabled, CheckBoxState,
                ShowCheckBox, CheckBoxType, Enabled, Hidden, Multiline, OwnerHeight, OwnHeight,
                SuppressLines, IsHTML;
        };
        const TOffsets O =
            Old ? TOffsets{20, -1, 24, 25, 26, 27, 28, 29, 40, 41, 42, 43, 44, 48, 49}
                : TOffsets{24, 20, 28, 29, 30, 31, 32, 33, 44, 45, 47, 48, 52, 56, 57};
        BkColor = Get32(R, O.BkColor);
        if (O.RowBkColor >= 0)
            FRowBkColor = Get32(R, O.RowBkColor);
        SetFlagBit(Flags, ifParentColors, R[O.ParentColors] != 0);
        SetFlagBit(Flags, ifParentStyle, R[O.ParentStyle] != 0);
        SetFlagBit(Flags, ifCheckBoxEnabled, R[O.CheckBoxEnabled] != 0);
        FCheckBoxState = R[O.CheckBoxState];
        SetFlagBit(Flags, ifShowCheckBox, R[O.ShowCheckBox] != 0);
        FCheckBoxType = R[O.CheckBoxType];
        if (Old) {
            FSecondImage = Get32(R, 32);
            SecondStateImage = Get32(R, 36);
        }
        SetFlagBit(Flags, ifEnabled, R[O.Enabled] != 0);
        SetFlagBit(Flags, ifHidden, R[O.Hidden] != 0);
        SetFlagBit(Flags, ifMultiline, R[O.Multiline] != 0);
        SetFlagBit(Flags, ifOwnerHeight, R[O.OwnerHeight] != 0);
        FOwnHeight = static_cast<std::uint16_t>(Get32(R, O.OwnHeight));
        SetFlagBit(Flags, ifSuppressLines, R[O.SuppressLines] != 0);
        SetFlagBit(Flags, ifIsHTML, R[O.IsHTML] != 0);
        SetFlagBit(Flags, ifUseBkColor, ReadByte(Stream) != 0);
    }

    // Focus and selection are the tree's, not the stream's; transient marks are never taken.
    const std::uint16_t Dropped =
        CvStateBit(TCvItemState::Focused) | CvStateBit(TCvItemState::Selected);
    const bool WasExpanded = IsExpanded();
    FState = static_cast<std::uint16_t>((State & ~Dropped) | (FState & Dropped));
    FSelMirror = FState;
    if (WasExpanded != IsExpanded())
        FCollection->VisibilityChanged();
    const bool WantHTML = (Flags & ifIsHTML) != 0;
    const bool WasHidden = IsHiddenState();
    ChangeHeightKind([&] {
        FFlags = (Flags & ~(CvTransientItemFlags | ifIsHTML)) | (FFlags & (ifIsHTML | ifDeleting));
    });
    if (FParent && WasHidden != IsHiddenState())
        T.AdjustHiddenCount(IsHiddenState() ? 1 : -1);
    if (WantHTML)
        SetIsHTML(true);

    std::int32_t Count = ReadInt(Stream);
    if (Count == -1) {
        TCvString Hint;
        ReadStreamString(Stream, Hint, Version <= -12);
        SetHint(Hint);
        Count = ReadInt(Stream);
    }
    if (Count < 0)
        throw EReadError(L"Stream read error");
    std::vector<TCvString> Columns;
    for (std::int32_t I = 0; I < Count; ++I)
        Columns.push_back(ReadAnsiText(Stream));
    if (FTexts && !Columns.empty()) {
        std::vector<TCvString> All = FTexts.Columns();
        All.insert(All.end(), Columns.begin(), Columns.end());
        ColumnTextList()->Assign(All);
    }

    if (Version < 0) {
        const bool UseStyles = ReadByte(Stream) == 1;
        SetFlagBit(FFlags, ifUseStyles, UseStyles);
        if (UseStyles) {
            const bool Custom = Version < -1 && ReadByte(Stream) != 0;
            TCvCellStyle Spare(nullptr);
            ReadStyle(Stream, FTexts ? *MainStyle() : Spare, Custom);
            const std::int32_t Styles = ReadInt(Stream);
            if (Styles < 0)
                throw EReadError(L"Stream read error");
            for (std::int32_t I = 0; I < Styles; ++I) {
                TCvCellStyle* Style = AddStyle();
                ReadStyle(Stream, Style ? *Style : Spare, Custom);
            }
        }
    }
    T.DoItemLoad(Stream, this);
}

// ------------------------------------------------------------- collection

void TCvTreeItems::LoadFromStream(TStream& Stream) {
    TCvTreeCore& T = *FOwner;
    TCvTreeCore::TBatch Batch(T);
    RemoveAll();
    // Marked first: a damaged stream keeps the items read so far, and they must show.
    T.MaxRowWidth = -1;
    T.MarkRowsChanged();
    FRoot->ReadData(Stream);
    Batch.Close();
}

void TCvTreeItems::SaveToStream(TStream& Stream) {
    FRoot->WriteData(Stream);
}
