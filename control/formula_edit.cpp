#include "control/formula_edit.h"

#include "control/keyboard_logic.h"
#include "engine/differentiate.h"
#include "engine/parse.h"

namespace gq
{

namespace
{
// Installs a document as the parser's definition source for one check.
class SourceScope
{
  public:
    explicit SourceScope(const DefinitionSource *source) : previous_(currentDefinitionSource())
    {
        setDefinitionSource(source);
    }
    ~SourceScope() { setDefinitionSource(previous_); }
    SourceScope(const SourceScope &) = delete;
    SourceScope &operator=(const SourceScope &) = delete;

  private:
    const DefinitionSource *previous_;
};
} // namespace

QString wrongFormulaMessage()
{
    return closingMessage(ClosingCheck::CheckFailed);
}

QString checkWithDefinitions(const Document &doc, const std::string &text)
{
    SourceScope scope(&doc);
    ClosingCheck check = checkClosingText(text);
    if (check == ClosingCheck::Empty)
        return wrongFormulaMessage();
    return closingMessage(check);
}

std::optional<std::string> derivativeWithDefinitions(const Document &doc, const std::string &text)
{
    SourceScope scope(&doc);
    parseOK = true;
    std::string derivative = derivativeText(text, OpX);
    if (!parseOK || derivative.empty())
        return std::nullopt;
    return derivative;
}

std::optional<std::string> askUntilAccepted(Questions &questions, KeyboardRequest request, bool emptyCancels,
                                            const AnswerCheck &check)
{
    const std::string original = request.initialText;
    bool refusedEmpty = false;
    for (;;) {
        std::string answer = questions.askKeyboard(request);
        if (answer.empty() && (emptyCancels || refusedEmpty))
            return std::nullopt;
        if (!emptyCancels && !answer.empty() && answer == original)
            return std::nullopt; // closed with the text unchanged
        QString message = check(answer);
        if (message.isEmpty())
            return answer;
        refusedEmpty = refusedEmpty || answer.empty();
        request.message = message;
        request.initialText = answer.empty() ? original : answer;
    }
}

} // namespace gq
