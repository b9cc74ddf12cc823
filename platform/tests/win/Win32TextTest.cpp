#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Utf.h"

namespace bs {
namespace {

TEST(Win32Text, ExactCodePageFormsRefuseLookAlikesAndDefaultCharacters) {
    EXPECT_EQ(ToCodePageExact(L"caf\u00E9 \u00DCber", 1252), std::string("caf\xE9 \xDC") + "ber");
    // A best-fit mapping would give "3r", a real "\" and ":", and "?".
    for (const wchar_t* name : {L"3\u0159", L"a\uFF3Cb\uFF1A", L"\u65E5\u672C", L"\U0001F389"})
        EXPECT_FALSE(ToCodePageExact(name, 1252)) << Narrow(name);
    EXPECT_EQ(ToCodePageExact(L"\u65E5\u672C", 932), "\x93\xFA\x96\x7B");
    EXPECT_EQ(ToCodePageExact(L"3\u0159", CP_UTF8), "3\xC5\x99");
    EXPECT_EQ(ToCodePageExact(L"", 1252), "");
}

TEST(Win32Text, CaseChangesFollowEveryLetter) {
    EXPECT_EQ(
        ChangeCase(L"C:\\\u00DCBER\\\u0391\u0398\u0389\u039D\u0391\\\u0158EKA \u015E.TXT", false),
        L"c:\\\u00FCber\\\u03B1\u03B8\u03AE\u03BD\u03B1\\\u0159eka \u015F.txt");
    EXPECT_EQ(ChangeCase(L"\u00FCber \u03C3", true), L"\u00DCBER \u03A3");
    EXPECT_EQ(ChangeCase(L"", true), L"");
}

} // namespace
} // namespace bs
