#include "world/Launch.h"
#include <cmath>

Vector3 muzzlePosition(const Skeleton& tankSkeleton, const Vector3& tankPosition) {
    Vector3 launchPoint(0.0f, 0.0f, 0.0f);
    transformFromNode(tankSkeleton, launchPoint, "tip");
    launchPoint += tankPosition;
    return launchPoint;
}

Vector3 muzzleVelocity(float turretDegrees, float barrelDegrees, float speed) {
    // Single-precision pi, as the aiming has always used.
    const float yaw = turretDegrees * 3.14159f / 180.0f;
    const float pitch = barrelDegrees * 3.14159f / 180.0f;
    return Vector3(std::sin(yaw) * std::cos(pitch) * speed, -std::sin(pitch) * speed,
                   std::cos(yaw) * std::cos(pitch) * speed);
}
