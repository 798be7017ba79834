// Evaluation of the fitted tables: value and rate of one quantity at one instant.
#pragma once

#include <algorithm>
#include <cmath>

#include "precise/precise_tables.h"

namespace solvane::precise {

struct ValueAndRate {
  double value;  // the table's unit
  double rate;   // the table's unit per day
};

// Where `jd_tt` falls: a segment and the Chebyshev argument in [-1, 1] within it. Instants before
// the first segment or after the last are taken at the table's edge: the tables are never read
// outside their arrays.
struct SegmentPoint {
  int segment;
  double x;
};

inline SegmentPoint Locate(const ChebyshevTable& table, double jd_tt) {
  double position = (jd_tt - table.first_jd_tt) / table.segment_days;
  if (!(position > 0.0)) position = 0.0;  // also NaN
  position = std::min(position, static_cast<double>(table.segment_count));
  const int segment = std::min(static_cast<int>(position), table.segment_count - 1);
  return {segment, std::clamp(2.0 * (position - segment) - 1.0, -1.0, 1.0)};
}

// The Chebyshev polynomials and their derivatives at one instant, for every table of one segment
// length: all tables start together, so those of equal length share the argument, and each table
// then costs a dot product instead of a chain of dependent steps.
inline constexpr int kMaxCoefficients = 24;

struct ChebyshevBasis {
  double segment_days = 0;  // 0: not built
  int segment = 0;
  double t[kMaxCoefficients];   // T_k(x)
  double dt[kMaxCoefficients];  // dT_k/dx
};

inline ChebyshevBasis MakeBasis(const ChebyshevTable& geometry, double jd_tt) {
  ChebyshevBasis basis;
  const SegmentPoint point = Locate(geometry, jd_tt);
  basis.segment_days = geometry.segment_days;
  basis.segment = point.segment;
  const double x = point.x;
  basis.t[0] = 1.0;
  basis.t[1] = x;
  basis.dt[0] = 0.0;
  basis.dt[1] = 1.0;
  for (int k = 2; k < kMaxCoefficients; ++k) {
    basis.t[k] = 2.0 * x * basis.t[k - 1] - basis.t[k - 2];
    basis.dt[k] = 2.0 * basis.t[k - 1] + 2.0 * x * basis.dt[k - 1] - basis.dt[k - 2];
  }
  return basis;
}

// `basis` must come from a table of the same start and segment length.
inline ValueAndRate Evaluate(const ChebyshevTable& table, const ChebyshevBasis& basis) {
  const int h = table.head_count;
  const int n = table.coefficient_count;
  const double* head = table.head + basis.segment * h;
  const float* tail = table.tail + basis.segment * (n - h);
  double value = 0.0, slope = 0.0;
  for (int k = 0; k < h; ++k) {
    value += head[k] * basis.t[k];
    slope += head[k] * basis.dt[k];
  }
  for (int k = h; k < n; ++k) {
    value += tail[k - h] * basis.t[k];
    slope += tail[k - h] * basis.dt[k];
  }
  return {value, slope * 2.0 / table.segment_days};
}

inline double EvaluateValue(const ChebyshevTable& table, const ChebyshevBasis& basis) {
  const int h = table.head_count;
  const int n = table.coefficient_count;
  const double* head = table.head + basis.segment * h;
  const float* tail = table.tail + basis.segment * (n - h);
  double value = 0.0;
  for (int k = 0; k < h; ++k) value += head[k] * basis.t[k];
  for (int k = h; k < n; ++k) value += tail[k - h] * basis.t[k];
  return value;
}

inline ValueAndRate Evaluate(const ChebyshevTable& table, double jd_tt) {
  return Evaluate(table, MakeBasis(table, jd_tt));
}

inline ValueAndRate Evaluate(Table table, double jd_tt) {
  return Evaluate(kTables[static_cast<int>(table)], jd_tt);
}

inline double EvaluateValue(Table table, double jd_tt) {
  const ChebyshevTable& t = kTables[static_cast<int>(table)];
  return EvaluateValue(t, MakeBasis(t, jd_tt));
}

// Bases for every segment length the tables use, built as first asked for.
class BasisSet {
 public:
  explicit BasisSet(double jd_tt) : jd_tt_(jd_tt) {}
  const ChebyshevBasis& For(const ChebyshevTable& table) {
    for (ChebyshevBasis& basis : bases_) {
      if (basis.segment_days == table.segment_days) return basis;
      if (basis.segment_days == 0) return basis = MakeBasis(table, jd_tt_);
    }
    // More segment lengths than slots: a generator change this class must follow.
    return scratch_ = MakeBasis(table, jd_tt_);
  }
  ValueAndRate Evaluate(Table table) {
    const ChebyshevTable& t = kTables[static_cast<int>(table)];
    return precise::Evaluate(t, For(t));
  }
  double EvaluateValue(Table table) {
    const ChebyshevTable& t = kTables[static_cast<int>(table)];
    return precise::EvaluateValue(t, For(t));
  }

 private:
  double jd_tt_;
  ChebyshevBasis bases_[3];
  ChebyshevBasis scratch_;
};

// The first and last instants (TT) all tables cover.
double TablesFirstJd();
double TablesEndJd();

}  // namespace solvane::precise
