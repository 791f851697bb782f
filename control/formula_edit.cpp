#include "control/formula_edit.h"

#include "control/keyboard_logic.h"
#include "engine/formula.h"

namespace gq
{

QString wrongFormulaMessage()
{
    return closingMessage(ClosingCheck::CheckFailed);
}

QString checkWithDefinitions(const Document &doc, const std::string &text)
{
    EngineScope scope(&doc, doc.parameters);
    ClosingCheck check = checkClosingText(text);
    if (check == ClosingCheck::Empty)
        return wrongFormulaMessage();
    return closingMessage(check);
}

std::optional<std::string> derivativeWithDefinitions(const Document &doc, const std::string &text,
                                                     QString *message)
{
    EngineScope scope(&doc, doc.parameters);
    EngineState &state = engineState();
    state.parseOK = true;
    std::string derivative = derivativeText(text, OpX);
    if (state.parseOK && !derivative.empty())
        return derivative;
    if (message)
        *message = state.tooComplex ? QStringLiteral("導関数の式が複雑すぎます")
                                    : QStringLiteral("導関数の式を作れません");
    return std::nullopt;
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
