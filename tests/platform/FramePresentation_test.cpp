#include "FramePresentation.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

TEST(FramePresentation, ShunsSharedMemoryUnlessTheUserChose) {
    const char* name = "QT_XCB_NO_MITSHM";
    const char* before = std::getenv(name);
    const std::optional<std::string> saved =
        before != nullptr ? std::optional<std::string>(before) : std::nullopt;
    struct Case {
        const char* set; // nullptr: unset
        const char* expected;
    };
    for (const Case& c : {Case{nullptr, "1"}, Case{"0", "0"}, Case{"", ""}}) {
        if (c.set != nullptr) {
            setenv(name, c.set, 1);
        } else {
            unsetenv(name);
        }
        chooseFramePresentation();
        const char* now = std::getenv(name);
        ASSERT_NE(now, nullptr) << (c.set ? c.set : "unset");
        EXPECT_STREQ(now, c.expected) << (c.set ? c.set : "unset");
    }
    if (saved) {
        setenv(name, saved->c_str(), 1);
    } else {
        unsetenv(name);
    }
}
