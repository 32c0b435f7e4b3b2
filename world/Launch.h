#pragma once
#include "assets/Skeleton.h"
#include "world/Vector3.h"

// The firing rule every shot follows, whoever aims it. Firing and the computer's
// aiming both call these, so what the computer predicts is what the gun does.

// The muzzle in the world: the skeleton's "tip" node carried through the tank's
// own nodes, plus the tank's position. Without a "tip" it is the tank's centre.
Vector3 muzzlePosition(const Skeleton& tankSkeleton, const Vector3& tankPosition);

// The launch velocity for a turret rotation (y, degrees), a barrel rotation (x,
// degrees, raised by a negative value) and a launch speed. The barrel points
// along +z at rest.
Vector3 muzzleVelocity(float turretDegrees, float barrelDegrees, float speed);
