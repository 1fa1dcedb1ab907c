#pragma once
// A registry key of a test's own below HKCU\Software\QrvTest, standing in for the roots the
// system features use, with plain Win32 helpers to seed and inspect it.

#include "classlib/rtl/SysUtils.h"
#include "main/RegistryRoots.h"

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

#include "classlib/rtl/WinApi.h"

class TTestRegistry {
public:
    // Name: a key of this test below HKCU\Software\QrvTest, emptied now and removed at the end.
    explicit TTestRegistry(const String& Name) : FBase(L"Software\\QrvTest\\" + Name) {
        RegDeleteTreeW(HKEY_CURRENT_USER, FBase.c_str());
    }
    ~TTestRegistry() {
        RegDeleteTreeW(HKEY_CURRENT_USER, FBase.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, FBase.c_str());
    }
    TTestRegistry(const TTestRegistry&) = delete;
    TTestRegistry& operator=(const TTestRegistry&) = delete;

    // A root that lives below this test's key, in the sub-key Name.
    TRegistryRoot Root(const String& Name) const { return {HKEY_CURRENT_USER, Path(Name) + L"\\"}; }
    String Path(const String& Relative) const { return FBase + L"\\" + Relative; }

    void SetString(const String& Key, const String& Name, const String& Value) const {
        Set(Key, Name, REG_SZ, Value.c_str(), (Value.size() + 1) * sizeof(wchar_t));
    }
    void SetExpandString(const String& Key, const String& Name, const String& Value) const {
        Set(Key, Name, REG_EXPAND_SZ, Value.c_str(), (Value.size() + 1) * sizeof(wchar_t));
    }
    void SetInteger(const String& Key, const String& Name, DWORD Value) const {
        Set(Key, Name, REG_DWORD, &Value, sizeof Value);
    }
    void SetBinary(const String& Key, const String& Name, const std::string& Bytes) const {
        Set(Key, Name, REG_BINARY, Bytes.data(), Bytes.size());
    }
    void MakeKey(const String& Key) const {
        HKEY K = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Path(Key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &K, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot make a test key");
        RegCloseKey(K);
    }
    bool KeyExists(const String& Key) const {
        HKEY K = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Path(Key).c_str(), 0, KEY_READ, &K) != ERROR_SUCCESS)
            return false;
        RegCloseKey(K);
        return true;
    }

    // "sz:<text>", "expand:<text>", "dword:<n>", "bin:<hex>", or "" when the value is missing.
    String Value(const String& Key, const String& Name) const {
        HKEY K = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Path(Key).c_str(), 0, KEY_READ, &K) != ERROR_SUCCESS)
            return String();
        const String Result = ValueOf(K, Name);
        RegCloseKey(K);
        return Result;
    }

    // Every value below this test's key as "key\name" -> Value(...) form.
    std::map<String, String> Dump() const {
        std::map<String, String> Values;
        DumpKey(FBase, L"", Values);
        return Values;
    }

private:
    void Set(const String& Key, const String& Name, DWORD Type, const void* Data,
             std::size_t Size) const {
        if (RegSetKeyValueW(HKEY_CURRENT_USER, Path(Key).c_str(), Name.c_str(), Type, Data,
                            static_cast<DWORD>(Size)) != ERROR_SUCCESS)
            throw std::runtime_error("cannot seed a test value");
    }

    static String ValueOf(HKEY K, const String& Name) {
        DWORD Type = 0, Size = 0;
        if (RegQueryValueExW(K, Name.c_str(), nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS)
            return String();
        std::string Data(Size, '\0');
        RegQueryValueExW(K, Name.c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(Data.data()),
                         &Size);
        if (Type == REG_DWORD && Size == 4)
            return L"dword:" + std::to_wstring(*reinterpret_cast<const DWORD*>(Data.data()));
        if (Type == REG_SZ || Type == REG_EXPAND_SZ) {
            String Text(reinterpret_cast<const wchar_t*>(Data.data()), Size / sizeof(wchar_t));
            Text.resize(wcsnlen(Text.c_str(), Text.size()));
            return (Type == REG_SZ ? L"sz:" : L"expand:") + Text;
        }
        String Hex = L"bin:";
        for (const unsigned char Byte : Data)
            Hex += IntToHex(Byte, 2);
        return Hex;
    }

    static void DumpKey(const String& Full, const String& Relative,
                        std::map<String, String>& Values) {
        HKEY K = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Full.c_str(), 0, KEY_READ, &K) != ERROR_SUCCESS)
            return;
        wchar_t Name[16384];
        for (DWORD I = 0;; ++I) {
            DWORD Length = 16384;
            if (RegEnumValueW(K, I, Name, &Length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            Values[Relative + L"\\" + Name] = ValueOf(K, Name);
        }
        for (DWORD I = 0;; ++I) {
            DWORD Length = 16384;
            if (RegEnumKeyExW(K, I, Name, &Length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            Values[Relative + L"\\" + Name + L"\\"] = L"key";
            DumpKey(Full + L"\\" + Name, Relative + L"\\" + Name, Values);
        }
        RegCloseKey(K);
    }

    String FBase;
};
