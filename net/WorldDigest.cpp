#include "net/WorldDigest.h"
#include "world/Object.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <cstring>

namespace {

// FNV-1a, 64 bits: simple, fast enough for 4,096 heights and a few hundred
// objects a few times a second, and the same on every machine.
class Fnv {
public:
    void bytes(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t k = 0; k < size; ++k) {
            hash ^= p[k];
            hash *= 0x100000001b3ull;
        }
    }
    // Little-endian whatever the machine, so the digest is the protocol's.
    void u32(std::uint32_t value) {
        const unsigned char b[4] = {
            static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
        bytes(b, sizeof b);
    }
    void f32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        u32(bits);
    }
    void vector(const Vector3& v) { f32(v.x), f32(v.y), f32(v.z); }

    std::uint64_t hash = 0xcbf29ce484222325ull;
};

} // namespace

std::uint64_t worldDigest(const ObjectList& objects, const Terrain& terrain) {
    Fnv fnv;
    fnv.u32(terrain.width());
    fnv.u32(terrain.height());
    const Matrix<TerrainCell>& cells = terrain.cells();
    for (std::uint32_t j = 0; j < terrain.height(); ++j)
        for (std::uint32_t i = 0; i < terrain.width(); ++i)
            fnv.f32(cells.at(i, j).height);

    fnv.u32(static_cast<std::uint32_t>(objects.size()));
    for (const auto& object : objects) {
        const auto* tank = dynamic_cast<const TankObject*>(object.get());
        fnv.u32(tank != nullptr ? 1u : 0u);
        fnv.vector(object->position);
        fnv.vector(object->velocity);
        fnv.f32(object->radius);
        fnv.f32(object->age);
        const std::uint32_t flags = (object->resting ? 1u : 0u) | (object->active ? 2u : 0u) |
                                    (object->dead ? 4u : 0u) | (object->fixed ? 8u : 0u);
        fnv.u32(flags);
        if (tank != nullptr)
            fnv.f32(tank->health);
    }
    return fnv.hash;
}
