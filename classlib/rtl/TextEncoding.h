// Reading and writing whole text files in the encodings the programs meet.
#pragma once

#include "classlib/rtl/SysUtils.h"

#include <string>
#include <string_view>

enum class TTextEncoding { Ansi, Utf8, Utf8Bom, Utf16LE, Utf16BE };

// Detects the encoding by BOM (UTF-16LE, UTF-16BE, UTF-8); without a BOM, text
// that is valid UTF-8 with at least one non-ASCII character is UTF-8, else ANSI.
String DecodeText(std::string_view Bytes, TTextEncoding& Encoding);
// For text this program marks itself: a BOM (UTF-16LE, UTF-16BE, UTF-8) names the encoding,
// and text without one is ANSI, whatever its bytes look like.
String DecodeMarkedText(std::string_view Bytes, TTextEncoding& Encoding);
// The bytes of Text in Encoding, with the BOM where the encoding has one.
std::string EncodeText(std::wstring_view Text, TTextEncoding Encoding);
// True when Text survives a round trip through the ANSI code page.
bool FitsAnsi(std::wstring_view Text);

// Whole file, read while others may keep it open. Throws EFOpenError when it
// cannot be opened and EReadError when it is too large or a read fails.
std::string ReadFileBytes(const String& FileName);
// Replaces the file's content. Throws EFCreateError / EWriteError.
void WriteFileBytes(const String& FileName, std::string_view Bytes);
