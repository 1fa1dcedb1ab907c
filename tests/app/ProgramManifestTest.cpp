// Both programs carry their application manifest; it is read back from the built executables.
#include "classlib/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The program folder of the build: the test programs live in build\tests, the programs in
// build\dist.
String DistFolder() {
    wchar_t Self[MAX_PATH * 4];
    const DWORD Length = GetModuleFileNameW(nullptr, Self, MAX_PATH * 4);
    return ExtractFilePath(ExcludeTrailingBackslash(ExtractFilePath(String(Self, Length)))) +
           L"dist\\";
}

struct TModuleFree {
    void operator()(HMODULE Module) const { FreeLibrary(Module); }
};

// The manifest resource (type 24, id 1) of Program; empty when it has none.
std::string ReadManifest(const String& Program) {
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, TModuleFree> Module(LoadLibraryExW(
        Program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!Module)
        return {};
    const HRSRC Found = FindResourceW(Module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    const HGLOBAL Loaded = Found ? LoadResource(Module.get(), Found) : nullptr;
    const void* const Bytes = Loaded ? LockResource(Loaded) : nullptr;
    if (!Bytes)
        return {};
    return std::string(static_cast<const char*>(Bytes), SizeofResource(Module.get(), Found));
}

TEST(ProgramManifest, BothProgramsCarryTheirManifest) {
    struct TCase {
        const wchar_t* Program;
        const char* Level;
    };
    // qrv edits machine-wide keys and runs uninstallers; the scheduler starts at logon.
    const TCase Cases[] = {{L"qrv.exe", "highestAvailable"}, {L"qrvsched.exe", "asInvoker"}};
    const char* const Common[] = {
        // Windows 10 as supported OS.
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
        "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true"
        "</longPathAware>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
    };
    for (const TCase& C : Cases) {
        const String Program = DistFolder() + C.Program;
        const std::string Manifest = ReadManifest(Program);
        ASSERT_FALSE(Manifest.empty()) << ToUtf8(Program) << " has no manifest";
        EXPECT_NE(Manifest.find("<requestedExecutionLevel level=\"" + std::string(C.Level) +
                                "\" uiAccess=\"false\"/>"),
                  std::string::npos)
            << ToUtf8(C.Program);
        for (const char* Part : Common)
            EXPECT_NE(Manifest.find(Part), std::string::npos) << ToUtf8(C.Program) << ": " << Part;
        // One level only: a copy of the other program's would be ambiguous.
        EXPECT_EQ(Manifest.find("requestedExecutionLevel"),
                  Manifest.rfind("requestedExecutionLevel"));
    }
}

} // namespace
