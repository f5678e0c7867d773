#include <gtest/gtest.h>

#include <cwchar>

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
