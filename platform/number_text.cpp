#include "platform/number_text.h"

#include <charconv>
#include <cmath>

namespace gq
{

namespace
{
std::string trimmed(const std::string &text)
{
    const char *ws = " \t";
    std::size_t first = text.find_first_not_of(ws);
    if (first == std::string::npos)
        return std::string();
    std::size_t last = text.find_last_not_of(ws);
    return text.substr(first, last - first + 1);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal shape parseReal accepts; from_chars alone would also take
// "inf", "nan" and hexadecimal forms.
bool isDecimalShape(const std::string &s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

// Decimal exponent of the first significant digit of a text of decimal shape
// (1 for "12.5", -3 for "0.00125", 0 for "5e0"); clamped to avoid overflow.
// Only its sign matters to the caller; an all-zero text never gets there.
long decimalExponent(const std::string &s)
{
    std::size_t ePos = s.find_first_of("eE");
    std::string mant = s.substr(0, ePos);
    long exp = 0;
    if (ePos != std::string::npos) {
        std::string e = s.substr(ePos + 1);
        bool neg = !e.empty() && e[0] == '-';
        for (char c : e)
            if (isDigit(c) && exp < 100000000)
                exp = exp * 10 + (c - '0');
        if (neg)
            exp = -exp;
    }
    std::size_t point = mant.find('.');
    if (point == std::string::npos)
        point = mant.size();
    std::size_t firstNonZero = mant.find_first_of("123456789");
    if (firstNonZero == std::string::npos)
        return -1;
    long lead = firstNonZero < point ? static_cast<long>(point - firstNonZero - 1)
                                     : -static_cast<long>(firstNonZero - point);
    return exp + lead;
}
} // namespace

std::string formatGeneral(long double v)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";
    if (v == 0)
        return "0";

    // Round once to 15 significant digits; the notation is chosen by the
    // exponent of the rounded value, so 999999999999999.9 becomes "1E15".
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string sci(buf, res.ptr); // [-]d.dddddddddddddde[+-]xx
    std::string out;
    std::size_t pos = 0;
    if (sci[0] == '-') {
        out = "-";
        pos = 1;
    }
    std::size_t ePos = sci.find('e');
    std::string digits;
    for (std::size_t i = pos; i < ePos; ++i)
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exp = std::stoi(sci.substr(ePos + 1));

    if (exp < -5 || exp >= 15) {
        out += digits[0];
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exp);
    } else if (exp >= 0) {
        const auto intLen = static_cast<std::size_t>(exp) + 1;
        if (digits.size() <= intLen) {
            out += digits + std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen) + "." + digits.substr(intLen);
        }
    } else {
        out += "0." + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
    }
    return out;
}

bool parseReal(const std::string &text, long double &out)
{
    std::string s = trimmed(text);
    if (!isDecimalShape(s))
        return false;
    // from_chars takes no leading "+".
    const char *first = s.data() + (s[0] == '+' ? 1 : 0);
    long double v = 0;
    auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), v, std::chars_format::general);
    if (ptr != s.data() + s.size())
        return false;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves v alone here, so tell underflow from overflow by
        // the text: too small to represent reads as zero, too large is refused.
        if (decimalExponent(s) >= 0)
            return false;
        v = 0;
    } else if (ec != std::errc()) {
        return false;
    }
    out = v;
    return true;
}

bool parseInteger(const std::string &text, int &out)
{
    std::string s = trimmed(text);
    std::size_t start = (!s.empty() && s[0] == '+') ? 1 : 0;
    if (start < s.size() && s[start] == '-' && start == 1)
        return false; // "+-5"
    int v = 0;
    auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size())
        return false;
    out = v;
    return true;
}

} // namespace gq
