// Measuring helpers for the render tests: band-limited levels of a signal,
// so that tests can speak of "the high band" the way a listener does.
#pragma once

#include <cmath>
#include <vector>

namespace render_test {

// A second-order Butterworth filter (bilinear transform), run in double.
inline std::vector<double> Filter(const std::vector<float>& x, double sampleRate, double cutoff, bool highPass) {
  const double pi = 3.14159265358979323846;
  const double w = 2.0 * pi * cutoff / sampleRate;
  const double alpha = std::sin(w) / (2.0 * std::sqrt(0.5));
  const double c = std::cos(w);
  const double a0 = 1.0 + alpha;
  const double b0 = (highPass ? (1.0 + c) : (1.0 - c)) / 2.0 / a0;
  const double b1 = (highPass ? -(1.0 + c) : (1.0 - c)) / a0;
  const double b2 = b0;
  const double a1 = -2.0 * c / a0;
  const double a2 = (1.0 - alpha) / a0;
  std::vector<double> y(x.size());
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (size_t n = 0; n < x.size(); ++n) {
    const double out = b0 * x[n] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x[n];
    y2 = y1;
    y1 = out;
    y[n] = out;
  }
  return y;
}

inline double Rms(const std::vector<double>& x) {
  double sum = 0.0;
  for (double v : x) sum += v * v;
  return x.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(x.size()));
}

// RMS of the difference of two signals over their common length.
inline double RmsOfDifference(const std::vector<double>& a, const std::vector<double>& b) {
  const size_t n = std::min(a.size(), b.size());
  double sum = 0.0;
  for (size_t i = 0; i < n; ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  return n == 0 ? 0.0 : std::sqrt(sum / static_cast<double>(n));
}

}  // namespace render_test
