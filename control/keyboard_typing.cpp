#include "control/keyboard_typing.h"

#include <algorithm>

namespace gq
{

namespace
{
constexpr char32_t kGreekPi = 0x03C0;
constexpr char32_t kGreekTheta = 0x03B8;
// Full-width forms U+FF01..U+FF5E are ASCII 0x21..0x7E moved up by this.
constexpr char32_t kFullWidthFirst = 0xFF01, kFullWidthLast = 0xFF5E, kFullWidthShift = 0xFEE0;

bool isWordCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The run of letters and digits that ends at byte caret. Walks from the
// start: the trail byte of a two-byte character may look like a letter.
std::string_view runBefore(const std::string &text, std::size_t caret)
{
    std::size_t start = 0;
    for (std::size_t b = 0; b < caret;) {
        const unsigned char c = static_cast<unsigned char>(text[b]);
        const std::size_t next = (isLeadByte(c) && b + 1 < text.size()) ? b + 2 : b + 1;
        if (next - b == 2 || !isWordCharacter(static_cast<char>(c)))
            start = next;
        b = next;
    }
    return std::string_view(text).substr(start, caret - std::min(start, caret));
}

bool usable(const KeyDef &key, int layout, const KeyboardRequest &request)
{
    if (!*key.inserts || !keyEnabled(key, request))
        return false;
    for (int panel = 0; panel <= 2; ++panel)
        if (keyReachable(key.group, layout, panel))
            return true;
    return false;
}
// complete[i]: the first i characters split into whole words (a single digit
// is a word when the digit keys are usable).
std::vector<bool> completeSplits(std::string_view run, const std::vector<std::string> &words, bool digits)
{
    std::vector<bool> complete(run.size() + 1, false);
    complete[0] = true;
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (!complete[i])
            continue;
        if (digits && isDigit(run[i]))
            complete[i + 1] = true;
        for (const std::string &w : words)
            if (run.substr(i, w.size()) == w)
                complete[i + w.size()] = true;
    }
    return complete;
}

} // namespace

TypingRules::TypingRules(int layout, const KeyboardRequest &request)
{
    for (const KeyDef &key : keyTable()) {
        if (!usable(key, layout, request))
            continue;
        const std::string_view text = key.inserts;
        if (text == kSjisPi) {
            pi_ = true;
            words_.push_back("pi"); // typed "pi" becomes π
            continue;
        }
        if (text == kSjisTheta) {
            theta_ = true;
            words_.push_back("theta"); // typed "theta" becomes θ
            continue;
        }
        // The word a key starts with ("sin", "F1", "Sum", "x"); its other
        // characters ("()", "(i=[,],)", "(d/dx)") count one by one, so that a
        // letter inside them (the x of "(d/dx)") is typed only through its own key.
        std::size_t end = 0;
        while (end < text.size() && isWordCharacter(text[end]))
            ++end;
        if (end > 0) {
            if (isDigit(text[0]))
                digits_ = true;
            else
                words_.emplace_back(text.substr(0, end));
        }
        for (std::size_t b = end; b < text.size(); ++b)
            if (!isWordCharacter(text[b]) && symbols_.find(text[b]) == std::string::npos)
                symbols_ += text[b];
    }
    std::sort(words_.begin(), words_.end());
    words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
}

bool TypingRules::splits(std::string_view run, std::string &lastWord) const
{
    const std::vector<bool> complete = completeSplits(run, words_, digits_);
    lastWord.clear();
    if (complete[run.size()]) {
        for (std::string_view greek : {std::string_view("pi"), std::string_view("theta")})
            if (run.size() >= greek.size() && run.substr(run.size() - greek.size()) == greek &&
                complete[run.size() - greek.size()] && (greek == "pi" ? pi_ : theta_))
                lastWord = greek;
        return true;
    }
    // The last word may be unfinished: the rest after some complete split
    // starts a word.
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (!complete[i])
            continue;
        const std::string_view rest = run.substr(i);
        for (const std::string &w : words_)
            if (w.size() > rest.size() && std::string_view(w).substr(0, rest.size()) == rest)
                return true;
    }
    return false;
}

bool TypingRules::finished(std::string_view run) const
{
    return completeSplits(run, words_, digits_)[run.size()];
}

bool TypingRules::typeWordCharacter(KeyboardLine &line, char c) const
{
    std::string run(runBefore(line.Text(), line.caretByte()));
    run += c;
    std::string lastWord;
    if (!splits(run, lastWord))
        return false;
    line.insert(std::string(1, c), 1);
    // A Greek letter's name becomes the letter.
    if (lastWord == "pi" || lastWord == "theta") {
        for (std::size_t n = 0; n < lastWord.size(); ++n)
            line.deleteBefore();
        line.insert(lastWord == "pi" ? kSjisPi : kSjisTheta, 1);
    }
    return true;
}

bool TypingRules::type(KeyboardLine &line, char32_t character) const
{
    if (character >= kFullWidthFirst && character <= kFullWidthLast)
        character -= kFullWidthShift;
    const bool wordCharacter = character < 0x80 && isWordCharacter(static_cast<char>(character));
    if (!wordCharacter && !finished(runBefore(line.Text(), line.caretByte())))
        return false;
    if (character == kGreekPi || character == kGreekTheta) {
        if (!(character == kGreekPi ? pi_ : theta_))
            return false;
        line.insert(character == kGreekPi ? kSjisPi : kSjisTheta, 1);
        return true;
    }
    if (character > 0x7E || character < 0x21)
        return false;
    const char c = static_cast<char>(character);
    if (wordCharacter)
        return typeWordCharacter(line, c);
    if (symbols_.find(c) == std::string::npos)
        return false;
    line.insert(std::string(1, c), 1);
    return true;
}

bool TypingRules::typeAll(KeyboardLine &line, std::u32string_view characters) const
{
    KeyboardLine trial = line;
    for (char32_t c : characters)
        if (!type(trial, c))
            return false;
    line = trial;
    return true;
}

} // namespace gq
