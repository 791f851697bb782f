// The evaluator: the value of a tree at (x, y) with the current parameters,
// with undefined points and poles between successive samples reported by flags.
#pragma once

#include "engine/expr_tree.h"
#include <string>

namespace gq
{

// Evaluation result flag: false after a call means the value is undefined.
// Callers set it true before a top-level call.
extern bool evalValid;
// A pole or jump lay between the previous and the latest sample. Also the
// pen-up flag of the segment primitive; read and reset by the plotting code.
extern bool poleSeen;
// Set true by the plotting code; cleared when a logarithm overflows.
extern bool logInRange;
// World x units per pixel of the graph (written by the coordinate frame): a
// pole flag in a sum or difference is withdrawn for jumps below 1/xPerPixel.
extern long double xPerPixel;

// Stands for an infinite result.
inline constexpr long double kBigValue = 1E4932L;

// Value of tree at (x, y); stores x and y into variableTable first. An empty
// tree gives 0. Never allocates. Domain errors: evalValid false and result 0.
// The first call after a change of shape (see treeShapeChanged) lays out the
// order of evaluation in the tree's nodes; later calls only follow it.
long double evaluate(ExprNode *tree, long double x, long double y);

// Replaces every finite sum by its explicit sum. A sum whose expansion would
// exceed the node budget becomes a node that evaluates as undefined.
void expandSums(ExprNode *&ref);

// Parse (build mode), evaluate at (x, 0), free. Neither sets parseOK nor
// evalValid: the caller sets both true before and reads them after.
long double evaluateFormulaText(const std::string &text, long double x);
// The same with expandSums between parsing and evaluating.
long double evaluateFormulaTextWithSums(const std::string &text, long double x);

// Parses text (build mode) and expands its sums: a tree ready to evaluate.
// Null when the text is empty or does not parse. Sets parseOK true first.
Tree parseForEvaluation(const std::string &text);
// The value of a formula text at x = 0, as evaluateFormulaText gives it:
// false when the text does not parse or the value is undefined or not finite.
// Sets parseOK and evalValid true first.
bool formulaValue(const std::string &text, long double &value);

int signOf(long double v);
bool isIntegerValue(long double v);
// Nearest integer, halves to even.
long double roundHalfEven(long double v);
// Truncation of v when v >= 0, of v - 1 when v < 0 (so -2 gives -3).
long double gaussFloor(long double v);
void swapValues(long double &a, long double &b);
void swapValues(int &a, int &b);
// Where y = m1 x + b1 meets y = m2 x + b2. The slopes must differ.
void lineIntersection(long double m1, long double b1, long double m2, long double b2, long double &x,
                      long double &y);

} // namespace gq
