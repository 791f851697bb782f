#include "control/formula_edit.h"

#include "control/keyboard_logic.h"
#include "engine/differentiate.h"
#include "engine/parse.h"

namespace
{
// Installs a document as the parser's definition source for one check.
class SourceScope
{
  public:
    explicit SourceScope(const DefinitionSource *source) : previous_(CurrentDefinitionSource())
    {
        SetDefinitionSource(source);
    }
    ~SourceScope() { SetDefinitionSource(previous_); }
    SourceScope(const SourceScope &) = delete;
    SourceScope &operator=(const SourceScope &) = delete;

  private:
    const DefinitionSource *previous_;
};
} // namespace

QString WrongFormulaMessage()
{
    return ClosingMessage(ClosingCheck::CheckFailed);
}

QString CheckWithDefinitions(const Document &doc, const std::string &text)
{
    SourceScope scope(&doc);
    ClosingCheck check = CheckClosingText(text);
    if (check == ClosingCheck::Empty)
        return WrongFormulaMessage();
    return ClosingMessage(check);
}

std::optional<std::string> DerivativeWithDefinitions(const Document &doc, const std::string &text)
{
    SourceScope scope(&doc);
    ParseOK = true;
    std::string derivative = DerivativeText(text, OpX);
    if (!ParseOK || derivative.empty())
        return std::nullopt;
    return derivative;
}

std::optional<std::string> AskUntilAccepted(Questions &questions, KeyboardRequest request, bool emptyCancels,
                                            const AnswerCheck &check)
{
    const std::string original = request.initialText;
    bool refusedEmpty = false;
    for (;;) {
        std::string answer = questions.AskKeyboard(request);
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
