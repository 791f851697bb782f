// Locale-independent number texts: "." is always the decimal point, whatever
// the user's locale. Pure C++ (no Qt).
#pragma once

#include <string>

namespace gq
{

// General notation with up to 15 significant digits, rounded to the nearest:
// integral values without a point ("-5"), other values without trailing zeros
// ("0.5"), and values whose rounded magnitude is below 0.00001 (zero aside) or
// at least 10^15 in mantissa-exponent form without "+" or leading zeros
// ("1E-6", "1.5E20", "-2.5E-7"). Zero (either sign) is "0". Not-a-number and
// infinities give "NAN", "INF" and "-INF", which parseReal refuses.
std::string formatGeneral(long double v);

// Reads a whole text as a real number: optional sign, digits with an optional
// point (at least one digit), optional exponent "E"/"e" with optional sign.
// Spaces and tabs around the number are allowed. Refuses anything else, as
// well as values too large for long double; values too small for it read as
// zero. Returns false and leaves out alone on refusal.
bool parseReal(const std::string &text, long double &out);

// Reads a whole text as a decimal integer in the int range: optional "-" or
// "+", digits, spaces and tabs around. Returns false and leaves out alone on
// refusal.
bool parseInteger(const std::string &text, int &out);

} // namespace gq
