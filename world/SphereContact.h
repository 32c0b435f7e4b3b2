#pragma once

#include "world/Body.h"

class Object;

// The two sphere-pair rules of the physics, shared by its pair search and its
// response so that every caller computes them with the same float operations.

// Time within dt at which spheres a and b first touch, or dt for none. The order
// of the arguments matters to the last bit: a is the earlier of the two in the list.
float contactTime(const Object& a, const Object& b, float dt);
// The same, to the last bit, on the copies a step made of the two.
float contactTime(const Body& a, const Body& b, float dt);

// One-dimensional elastic collision along the line of centres, scaled by the
// product of the elasticities. A fixed sphere (an explosion) pushes nothing.
void respond(Object& a, Object& b);
