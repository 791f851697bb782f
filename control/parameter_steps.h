// The arithmetic of the parameter window: the increments of the parameters a,
// b, c, d, f, j, n and θ, the step that adds them to the values, the row keys
// that change them, and the texts the window shows. The values themselves are
// the document's (Parameters, single precision); θ is also kept here as a
// multiple of π, and the document's θ is always that multiple × π.
#pragma once

#include "engine/engine_state.h"
#include <QString>
#include <array>
#include <cstdint>

namespace gq
{

// The rows of the window, in their order. The letter of each row is
// kRowLetters[row] ('s' is θ).
enum ParamRow { RowA, RowB, RowC, RowD, RowF, RowJ, RowN, RowTheta };
inline constexpr int kParamRowCount = 8;
inline constexpr const char *kRowLetters = "abcdfjns";

// The step widths of "刻み幅", in the order of its entries; the third is chosen
// at the start.
inline constexpr std::array<float, 5> kStepWidths{10.0f, 1.0f, 0.1f, 0.01f, 0.001f};
inline constexpr int kDefaultStepWidthIndex = 2;

// A real parameter (and θ in radians) stays below this magnitude: there
// single precision still holds every value with three decimals (its spacing
// is at most 2^-10), beyond it a step could land on another value than the
// one shown.
inline constexpr long double kRealParameterLimit = 16384.0L;
// j and n stay within ±2^24: single precision holds every integer there, and
// no sum of a value and an increment comes near the 32-bit limit.
inline constexpr int32_t kIntegerParameterLimit = 16777216;

// value rounded to three decimals the way the window shows it: formatted with
// "0.000" and read back.
long double roundTo3(long double value);

// What one step did.
struct StepOutcome {
    // Rows whose value could not take the whole increment: a real value that
    // would have passed kRealParameterLimit (or become infinite) kept its value;
    // j or n stopped at ±kIntegerParameterLimit.
    std::array<bool, kParamRowCount> held{};
    bool anyHeld() const;
};

class ParameterSteps
{
  public:
    // Step width 0.1, every increment 0, θ multiple 0.
    ParameterSteps() = default;

    // "刻み幅": index 0..4 into kStepWidths (others are ignored).
    void setStepWidthIndex(int index);
    int stepWidthIndex() const { return stepWidthIndex_; }
    float stepWidth() const { return kStepWidths[static_cast<std::size_t>(stepWidthIndex_)]; }

    // The row keys "＋", "－" and "0": the increment grows or shrinks by the
    // step width (by 1 for j and n), or becomes 0.
    void plus(ParamRow row);
    void minus(ParamRow row);
    void zero(ParamRow row);
    // "cl": the value becomes 0 (j and n: 1; θ: its multiple too).
    void clear(ParamRow row, Parameters &values);
    // All increments 0 (the file loader's ResetIncrements).
    void resetIncrements();
    // "AC" on the values: a, b, c, d, f, θ and its multiple 0, j and n 1,
    // every increment 0.
    void resetAll(Parameters &values);

    // One step of "描画": each value takes its increment, real values and the
    // θ multiple rounded to three decimals, θ := multiple × π.
    StepOutcome step(Parameters &values);

    long double increment(ParamRow row) const; // θ in multiples of π
    long double thetaMultiple() const { return thetaMultiple_; }
    // The θ multiple of a value set elsewhere (θ in radians).
    void setThetaFromRadians(float theta);

    // The texts of a row: a..f "0.000"; j and n "0"; θ its multiple as
    // "0.000" followed by "π". Increments "0.000", those of j and n as
    // plain integers.
    QString valueText(ParamRow row, const Parameters &values) const;
    QString incrementText(ParamRow row) const;

  private:
    int stepWidthIndex_ = kDefaultStepWidthIndex;
    // a, b, c, d, f and θ (in multiples of π), by row; the entries of j and n
    // are unused.
    std::array<long double, kParamRowCount> realIncrement_{};
    std::array<int32_t, kParamRowCount> integerIncrement_{}; // j and n only
    long double thetaMultiple_ = 0;
};

// The row's parameter letter and whether it is j or n.
inline char rowLetter(ParamRow row)
{
    return kRowLetters[row];
}
inline bool isIntegerRow(ParamRow row)
{
    return row == RowJ || row == RowN;
}

} // namespace gq
