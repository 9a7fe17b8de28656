#include "rate_ladder.h"

#include <array>
#include <cstdio>

namespace lumorix {

namespace {
constexpr std::array<double, 6> kRates = {0.2, 0.5, 1.0, 1.4, 2.0, 5.0};
}

double RateOfStep(int step) {
  if (step < kRateStepMin || step > kRateStepMax) return 1.0;
  return kRates[static_cast<size_t>(step - kRateStepMin)];
}

int StepUp(int step) { return step >= kRateStepMax ? 0 : step + 1; }

int StepDown(int step) { return step <= kRateStepMin ? 0 : step - 1; }

bool IsLadderRate(double rate) {
  for (double ladderRate : kRates)
    if (rate == ladderRate) return true;
  return false;
}

std::string RateText(double rate, char decimalSeparator) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", rate);
  std::string result = text;
  for (char& c : result)
    if (c == '.') c = decimalSeparator;
  return result + "x";
}

}  // namespace lumorix
