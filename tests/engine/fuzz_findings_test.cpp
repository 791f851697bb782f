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
