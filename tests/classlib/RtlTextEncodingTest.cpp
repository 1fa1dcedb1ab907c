#include "classlib/rtl/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

// Text this program marks itself is read by its mark alone: ANSI bytes that happen to be valid
// UTF-8 stay ANSI.
TEST(TextEncodingTest, MarkedTextIsReadByItsMarkOnly) {
    const std::string LooksLikeUtf8 = "It\xE2\x80\x99s here.txt";
    struct TCase {
        std::string Bytes;
        String Text;
        TTextEncoding Encoding;
    };
    const TCase Cases[] = {
        {LooksLikeUtf8, FromAnsi(LooksLikeUtf8), TTextEncoding::Ansi},
        {"\xEF\xBB\xBF" + LooksLikeUtf8, L"It\u2019s here.txt", TTextEncoding::Utf8Bom},
        {std::string("\xFF\xFE\x19\x20", 4), L"\u2019", TTextEncoding::Utf16LE},
        {std::string("\xFE\xFF\x20\x19", 4), L"\u2019", TTextEncoding::Utf16BE},
        {"plain", L"plain", TTextEncoding::Ansi},
        {"", L"", TTextEncoding::Ansi},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Bytes);
        TTextEncoding Encoding = TTextEncoding::Utf16BE;
        EXPECT_EQ(DecodeMarkedText(Case.Bytes, Encoding), Case.Text);
        EXPECT_EQ(Encoding, Case.Encoding);
    }
    EXPECT_NE(FromAnsi(LooksLikeUtf8), L"It\u2019s here.txt") << "the case shows nothing here";
}

} // namespace
