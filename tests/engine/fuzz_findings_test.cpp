// Every formula the fuzz target fuzz_formula found at fault, kept as a row:
// the text as found, what the row guards, and what must hold now.
#include "engine_test_util.h"

#include "engine/budget.h"

namespace gq
{

namespace
{

enum class Holds {
    CheckFails,       // the keyboard's check refuses the text (check mode)
    BuildFails,       // it refuses it in build mode (a division by the constant 0)
    TooComplex,       // it refuses it as too complex
    ReadsBack,        // the text of the parsed formula parses again, to the same values
    TextParses,       // that text parses again (its values differ only at a knife edge)
    CanonicalParses,  // the text of its canonical form parses again
    CanonicalReadsBack, // the canonical form and the parse of its text agree at the sample points
    CanonicalIsQuotientByZero, // the text of its canonical form is refused as 1/0 is, and the formula
                               // is undefined at the sample points
    DerivativeParses, // the text of its derivative by x parses again
};

struct Finding {
    std::string text;
    const char *guards;
    Holds holds;
};

// The text of the parsed formula, of its canonical form or of its
// derivative by x.
std::string printed(const std::string &text, Holds what)
{
    Tree t = what == Holds::CanonicalParses ? canonicalTree(text) : parseText(text);
    EXPECT_TRUE(t) << text;
    if (what == Holds::DerivativeParses)
        t.reset(differentiate(t.get(), OpX));
    return treeToText(t.get());
}

// The canonical form of text, evaluated as it stands, against its printed
// text parsed again, at the sample points the fuzz target uses.
::testing::AssertionResult canonicalReadsBack(const std::string &text)
{
    Tree canonical = canonicalTree(text);
    const std::string printedText = treeToText(canonical.get());
    Program program(canonical.get());
    for (long double x : {-2.3L, -0.7L, 0.4L, 1.9L, 3.1L}) {
        const long double y = x / 2 + 0.3L;
        engineState().evalValid = true;
        const long double a = program.evaluate(x, y);
        const bool definedA = engineState().evalValid;
        bool definedB = false;
        const long double b = valueOf(printedText, x, y, &definedB);
        if (definedA != definedB || (definedA && !(std::fabs(a - b) <= 1e-12L * (1 + std::fabs(a)))))
            return ::testing::AssertionFailure()
                   << text << ": canonical form " << printedText << " differs from its text read back at x = "
                   << static_cast<double>(x);
    }
    return ::testing::AssertionSuccess();
}

TEST(FuzzFindings, EachFindingStaysFixed)
{
    // clang-format off
    const Finding findings[] = {
        {"0Dx/10-43)d-3(",
         "a stray \")\" that ends a derivative marker and a \"(\" at the very end no longer balance "
         "each other into a text with an empty operand", Holds::CheckFails},
        {"Dx)+(x",
         "the same, shorter: a \")\" that closes nothing ends the formula with an error", Holds::CheckFails},
        {"1/(d/dx)0xz2Px-00-x+x-11",
         "the negation of a number, which differentiation makes, is folded: a quotient by a derivative "
         "that is the constant 0 is refused as 1/0 is, not accepted with a text that reads back as 1/0",
         Holds::BuildFails},
        {"x/cotxq.5^420000000000000",
         "the canonical form does not fold 0.5^420000000000000 (or a product) to a 0 that only "
         "underflow made, which would write the quotient as x/0", Holds::CanonicalParses},
        {"2/(1+x^2(1+xgaus(x)gaus(x)^6))",
         "the text of a derivative whose intermediate values overflow parses again", Holds::DerivativeParses},
        {"30^50003abs8xxx^1000x8x-2",
         "a printed product regrouped by the parser still reads back (the exponent 8000x^2 is a whole "
         "number at x = -0.7 only up to rounding)", Holds::TextParses},
        {"x^62080(2/330000+1^1)",
         "a fraction exponent that multiplying out leaves as a sum (62080/165000+62080) is folded as the "
         "parser folds it, so the canonical form keeps the domain its text reads back (defined for x < 0; "
         "found with a term in theta that is 0 at the fuzz target's parameters)",
         Holds::CanonicalReadsBack},
        {"x^(2(1/5+1^1))", "the same, small: x^(2/5+2) becomes x^(12/5)", Holds::CanonicalReadsBack},
        {"e^6(d/dx)x7/xp^e",
         "no fault, a knife edge the fuzz target now knows: with the parameters e = p = 0 the base is 0 "
         "and the exponent a derivative that is 0 only up to rounding (0^0 is 1, 0^1E-18 is 0); the text "
         "of the parsed formula parses again", Holds::TextParses},
        {"sqr(t(x1^3s^4)qt/(1^22-1))",
         "no fault, a formula undefined everywhere: the canonical form folds 1^22 to 1, which the parser "
         "leaves alone, so its text divides by 1-1 and is refused as 1/0 is", Holds::CanonicalIsQuotientByZero},
        {"x/(0.5*4-2)", "the same with a product the parser does not fold: x/(2-2)",
         Holds::CanonicalIsQuotientByZero},
        {"sqr(-4-3^(-4))!art(a)+(5)",
         "the canonical form leaves a power that is a fraction (3^(-4)) unfolded inside a factorial, whose "
         "text may hold no decimal point", Holds::CanonicalParses},
        {"x*(3^(-4)+2)!", "the same in a formula defined everywhere (2x)", Holds::CanonicalReadsBack},
        {"3x3/x(d/dx)8^3x3/x3^xx^40",
         "no fault, rounding amplified by cancellation: at x = 0.4 the derivative is a difference of two "
         "terms near 22.5 that agree to 14 digits, and the formula divides by it, so texts that group the "
         "same operations differently differ in the fifth digit; the text of the parsed formula parses "
         "again", Holds::TextParses},
        {"xx^x(d/dx)(d/dx)x3/x3^3",
         "no fault, the same knife edge with a negative base: x to a second derivative that is 0 only up "
         "to rounding is x^0 = 1 or undefined; the text of the parsed formula parses again", Holds::TextParses},
    };
    // clang-format on
    ScopedParameters parameters;
    for (const Finding &f : findings) {
        SCOPED_TRACE(f.guards);
        switch (f.holds) {
        case Holds::CheckFails:
            EXPECT_EQ(checkFormula(f.text), FormulaCheck::CheckFailed) << f.text;
            break;
        case Holds::BuildFails:
            EXPECT_EQ(checkFormula(f.text), FormulaCheck::BuildFailed) << f.text;
            break;
        case Holds::TooComplex:
            EXPECT_EQ(checkFormula(f.text), FormulaCheck::TooComplex) << f.text;
            break;
        case Holds::CanonicalReadsBack:
            EXPECT_TRUE(accepts(printed(f.text, Holds::CanonicalParses))) << f.text;
            EXPECT_TRUE(canonicalReadsBack(f.text));
            break;
        case Holds::CanonicalIsQuotientByZero:
            EXPECT_EQ(checkFormula(printed(f.text, Holds::CanonicalParses)), FormulaCheck::BuildFailed);
            for (long double x : {-2.3L, -0.7L, 0.4L, 1.9L, 3.1L}) {
                bool defined = true;
                valueOf(f.text, x, x / 2 + 0.3L, &defined);
                EXPECT_FALSE(defined) << f.text << " at x = " << static_cast<double>(x);
            }
            break;
        case Holds::ReadsBack:
            EXPECT_TRUE(sameValues(f.text, printed(f.text, f.holds)));
            [[fallthrough]];
        default:
            EXPECT_TRUE(accepts(printed(f.text, f.holds)))
                << f.text << " printed as " << printed(f.text, f.holds);
            break;
        }
    }
}

} // namespace

} // namespace gq
