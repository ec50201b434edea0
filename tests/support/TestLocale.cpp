#include "TestLocale.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

class LocaleCheck : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override {
        if (!endsWith(test.test_suite_name(), "UnderLocale")) {
            return;
        }
        const char* wanted = std::getenv("LC_ALL");
        const std::string name = wanted ? wanted : "";
        if (name.empty() || name == "C" || name == "POSIX") {
            ADD_FAILURE() << "a locale case runs under the locale CTest gives it (ctest -R "
                             "_tr_TR), or by hand with LOCPATH=<build>/locales and LC_ALL "
                             "set to tr_TR.UTF-8 or de_DE.UTF-8";
            return;
        }
        // The programs, like this one, take the locale from the environment at start.
        const char* got = std::setlocale(LC_ALL, nullptr);
        const char* locpath = std::getenv("LOCPATH");
        EXPECT_EQ(std::string(got ? got : ""), name)
            << "the locale did not load; LOCPATH=" << (locpath ? locpath : "(unset)");
        // Both test locales write a decimal comma: under a locale without one a number
        // written by the C library's rules shows nothing wrong.
        EXPECT_STREQ(std::localeconv()->decimal_point, ",") << name;
    }
};

} // namespace

void TestLocale::installListener() {
    testing::UnitTest::GetInstance()->listeners().Append(new LocaleCheck);
}
