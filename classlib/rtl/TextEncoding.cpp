#include "classlib/rtl/TextEncoding.h"
#include "classlib/rtl/Classes.h"

#include <climits>

namespace {

// Larger text files are refused rather than loaded (a UTF-16 copy doubles them).
constexpr std::int64_t MaxTextFileSize = 256 * 1024 * 1024;

bool StartsWith(std::string_view Bytes, std::string_view Prefix) {
    return Bytes.substr(0, Prefix.size()) == Prefix;
}

bool IsAscii(std::string_view Bytes) {
    for (const char C : Bytes)
        if (static_cast<unsigned char>(C) >= 0x80)
            return false;
    return true;
}

bool IsValidUtf8(std::string_view Bytes) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, Bytes.data(),
                               static_cast<int>(Bytes.size()), nullptr, 0) > 0;
}

String DecodeUtf16(std::string_view Bytes, bool BigEndian) {
    String R(Bytes.size() / 2, L'\0');
    for (std::size_t I = 0; I < R.size(); ++I) {
        const auto B0 = static_cast<unsigned char>(Bytes[2 * I]);
        const auto B1 = static_cast<unsigned char>(Bytes[2 * I + 1]);
        R[I] = static_cast<wchar_t>(BigEndian ? (B0 << 8) | B1 : (B1 << 8) | B0);
    }
    return R;
}

std::string EncodeUtf16(std::wstring_view Text, bool BigEndian) {
    std::string R = BigEndian ? "\xFE\xFF" : "\xFF\xFE";
    R.reserve(2 + Text.size() * 2);
    for (const wchar_t C : Text) {
        const auto Lo = static_cast<char>(C & 0xFF);
        const auto Hi = static_cast<char>((C >> 8) & 0xFF);
        R += BigEndian ? Hi : Lo;
        R += BigEndian ? Lo : Hi;
    }
    return R;
}

// The text of Bytes when a byte-order mark starts them.
bool DecodeByMark(std::string_view Bytes, TTextEncoding& Encoding, String& Text) {
    if (Bytes.size() > static_cast<std::size_t>(INT_MAX))
        throw EReadError(L"Text too large");
    if (StartsWith(Bytes, "\xFF\xFE")) {
        Encoding = TTextEncoding::Utf16LE;
        Text = DecodeUtf16(Bytes.substr(2), false);
        return true;
    }
    if (StartsWith(Bytes, "\xFE\xFF")) {
        Encoding = TTextEncoding::Utf16BE;
        Text = DecodeUtf16(Bytes.substr(2), true);
        return true;
    }
    if (StartsWith(Bytes, "\xEF\xBB\xBF")) {
        Encoding = TTextEncoding::Utf8Bom;
        Text = FromUtf8(Bytes.substr(3));
        return true;
    }
    return false;
}

} // namespace

String DecodeText(std::string_view Bytes, TTextEncoding& Encoding) {
    String Text;
    if (DecodeByMark(Bytes, Encoding, Text))
        return Text;
    if (!IsAscii(Bytes) && IsValidUtf8(Bytes)) {
        Encoding = TTextEncoding::Utf8;
        return FromUtf8(Bytes);
    }
    Encoding = TTextEncoding::Ansi;
    return FromAnsi(Bytes);
}

String DecodeMarkedText(std::string_view Bytes, TTextEncoding& Encoding) {
    String Text;
    if (DecodeByMark(Bytes, Encoding, Text))
        return Text;
    Encoding = TTextEncoding::Ansi;
    return FromAnsi(Bytes);
}

std::string EncodeText(std::wstring_view Text, TTextEncoding Encoding) {
    switch (Encoding) {
    case TTextEncoding::Utf16LE:
        return EncodeUtf16(Text, false);
    case TTextEncoding::Utf16BE:
        return EncodeUtf16(Text, true);
    case TTextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF" + ToUtf8(Text);
    case TTextEncoding::Utf8:
        return ToUtf8(Text);
    case TTextEncoding::Ansi:
        break;
    }
    return ToAnsi(Text);
}

bool FitsAnsi(std::wstring_view Text) {
    if (Text.empty())
        return true;
    BOOL UsedDefault = FALSE;
    const int Len = static_cast<int>(Text.size());
    const int Bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Text.data(), Len, nullptr,
                                          0, nullptr, &UsedDefault);
    return Bytes > 0 && !UsedDefault;
}

std::string ReadFileBytes(const String& FileName) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyNone);
    const std::int64_t Size = Stream.Size();
    if (Size > MaxTextFileSize)
        throw EReadError(L"File \"" + FileName + L"\" is too large to load");
    std::string Bytes(static_cast<std::size_t>(Size), '\0');
    Stream.ReadBuffer(Bytes.data(), Size);
    return Bytes;
}

void WriteFileBytes(const String& FileName, std::string_view Bytes) {
    TFileStream Stream(FileName, fmCreate);
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
}
