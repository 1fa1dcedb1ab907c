// TRegistry over the Reg* functions.
#include "classlib/rtl/Registry.h"

#include <cstring>

// ---------------------------------------------------------------- TRegKey

TRegKey& TRegKey::operator=(TRegKey&& Other) noexcept {
    if (this != &Other)
        Reset(Other.Release());
    return *this;
}

HKEY TRegKey::Release() {
    HKEY K = FKey;
    FKey = nullptr;
    return K;
}

void TRegKey::Reset(HKEY Key) {
    if (FKey != nullptr)
        RegCloseKey(FKey);
    FKey = Key;
}

// -------------------------------------------------------------- TRegistry

namespace {

[[noreturn]] void Fail(const String& What, const String& Name) {
    throw ERegistryException(What + L" '" + Name + L"'");
}

} // namespace

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value) {
    CloseKey();
    FRootKey = Value;
}

String TRegistry::StripKey(const String& Key) {
    String K = Key;
    while (!K.empty() && K.back() == L'\\')
        K.pop_back();
    if (!K.empty() && K[0] == L'\\')
        K.erase(0, 1);
    return K;
}

HKEY TRegistry::BaseKey(const String& Key) const {
    if ((!Key.empty() && Key[0] == L'\\') || !FCurrentKey)
        return FRootKey;
    return FCurrentKey.Get();
}

String TRegistry::FullPath(const String& Key) const {
    const String Rel = StripKey(Key);
    if ((!Key.empty() && Key[0] == L'\\') || !FCurrentKey || FCurrentPath.empty())
        return Rel;
    return Rel.empty() ? FCurrentPath : FCurrentPath + L"\\" + Rel;
}

bool TRegistry::OpenWithAccess(const String& Key, bool CanCreate, REGSAM Rights) {
    const String Rel = StripKey(Key);
    HKEY Opened = nullptr;
    LSTATUS R;
    if (CanCreate && !Rel.empty())
        R = RegCreateKeyExW(BaseKey(Key), Rel.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Rights,
                            nullptr, &Opened, nullptr);
    else
        R = RegOpenKeyExW(BaseKey(Key), Rel.c_str(), 0, Rights, &Opened);
    if (R != ERROR_SUCCESS)
        return false;
    String Path = FullPath(Key);
    CloseKey();
    FCurrentKey.Reset(Opened);
    FCurrentPath = std::move(Path);
    return true;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
    return OpenWithAccess(Key, CanCreate, Access);
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
    return OpenWithAccess(Key, false, KEY_READ);
}

bool TRegistry::CreateKey(const String& Key) {
    const String Rel = StripKey(Key);
    if (Rel.empty())
        return false;
    HKEY Created = nullptr;
    if (RegCreateKeyExW(BaseKey(Key), Rel.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Access,
                        nullptr, &Created, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(Created);
    return true;
}

void TRegistry::CloseKey() {
    if (FCurrentKey && !LazyWrite)
        RegFlushKey(FCurrentKey.Get());
    FCurrentKey.Reset();
    FCurrentPath.clear();
}

bool TRegistry::KeyExists(const String& Key) const {
    HKEY K = nullptr;
    const LSTATUS R = RegOpenKeyExW(BaseKey(Key), StripKey(Key).c_str(), 0, KEY_READ, &K);
    if (R == ERROR_SUCCESS)
        RegCloseKey(K);
    return R == ERROR_SUCCESS || R == ERROR_ACCESS_DENIED;
}

bool TRegistry::DeleteKey(const String& Key) {
    const String Rel = StripKey(Key);
    if (Rel.empty())
        return false;
    const HKEY Base = BaseKey(Key);
    if (RegDeleteTreeW(Base, Rel.c_str()) != ERROR_SUCCESS)
        return false;
    const LSTATUS R = RegDeleteKeyW(Base, Rel.c_str());
    return R == ERROR_SUCCESS || R == ERROR_FILE_NOT_FOUND;
}

HKEY TRegistry::RequireKey() const {
    if (!FCurrentKey)
        throw ERegistryException(L"No registry key is open");
    return FCurrentKey.Get();
}

bool TRegistry::ValueExists(const String& Name) const {
    return FCurrentKey && RegQueryValueExW(FCurrentKey.Get(), Name.c_str(), nullptr, nullptr,
                                           nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const String& Name) {
    return FCurrentKey && RegDeleteValueW(FCurrentKey.Get(), Name.c_str()) == ERROR_SUCCESS;
}

TRegDataType TRegistry::GetDataType(const String& Name) const {
    DWORD Type = 0;
    if (!FCurrentKey || RegQueryValueExW(FCurrentKey.Get(), Name.c_str(), nullptr, &Type, nullptr,
                                         nullptr) != ERROR_SUCCESS)
        return rdUnknown;
    switch (Type) {
    case REG_SZ:
        return rdString;
    case REG_EXPAND_SZ:
        return rdExpandString;
    case REG_DWORD:
        return rdInteger;
    case REG_BINARY:
        return rdBinary;
    default:
        return rdUnknown;
    }
}

std::int64_t TRegistry::GetDataSize(const String& Name) const {
    DWORD Size = 0;
    if (!FCurrentKey || RegQueryValueExW(FCurrentKey.Get(), Name.c_str(), nullptr, nullptr, nullptr,
                                         &Size) != ERROR_SUCCESS)
        return -1;
    return Size;
}

std::vector<unsigned char> TRegistry::GetData(const String& Name, DWORD& Type) const {
    const HKEY Key = RequireKey();
    std::vector<unsigned char> Data(256);
    for (;;) {
        auto Size = static_cast<DWORD>(Data.size());
        const LSTATUS R = RegQueryValueExW(Key, Name.c_str(), nullptr, &Type, Data.data(), &Size);
        if (R == ERROR_SUCCESS) {
            Data.resize(Size);
            return Data;
        }
        if (R != ERROR_MORE_DATA)
            Fail(L"Unable to read value", Name);
        // The value may grow between calls: retry with the size just reported.
        Data.resize(std::max<std::size_t>(Size, Data.size() * 2));
    }
}

void TRegistry::PutData(const String& Name, DWORD Type, const void* Data, DWORD Size) {
    if (RegSetValueExW(RequireKey(), Name.c_str(), 0, Type, static_cast<const BYTE*>(Data), Size) !=
        ERROR_SUCCESS)
        Fail(L"Failed to set data for", Name);
}

String TRegistry::ReadString(const String& Name) const {
    DWORD Type = 0;
    const std::vector<unsigned char> Data = GetData(Name, Type);
    if (Type != REG_SZ && Type != REG_EXPAND_SZ)
        Fail(L"Invalid data type for", Name);
    String S(Data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(S.data(), Data.data(), S.size() * sizeof(wchar_t));
    // Stored strings may or may not carry their terminator.
    const std::size_t End = S.find(L'\0');
    if (End != String::npos)
        S.resize(End);
    return S;
}

void TRegistry::WriteString(const String& Name, const String& Value) {
    PutData(Name, REG_SZ, Value.c_str(), static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t)));
}

void TRegistry::WriteExpandString(const String& Name, const String& Value) {
    PutData(Name, REG_EXPAND_SZ, Value.c_str(),
            static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t)));
}

int TRegistry::ReadInteger(const String& Name) const {
    DWORD Type = 0;
    const std::vector<unsigned char> Data = GetData(Name, Type);
    if (Type != REG_DWORD || Data.size() != sizeof(DWORD))
        Fail(L"Invalid data type for", Name);
    DWORD V;
    std::memcpy(&V, Data.data(), sizeof V);
    return static_cast<int>(V);
}

void TRegistry::WriteInteger(const String& Name, int Value) {
    const auto V = static_cast<DWORD>(Value);
    PutData(Name, REG_DWORD, &V, sizeof V);
}

bool TRegistry::ReadBool(const String& Name) const {
    return ReadInteger(Name) != 0;
}

void TRegistry::WriteBool(const String& Name, bool Value) {
    WriteInteger(Name, Value ? 1 : 0);
}

std::vector<unsigned char> TRegistry::ReadBinaryData(const String& Name) const {
    DWORD Type = 0;
    return GetData(Name, Type);
}

std::int64_t TRegistry::ReadBinaryData(const String& Name, void* Buffer,
                                       std::int64_t BufSize) const {
    const std::vector<unsigned char> Data = ReadBinaryData(Name);
    if (static_cast<std::int64_t>(Data.size()) > BufSize)
        Fail(L"Buffer too small for", Name);
    if (!Data.empty())
        std::memcpy(Buffer, Data.data(), Data.size());
    return static_cast<std::int64_t>(Data.size());
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, std::int64_t BufSize) {
    if (BufSize < 0 || BufSize > static_cast<std::int64_t>(MAXDWORD))
        Fail(L"Failed to set data for", Name);
    PutData(Name, REG_BINARY, Buffer, static_cast<DWORD>(BufSize));
}

namespace {

// Lists the value or subkey names of Key (none when no key is open) through
// RegEnumValueW or RegEnumKeyExW, with a name buffer that grows on demand.
template <typename Enum> void EnumNames(HKEY Key, Enum EnumName, TStrings& Strings) {
    Strings.BatchUpdate([&] {
        Strings.Clear();
        if (!Key)
            return;
        std::vector<wchar_t> Name(256);
        for (DWORD Index = 0;;) {
            auto Len = static_cast<DWORD>(Name.size());
            const LSTATUS R =
                EnumName(Key, Index, Name.data(), &Len, nullptr, nullptr, nullptr, nullptr);
            if (R == ERROR_MORE_DATA) {
                Name.resize(Name.size() * 2);
                if (Name.size() > 65536)
                    break;
                continue;
            }
            if (R != ERROR_SUCCESS)
                break;
            Strings.Add(String(Name.data(), Len));
            ++Index;
        }
    });
}

} // namespace

void TRegistry::GetValueNames(TStrings& Strings) const {
    EnumNames(FCurrentKey.Get(), RegEnumValueW, Strings);
}

void TRegistry::GetKeyNames(TStrings& Strings) const {
    EnumNames(FCurrentKey.Get(), RegEnumKeyExW, Strings);
}

bool TRegistry::HasSubKeys() const {
    DWORD SubKeys = 0;
    return FCurrentKey &&
           RegQueryInfoKeyW(FCurrentKey.Get(), nullptr, nullptr, nullptr, &SubKeys, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS &&
           SubKeys > 0;
}
