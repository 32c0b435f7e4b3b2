#pragma once
#include "world/World.h"
#include <cstdint>
#include <string>

class Terrain;

// Writes what a machine's world held when the machines found they disagree,
// for whoever compares two machines' files: the step, the digest, every
// object and every height, each number also as its exact bits. False, after a
// line on standard error, when the file cannot be written.
bool writeNetworkState(const std::string& path, std::uint32_t step, const ObjectList& objects,
                       const Terrain& terrain);
