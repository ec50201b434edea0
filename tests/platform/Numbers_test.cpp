#include "Ansi.h"
#include "Color.h"
#include "Numbers.h"
#include "Random.h"
#include "VbError.h"

#include <gtest/gtest.h>

TEST(Numbers, RoundsHalvesToEven) {
    struct Case {
        double in, out;
    };
    for (const Case c : {Case{0.5, 0},
                         {1.5, 2},
                         {2.5, 2},
                         {-0.5, 0},
                         {-1.5, -2},
                         {-2.5, -2},
                         {16.5, 16},
                         {7.5, 8},
                         {6.5, 6},
                         {2.4999, 2},
                         {2.5001, 3}}) {
        EXPECT_EQ(num::roundHalfEven(c.in), c.out) << c.in;
    }
}

TEST(Numbers, NarrowingOverflowRaisesError6) {
    EXPECT_EQ(num::toInteger(32767.4), 32767);
    EXPECT_EQ(num::toInteger(-32768.5), -32768);
    try {
        num::toInteger(32767.5);
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_THROW(num::toLong(2147483648.0), VbError);
    EXPECT_EQ(num::toLong(-2147483648.0), INT32_MIN);
}

TEST(Numbers, LeadingNumberOfText) {
    struct Case {
        const char* in;
        double out;
    };
    for (const Case c : {Case{"", 0},
                         {"abc", 0},
                         {"12abc", 12},
                         {"  -3.5x", -3.5},
                         {"7.5", 7.5},
                         {"+4", 4},
                         {"1e3", 1000},
                         {"1e", 1},
                         {".5", 0.5},
                         {"-", 0},
                         {"1.2.3", 1.2}}) {
        EXPECT_DOUBLE_EQ(num::leadingNumber(c.in), c.out) << c.in;
    }
}

TEST(Numbers, TextOfNumberHasNoLeadingBlank) {
    EXPECT_EQ(num::toText(42.0), "42");
    EXPECT_EQ(num::toText(-7), "-7");
    EXPECT_EQ(num::toText(2.5), "2.5");
}

TEST(Numbers, WholeTextIsANumberAsAnInputBoxHoldsIt) {
    struct Case {
        const char* in;
        bool number;
    };
    for (const Case c : {Case{"12", true},
                         {" -3.5 ", true},
                         {"\t+.5\t", true},
                         {"7.", true},
                         {"1e5", true},
                         {"2E-3", true},
                         {"", false},
                         {" ", false},
                         {".", false},
                         {"-", false},
                         {"1e", false},
                         {"12a", false},
                         {"1.2.3", false},
                         {"1 2", false},
                         {"0x10", false},
                         {"1d3", false},
                         {"1,5", false}}) {
        EXPECT_EQ(num::isNumber(c.in), c.number) << c.in;
    }
}

TEST(NumbersUnderLocale, TextsTakeADecimalPointWhateverTheLocale) {
    for (const double v : {2.5, -0.25, 1234.5678, 1e-7, 0.1}) {
        const std::string text = num::toText(v);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.find(','), std::string::npos);
        EXPECT_NE(text.find_first_of(".e"), std::string::npos);
        EXPECT_EQ(num::leadingNumber(text), v);
        EXPECT_TRUE(num::isNumber(text));
    }
    EXPECT_EQ(num::toText(2.5), "2.5");
    EXPECT_EQ(num::toText(1e20), "1e+20");
    EXPECT_EQ(num::toText(1234567.0), "1234567");
    EXPECT_EQ(num::leadingNumber("1,5"), 1);
    EXPECT_FALSE(num::isNumber("1,5"));
}

TEST(Numbers, TickAndTimeDifferencesSurviveTheWrap) {
    EXPECT_EQ(num::tickDelta(10u, 0xFFFFFFF6u), 20u);
    EXPECT_DOUBLE_EQ(num::secondsSince(86399.0, 2.0), 3.0);
    EXPECT_DOUBLE_EQ(num::secondsSince(10.0, 15.0), 5.0);
}

TEST(Random, SeededSequenceRepeatsAndStaysBelowOne) {
    Random& r = Random::instance();
    r.seed(7);
    const float a = Rnd(), b = Rnd();
    r.seed(7);
    EXPECT_EQ(Rnd(), a);
    EXPECT_EQ(Rnd(), b);
    r.queue(0.25f);
    EXPECT_EQ(Rnd(), 0.25f);
    for (int i = 0; i < 100000; ++i) {
        const float v = Rnd();
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
    }
}

TEST(Ansi, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int i = 1; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    EXPECT_EQ(ansi::fromQString(ansi::toQString(all)), all);
    EXPECT_EQ(ansi::toQString("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(ansi::toQString("\xE9"), QString(QChar(0xE9)));
    EXPECT_EQ(ansi::fromQString(QString(QChar(0x4E2D))), "?");
}

TEST(Color, LowByteIsRed) {
    EXPECT_EQ(color::toQColor(255), QColor(255, 0, 0));
    EXPECT_EQ(color::toQColor(65280), QColor(0, 255, 0));
    EXPECT_EQ(color::toQColor(16711680), QColor(0, 0, 255));
    EXPECT_EQ(color::fromQRgb(qRgb(1, 2, 3)), 0x030201);
}
