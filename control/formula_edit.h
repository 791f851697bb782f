// Asking the keyboard for a text that must be valid once stored, and the
// parse check against a document's definitions.
#pragma once

#include "control/questions.h"
#include "model/document.h"
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace gq
{

// The keyboard's message for a formula it refuses.
QString wrongFormulaMessage(); // "式が間違っています2"

// The message for text as the keyboard's closing check would give it with
// doc's definitions installed ("式が間違っています2", "…1" or "式が複雑すぎます");
// empty when the text passes. An empty text is refused with "…2".
QString checkWithDefinitions(const Document &doc, const std::string &text);

// The derivative text of an explicit formula by x, with doc's definitions
// and parameters installed; nothing when it cannot be formed, and then
// *message (when given) says why: "導関数の式が複雑すぎます" (too complex or too
// long to use) or "導関数の式を作れません" (no text that reads back).
std::optional<std::string> derivativeWithDefinitions(const Document &doc, const std::string &text,
                                                     QString *message = nullptr);

// What the caller does with each answer: "" accepts it, any other text is
// the message the keyboard reopens with.
using AnswerCheck = std::function<QString(const std::string &answer)>;

// Opens the keyboard with request until check accepts the answer, which is
// returned. A refused answer reopens the keyboard with the message, the
// refused text (or request.initialText for an empty answer) on the line.
// Returns nothing when the user gives up:
// - emptyCancels: an empty answer cancels at once (new definitions);
// - otherwise (correction, which has no cancel) an empty answer is refused
//   once, and an answer equal to request.initialText, or a second empty
//   answer, leaves the text as it was.
std::optional<std::string> askUntilAccepted(Questions &questions, KeyboardRequest request, bool emptyCancels,
                                            const AnswerCheck &check);

} // namespace gq
