#include "app/FoundFile.h"

#include <algorithm>

namespace {

const wchar_t SystemMasks[] = L"*.exe; *.com; *.dll; *.386; *.vxd; *.sys";

// Folder, taken as ending with a backslash, begins with Prefix (case ignored). Compared in
// place: the rule runs for every file a scan keeps.
bool FolderStartsWith(std::wstring_view Folder, std::wstring_view Prefix) {
    const bool Closed = !Folder.empty() && Folder.back() == L'\\';
    if (Prefix.size() > Folder.size() + (Closed ? 0 : 1))
        return false;
    const std::size_t Shared = std::min(Prefix.size(), Folder.size());
    if (CompareStringOrdinal(Folder.data(), static_cast<int>(Shared), Prefix.data(),
                             static_cast<int>(Shared), TRUE) != CSTR_EQUAL)
        return false;
    return Prefix.size() <= Folder.size() || Prefix.back() == L'\\';
}

std::wstring_view Trimmed(std::wstring_view S) {
    while (!S.empty() && S.front() <= L' ')
        S.remove_prefix(1);
    while (!S.empty() && S.back() <= L' ')
        S.remove_suffix(1);
    return S;
}

} // namespace

const String& TSharedText::None() {
    static const String Empty;
    return Empty;
}

const std::vector<std::unique_ptr<TFile>>& TFile::Duplicates() const {
    static const std::vector<std::unique_ptr<TFile>> None;
    return FDuplicates ? *FDuplicates : None;
}

void TFile::AddDuplicate(std::unique_ptr<TFile> File) {
    if (!FDuplicates)
        FDuplicates = std::make_unique<std::vector<std::unique_ptr<TFile>>>();
    FDuplicates->push_back(std::move(File));
}

TSafetyRule::TSafetyRule() {
    FSystemMatcher.SetMask(SystemMasks);
}

void TSafetyRule::SetProtectedPaths(const std::vector<String>& Paths) {
    FProtectedPaths.clear();
    for (const String& Path : Paths)
        if (String Entry = Trim(Path); !Entry.empty())
            FProtectedPaths.push_back(std::move(Entry));
}

void TSafetyRule::SetJunkMasks(const String& MaskText) {
    FHasJunkMasks = !TMatch::IsBlankMaskList(MaskText);
    FJunkMatcher.SetMask(FHasJunkMasks ? MaskText : String());
}

bool TSafetyRule::IsJunk(std::wstring_view Name) const {
    return FHasJunkMasks && FJunkMatcher.Matches(Name);
}

TSafetyLevel TSafetyRule::GetSafetyLevel(const String& Path, const String& Name) const {
    const std::wstring_view Folder = Trimmed(Path);
    for (const String& Protected : FProtectedPaths)
        if (FolderStartsWith(Folder, Protected))
            return slCritical;
    if (Name.empty())
        return slWarning;
    if (FSystemMatcher.Matches(Name))
        return slCritical;
    return IsJunk(Name) ? slSafe : slWarning;
}
