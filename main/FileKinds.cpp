#include "main/FileKinds.h"

#include "classlib/rtl/WinApi.h"

namespace {

// A folder's record has no name; its picture is a folder's, not that of a file without an
// extension.
String KindKey(const TFile& File) {
    return File.Name.empty() ? String(L"\\") : UpperCase(ExtractFileExt(File.Name));
}

} // namespace

bool TFileKinds::OwnIcon(const String& FileName) {
    const String Extension = UpperCase(ExtractFileExt(FileName));
    return Extension == L".EXE" || Extension == L".ICO" || Extension == L".LNK" ||
           Extension == L".CUR" || Extension == L".ANI";
}

const TFileKind* TFileKinds::ExtensionKind(const TFile& File) {
    const String Key = KindKey(File);
    if (const auto Known = FByExtension.find(Key); Known != FByExtension.end())
        return &Known->second;
    TFileKind Kind;
    const bool Generic = !File.Name.empty() && OwnIcon(File.Name);
    if (!FLookup || !FLookup(File.FullName(), Generic, Kind))
        return nullptr;
    return &FByExtension.emplace(Key, std::move(Kind)).first->second;
}

const TFileKind* TFileKinds::FileKind(const TFile& File) const {
    const auto Known = FByFile.find(&File);
    return Known == FByFile.end() ? nullptr : &Known->second;
}

int TFileKinds::Picture(const TFile& File) {
    if (!File.Name.empty() && OwnIcon(File.Name)) {
        if (const TFileKind* Own = FileKind(File))
            return Own->Icon;
        if (FQueued.insert(&File).second)
            FPending.push_back(&File);
    }
    const TFileKind* Kind = ExtensionKind(File);
    return Kind ? Kind->Icon : 0;
}

String TFileKinds::TypeName(const TFile& File) {
    if (const TFileKind* Own = FileKind(File))
        return Own->TypeName;
    const TFileKind* Kind = ExtensionKind(File);
    return Kind ? Kind->TypeName : String();
}

bool TFileKinds::ResolvePending(const std::function<bool(const TFile*)>& Listed,
                                unsigned BudgetMs) {
    const ULONGLONG Start = GetTickCount64();
    bool Answered = false;
    size_t Done = 0;
    for (; Done < FPending.size() && GetTickCount64() - Start < BudgetMs; ++Done) {
        const TFile* File = FPending[Done];
        FQueued.erase(File);
        if (!Listed(File))
            continue;
        TFileKind Kind;
        if (!FLookup || !FLookup(File->FullName(), false, Kind)) {
            const TFileKind* Generic = ExtensionKind(*File);
            Kind = Generic ? *Generic : TFileKind();
        }
        FByFile[File] = std::move(Kind);
        Answered = true;
    }
    FPending.erase(FPending.begin(), FPending.begin() + static_cast<std::ptrdiff_t>(Done));
    return Answered;
}

void TFileKinds::ForgetFiles() {
    FByFile.clear();
    FPending.clear();
    FQueued.clear();
}
