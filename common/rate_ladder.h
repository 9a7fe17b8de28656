#pragma once
// The playback-rate ladder of the settings window's "<<" and ">>" buttons.
#include <string>

namespace lumorix {

inline constexpr int kRateStepMin = -2;
inline constexpr int kRateStepMax = 3;

// -2 -> 0.2, -1 -> 0.5, 0 -> 1, 1 -> 1.4, 2 -> 2, 3 -> 5.
double RateOfStep(int step);
// ">>": one step faster; from 5 back to 1.
int StepUp(int step);
// "<<": one step slower; from 0.2 back to 1.
int StepDown(int step);
// Whether `rate` is exactly one of the ladder's rates.
bool IsLadderRate(double rate);
// The rate in the shortest general form with the given decimal separator, then "x".
std::string RateText(double rate, char decimalSeparator = '.');

}  // namespace lumorix
