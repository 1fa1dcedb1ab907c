#include "classlib/rtl/IniFiles.h"

#include "tests/support/StringLines.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

enum class TKind { Profile, Memory };

std::unique_ptr<TCustomIniFile> Open(TKind Kind, const String& Name) {
    if (Kind == TKind::Profile)
        return std::make_unique<TIniFile>(Name);
    return std::make_unique<TMemIniFile>(Name);
}

// What both kinds share: typed reads and writes, sections, erasing.
class RtlIniFileBoth : public ::testing::TestWithParam<TKind> {
protected:
    TTempFolder Temp;
};

} // namespace

TEST_P(RtlIniFileBoth, TypedValuesRoundTrip) {
    const String Name = Temp.Path() + L"qv.ini";
    auto Ini = Open(GetParam(), Name);
    Ini->WriteString(L"General", L"Lang", L"deutsch");
    Ini->WriteInteger(L"Report", L"TotalFiles1", -12);
    Ini->WriteInt64(L"Report", L"TotalSpace1", INT64_C(5000000000));
    Ini->WriteBool(L"Report", L"Flag", false);
    Ini->WriteBool(L"Report", L"On", true);
    Ini->WriteDateTime(L"Sched", L"Last", EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0));
    Ini->WriteFloat(L"Sched", L"Ratio", 0.25);

    EXPECT_EQ(Ini->ReadString(L"General", L"Lang", L"english"), L"deutsch");
    EXPECT_EQ(Ini->ReadString(L"general", L"LANG", L"english"), L"deutsch");
    EXPECT_EQ(Ini->ReadString(L"General", L"Missing", L"english "), L"english ");
    EXPECT_EQ(Ini->ReadString(L"Nowhere", L"Lang", L""), L"");
    EXPECT_EQ(Ini->ReadInteger(L"Report", L"TotalFiles1", 0), -12);
    EXPECT_EQ(Ini->ReadInt64(L"Report", L"TotalSpace1", 0), INT64_C(5000000000));
    EXPECT_EQ(Ini->ReadString(L"Report", L"Flag", L""), L"0");
    EXPECT_FALSE(Ini->ReadBool(L"Report", L"Flag", true));
    EXPECT_TRUE(Ini->ReadBool(L"Report", L"On", false));
    EXPECT_TRUE(Ini->ReadBool(L"Report", L"Missing", true));
    EXPECT_EQ(Ini->ReadInteger(L"General", L"Lang", 7), 7);
    EXPECT_EQ(Ini->ReadDateTime(L"Sched", L"Last", 0),
              EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(Ini->ReadDateTime(L"General", L"Lang", 1.5), 1.5);
    EXPECT_EQ(Ini->ReadFloat(L"Sched", L"Ratio", 0), 0.25);

    Ini->UpdateFile();
    // A fresh object sees what was stored.
    auto Again = Open(GetParam(), Name);
    EXPECT_EQ(Again->ReadString(L"General", L"Lang", L""), L"deutsch");
    EXPECT_EQ(Again->ReadInt64(L"Report", L"TotalSpace1", 0), INT64_C(5000000000));
}

TEST_P(RtlIniFileBoth, SectionsKeysAndErasing) {
    const String Name = Temp.AddFile(L"s.ini", "[One]\r\nA=1\r\nB=2\r\n[Two]\r\nC=3\r\n");
    auto Ini = Open(GetParam(), Name);
    TStringList L;
    Ini->ReadSections(L);
    EXPECT_EQ(Lines(L), (std::vector<String>{L"One", L"Two"}));
    Ini->ReadSection(L"one", L);
    EXPECT_EQ(Lines(L), (std::vector<String>{L"A", L"B"}));
    Ini->ReadSectionValues(L"One", L);
    EXPECT_EQ(Lines(L), (std::vector<String>{L"A=1", L"B=2"}));
    EXPECT_TRUE(Ini->SectionExists(L"TWO"));
    EXPECT_FALSE(Ini->SectionExists(L"Three"));
    EXPECT_TRUE(Ini->ValueExists(L"One", L"b"));
    EXPECT_FALSE(Ini->ValueExists(L"One", L"C"));

    Ini->DeleteKey(L"One", L"A");
    Ini->DeleteKey(L"One", L"NotThere");
    Ini->EraseSection(L"Two");
    Ini->EraseSection(L"NotThere");
    EXPECT_FALSE(Ini->ValueExists(L"One", L"A"));
    EXPECT_EQ(Ini->ReadString(L"One", L"A", L"gone"), L"gone");
    EXPECT_FALSE(Ini->SectionExists(L"Two"));
    Ini->ReadSection(L"Missing", L);
    EXPECT_EQ(L.Count(), 0);
    Ini->UpdateFile();
    auto Again = Open(GetParam(), Name);
    EXPECT_EQ(Again->ReadString(L"One", L"B", L""), L"2");
    EXPECT_FALSE(Again->SectionExists(L"Two"));
}

TEST_P(RtlIniFileBoth, LongValuesAreNotCut) {
    const String Name = Temp.Path() + L"long.ini";
    const String Long = StringOfChar(L'x', 70000) + L"end";
    auto Ini = Open(GetParam(), Name);
    Ini->WriteString(L"S", L"Parameters", Long);
    Ini->UpdateFile();
    EXPECT_EQ(Open(GetParam(), Name)->ReadString(L"S", L"Parameters", L""), Long);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RtlIniFileBoth, ::testing::Values(TKind::Profile, TKind::Memory),
                         [](const auto& Info) {
                             return std::string(Info.param == TKind::Profile ? "Profile"
                                                                             : "Memory");
                         });

TEST(RtlIniFile, WriteTestAndFailure) {
    TTempFolder Temp;
    // The start-up write test: write an empty value, then delete it.
    TIniFile Ini(Temp.Path() + L"qv.ini");
    Ini.WriteString(L"Report", L"Test", L"");
    EXPECT_TRUE(Ini.ValueExists(L"Report", L"Test"));
    Ini.DeleteKey(L"Report", L"Test");
    EXPECT_FALSE(Ini.ValueExists(L"Report", L"Test"));
    EXPECT_EQ(Ini.ReadString(L"Report", L"Test", L"none"), L"none");

    TIniFile Nowhere(Temp.Path() + L"no\\such\\folder\\qv.ini");
    try {
        Nowhere.WriteString(L"Report", L"Test", L"");
        FAIL() << "write into a missing folder reported success";
    } catch (const EIniFileException& E) {
        EXPECT_NE(E.Message().find(L"qv.ini"), String::npos);
    }
    EXPECT_EQ(Nowhere.ReadString(L"Report", L"Test", L"dflt"), L"dflt");
}

TEST(RtlIniFile, RelativeNamesMeanTheCurrentFolder) {
    TTempFolder Temp;
    const String Old = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Temp.Path()));
    {
        TIniFile Ini(L"rel.ini");
        EXPECT_EQ(Ini.FileName(), Temp.Path() + L"rel.ini");
        Ini.WriteString(L"A", L"B", L"C");
    }
    SetCurrentDir(Old);
    EXPECT_TRUE(FileExists(Temp.Path() + L"rel.ini"));
}

TEST(RtlMemIniFile, ParsingRules) {
    TTempFolder Temp;
    const String Name = Temp.AddFile(L"english.lng", "stray=before any section\r\n"
                                                     "; a comment\r\n"
                                                     "  [ btnNext ]  \r\n"
                                                     "Caption=Next >\r\n"
                                                     "  Hint = Go on  \r\n"
                                                     "Formula=a = b=c\r\n"
                                                     "Blank=\r\n"
                                                     "junk line\r\n"
                                                     "Caption=second wins nothing\r\n"
                                                     "[Messages]\r\n"
                                                     "sMsg=Found %d files\r\n"
                                                     "[BTNNEXT]\r\n"
                                                     "Extra=merged\r\n");
    TMemIniFile Ini(Name);
    EXPECT_EQ(Ini.ReadString(L"btnNext", L"Caption", L""), L"Next >");
    EXPECT_EQ(Ini.ReadString(L"BtnNext", L"hint", L""), L" Go on");
    EXPECT_EQ(Ini.ReadString(L"btnNext", L"Formula", L""), L"a = b=c");
    EXPECT_EQ(Ini.ReadString(L"btnNext", L"Blank", L"x"), L"");
    EXPECT_TRUE(Ini.ValueExists(L"btnNext", L"Blank"));
    EXPECT_FALSE(Ini.ValueExists(L"btnNext", L"junk line"));
    EXPECT_EQ(Ini.ReadString(L"btnNext", L"Extra", L""), L"merged");
    EXPECT_EQ(Ini.ReadString(L"", L"stray", L"none"), L"none");
    EXPECT_EQ(Ini.ReadString(L"Messages", L"sMsg", L""), L"Found %d files");
    TStringList L;
    Ini.ReadSections(L);
    EXPECT_EQ(Lines(L), (std::vector<String>{L"btnNext", L"Messages"}));
}

TEST(RtlMemIniFile, EncodingsAreDetectedAndKept) {
    TTempFolder Temp;
    struct TCase {
        const char* Name;
        std::string Bytes;
    };
    const TCase Cases[] = {
        {"le.ini", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\xE9\0", 18)},
        {"be.ini", std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0K\0=\0\xE9", 18)},
        {"bom.ini", "\xEF\xBB\xBF[S]\r\nK=\xC3\xA9"},
        {"utf8.ini", "[S]\nK=\xC3\xA9"},
        {"ansi.ini", "[S]\r\nK=\xE9"},
    };
    for (const TCase& C : Cases) {
        const String File = Temp.AddFile(FromUtf8(C.Name), C.Bytes);
        TMemIniFile Ini(File);
        EXPECT_EQ(Ini.ReadString(L"s", L"k", L""), L"\u00E9") << C.Name;
        Ini.UpdateFile();
        EXPECT_EQ(TMemIniFile(File).ReadString(L"S", L"K", L""), L"\u00E9") << C.Name;
        const std::string Written = Temp.Read(FromUtf8(C.Name));
        EXPECT_EQ(Written.substr(0, 2), C.Bytes.substr(0, 2)) << C.Name;
    }

    // An ANSI file that gets text beyond the code page is not damaged on save.
    const String Ansi = Temp.Path() + L"ansi.ini";
    {
        TMemIniFile Ini(Ansi);
        Ini.WriteString(L"S", L"Path", L"C:\\\u65E5\u672C");
        Ini.UpdateFile();
    }
    EXPECT_EQ(TMemIniFile(Ansi).ReadString(L"S", L"Path", L""), L"C:\\\u65E5\u672C");
    EXPECT_EQ(TIniFile(Ansi).ReadString(L"S", L"Path", L""), L"C:\\\u65E5\u672C");
}

TEST(RtlMemIniFile, MissingFileIsEmptyUnreadableFileThrows) {
    TTempFolder Temp;
    TMemIniFile Missing(Temp.Path() + L"none\\x.lng");
    EXPECT_FALSE(Missing.SectionExists(L"Messages"));
    EXPECT_EQ(Missing.ReadString(L"A", L"B", L"dflt"), L"dflt");

    EXPECT_THROW(TMemIniFile(Temp.Path()), EFOpenError);
    const String Locked = Temp.AddFile(L"locked.lng", "[A]\r\nB=C\r\n");
    const HANDLE H =
        CreateFileW(Locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(H, INVALID_HANDLE_VALUE);
    EXPECT_THROW(TMemIniFile{Locked}, EFOpenError);
    CloseHandle(H);
    EXPECT_EQ(TMemIniFile(Locked).ReadString(L"A", L"B", L""), L"C");
}

TEST(RtlMemIniFile, StringsInAndOut) {
    TMemIniFile Ini(L"unused.ini");
    TStringList In;
    In.SetText(L"[A]\nx=1\n[B]\ny=2");
    Ini.SetStrings(In);
    EXPECT_EQ(Ini.ReadString(L"b", L"Y", L""), L"2");
    Ini.WriteString(L"C", L"z", L"3");
    TStringList Out;
    Ini.GetStrings(Out);
    EXPECT_EQ(Out.Text(), L"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nz=3\r\n\r\n");
    Ini.Clear();
    EXPECT_FALSE(Ini.SectionExists(L"A"));
}
