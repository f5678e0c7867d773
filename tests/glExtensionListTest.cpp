#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

const char* const LIST = "GL_ARB_multitexture GL_EXT_framebuffer_object GL_ARB_shader_objects";

struct ListCase {
    const char* list;
    const char* name;
    bool listed;
};

// Whole words only, anywhere in the list; nothing for an empty or missing name or list (an empty
// name once made the search loop forever).
TEST(ExtensionInList, MatchesWholeWordsOnlyAndRefusesEmptyNames) {
    const ListCase cases[] = {
        {LIST, "GL_ARB_multitexture", true},
        {LIST, "GL_EXT_framebuffer_object", true},
        {LIST, "GL_ARB_shader_objects", true},
        {LIST, "GL_ARB_multi", false},
        {LIST, "texture", false},
        {LIST, "GL_ARB_shader_objects_extra", false},
        {"GL_ARB_shader_objects_extra GL_ARB_shader_objects", "GL_ARB_shader_objects", true},
        {LIST, "", false},
        {"", "", false},
        {"", "GL_ARB_multitexture", false},
        {LIST, nullptr, false},
        {nullptr, "GL_ARB_multitexture", false},
    };
    for (const ListCase& c : cases)
        EXPECT_EQ(extensionInList(c.list, c.name), c.listed)
            << "list \"" << (c.list ? c.list : "(null)") << "\", name \""
            << (c.name ? c.name : "(null)") << "\"";
}

} // namespace
