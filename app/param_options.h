// The --param options of graphotheque-render: parameter values set on the
// command line, drawn over the file's values.
//
//   --param NAME=VALUE   (repeatable; the last one for a name wins)
//
// NAME is a, b, c, d or f (a real value), j or n (an integer within
// ±16777216, where single precision holds every integer) or theta (θ as a
// multiple of π: theta=0.25 is π/4).
#pragma once

#include "engine/engine_state.h"
#include <QString>
#include <QStringList>
#include <vector>

namespace gq
{

struct ParamSetting {
    char letter = 'a'; // the parameter letter; 's' is θ
    float value = 0;   // θ in radians
};

// Takes every "--param NAME=VALUE" and "--param=NAME=VALUE" out of args
// (the program's arguments) into settings, in order. Returns an empty text
// when all were good; otherwise the one line to print (an unknown name, a
// value that is not a number or does not fit, a missing value).
QString takeParamOptions(QStringList &args, std::vector<ParamSetting> &settings);

// The settings onto a document's parameter values, in order.
void applyParamSettings(const std::vector<ParamSetting> &settings, Parameters &values);

// The usage text of the option, for the usage line.
inline constexpr const char *kParamUsage = "[--param NAME=VALUE]...";

} // namespace gq
