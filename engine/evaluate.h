// The evaluator: the value of a tree at (x, y) with the current parameters,
// with undefined points and poles between successive samples reported by flags.
#pragma once

#include "engine/expr_tree.h"
#include <string>

// Evaluation result flag: false after a call means the value is undefined.
// Callers set it true before a top-level call.
extern bool EvalValid;
// A pole or jump lay between the previous and the latest sample. Also the
// pen-up flag of the segment primitive; read and reset by the plotting code.
extern bool PoleSeen;
// Set true by the plotting code; cleared when a logarithm overflows.
extern bool LogInRange;
// World x units per pixel of the graph (written by the coordinate frame): a
// pole flag in a sum or difference is withdrawn for jumps below 1/XPerPixel.
extern long double XPerPixel;

// Stands for an infinite result.
inline constexpr long double BigValue = 1E4932L;

// Value of tree at (x, y); stores x and y into VariableTable first. An empty
// tree gives 0. Never allocates. Domain errors: EvalValid false and result 0.
// The first call after a change of shape (see TreeShapeChanged) lays out the
// order of evaluation in the tree's nodes; later calls only follow it.
long double Evaluate(ExprNode *tree, long double x, long double y);

// Replaces every finite sum by its explicit sum. A sum whose expansion would
// exceed the node budget becomes a node that evaluates as undefined.
void ExpandSums(ExprNode *&ref);

// Parse (build mode), evaluate at (x, 0), free. Neither sets ParseOK nor
// EvalValid: the caller sets both true before and reads them after.
long double EvaluateFormulaText(const std::string &text, long double x);
// The same with ExpandSums between parsing and evaluating.
long double EvaluateFormulaTextWithSums(const std::string &text, long double x);

// Parses text (build mode) and expands its sums: a tree ready to evaluate.
// Null when the text is empty or does not parse. Sets ParseOK true first.
Tree ParseForEvaluation(const std::string &text);
// The value of a formula text at x = 0, as EvaluateFormulaText gives it:
// false when the text does not parse or the value is undefined or not finite.
// Sets ParseOK and EvalValid true first.
bool FormulaValue(const std::string &text, long double &value);

int SignOf(long double v);
bool IsIntegerValue(long double v);
// Nearest integer, halves to even.
long double RoundHalfEven(long double v);
// Truncation of v when v >= 0, of v - 1 when v < 0 (so -2 gives -3).
long double GaussFloor(long double v);
void SwapValues(long double &a, long double &b);
void SwapValues(int &a, int &b);
// Where y = m1 x + b1 meets y = m2 x + b2. The slopes must differ.
void LineIntersection(long double m1, long double b1, long double m2, long double b2, long double &x,
                      long double &y);
