#include "link/sim/dense_lu.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace orv::sim {
namespace {

constexpr double kTinyPivot = 1e-300;

}  // namespace

void Factor(DenseLu& f, const double* a, int n) {
    f.n = n;
    f.lu.assign(a, a + static_cast<std::size_t>(n) * n);
    f.pivot.resize(n);
    f.inverseDiagonal.resize(n);
    double* m = f.lu.data();
    for (int k = 0; k < n; ++k) {
        int best = k;
        for (int r = k + 1; r < n; ++r) {
            if (std::fabs(m[r * n + k]) > std::fabs(m[best * n + k]))
                best = r;
        }
        f.pivot[k] = best;
        if (best != k) {
            for (int col = 0; col < n; ++col)
                std::swap(m[k * n + col], m[best * n + col]);
        }
        if (m[k * n + k] == 0.0)
            m[k * n + k] = kTinyPivot;
        const double inverse = 1.0 / m[k * n + k];
        f.inverseDiagonal[k] = inverse;
        for (int r = k + 1; r < n; ++r) {
            const double factor = m[r * n + k] * inverse;
            m[r * n + k] = factor;
            if (factor == 0.0)
                continue;
            for (int col = k + 1; col < n; ++col)
                m[r * n + col] -= factor * m[k * n + col];
        }
    }
}

void SolveInPlace(const DenseLu& f, double* x, int count) {
    const int n = f.n;
    const double* m = f.lu.data();
    const double* inverse = f.inverseDiagonal.data();
    for (int c = 0; c < count; ++c, x += n) {
        // Rows were swapped whole while factoring, so every swap comes before L.
        for (int k = 0; k < n; ++k) {
            if (f.pivot[k] != k)
                std::swap(x[k], x[f.pivot[k]]);
        }
        for (int k = 0; k < n; ++k) {
            const double xk = x[k];
            if (xk == 0.0)
                continue;
            for (int r = k + 1; r < n; ++r)
                x[r] -= m[r * n + k] * xk;
        }
        for (int k = n - 1; k >= 0; --k) {
            double sum = x[k];
            for (int col = k + 1; col < n; ++col)
                sum -= m[k * n + col] * x[col];
            x[k] = sum * inverse[k];
        }
    }
}

}  // namespace orv::sim
