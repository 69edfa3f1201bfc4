#pragma once
// LU factorisation with partial pivoting of the small dense matrices of the solver.

#include <vector>

namespace orv::sim {

struct DenseLu {
    int n = 0;
    std::vector<double> lu;  // row-major n x n: L below the diagonal (unit), U on and above
    std::vector<double> inverseDiagonal;  // 1 / U's diagonal
    std::vector<int> pivot;
};

// Factors the row-major n x n matrix `a`. A zero pivot is replaced by a tiny one, so a
// singular matrix still gives finite numbers.
void Factor(DenseLu& f, const double* a, int n);

// Solves A x = b in place for `count` right-hand sides stored one after another
// (n values each): `x` holds them on entry.
void SolveInPlace(const DenseLu& f, double* x, int count = 1);

}  // namespace orv::sim
