// Typing on the physical keyboard into the formula keyboard's line. What may
// be typed is what the keys of the opening could insert: a character is
// taken only when some key that the layout shows (on any function panel) and
// the request enables inserts it. Letters and digits are taken in words, the
// words the keys start with ("sin", "x", "F1", "Sum", single digits): the run
// of letters and digits before the caret, with the new character, must be
// made of such words, the last one possibly not yet finished, and any other
// character is taken only after a finished word. So "sin" can be typed letter
// by letter while "x" stays refused when key x is off, even though "exp"
// contains an x; and a "t" that could only begin "tan" is not followed by
// anything else.
//
// "p" then "i" becomes π when the π key is enabled, and "theta" becomes θ when
// the θ key is; the Greek letters π and θ
// and full-width forms of ASCII characters (as an input method gives them)
// are taken as the keys' own characters.
#pragma once

#include "control/keyboard_logic.h"
#include "control/questions.h"
#include <string>
#include <string_view>
#include <vector>

namespace gq
{

class TypingRules
{
  public:
    // Nothing can be typed.
    TypingRules() = default;
    // The keys reachable in layout (0..2) and enabled by request.
    TypingRules(int layout, const KeyboardRequest &request);

    // Types one character (a Unicode code point) at the line's caret. Returns
    // false, leaving the line as it was, when the character is refused.
    bool type(KeyboardLine &line, char32_t character) const;

    // Whether the characters could all be typed one after another at the
    // caret; the line is changed only when they can.
    bool typeAll(KeyboardLine &line, std::u32string_view characters) const;

  private:
    bool typeWordCharacter(KeyboardLine &line, char c) const;
    // Whether run splits into whole words.
    bool finished(std::string_view run) const;
    // Whether run splits into words, the last possibly unfinished. On success
    // lastWord is the last (complete) word.
    bool splits(std::string_view run, std::string &lastWord) const;

    std::vector<std::string> words_; // letter words the keys insert
    std::string symbols_;            // other ASCII characters the keys insert
    bool digits_ = false;
    bool pi_ = false;
    bool theta_ = false;
};

} // namespace gq
