#include "link/sim/netlist.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>

namespace orv::sim {
namespace {

// Below this a resistor conducts as a short; above this a capacitor is taken as this.
constexpr double kShortOhms = 1e-3;
constexpr double kLargestFarads = 10.0;

constexpr int kGroundId = 0;
constexpr int kPinId = 1;

// Nodes are ids into a union-find forest while the tree is walked; shorts join them.
struct Builder {
    std::vector<int> parent{kGroundId, kPinId};
    std::vector<Branch> conductances;
    std::vector<Branch> capacitances;
    std::vector<JunctionBranch> junctions;

    int NewNode() {
        parent.push_back(static_cast<int>(parent.size()));
        return parent.back();
    }
    int Find(int id) {
        while (parent[id] != id) {
            parent[id] = parent[parent[id]];
            id = parent[id];
        }
        return id;
    }
    // The smaller id stays the root, so ground and pin keep their own ids.
    void Join(int a, int b) {
        a = Find(a);
        b = Find(b);
        if (a < b)
            parent[b] = a;
        if (b < a)
            parent[a] = b;
    }

    void AddSeries(std::span<const Circuit> parts, int top, int bottom) {
        if (parts.empty()) {
            Join(top, bottom);
            return;
        }
        int upper = top;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            const int lower = NewNode();
            Add(parts[i], upper, lower);
            upper = lower;
        }
        Add(parts.back(), upper, bottom);
    }

    void Add(const Circuit& c, int top, int bottom) {
        switch (c.kind) {
            case ElementKind::Open:
                break;
            case ElementKind::Short:
                Join(top, bottom);
                break;
            case ElementKind::Resistor:
                if (std::isnan(c.value) || std::isinf(c.value))
                    break;
                if (c.value <= kShortOhms) {
                    Join(top, bottom);
                } else {
                    conductances.push_back({top, bottom, 1.0 / c.value});
                }
                break;
            case ElementKind::Capacitor:
                if (c.value > 0.0 && !std::isinf(c.value)) {
                    capacitances.push_back({top, bottom, std::min(c.value, kLargestFarads)});
                }
                break;
            case ElementKind::Diode:
                junctions.push_back({top, bottom, 0.0});
                break;
            case ElementKind::Zener:
                junctions.push_back(
                    {top, bottom, c.value > 0.0 && !std::isinf(c.value) ? c.value : 0.0});
                break;
            case ElementKind::Series:
                AddSeries(c.parts, top, bottom);
                break;
            case ElementKind::Parallel:
                for (const Circuit& part : c.parts)
                    Add(part, top, bottom);
                break;
            case ElementKind::Reversed:
                if (!c.parts.empty())
                    AddSeries(c.parts, bottom, top);
                break;
        }
    }
};

// Node numbers for the solver: only nodes the pin reaches without passing through
// ground can carry a voltage; the pin first, the rest in the order they are reached.
std::vector<int> NumberReachableNodes(Builder& b) {
    const int count = static_cast<int>(b.parent.size());
    std::vector<std::vector<int>> neighbours(count);
    auto link = [&](int x, int y) {
        x = b.Find(x);
        y = b.Find(y);
        if (x == y)
            return;
        neighbours[x].push_back(y);
        neighbours[y].push_back(x);
    };
    for (const Branch& e : b.conductances)
        link(e.a, e.b);
    for (const Branch& e : b.capacitances)
        link(e.a, e.b);
    for (const JunctionBranch& e : b.junctions)
        link(e.anode, e.cathode);

    std::vector<int> number(count, kGround);
    std::vector<int> queue{kPinId};
    number[kPinId] = 0;
    int next = 1;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        for (int n : neighbours[queue[i]]) {
            if (n == kGroundId || n == kPinId || number[n] != kGround)
                continue;
            number[n] = next++;
            queue.push_back(n);
        }
    }
    return number;
}

}  // namespace

Netlist Flatten(const Circuit& circuit) {
    Builder b;
    b.Add(circuit, kPinId, kGroundId);
    Netlist net;
    if (b.Find(kPinId) == b.Find(kGroundId)) {
        net.pinGrounded = true;
        return net;
    }
    const std::vector<int> number = NumberReachableNodes(b);
    for (int n : number)
        net.nodeCount = std::max(net.nodeCount, n + 1);

    // An element whose two ends are one node carries nothing; one beyond the pin's
    // reach has both ends at ground potential or unreachable.
    auto mapped = [&](int id, int& out) {
        const int root = b.Find(id);
        out = root == kGroundId ? kGround : number[root];
        return root == kGroundId || number[root] != kGround;
    };
    auto keep = [&](int a, int bb, int& ma, int& mb) {
        return mapped(a, ma) && mapped(bb, mb) && ma != mb;
    };
    for (const Branch& e : b.conductances) {
        Branch m = e;
        if (keep(e.a, e.b, m.a, m.b))
            net.conductances.push_back(m);
    }
    for (const Branch& e : b.capacitances) {
        Branch m = e;
        if (keep(e.a, e.b, m.a, m.b))
            net.capacitances.push_back(m);
    }
    for (const JunctionBranch& e : b.junctions) {
        JunctionBranch m = e;
        if (keep(e.anode, e.cathode, m.anode, m.cathode))
            net.junctions.push_back(m);
    }
    return net;
}

}  // namespace orv::sim
