#include "platform/number_text.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace gq
{

namespace
{

TEST(FormatGeneral, FifteenDigitsWithoutTrailingZerosOrExponentFormAtTheEnds)
{
    const long double inf = std::numeric_limits<long double>::infinity();
    using Cases = std::initializer_list<std::pair<long double, const char *>>;
    auto check = [](Cases cases) {
        for (const auto &[v, text] : cases)
            EXPECT_EQ(formatGeneral(v), text) << text;
    };
    // Integral values have no point; zero of either sign is "0".
    check({{-5, "-5"}, {10000, "10000"}, {0, "0"}, {-0.0L, "0"}, {123456789012345.0L, "123456789012345"}});
    // Fractions lose trailing zeros and round at fifteen digits.
    check({{0.5L, "0.5"}, {-2.25L, "-2.25"}, {0.00001L, "0.00001"}, {0.1L, "0.1"}});
    check({{1.0L / 3, "0.333333333333333"}, {2.0L / 3, "0.666666666666667"}});
    check({{static_cast<long double>(0.1f), "0.100000001490116"}});
    // Exponent form below 0.00001 and from 10^15, also when rounding gets there.
    check({{1e-6L, "1E-6"}, {-2.5e-7L, "-2.5E-7"}, {0.0000099L, "9.9E-6"}, {1.5e20L, "1.5E20"}});
    check({{1e15L, "1E15"}, {1e100L, "1E100"}, {999999999999999.9L, "1E15"}});
    check({{0.0000099999999999999999L, "0.00001"}});
    check({{inf, "INF"}, {-inf, "-INF"}, {std::numeric_limits<long double>::quiet_NaN(), "NAN"}});
    // Every text reads back to the same text.
    for (long double v : {0.1L, -1234.5678L, 3.14159265358979323846L, 1e-300L, 7e300L, 1.0L / 7}) {
        long double back = 0;
        ASSERT_TRUE(parseReal(formatGeneral(v), back)) << formatGeneral(v);
        EXPECT_EQ(formatGeneral(back), formatGeneral(v));
    }
}

TEST(ParseReal, AcceptsDecimalAndExponentFormsAndRefusesEverythingElse)
{
    const std::pair<const char *, long double> good[] = {{"-5", -5},          {" +.5 ", 0.5L}, {"5.", 5},
                                                         {"1.5E20", 1.5e20L}, {"1e-6", 1e-6L}, {"2E+3", 2000},
                                                         {"1E-99999", 0}}; // too small: zero
    for (const auto &[text, value] : good) {
        long double v = 42;
        ASSERT_TRUE(parseReal(text, v)) << text;
        EXPECT_EQ(v, value) << text;
    }
    for (const char *bad : {"", " ", "abc", "1,5", "1.2.3", "e5", "1e", "1e+", "--1", "+-1", "inf", "nan",
                            "0x10", "1 2", "5a", ".", "-", "1E99999", "-1E5000"}) {
        long double v = 42;
        EXPECT_FALSE(parseReal(bad, v)) << bad;
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
    bool ok = parseReal("2.5", v);
    std::string text = formatGeneral(2.5L);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_TRUE(ok);
    EXPECT_EQ(v, 2.5L);
    EXPECT_EQ(text, "2.5");
}

TEST(ParseInteger, StrictDecimalIntegers)
{
    for (const auto &[text, value] : {std::pair{"255", 255}, {" -3 ", -3}, {"+7", 7}}) {
        int v = 0;
        ASSERT_TRUE(parseInteger(text, v)) << text;
        EXPECT_EQ(v, value) << text;
    }
    for (const char *bad : {"", "1.0", "1e3", "0x1", "+-1", "-+1", "99999999999", "3 4", "x"}) {
        int w = 42;
        EXPECT_FALSE(parseInteger(bad, w)) << bad;
        EXPECT_EQ(w, 42) << bad;
    }
}

} // namespace

} // namespace gq
