#pragma once
#include "world/World.h"
#include <cstdint>

class Terrain;

// A 64-bit fingerprint of everything in the world that a shot can change: the
// terrain's heights and, for each object in list order, its position, velocity,
// radius, age, flags and (for a tank) health, all as their exact bits. Two
// machines that ran the same steps from the same start get the same value; one
// bit of difference anywhere gives another (but for FNV-1a's rare collisions).
// Object ids are left out: they come from a process-wide counter, so they differ
// between machines that hold the same world.
std::uint64_t worldDigest(const ObjectList& objects, const Terrain& terrain);
