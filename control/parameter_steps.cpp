#include "control/parameter_steps.h"

#include "control/status_lines.h"
#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace gq
{

namespace
{
constexpr long double kPi = std::numbers::pi_v<long double>;

std::size_t at(ParamRow row)
{
    return static_cast<std::size_t>(row);
}

int64_t clampInteger(int64_t v)
{
    return std::clamp<int64_t>(v, -kIntegerParameterLimit, kIntegerParameterLimit);
}
} // namespace

long double roundTo3(long double value)
{
    if (!std::isfinite(value))
        return value;
    // The text the window would show, read back: the locale never enters
    // (a classroom machine may use a decimal comma).
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (written.ec != std::errc())
        return value;
    long double rounded = value;
    std::from_chars(buffer, written.ptr, rounded, std::chars_format::fixed);
    // "-0.000" reads as -0; the parameter is plain 0.
    return rounded == 0 ? 0.0L : rounded;
}

bool StepOutcome::anyHeld() const
{
    return std::any_of(held.begin(), held.end(), [](bool h) { return h; });
}

void ParameterSteps::setStepWidthIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(kStepWidths.size()))
        stepWidthIndex_ = index;
}

void ParameterSteps::plus(ParamRow row)
{
    if (isIntegerRow(row))
        integerIncrement_[at(row)] =
            static_cast<int32_t>(clampInteger(int64_t{integerIncrement_[at(row)]} + 1));
    else
        realIncrement_[at(row)] += stepWidth();
}

void ParameterSteps::minus(ParamRow row)
{
    if (isIntegerRow(row))
        integerIncrement_[at(row)] =
            static_cast<int32_t>(clampInteger(int64_t{integerIncrement_[at(row)]} - 1));
    else
        realIncrement_[at(row)] -= stepWidth();
}

void ParameterSteps::zero(ParamRow row)
{
    realIncrement_[at(row)] = 0;
    integerIncrement_[at(row)] = 0;
}

void ParameterSteps::clear(ParamRow row, Parameters &values)
{
    values[rowLetter(row)] = isIntegerRow(row) ? 1.0f : 0.0f;
    if (row == RowTheta)
        thetaMultiple_ = 0;
}

void ParameterSteps::resetIncrements()
{
    realIncrement_.fill(0);
    integerIncrement_.fill(0);
}

void ParameterSteps::resetAll(Parameters &values)
{
    for (int r = 0; r < kParamRowCount; ++r)
        clear(static_cast<ParamRow>(r), values);
    resetIncrements();
}

StepOutcome ParameterSteps::step(Parameters &values)
{
    StepOutcome outcome;
    for (ParamRow row : {RowA, RowB, RowC, RowD, RowF}) {
        float &value = values[rowLetter(row)];
        const long double next = roundTo3(static_cast<long double>(value) + realIncrement_[at(row)]);
        // NaN fails the test as well as a value out of range.
        if (std::fabs(next) < kRealParameterLimit)
            value = static_cast<float>(next);
        else
            outcome.held[at(row)] = true;
    }
    for (ParamRow row : {RowJ, RowN}) {
        float &value = values[rowLetter(row)];
        // j and n are integers; anything else (only a hand-made value could
        // be) is brought back to the nearest one within the limit.
        const float whole = std::isnan(value) ? 1.0f : value;
        const auto current = static_cast<int64_t>(
            std::llround(std::clamp<float>(whole, -kIntegerParameterLimit, kIntegerParameterLimit)));
        const int64_t wanted = current + integerIncrement_[at(row)];
        const int64_t next = clampInteger(wanted);
        outcome.held[at(row)] = next != wanted;
        value = static_cast<float>(next);
    }
    const long double multiple = roundTo3(thetaMultiple_ + realIncrement_[at(RowTheta)]);
    if (std::fabs(multiple * kPi) < kRealParameterLimit) {
        thetaMultiple_ = multiple;
        values['s'] = static_cast<float>(multiple * kPi);
    } else {
        outcome.held[at(RowTheta)] = true;
    }
    return outcome;
}

long double ParameterSteps::increment(ParamRow row) const
{
    return isIntegerRow(row) ? integerIncrement_[at(row)] : realIncrement_[at(row)];
}

void ParameterSteps::setThetaFromRadians(float theta)
{
    if (static_cast<float>(thetaMultiple_ * kPi) != theta)
        thetaMultiple_ = roundTo3(static_cast<long double>(theta) / kPi);
}

QString ParameterSteps::valueText(ParamRow row, const Parameters &values) const
{
    if (row == RowTheta)
        return formatFixed3(thetaMultiple_) + QStringLiteral("π");
    const float value = values[rowLetter(row)];
    if (isIntegerRow(row))
        return std::isfinite(value) ? QString::number(std::llround(value)) : formatFixed3(value);
    return formatFixed3(value);
}

QString ParameterSteps::incrementText(ParamRow row) const
{
    if (isIntegerRow(row))
        return QString::number(integerIncrement_[at(row)]);
    return formatFixed3(realIncrement_[at(row)]);
}

} // namespace gq
