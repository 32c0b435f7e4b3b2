#include "world/SphereContact.h"
#include "world/Object.h"
#include <cmath>

namespace {

// One body of arithmetic for both: an Object and a Body hold the same floats.
template <typename Sphere> float timeToContact(const Sphere& a, const Sphere& b, float dt) {
    const Vector3 d = a.position - b.position;
    const float distance = length(d);
    // Rate of change of the centre distance, negative while they approach. For
    // coincident centres it is not a number, so shots of one split never collide.
    const float approach = projected(a.velocity, d, distance) +
                           projected(b.velocity, b.position - a.position, distance);
    const float reach = a.radius + b.radius;
    const float reach2 = reach * reach;
    const float d2 = dot(d, d);
    if (d2 <= reach2 && approach < 0.0f)
        return 0.0f;
    if (!(approach < 0.0f))
        return dt;

    // |d + u e|^2 = reach^2 for the fraction u of the step.
    const Vector3 e = (a.velocity - b.velocity) * dt;
    const float qa = dot(e, e);
    const float qb = 2.0f * dot(d, e);
    const float qc = d2 - reach2;
    const float disc = qb * qb - 4.0f * qa * qc;
    float u = 1.0f;
    if (disc == 0.0f) {
        u = -qb / (2.0f * qa);
        if (!(u >= 0.0f && u < 1.0f))
            u = 1.0f;
    } else if (disc > 0.0f) {
        const float root = std::sqrt(disc);
        const float u1 = (-qb - root) / (2.0f * qa);
        const float u2 = (-qb + root) / (2.0f * qa);
        if (u1 >= 0.0f && u1 < 1.0f)
            u = u1;
        else if (u2 >= 0.0f && u2 < 1.0f)
            u = u2;
    }
    return u * dt;
}

} // namespace

float contactTime(const Object& a, const Object& b, float dt) {
    return timeToContact(a, b, dt);
}

float contactTime(const Body& a, const Body& b, float dt) {
    return timeToContact(a, b, dt);
}

void respond(Object& a, Object& b) {
    if (a.fixed || b.fixed)
        return;
    const float ma = a.mass;
    const float mb = b.mass;
    const float e = a.elasticity * b.elasticity;
    const Vector3 n = a.position - b.position;
    float l = length(n);
    if (l == 0.0f)
        l = 1.0f;
    const Vector3 nHat = n / l;
    const Vector3 zero(0.0f, 0.0f, 0.0f);
    const float ua = a.velocity == zero ? 0.0f : dot(a.velocity, n) / l;
    const float ub = b.velocity == zero ? 0.0f : dot(b.velocity, n) / l;
    const Vector3 tangentA = a.velocity - ua * nHat;
    const Vector3 tangentB = b.velocity - ub * nHat;
    a.velocity = tangentA + (e * nHat) * ((ma - mb) * ua + 2.0f * mb * ub) / (ma + mb);
    b.velocity = tangentB + (e * nHat) * ((mb - ma) * ub + 2.0f * ma * ua) / (ma + mb);
}
