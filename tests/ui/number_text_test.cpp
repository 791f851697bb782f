#include "ui/number_text.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{
TEST(FormatGeneral, IntegralValuesHaveNoPoint)
{
    EXPECT_EQ(FormatGeneral(-5), "-5");
    EXPECT_EQ(FormatGeneral(10000), "10000");
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(-0.0L), "0");
    EXPECT_EQ(FormatGeneral(123456789012345.0L), "123456789012345");
}

TEST(FormatGeneral, FractionsHaveNoTrailingZeros)
{
    EXPECT_EQ(FormatGeneral(0.5L), "0.5");
    EXPECT_EQ(FormatGeneral(-2.25L), "-2.25");
    EXPECT_EQ(FormatGeneral(0.00001L), "0.00001");
    EXPECT_EQ(FormatGeneral(0.1L), "0.1");
    EXPECT_EQ(FormatGeneral(1.0L / 3), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(2.0L / 3), "0.666666666666667");
    EXPECT_EQ(FormatGeneral(static_cast<long double>(0.1f)), "0.100000001490116");
}

TEST(FormatGeneral, VerySmallAndVeryLargeUseExponentForm)
{
    EXPECT_EQ(FormatGeneral(1e-6L), "1E-6");
    EXPECT_EQ(FormatGeneral(-2.5e-7L), "-2.5E-7");
    EXPECT_EQ(FormatGeneral(0.0000099L), "9.9E-6");
    EXPECT_EQ(FormatGeneral(1.5e20L), "1.5E20");
    EXPECT_EQ(FormatGeneral(1e15L), "1E15");
    EXPECT_EQ(FormatGeneral(1e100L), "1E100");
    EXPECT_EQ(FormatGeneral(999999999999999.9L), "1E15"); // rounds up into exponent form
    EXPECT_EQ(FormatGeneral(0.0000099999999999999999L), "0.00001");
}

TEST(FormatGeneral, NonFiniteValuesAreMarked)
{
    EXPECT_EQ(FormatGeneral(std::numeric_limits<long double>::infinity()), "INF");
    EXPECT_EQ(FormatGeneral(-std::numeric_limits<long double>::infinity()), "-INF");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<long double>::quiet_NaN()), "NAN");
}

TEST(FormatGeneral, ReadsBackToTheSameText)
{
    for (long double v : {0.1L, -1234.5678L, 3.14159265358979323846L, 1e-300L, 7e300L, 1.0L / 7}) {
        long double back = 0;
        ASSERT_TRUE(ParseReal(FormatGeneral(v), back)) << FormatGeneral(v);
        EXPECT_EQ(FormatGeneral(back), FormatGeneral(v));
    }
}

TEST(ParseReal, AcceptsDecimalAndExponentForms)
{
    long double v = 0;
    ASSERT_TRUE(ParseReal("-5", v));
    EXPECT_EQ(v, -5);
    ASSERT_TRUE(ParseReal(" +.5 ", v));
    EXPECT_EQ(v, 0.5L);
    ASSERT_TRUE(ParseReal("5.", v));
    EXPECT_EQ(v, 5);
    ASSERT_TRUE(ParseReal("1.5E20", v));
    EXPECT_EQ(v, 1.5e20L);
    ASSERT_TRUE(ParseReal("1e-6", v));
    EXPECT_EQ(v, 1e-6L);
    ASSERT_TRUE(ParseReal("2E+3", v));
    EXPECT_EQ(v, 2000);
    ASSERT_TRUE(ParseReal("1E-99999", v)); // too small: zero
    EXPECT_EQ(v, 0);
}

TEST(ParseReal, RefusesEverythingElse)
{
    for (const char *bad : {"", " ", "abc", "1,5", "1.2.3", "e5", "1e", "1e+", "--1", "+-1", "inf", "nan",
                            "0x10", "1 2", "5a", ".", "-", "1E99999", "-1E5000"}) {
        long double v = 42;
        EXPECT_FALSE(ParseReal(bad, v)) << bad;
        EXPECT_EQ(v, 42) << bad;
    }
}

TEST(ParseReal, IgnoresTheUserLocale)
{
    // Qt programs take the user's locale at start; a comma locale must not
    // change the file's numbers.
    const char *old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no comma locale installed";
    long double v = 0;
    bool ok = ParseReal("2.5", v);
    std::string text = FormatGeneral(2.5L);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_TRUE(ok);
    EXPECT_EQ(v, 2.5L);
    EXPECT_EQ(text, "2.5");
}

TEST(ParseInteger, StrictDecimalIntegers)
{
    int v = 0;
    ASSERT_TRUE(ParseInteger("255", v));
    EXPECT_EQ(v, 255);
    ASSERT_TRUE(ParseInteger(" -3 ", v));
    EXPECT_EQ(v, -3);
    ASSERT_TRUE(ParseInteger("+7", v));
    EXPECT_EQ(v, 7);
    for (const char *bad : {"", "1.0", "1e3", "0x1", "+-1", "-+1", "99999999999", "3 4", "x"}) {
        int w = 42;
        EXPECT_FALSE(ParseInteger(bad, w)) << bad;
        EXPECT_EQ(w, 42) << bad;
    }
}
} // namespace
