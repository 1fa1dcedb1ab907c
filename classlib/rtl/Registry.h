// TRegistry: one open key at a time under a root key, with the classic
// relative/absolute key naming.
#pragma once

#include "classlib/rtl/Classes.h"
#include "classlib/rtl/SysUtils.h"

#include <cstdint>
#include <vector>

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// Owns one HKEY (never a predefined root key).
class TRegKey {
public:
    TRegKey() = default;
    explicit TRegKey(HKEY Key) : FKey(Key) {}
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    TRegKey(TRegKey&& Other) noexcept : FKey(Other.Release()) {}
    TRegKey& operator=(TRegKey&& Other) noexcept;
    ~TRegKey() { Reset(); }
    HKEY Get() const { return FKey; }
    HKEY Release();
    void Reset(HKEY Key = nullptr);
    explicit operator bool() const { return FKey != nullptr; }

private:
    HKEY FKey = nullptr;
};

// Key names: a leading '\' makes a key absolute from RootKey; otherwise it is
// relative to the open key (or to RootKey when none is open). Reading a missing
// value or a value of another type throws ERegistryException; a failed write
// throws ERegistryException.
class TRegistry : public TObject {
public:
    // Access rights for OpenKey (default KEY_ALL_ACCESS).
    explicit TRegistry(REGSAM AAccess = KEY_ALL_ACCESS) : Access(AAccess) {}
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key.
    void SetRootKey(HKEY Value);
    // The open key, or nullptr.
    HKEY CurrentKey() const { return FCurrentKey.Get(); }
    // Path of the open key below RootKey, without a leading '\'.
    const String& CurrentPath() const { return FCurrentPath; }

    // Opens Key as the current key (creating it when CanCreate); on failure the
    // previous key stays open and false is returned.
    bool OpenKey(const String& Key, bool CanCreate);
    bool OpenKeyReadOnly(const String& Key);
    // Creates Key (if missing) without opening it.
    bool CreateKey(const String& Key);
    void CloseKey();
    bool KeyExists(const String& Key) const;
    // Deletes Key with everything below it. Refuses an empty key name.
    bool DeleteKey(const String& Key);

    // Values of the open key. An empty Name is the key's default value.
    bool ValueExists(const String& Name) const;
    bool DeleteValue(const String& Name);
    TRegDataType GetDataType(const String& Name) const; // rdUnknown when missing
    // Size in bytes, -1 when missing.
    std::int64_t GetDataSize(const String& Name) const;
    String ReadString(const String& Name) const; // REG_SZ or REG_EXPAND_SZ, unexpanded
    void WriteString(const String& Name, const String& Value);
    void WriteExpandString(const String& Name, const String& Value);
    int ReadInteger(const String& Name) const; // REG_DWORD
    void WriteInteger(const String& Name, int Value);
    bool ReadBool(const String& Name) const;
    void WriteBool(const String& Name, bool Value);
    // Copies up to BufSize bytes of a value of any type; returns the bytes copied.
    // Throws when the value is missing or larger than BufSize.
    std::int64_t ReadBinaryData(const String& Name, void* Buffer, std::int64_t BufSize) const;
    std::vector<unsigned char> ReadBinaryData(const String& Name) const;
    void WriteBinaryData(const String& Name, const void* Buffer, std::int64_t BufSize);

    void GetValueNames(TStrings& Strings) const;
    void GetKeyNames(TStrings& Strings) const;
    bool HasSubKeys() const;

    REGSAM Access;
    // When false, CloseKey flushes the key to disk.
    bool LazyWrite = true;

private:
    // Handle the key name is relative to, and the full path below the root.
    HKEY BaseKey(const String& Key) const;
    String FullPath(const String& Key) const;
    static String StripKey(const String& Key);
    HKEY RequireKey() const;
    void PutData(const String& Name, DWORD Type, const void* Data, DWORD Size);
    std::vector<unsigned char> GetData(const String& Name, DWORD& Type) const;
    bool OpenWithAccess(const String& Key, bool CanCreate, REGSAM Rights);

    HKEY FRootKey = HKEY_CURRENT_USER;
    TRegKey FCurrentKey;
    String FCurrentPath;
};
