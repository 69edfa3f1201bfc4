#include "link/sim/periodic_solver.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

#include "link/sim/dense_lu.h"
#include "link/sim/junction.h"

namespace orv::sim {
namespace {

// Time steps per period: the fine grid gives the answer, the coarse one the start.
constexpr int kFineSteps = 2 * kSamplesPerPeriod;
constexpr int kCoarseSteps = kSamplesPerPeriod / 2;
// Every node but the pin leaks this much to ground, as real parts do; it fixes the
// level of a node that only capacitors reach.
constexpr double kNodeLeakSiemens = 1e-9;
// Newton converges quadratically near the answer, so a last correction this small
// leaves an error far below it.
constexpr double kStepTolerance = 1e-5;  // volts, relative to 1 V
constexpr double kFastShrink = 0.1;
constexpr double kSlowTolerance = 1e-3;
constexpr int kMaxStepIterations = 100;
constexpr int kMaxPeriodRuns = 60;
constexpr int kMaxStepHalvings = 6;
// A last Newton step on the period map this small is applied linearly: what that
// leaves is of the order of its square over the thermal voltage.
constexpr double kCloseEnough = 1e-4;   // volts, relative to 1 V
constexpr double kSlowProgress = 0.25;  // mismatch kept by a slow full step

using Samples = std::array<double, kSamplesPerPeriod>;
using Vector = std::vector<double>;

double At(const Vector& v, int node) {
    return node == kGround ? 0.0 : v[node];
}

void StampBranch(Vector& m, int n, const Branch& e) {
    if (e.a != kGround)
        m[e.a * n + e.a] += e.value;
    if (e.b != kGround)
        m[e.b * n + e.b] += e.value;
    if (e.a != kGround && e.b != kGround) {
        m[e.a * n + e.b] -= e.value;
        m[e.b * n + e.a] -= e.value;
    }
}

double Norm(const Vector& v) {
    double sum = 0.0;
    for (double x : v)
        sum += x * x;
    return std::sqrt(sum);
}

double MaxAbs(const Vector& v) {
    double m = 0.0;
    for (double x : v)
        m = std::max(m, std::fabs(x));
    return m;
}

// The netlist as matrices, the drive, and the scratch space of one solve.
struct Solver {
    int n = 0;
    const std::vector<JunctionBranch>* junctions = nullptr;
    Vector conductance;      // n x n, with the source resistor and the node leaks
    Vector capacitance;      // n x n
    std::vector<int> state;  // the nodes a capacitance touches: the circuit's memory
    double sourceSiemens = 0.0;
    double peakVolts = 0.0;
    double dcVolts = 0.0;

    // Scratch.
    Vector jacobian, rhs, v, next;
    std::vector<JunctionMemory> junctionMemory;  // each junction's last linearisation
    DenseLu lu;

    double SourceAt(int step, int stepsPerPeriod) const {
        return dcVolts + peakVolts * std::sin(2.0 * std::numbers::pi * step / stepsPerPeriod);
    }

    // Solves base * v + junction currents(v) = rhs0 by Newton from the guess in `v`;
    // `lu` is left factored at the last linearisation point.
    void SolveNodes(const Vector& base, const Vector& rhs0) {
        double previousChange = 0.0;
        for (int iteration = 0; iteration < kMaxStepIterations; ++iteration) {
            jacobian = base;
            rhs = rhs0;
            bool limited = false;
            for (std::size_t j = 0; j < junctions->size(); ++j) {
                const JunctionBranch& d = (*junctions)[j];
                const double wanted = At(v, d.anode) - At(v, d.cathode);
                const double volts =
                    LimitJunctionStep(wanted, junctionMemory[j].branchVolts, d.breakdownVolts);
                limited = limited || volts != wanted;
                const JunctionPoint p =
                    EvaluateJunctionBranch(volts, d.breakdownVolts, junctionMemory[j]);
                StampBranch(jacobian, n, {d.anode, d.cathode, p.siemens});
                const double equivalent = p.amps - p.siemens * volts;
                if (d.anode != kGround)
                    rhs[d.anode] -= equivalent;
                if (d.cathode != kGround)
                    rhs[d.cathode] += equivalent;
            }
            Factor(lu, jacobian.data(), n);
            next = rhs;
            SolveInPlace(lu, next.data());
            double change = 0.0;
            for (int i = 0; i < n; ++i)
                change = std::max(change, std::fabs(next[i] - v[i]));
            v.swap(next);
            if (junctions->empty())
                return;
            // A small correction proves convergence only where the corrections shrink
            // fast; a slow creep (a node that only junctions reach, carrying next to
            // no current) has to come much closer.
            const double tolerance = kStepTolerance * (1.0 + MaxAbs(v));
            const bool fast = iteration == 0 || change <= kFastShrink * previousChange;
            if (!limited && change <= (fast ? tolerance : kSlowTolerance * tolerance))
                return;
            previousChange = change;
        }
    }
};

Solver MakeSolver(const Netlist& net, const Drive& drive) {
    Solver s;
    const int n = net.nodeCount;
    s.n = n;
    s.junctions = &net.junctions;
    s.conductance.assign(static_cast<std::size_t>(n) * n, 0.0);
    s.capacitance.assign(static_cast<std::size_t>(n) * n, 0.0);
    for (const Branch& e : net.conductances)
        StampBranch(s.conductance, n, e);
    for (const Branch& e : net.capacitances)
        StampBranch(s.capacitance, n, e);
    s.sourceSiemens = 1.0 / drive.sourceOhms;
    s.conductance[0] += s.sourceSiemens;
    for (int i = 1; i < n; ++i)
        s.conductance[i * n + i] += kNodeLeakSiemens;
    for (int i = 0; i < n; ++i) {
        if (s.capacitance[i * n + i] != 0.0)
            s.state.push_back(i);
    }
    s.peakVolts = drive.peakVolts;
    s.dcVolts = drive.dcVolts;
    s.v.assign(n, 0.0);
    s.junctionMemory.assign(net.junctions.size(), JunctionMemory{});
    return s;
}

// No memory: each sample is an operating point of its own.
Samples SolveEachSample(Solver& s) {
    Samples pin{};
    Vector rhs0(s.n, 0.0);
    if (s.junctions->empty())
        Factor(s.lu, s.conductance.data(), s.n);
    for (int k = 0; k < kSamplesPerPeriod; ++k) {
        rhs0[0] = s.sourceSiemens * s.SourceAt(k, kSamplesPerPeriod);
        if (s.junctions->empty()) {
            s.v = rhs0;
            SolveInPlace(s.lu, s.v.data());
        } else {
            s.SolveNodes(s.conductance, rhs0);
        }
        pin[k] = s.v[0];
    }
    return pin;
}

// One period of time steps from a start state x = (v[-1], v[0]) on the state nodes,
// with the derivative of the end state and of every pin sample by x.
struct PeriodRun {
    Vector end;             // 2d: v[M-1] and v[M] on the state nodes
    Vector monodromy;       // 2d x 2d, row-major: d end / d x
    Samples pin{};          // pin volts, sample 0 at v[M]
    Vector pinSensitivity;  // 64 x 2d, row-major: d pin / d x
};

struct Stepper {
    Solver& s;
    int steps = kSamplesPerPeriod;
    double inverseStep = 0.0;  // 1/h
    Vector base;               // conductance + 1.5 C / h
    Vector sourceAmps;         // the source's short-circuit current at each step
    // The last run, from which the next run guesses each step's answer: its start
    // state, its node volts ((steps + 1) x n) and their derivatives by the start
    // state (steps x n x 2d).
    Vector trajectoryX;
    Vector trajectory;
    Vector trajectorySensitivity;
    bool haveTrajectory = false;
    bool haveSensitivity = false;
    Vector shift;  // this run's start state minus the last one's
    // Scratch: v[k-2], v[k-1], their sensitivities (column-major n x 2d), the history.
    Vector older, old, history, sensOlder, sensOld, sens;

    Stepper(Solver& solver, double frequencyHz, int stepsPerPeriod)
        : s(solver), steps(stepsPerPeriod) {
        const int n = s.n;
        inverseStep = frequencyHz * steps;
        base = s.conductance;
        for (std::size_t i = 0; i < base.size(); ++i) {
            base[i] += 1.5 * inverseStep * s.capacitance[i];
        }
        trajectory.assign(static_cast<std::size_t>(steps + 1) * n, 0.0);
        sourceAmps.resize(steps + 1);
        for (int k = 0; k <= steps; ++k)
            sourceAmps[k] = s.sourceSiemens * s.SourceAt(k, steps);
    }

    // (C / h) (2 a - b / 2): the capacitor currents' history term.
    void History(const double* a, const double* b, double* out) const {
        const int n = s.n;
        for (int r = 0; r < n; ++r) {
            double sum = 0.0;
            for (int c : s.state) {
                sum += s.capacitance[r * n + c] * (2.0 * a[c] - 0.5 * b[c]);
            }
            out[r] = inverseStep * sum;
        }
    }

    PeriodRun Run(const Vector& x, bool linear) {
        const int n = s.n;
        const int d = static_cast<int>(s.state.size());
        const int m = 2 * d;
        PeriodRun run;
        run.pinSensitivity.assign(static_cast<std::size_t>(kSamplesPerPeriod) * m, 0.0);

        older.assign(trajectory.end() - 2 * n, trajectory.end() - n);
        old.assign(trajectory.end() - n, trajectory.end());
        sensOlder.assign(static_cast<std::size_t>(n) * m, 0.0);
        sensOld.assign(static_cast<std::size_t>(n) * m, 0.0);
        for (int i = 0; i < d; ++i) {
            older[s.state[i]] = x[i];
            old[s.state[i]] = x[d + i];
            sensOlder[i * n + s.state[i]] = 1.0;
            sensOld[(d + i) * n + s.state[i]] = 1.0;
        }
        std::copy(old.begin(), old.end(), trajectory.begin());
        shift.assign(m, 0.0);
        if (haveSensitivity) {
            for (int q = 0; q < m; ++q)
                shift[q] = x[q] - trajectoryX[q];
        }
        trajectorySensitivity.resize(static_cast<std::size_t>(steps + 1) * n * m);
        history.assign(n, 0.0);
        sens.assign(static_cast<std::size_t>(n) * m, 0.0);
        if (linear)
            Factor(s.lu, base.data(), n);

        for (int k = 1; k <= steps; ++k) {
            History(old.data(), older.data(), history.data());
            history[0] += sourceAmps[k];
            double* guess = trajectory.data() + static_cast<std::size_t>(k) * n;
            if (linear) {
                s.v = history;
                SolveInPlace(s.lu, s.v.data());
            } else {
                const double* guessSensitivity = &trajectorySensitivity[k * n * m];
                for (int i = 0; i < n; ++i) {
                    double g = haveTrajectory ? guess[i] : 2.0 * old[i] - older[i];
                    if (haveSensitivity) {
                        for (int q = 0; q < m; ++q)
                            g += guessSensitivity[q * n + i] * shift[q];
                    }
                    s.v[i] = g;
                }
                s.SolveNodes(base, history);
            }
            std::copy(s.v.begin(), s.v.end(), guess);
            for (int q = 0; q < m; ++q)
                History(&sensOld[q * n], &sensOlder[q * n], &sens[q * n]);
            SolveInPlace(s.lu, sens.data(), m);
            std::copy(sens.begin(), sens.end(), trajectorySensitivity.begin() + k * n * m);
            if (k * kSamplesPerPeriod % steps == 0) {
                const int sample = (k * kSamplesPerPeriod / steps) % kSamplesPerPeriod;
                run.pin[sample] = s.v[0];
                for (int q = 0; q < m; ++q)
                    run.pinSensitivity[sample * m + q] = sens[q * n];
            }
            older.swap(old);
            old = s.v;
            sensOlder.swap(sensOld);
            sensOld.swap(sens);
        }
        haveTrajectory = true;
        haveSensitivity = true;
        trajectoryX = x;

        run.end.assign(m, 0.0);
        run.monodromy.assign(static_cast<std::size_t>(m) * m, 0.0);
        for (int i = 0; i < d; ++i) {
            run.end[i] = older[s.state[i]];
            run.end[d + i] = old[s.state[i]];
            for (int q = 0; q < m; ++q) {
                run.monodromy[i * m + q] = sensOlder[q * n + s.state[i]];
                run.monodromy[(d + i) * m + q] = sensOld[q * n + s.state[i]];
            }
        }
        return run;
    }

    // Takes over a coarser stepper's start state and its last trajectory as the guess.
    Vector TakeOver(const Stepper& coarse, const Vector& coarseX) {
        const int n = s.n;
        const int d = static_cast<int>(s.state.size());
        const int ratio = steps / coarse.steps;
        for (int k = 0; k <= steps; ++k) {
            const int below = k / ratio;
            const int above = std::min(below + 1, coarse.steps);
            const double t = static_cast<double>(k % ratio) / ratio;
            for (int i = 0; i < n; ++i) {
                trajectory[k * n + i] = (1.0 - t) * coarse.trajectory[below * n + i] +
                                        t * coarse.trajectory[above * n + i];
            }
        }
        haveTrajectory = true;
        // v[-1] lies a shorter step before v[0] on the finer grid.
        Vector x = coarseX;
        for (int i = 0; i < d; ++i)
            x[i] = x[d + i] + (coarseX[i] - coarseX[d + i]) / ratio;
        return x;
    }
};

// Solves (I - monodromy) step = residual: the Newton step on the period map.
Vector ShootingStep(const PeriodRun& run, const Vector& residual) {
    const int m = static_cast<int>(residual.size());
    Vector a(static_cast<std::size_t>(m) * m);
    for (int i = 0; i < m; ++i) {
        for (int q = 0; q < m; ++q)
            a[i * m + q] = (i == q ? 1.0 : 0.0) - run.monodromy[i * m + q];
    }
    DenseLu lu;
    Factor(lu, a.data(), m);
    Vector step = residual;
    SolveInPlace(lu, step.data());
    return step;
}

Vector Residual(const PeriodRun& run, const Vector& x) {
    Vector r = run.end;
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] -= x[i];
    return r;
}

// A linear circuit's period map is affine, so one run from rest and one linear solve
// give the steady state exactly.
Samples SolveLinearPeriod(Stepper& stepper) {
    const int m = 2 * static_cast<int>(stepper.s.state.size());
    const Vector rest(m, 0.0);
    const PeriodRun run = stepper.Run(rest, true);
    const Vector x = ShootingStep(run, run.end);
    Samples pin = run.pin;
    for (int k = 0; k < kSamplesPerPeriod; ++k) {
        for (int q = 0; q < m; ++q)
            pin[k] += run.pinSensitivity[k * m + q] * x[q];
    }
    return pin;
}

struct Shooting {
    Vector x;
    PeriodRun run;
    Vector residual;
    double mismatch = 0.0;
};

void Measure(Stepper& stepper, Shooting& sh, int& runs) {
    sh.run = stepper.Run(sh.x, false);
    ++runs;
    sh.residual = Residual(sh.run, sh.x);
    sh.mismatch = Norm(sh.residual);
}

// Newton on the period map until its step is below `closeEnough`; that last step is
// then applied to the samples through their derivatives instead of by another
// period: its error is of the order of the step squared. A step is shortened until
// the mismatch over a period shrinks; where no shortened step helps, one plain
// period is taken instead. While full steps make slow progress (a junction's
// exponential approached from its conducting side) a step is first tried at double
// length.
Samples Shoot(Stepper& stepper, Shooting& sh, double closeEnough, int& runs) {
    const int m = static_cast<int>(sh.x.size());
    Measure(stepper, sh, runs);
    bool slow = false;
    while (runs < kMaxPeriodRuns) {
        const Vector step = ShootingStep(sh.run, sh.residual);
        if (MaxAbs(step) <= closeEnough) {
            Samples pin = sh.run.pin;
            for (int k = 0; k < kSamplesPerPeriod; ++k) {
                for (int q = 0; q < m; ++q)
                    pin[k] += sh.run.pinSensitivity[k * m + q] * step[q];
            }
            for (int i = 0; i < m; ++i)
                sh.x[i] += step[i];
            return pin;
        }
        bool improved = false;
        double fraction = slow ? 2.0 : 1.0;
        for (int halving = 0; halving <= kMaxStepHalvings && runs < kMaxPeriodRuns; ++halving) {
            Shooting trial;
            trial.x = sh.x;
            for (int i = 0; i < m; ++i)
                trial.x[i] += fraction * step[i];
            Measure(stepper, trial, runs);
            if (trial.mismatch < sh.mismatch) {
                slow = fraction >= 1.0 && trial.mismatch > kSlowProgress * sh.mismatch;
                sh = std::move(trial);
                improved = true;
                break;
            }
            fraction *= 0.5;
        }
        if (!improved && runs < kMaxPeriodRuns) {
            slow = false;
            sh.x = sh.run.end;
            Measure(stepper, sh, runs);
        }
    }
    return sh.run.pin;
}

// From the operating point at the generator's DC level, on a coarse grid where most
// of the settling is cheap, then on the fine grid from there.
Samples SolveNonlinearPeriod(Solver& solver, double frequencyHz, double scaleVolts) {
    Vector dcSource(solver.n, 0.0);
    dcSource[0] = solver.sourceSiemens * solver.dcVolts;
    solver.SolveNodes(solver.conductance, dcSource);
    Stepper coarse(solver, frequencyHz, kCoarseSteps);
    for (std::size_t i = 0; i < coarse.trajectory.size(); ++i) {
        coarse.trajectory[i] = solver.v[i % solver.n];
    }
    const int d = static_cast<int>(solver.state.size());
    Shooting sh;
    sh.x.assign(2 * d, 0.0);
    for (int i = 0; i < d; ++i)
        sh.x[i] = sh.x[d + i] = solver.v[solver.state[i]];
    int runs = 0;
    Shoot(coarse, sh, kCloseEnough * scaleVolts, runs);
    Stepper fine(solver, frequencyHz, kFineSteps);
    sh.x = fine.TakeOver(coarse, sh.x);
    return Shoot(fine, sh, kCloseEnough * scaleVolts, runs);
}

}  // namespace

std::array<double, kSamplesPerPeriod> SolvePinSamples(const Netlist& net, const Drive& drive) {
    Solver solver = MakeSolver(net, drive);
    if (solver.state.empty() || drive.frequencyHz <= 0.0)
        return SolveEachSample(solver);
    if (net.junctions.empty()) {
        Stepper stepper(solver, drive.frequencyHz, kFineSteps);
        return SolveLinearPeriod(stepper);
    }
    const double scale = 1.0 + std::fabs(drive.peakVolts) + std::fabs(drive.dcVolts);
    return SolveNonlinearPeriod(solver, drive.frequencyHz, scale);
}

}  // namespace orv::sim
