#include "net/DigestLedger.h"

void DigestLedger::compare(std::uint32_t step, std::uint64_t ours, std::uint64_t other) {
    ++comparisons;
    if (ours != other && (!firstMismatch || step < *firstMismatch))
        firstMismatch = step;
}

void DigestLedger::own(std::uint32_t step, std::uint64_t digest) {
    mine[step] = digest;
    if (mine.size() > keep)
        mine.erase(mine.begin());
    // The others' digests of this step were waiting for ours.
    auto it = theirs.lower_bound({step, 0});
    while (it != theirs.end() && it->first.first == step) {
        compare(step, digest, it->second);
        it = theirs.erase(it);
    }
}

void DigestLedger::peer(std::uint8_t machine, std::uint32_t step, std::uint64_t digest) {
    const auto ours = mine.find(step);
    if (ours != mine.end()) {
        compare(step, ours->second, digest);
        return;
    }
    // Ours is still to come, or long gone: a step older than everything kept
    // will never be compared, and waits only until the bound pushes it out.
    theirs[{step, machine}] = digest;
    if (theirs.size() > keep)
        theirs.erase(theirs.begin());
}
