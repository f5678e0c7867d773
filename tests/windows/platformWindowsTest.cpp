#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "platform/platform.h"
#include "platform/platformWindows.h"

namespace {

struct TextCase {
    const char* utf8;
    int capacity;
    const wchar_t* utf16;
};

// Box texts and captions reach MessageBoxW as UTF-16; a text too long for the buffer loses whole
// characters at its end, never half of one.
TEST(Utf8ToUtf16, ConvertsWholeCharactersAndCutsOnlyBetweenThem) {
    const TextCase cases[] = {
        {"3DS file not found (res/rock.3ds)", 64, L"3DS file not found (res/rock.3ds)"},
        {"Sandst\xC3\xBCrme", 64, L"Sandst\u00FCrme"},
        {"\xF0\x9F\x8C\xB5 cactus", 64, L"\U0001F335 cactus"},
        {"", 64, L""},
        {"abcdef", 4, L"abc"},
        {"\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4", 8, L"\u00E4\u00E4\u00E4"},
        {"ab\xF0\x9F\x8C\xB5", 5, L"ab"},
        {"x", 1, L""},
    };
    for (const TextCase& c : cases) {
        wchar_t out[64];
        int units = utf8ToUtf16(c.utf8, out, c.capacity);
        EXPECT_EQ(units, (int)wcslen(c.utf16))
            << "text \"" << c.utf8 << "\", capacity " << c.capacity;
        EXPECT_EQ(wcscmp(out, c.utf16), 0) << "text \"" << c.utf8 << "\", capacity " << c.capacity;
    }
}

std::string repeated(const char* piece, int times) {
    std::string text;
    for (int i = 0; i < times; i++)
        text += piece;
    return text;
}

std::wstring repeatedWide(const wchar_t* piece, int times) {
    std::wstring text;
    for (int i = 0; i < times; i++)
        text += piece;
    return text;
}

// A path too long for the box loses whole characters at its end: the cut at BOX_TEXT_CAPACITY - 1
// bytes falls inside a character, and no half of one (shown as U+FFFD) is left.
TEST(BoxText, LongTextLosesWholeCharactersAtItsEnd) {
    struct {
        const char* piece;
        const wchar_t* widePiece;
        int bytes;
        const char* lead; // after "res/", so that the cut falls inside a character
        const wchar_t* wideLead;
    } pieces[] = {{"\xC3\xA4", L"\u00E4", 2, "x", L"x"},
                  {"\xE2\x82\xAC", L"\u20AC", 3, "xy", L"xy"},
                  {"\xF0\x9F\x8C\xB5", L"\U0001F335", 4, "x", L"x"}};
    for (const auto& p : pieces) {
        std::string path = std::string("res/") + p.lead + repeated(p.piece, 600) + ".bmp";
        // "Texture not found (res/" is 23 bytes.
        int before = 23 + (int)strlen(p.lead);
        int whole = (BOX_TEXT_CAPACITY - 1 - before) / p.bytes;
        ASSERT_NE((BOX_TEXT_CAPACITY - 1 - before) % p.bytes, 0)
            << "the cut must fall inside a character";
        std::wstring expected = std::wstring(L"Texture not found (res/") + p.wideLead +
                                repeatedWide(p.widePiece, whole);
        wchar_t out[BOX_TEXT_CAPACITY];
        int units = formatBoxText("Texture not found", path.c_str(), out);
        EXPECT_EQ(units, (int)expected.size()) << p.bytes << "-byte characters";
        EXPECT_TRUE(out == expected) << p.bytes << "-byte characters: the text ends in U+"
                                     << std::hex << (unsigned)out[wcslen(out) - 1];
        EXPECT_EQ(wcschr(out, 0xFFFD), nullptr) << p.bytes << "-byte characters";
    }
}

// A text that fits keeps every character, its closing parenthesis too; no path, no parentheses.
TEST(BoxText, TextThatFitsIsWholeWithItsPathInParentheses) {
    // 19 + 1003 + 1 = 1023 bytes: the most a box holds.
    std::string path = "res/" + repeated("\xC3\xA4", 499) + "x";
    wchar_t out[BOX_TEXT_CAPACITY];
    std::wstring expected = L"Texture not found (res/" + repeatedWide(L"\u00E4", 499) + L"x)";
    EXPECT_EQ(formatBoxText("Texture not found", path.c_str(), out), (int)expected.size());
    EXPECT_TRUE(out == expected);
    EXPECT_EQ(formatBoxText("3DS file not found", "res/rock.3ds", out), 33);
    EXPECT_EQ(wcscmp(out, L"3DS file not found (res/rock.3ds)"), 0);
    EXPECT_EQ(formatBoxText("scene table full", nullptr, out), 16);
    EXPECT_EQ(wcscmp(out, L"scene table full"), 0);
}

// Some drivers answer an unknown name with a small integer or -1 instead of null.
TEST(WglAddress, NullOneTwoThreeAndMinusOneMeanMissing) {
    const intptr_t missing[] = {0, 1, 2, 3, -1};
    const intptr_t present[] = {4, 0x10000, 0x7FF612340000};
    for (intptr_t address : missing)
        EXPECT_TRUE(isMissingWglAddress(address)) << address;
    for (intptr_t address : present)
        EXPECT_FALSE(isMissingWglAddress(address)) << address;
}

TEST(WglAddress, NoCurrentContextGivesNoEntryPoint) {
    EXPECT_EQ(lookupEntryPoint("glGenFramebuffersEXT"), nullptr);
}

} // namespace
