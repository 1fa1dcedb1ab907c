// Ini files: TIniFile over the Windows profile functions and TMemIniFile, a
// whole-file copy in memory with its own parser.
#pragma once

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/TextEncoding.h"

#include <vector>

class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(String FileName) : FFileName(std::move(FileName)) {}
    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& Section, const String& Ident,
                              const String& Default) const = 0;
    virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
    // Decimal or hex ("0x..."/"$..."); Default when missing or not a number.
    int ReadInteger(const String& Section, const String& Ident, int Default) const;
    void WriteInteger(const String& Section, const String& Ident, int Value);
    std::int64_t ReadInt64(const String& Section, const String& Ident, std::int64_t Default) const;
    void WriteInt64(const String& Section, const String& Ident, std::int64_t Value);
    // Any non-zero integer is true; written as "1" / "0".
    bool ReadBool(const String& Section, const String& Ident, bool Default) const;
    void WriteBool(const String& Section, const String& Ident, bool Value);
    // Locale text (DateTimeToStr / StrToDateTime); Default when it cannot be read.
    TDateTime ReadDateTime(const String& Section, const String& Ident, TDateTime Default) const;
    void WriteDateTime(const String& Section, const String& Ident, TDateTime Value);
    double ReadFloat(const String& Section, const String& Ident, double Default) const;
    void WriteFloat(const String& Section, const String& Ident, double Value);

    virtual bool SectionExists(const String& Section) const;
    virtual bool ValueExists(const String& Section, const String& Ident) const;
    // Key names of Section, in file order.
    virtual void ReadSection(const String& Section, TStrings& Strings) const = 0;
    virtual void ReadSections(TStrings& Strings) const = 0;
    // "Name=Value" lines of Section.
    virtual void ReadSectionValues(const String& Section, TStrings& Strings) const = 0;
    virtual void EraseSection(const String& Section) = 0;
    virtual void DeleteKey(const String& Section, const String& Ident) = 0;
    virtual void UpdateFile() = 0;

private:
    String FFileName;
};

// Every call goes to the file through Get/WritePrivateProfileStringW. A name
// without a folder is taken relative to the current folder (not the Windows
// folder). A failed write throws EIniFileException.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const String& FileName);

    String ReadString(const String& Section, const String& Ident,
                      const String& Default) const override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    bool SectionExists(const String& Section) const override;
    void ReadSection(const String& Section, TStrings& Strings) const override;
    void ReadSections(TStrings& Strings) const override;
    void ReadSectionValues(const String& Section, TStrings& Strings) const override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;
    // Flushes the system's cached copy of the file.
    void UpdateFile() override;
};

// The whole file held in memory; changes reach the disk only by UpdateFile.
// Section and key names compare case-insensitively; a value is everything after
// the first '=' of its line. Reads UTF-16LE/BE with BOM, UTF-8 with or without
// BOM and ANSI. A missing file gives an empty object; a file that exists but
// cannot be read throws EFOpenError.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const String& FileName);

    String ReadString(const String& Section, const String& Ident,
                      const String& Default) const override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    bool SectionExists(const String& Section) const override;
    bool ValueExists(const String& Section, const String& Ident) const override;
    void ReadSection(const String& Section, TStrings& Strings) const override;
    void ReadSections(TStrings& Strings) const override;
    void ReadSectionValues(const String& Section, TStrings& Strings) const override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;
    // Writes the file in the encoding it was read in; a new file, or an ANSI file
    // whose text no longer fits the ANSI code page, is written as UTF-16LE with BOM.
    // Throws EFCreateError / EWriteError.
    void UpdateFile() override;

    void Clear();
    // Replaces the content by ini text given as lines.
    void SetStrings(const TStrings& Strings);
    // The content as ini lines.
    void GetStrings(TStrings& Strings) const;

private:
    struct TEntry {
        String Name;
        String Value;
        bool HasValue = true; // false for a line without '='
    };
    struct TSection {
        String Name;
        std::vector<TEntry> Entries;
    };
    const TSection* FindSection(const String& Section) const;
    TSection* FindSection(const String& Section);
    // The first line of Section holding Ident=...; nullptr when there is none.
    const TEntry* FindKey(const String& Section, const String& Ident) const;
    TEntry* FindKey(const String& Section, const String& Ident);
    // Fills Strings with one line per key of Section, made by KeyLine.
    template <typename Line>
    void ListKeys(const String& Section, TStrings& Strings, Line KeyLine) const;
    void Parse(const String& Text);
    String ToText() const;

    std::vector<TSection> FSections;
    // Encoding the file was read in; a new file is written as UTF-16LE.
    TTextEncoding FEncoding = TTextEncoding::Utf16LE;
};
