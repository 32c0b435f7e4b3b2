#include "world/PairSearch.h"
#include "world/GridIndex.h"
#include "world/Object.h"
#include "world/SphereContact.h"
#include <algorithm>
#include <cmath>
#include <limits>

// Broad phase of the pair search: a uniform grid over the world's box. Every
// object gets a box, its centre +- h on each axis, that holds its sphere over the
// whole step with room to spare; only pairs whose boxes meet are tested, with the
// same contactTime(a, b) the plain search calls, a being the earlier in the list,
// on the copies the step made of the objects.
// The winner is the smallest time, ties going to the pair that comes first in
// list order (i, then j), which is the pair a plain walk over every i < j keeps.
//
// A grid rather than a sweep along one axis: the box is fixed, so as shells crowd
// in, the pairs that overlap along any one axis grow with the square of their
// number, while the pairs sharing a cell grow with their density only. Boxes
// wider than two cells (explosions grow to radius 32) stay out of the grid and
// are tested against the objects they may meet. A cell keeps its moving objects
// apart from its resting ones, so two resting objects are never even looked at.
//
// Why a culled pair cannot be the one chosen. h = 1.5 (r + (|vx| + |vy| + |vz|) dt)
// + 1/16, in float. Boxes that miss on an axis put the centres further apart than
// ha + hb there, so with R the sum of the radii and E = |va - vb| dt the relative
// travel, the distance D > 1.49 (R + E) + 1/8 (the 1.5 and the 1/16 absorb the
// rounding of h, of the bounds, below 2^-9 for numbers up to 2^15, and of E). The
// spheres keep a gap G = D - R - E > D / 3 all step: f(u) = |d + u e|^2 - R^2
// >= G^2 > D^2 / 9 for u in 0..1. In contactTime, with eps = 2^-24:
// - d2 <= reach2 fails, since D^2 > 2.2 R^2: no contact at time 0;
// - the coefficients and discriminant of qa u^2 + qb u + qc are off by less than
//   100 eps D^2 E^2, all of it in the discriminant's cancellation;
// - vertex -qb / 2qa before 1: disc = -4 qa min f <= -4 E^2 D^2 / 9, negative
//   whatever the rounding, so u = 1;
// - vertex at or after 1: the smaller root lies after 1 by a slack |qb| - 2qa -
//   sqrt(disc) >= 2 qa f(1) / |qb| >= E D / 9, while the root's error is below
//   sqrt(100 eps) D E, about 0.0025 D E: u1 >= 1, u2 >= u1, so u = 1;
// - qb >= 0: 4 qa qc > 2.2 E^2 D^2 keeps sqrt(disc) below 0.67 |qb|: both roots
//   are negative, u = 1.
// So it returns dt exactly, and only a time below dt can win. The bounds need
// numbers that neither overflow nor fall into denormals: positions and velocities
// within 2^12, each velocity component 0 or at least 2^-30 (a relative velocity
// is then 0 or at least 2^-53 per axis and e.e stays a normal float), radii
// 0..2^12, a step of 2^-10..1 s. An object outside that range is never culled.

namespace {

constexpr float growth = 1.5f;   // on radius plus travel
constexpr float slack = 0.0625f; // world units, on top
constexpr float provenSize = 4096.0f;
constexpr float smallestSpeed = 9.31322575e-10f; // 2^-30
constexpr float shortestStep = 9.765625e-4f;     // 2^-10
constexpr float smallestCell = 10.0f;            // world units: a tank's box fits in one
constexpr int maxCells = 32;                     // per axis

constexpr std::uint8_t restingFlag = 1;
constexpr std::uint8_t immobileFlag = 2;
constexpr std::uint8_t largeFlag = 4;
// Velocity exactly (0, 0, 0): two such spheres have an approach rate of 0, or
// NaN for coincident or unbounded centres, so their contact time is always dt.
// Woken explosions, all at once after a swarm goes off, are spared that way.
constexpr std::uint8_t stillFlag = 8;

bool provable(float position, float velocity) {
    const float speed = std::fabs(velocity);
    return std::fabs(position) <= provenSize && speed <= provenSize &&
           (velocity == 0.0f || speed >= smallestSpeed);
}

} // namespace

PairContact PairSearch::earliest(const std::vector<Object*>& live, const std::vector<Body>& bodies,
                                 const WorldBox& box, float dt) {
    spheres = &bodies;
    step = dt;
    found = false;
    bestFirst = bestSecond = 0;
    bestTime = dt;
    measure(bodies, box, dt);
    bin();
    searchCells();
    searchLarge();

    PairContact contact;
    contact.time = bestTime;
    if (found) {
        contact.first = live[bestFirst];
        contact.second = live[bestSecond];
    }
    return contact;
}

// Boxes, flags and cell ranges of every object.
void PairSearch::measure(const std::vector<Body>& bodies, const WorldBox& box, float dt) {
    const float lower[3] = {box.xMin, box.yMin, box.zMin};
    const float upper[3] = {box.xMax, box.yMax, box.zMax};
    for (int axis = 0; axis < 3; ++axis) {
        const float extent = upper[axis] - lower[axis];
        // A box without a sensible extent gets one cell: every pair is then tested.
        if (extent > 0.0f && extent <= provenSize) {
            // About four cells an object: the more objects, the finer the grid.
            const int wanted =
                static_cast<int>(std::cbrt(4.0f * static_cast<float>(bodies.size())));
            // Yet no finer than a tank's box, which then stays in the grid.
            const int finest = static_cast<int>(extent / smallestCell);
            cells[axis] = std::clamp(std::min(wanted, finest), 1, maxCells);
            origin[axis] = lower[axis];
            perUnit[axis] = static_cast<float>(cells[axis]) / extent;
        } else {
            cells[axis] = 1;
            origin[axis] = 0.0f;
            perUnit[axis] = 0.0f;
        }
    }

    const std::size_t count = bodies.size();
    swept.resize(count);
    ranges.resize(count);
    flags.resize(count);
    movers.clear();
    large.clear();
    const bool stepProvable = dt >= shortestStep && dt <= 1.0f;
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (std::size_t n = 0; n < count; ++n) {
        const Body& o = bodies[n];
        const float p[3] = {o.position.x, o.position.y, o.position.z};
        const float v[3] = {o.velocity.x, o.velocity.y, o.velocity.z};
        const bool still = v[0] == 0.0f && v[1] == 0.0f && v[2] == 0.0f;
        std::uint8_t flag = (o.resting ? restingFlag : 0) | (o.immobile ? immobileFlag : 0) |
                            (still ? stillFlag : 0);
        if (!o.resting)
            movers.push_back(static_cast<std::uint32_t>(n));

        bool inRange = stepProvable && o.radius >= 0.0f && o.radius <= provenSize;
        for (int axis = 0; axis < 3; ++axis)
            inRange = inRange && provable(p[axis], v[axis]);
        SweptBox& e = swept[n];
        Bounds& b = e.box;
        CellRange& r = ranges[n];
        if (!inRange) {
            for (int axis = 0; axis < 3; ++axis) {
                b.lo[axis] = -infinity;
                b.hi[axis] = infinity;
            }
            flags[n] = e.flags = flag | largeFlag;
            large.push_back(static_cast<std::uint32_t>(n));
            continue;
        }
        const float travel = (std::fabs(v[0]) + std::fabs(v[1]) + std::fabs(v[2])) * dt;
        const float h = (o.radius + travel) * growth + slack;
        bool wide = false;
        for (int axis = 0; axis < 3; ++axis) {
            b.lo[axis] = p[axis] - h;
            b.hi[axis] = p[axis] + h;
            const std::uint32_t count3 = static_cast<std::uint32_t>(cells[axis]);
            r.lo[axis] = static_cast<std::uint8_t>(
                clampedGridIndex((b.lo[axis] - origin[axis]) * perUnit[axis], count3));
            r.hi[axis] = static_cast<std::uint8_t>(
                clampedGridIndex((b.hi[axis] - origin[axis]) * perUnit[axis], count3));
            wide = wide || r.hi[axis] - r.lo[axis] > 1;
        }
        if (wide) {
            flag |= largeFlag;
            large.push_back(static_cast<std::uint32_t>(n));
        }
        flags[n] = e.flags = flag;
    }
}

// Counting sort of the small objects into the cells their boxes cover, in list
// order within each cell, the moving before the resting.
//
// A small box covers one or two cells on each axis: one of eight shapes, each
// a short list of cells from the lower corner. One loop over that list leaves
// the predictor one guess an object, where three nested loops, one an axis,
// left it three, and which way a shell's box leans no predictor can know once
// shells are many.
void PairSearch::bin() {
    const std::size_t cellCount = static_cast<std::size_t>(cells[0]) * cells[1] * cells[2];
    cellStart.assign(2 * cellCount + 1, 0);
    const std::size_t count = flags.size();
    const std::size_t stride[3] = {2, 2 * static_cast<std::size_t>(cells[0]),
                                   2 * static_cast<std::size_t>(cells[0]) * cells[1]};
    // By shape, one bit an axis, set for two cells: each cell's key from the
    // lower corner's, and on which axes it is the lower corner's cell.
    std::size_t offsets[8][8];
    std::uint8_t lowerOn[8][8];
    unsigned covered[8] = {};
    for (unsigned shape = 0; shape < 8; ++shape)
        for (unsigned z = 0; z <= (shape >> 2 & 1u); ++z)
            for (unsigned y = 0; y <= (shape >> 1 & 1u); ++y)
                for (unsigned x = 0; x <= (shape & 1u); ++x) {
                    offsets[shape][covered[shape]] = x * stride[0] + y * stride[1] + z * stride[2];
                    lowerOn[shape][covered[shape]++] =
                        static_cast<std::uint8_t>((x == 0) | (y == 0) << 1 | (z == 0) << 2);
                }
    const auto forEachCell = [&](std::size_t n, auto&& visit) {
        const CellRange& r = ranges[n];
        const std::size_t first = r.lo[2] * stride[2] + r.lo[1] * stride[1] +
                                  r.lo[0] * stride[0] + ((flags[n] & restingFlag) ? 1 : 0);
        const unsigned shape = static_cast<unsigned>(r.hi[0] - r.lo[0]) |
                               static_cast<unsigned>(r.hi[1] - r.lo[1]) << 1 |
                               static_cast<unsigned>(r.hi[2] - r.lo[2]) << 2;
        for (unsigned k = 0; k < covered[shape]; ++k)
            visit(first + offsets[shape][k], lowerOn[shape][k]);
    };
    for (std::size_t n = 0; n < count; ++n)
        if (!(flags[n] & largeFlag))
            forEachCell(n, [&](std::size_t key, std::uint8_t) { ++cellStart[key + 1]; });
    for (std::size_t key = 1; key < cellStart.size(); ++key)
        cellStart[key] += cellStart[key - 1];
    entries.resize(cellStart.back());
    // Fill each key from its start; the shift below puts the starts back.
    for (std::size_t n = 0; n < count; ++n)
        if (!(flags[n] & largeFlag))
            forEachCell(n, [&](std::size_t key, std::uint8_t lower) {
                entries[cellStart[key]++] = Member{static_cast<std::uint32_t>(n), lower};
            });
    for (std::size_t key = cellStart.size() - 1; key > 0; --key)
        cellStart[key] = cellStart[key - 1];
    cellStart[0] = 0;
}

// Pairs of small objects, each tested once: in the cell that holds the lower
// corner of where their boxes overlap, the one where, on every axis, one of the
// two has its own lower corner. That is known from the members alone, before
// either box is read.
void PairSearch::searchCells() {
    constexpr std::uint8_t everyAxis = 7;
    const std::size_t cellCount = static_cast<std::size_t>(cells[0]) * cells[1] * cells[2];
    for (std::size_t cell = 0; cell < cellCount; ++cell) {
        const std::uint32_t moving = cellStart[2 * cell];
        const std::uint32_t resting = cellStart[2 * cell + 1];
        const std::uint32_t end = cellStart[2 * cell + 2];
        if (end - moving < 2 || resting == moving)
            continue; // nothing moves here
        for (std::uint32_t k = moving; k < resting; ++k) {
            const Member first = entries[k];
            const SweptBox& a = swept[first.object];
            // Moving with moving is always tested; a resting one is not tested
            // against an immobile one.
            const std::uint32_t last = (a.flags & immobileFlag) ? resting : end;
            for (std::uint32_t l = k + 1; l < last; ++l) {
                const Member second = entries[l];
                if ((first.lowerOn | second.lowerOn) != everyAxis)
                    continue; // met in another cell
                const SweptBox& b = swept[second.object];
                // Few boxes meet, and which ones no predictor can guess once
                // shells are many: every comparison is made, one branch taken.
                const bool meets =
                    !(a.flags & b.flags & stillFlag) & (a.box.lo[0] <= b.box.hi[0]) &
                    (b.box.lo[0] <= a.box.hi[0]) & (a.box.lo[1] <= b.box.hi[1]) &
                    (b.box.lo[1] <= a.box.hi[1]) & (a.box.lo[2] <= b.box.hi[2]) &
                    (b.box.lo[2] <= a.box.hi[2]);
                if (meets)
                    consider(std::min(first.object, second.object),
                             std::max(first.object, second.object));
            }
        }
    }
}

// Large objects against everything they may pair with. A resting one is tested
// against moving objects only, and not against immobile ones.
void PairSearch::searchLarge() {
    const std::size_t count = flags.size();
    for (const std::uint32_t a : large) {
        const auto test = [&](std::uint32_t b) {
            if (b == a)
                return;
            const std::uint8_t fa = flags[a];
            const std::uint8_t fb = flags[b];
            // The plain search's skip rule; which of the two comes first does not
            // matter to it.
            if (((fa & restingFlag) && (fb & (restingFlag | immobileFlag))) ||
                ((fb & restingFlag) && (fa & immobileFlag)) || (fa & fb & stillFlag))
                return;
            // A pair of two large ones is met from both sides; considering it
            // twice changes nothing.
            if (meet(a, b))
                consider(std::min(a, b), std::max(a, b));
        };
        if (flags[a] & restingFlag) {
            for (const std::uint32_t b : movers)
                test(b);
        } else {
            for (std::uint32_t b = 0; b < count; ++b)
                test(b);
        }
    }
}

bool PairSearch::meet(std::size_t i, std::size_t j) const {
    const Bounds& a = swept[i].box;
    const Bounds& b = swept[j].box;
    return a.lo[0] <= b.hi[0] && b.lo[0] <= a.hi[0] && a.lo[1] <= b.hi[1] && b.lo[1] <= a.hi[1] &&
           a.lo[2] <= b.hi[2] && b.lo[2] <= a.hi[2];
}

// Keeps the pair the plain search would keep: the smallest time below the step,
// and among equal times the first pair in list order.
void PairSearch::consider(std::size_t i, std::size_t j) {
    const float t = contactTime((*spheres)[i], (*spheres)[j], step);
    if (t < bestTime ||
        (found && t == bestTime && (i < bestFirst || (i == bestFirst && j < bestSecond)))) {
        found = true;
        bestTime = t;
        bestFirst = i;
        bestSecond = j;
    }
}
