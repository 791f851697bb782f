// Formula texts: Shift-JIS byte strings, ASCII apart from π (0x83 0xCE) and
// θ (0x83 0xC6). Normalisation and the character classes the parser uses.
#pragma once

#include <cstdint>
#include <string>

namespace gq
{

inline constexpr const char *kPiSjis = "\x83\xCE";
inline constexpr const char *kThetaSjis = "\x83\xC6";

// "^/*-+)(abcdefghijklmnopqrstuvwxyzP1234567890.ABCDEFGHIJKLMNOQRSTUVWXYZ":
// the class of a character is its 1-based position there, 0 when absent.
int charClass(char c);

// π → "P", "(d/dx)" → "D", θ → "s". Changes the text only where those exact
// byte sequences occur.
std::string normaliseFormulaText(const std::string &text);

// What a lower-case letter at text[pos] (0-based) starts, by function-name
// recognition over at most 10 characters.
struct FunctionName {
    enum Kind { Letter, Function, BasedLog } kind = Letter;
    int32_t code = 0;           // 8..22 for a function
    std::string base;           // the base text of a based logarithm
    std::size_t afterParen = 0; // 0-based index of the first character after "("
};
FunctionName recogniseFunction(const std::string &text, std::size_t pos);

// The function's name as written ("sin", …), or nullptr for other codes.
const char *functionNameOf(int32_t code);

} // namespace gq
