#include "app/NetworkState.h"
#include "assets/TraceSink.h"
#include "net/WorldDigest.h"
#include "world/Object.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

std::uint32_t bits(float value) {
    std::uint32_t out = 0;
    std::memcpy(&out, &value, sizeof out);
    return out;
}

void putVector(std::FILE* file, const char* name, const Vector3& v) {
    std::fprintf(file, " %s %.9g %.9g %.9g (%08" PRIx32 " %08" PRIx32 " %08" PRIx32 ")", name,
                 v.x, v.y, v.z, bits(v.x), bits(v.y), bits(v.z));
}

} // namespace

bool writeNetworkState(const std::string& path, std::uint32_t step, const ObjectList& objects,
                       const Terrain& terrain) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "w"),
                                                               std::fclose);
    if (!file) {
        ErrorLine() << "Could not write the network state to " << path;
        return false;
    }
    std::FILE* const out = file.get();
    std::fprintf(out, "step %" PRIu32 "\ndigest %016" PRIx64 "\nobjects %zu\n", step,
                 worldDigest(objects, terrain), objects.size());
    for (const std::unique_ptr<Object>& object : objects) {
        const auto* tank = dynamic_cast<const TankObject*>(object.get());
        std::fprintf(out, "%s %" PRIu32, tank ? "tank" : "object", object->id);
        putVector(out, "position", object->position);
        putVector(out, "velocity", object->velocity);
        std::fprintf(out, " radius %08" PRIx32 " age %08" PRIx32 " resting %d active %d dead %d fixed %d",
                     bits(object->radius), bits(object->age), object->resting ? 1 : 0,
                     object->active ? 1 : 0, object->dead ? 1 : 0, object->fixed ? 1 : 0);
        if (tank)
            std::fprintf(out, " health %.9g (%08" PRIx32 ")", tank->health, bits(tank->health));
        std::fputc('\n', out);
    }
    std::fprintf(out, "terrain %" PRIu32 " x %" PRIu32 "\n", terrain.width(), terrain.height());
    for (std::uint32_t j = 0; j < terrain.height(); ++j) {
        for (std::uint32_t i = 0; i < terrain.width(); ++i)
            std::fprintf(out, i == 0 ? "%08" PRIx32 : " %08" PRIx32, bits(terrain.heightAt(i, j)));
        std::fputc('\n', out);
    }
    if (std::ferror(out)) {
        ErrorLine() << "Could not write the network state to " << path;
        return false;
    }
    return true;
}
