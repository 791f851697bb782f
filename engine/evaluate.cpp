#include "engine/evaluate.h"
// placeholder until the evaluator lands
bool EvalValid = true;
bool PoleSeen = false;
bool LogInRange = true;
long double XPerPixel = 10.0L / 640;
long double Evaluate(ExprNode *, long double, long double) { return 0; }
void ExpandSums(ExprNode *&) {}
long double EvaluateFormulaText(const std::string &, long double) { return 0; }
long double EvaluateFormulaTextWithSums(const std::string &, long double) { return 0; }
int SignOf(long double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }
bool IsIntegerValue(long double) { return false; }
long double RoundHalfEven(long double v) { return v; }
long double GaussFloor(long double v) { return v; }
void SwapValues(long double &, long double &) {}
void SwapValues(int &, int &) {}
void LineIntersection(long double, long double, long double, long double, long double &, long double &) {}
