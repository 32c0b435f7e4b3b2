#pragma once
#include "SimulatedLink.h"
#include "net/Lockstep.h"
#include "net/WorldDigest.h"
#include "world/ExplosiveWeapon.h"
#include "world/Launch.h"
#include "world/PhysicsSettings.h"
#include "world/Random.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <cstdlib>
#include <memory>
#include <vector>

// One machine of a networked game: the lockstep core driving the game's own
// world (a generated terrain, tanks, shells fired by the weapons, the physics),
// each action applied exactly as every machine applies it.
class NetworkMachine {
public:
    NetworkMachine(std::uint8_t self, const std::vector<std::uint8_t>& machines,
                   const LockstepSettings& settings, int tankCount)
        : core(self, machines, 0, settings) {
        Random once; // seeds from the clock first, so the fixed seed below wins
        std::srand(2024);
        terrain.setBands({TerrainBand{0.4f, {1, 2, 3, 4, 5}}, TerrainBand{0.55f, {6, 7, 8, 9, 10}},
                          TerrainBand{1.0f, {11, 11, 11, 11, 11}}});
        terrain.generate(300, 0.25f, 0.75f);
        for (int k = 0; k < tankCount; ++k) {
            auto tank = std::make_unique<TankObject>();
            const std::uint32_t i = 12 + 40 * static_cast<std::uint32_t>(k) / tankCount;
            tank->position =
                Vector3(i * 200.0f / 64.0f, terrain.heightAt(i, 30) + 1.0f, 30 * 200.0f / 64.0f);
            tanks.push_back(tank.get());
            objects.push_back(std::move(tank));
        }
        for (int kind = 0; kind < explosiveKindCount; ++kind)
            weapons.emplace_back(static_cast<ExplosiveKind>(kind));
    }

    std::uint64_t digest() const { return worldDigest(objects, terrain); }

    // Runs the steps the clock asks for, up to `lastStep`, as far as the core allows.
    void run(double now, std::uint32_t lastStep) {
        const auto wanted = std::min(static_cast<std::uint32_t>(now / 0.01), lastStep);
        while (core.step() < wanted && core.mayStep()) {
            for (const LockstepAction& action : core.takeActions())
                apply(action);
            physics.step(World{&objects, &box, &terrain});
            core.stepped();
            if (core.digestDue())
                core.digest(digest());
        }
    }

    void apply(const LockstepAction& action) {
        applied.push_back(action);
        if (const auto* shot = std::get_if<ShotMessage>(&action.body)) {
            const TankObject& tank = *tanks.at(shot->tank);
            const Vector3 muzzle = tank.position + Vector3(0.0f, 3.0f, 0.0f);
            weapons.at(shot->weapon % weapons.size())
                .fire(objects, muzzle,
                      muzzleVelocity(shot->turretDegrees, shot->barrelDegrees, shot->velocity));
        }
        // The game runs the console command; here any command digs a crater
        // where the seeded generator says, which only the same seed repeats.
        if (const auto* command = std::get_if<Command>(&action.body)) {
            std::srand(command->seed);
            const float x = static_cast<float>(std::rand() % 200);
            const float z = static_cast<float>(std::rand() % 200);
            terrain.crater(Vector3(x, terrain.heightAt(32, 32), z), 12.0f);
        }
    }

    Lockstep core;
    Terrain terrain{64, 64, 200.0f, 200.0f, 200.0f};
    WorldBox box = gameBox;
    ObjectList objects;
    PhysicsSettings physics;
    std::vector<TankObject*> tanks; // owned by `objects`; tanks never die here
    std::vector<ExplosiveWeapon> weapons;
    std::vector<LockstepAction> applied;
};

// Machines joined in a star through one simulated link, run frame by frame.
class NetworkGame {
public:
    NetworkGame(int machineCount, const LinkFaults& faults, std::uint32_t seed,
                const LockstepSettings& settings = {})
        : link(faults, seed) {
        std::vector<std::uint8_t> numbers;
        for (int k = 0; k < machineCount; ++k)
            numbers.push_back(static_cast<std::uint8_t>(k));
        for (const std::uint8_t self : numbers) {
            machines.push_back(
                std::make_unique<NetworkMachine>(self, numbers, settings, machineCount));
            // A host's links are its guests; a guest's one link is the host.
            for (std::uint8_t other = self == 0 ? 1 : 0; other < (self == 0 ? machineCount : 1);
                 ++other)
                machines[self]->core.roundTrip(other,
                                               2.0 * (faults.delaySeconds + faults.jitterSeconds));
        }
        silent.assign(machines.size(), false);
    }

    // One frame of every machine that still runs.
    void frame(std::uint32_t lastStep) {
        now += 1.0 / 60.0;
        for (const Packet& packet : link.arrived(now))
            if (!silent[packet.to])
                machines[packet.to]->core.receive(packet.from, packet.bytes.data(),
                                                  packet.bytes.size(), now);
        for (std::size_t k = 0; k < machines.size(); ++k) {
            if (silent[k])
                continue;
            NetworkMachine& machine = *machines[k];
            machine.core.update(now);
            machine.run(now, lastStep);
            for (const Outgoing& out : machine.core.takeOutgoing())
                link.send(static_cast<std::uint8_t>(k), out.to, out.reliable, out.bytes, now);
        }
    }

    // Frames until every running machine has run `lastStep` steps, or `seconds` pass.
    bool runTo(std::uint32_t lastStep, double seconds) {
        const double end = now + seconds;
        while (now < end) {
            frame(lastStep);
            bool done = true;
            for (std::size_t k = 0; k < machines.size(); ++k)
                done = done && (silent[k] || machines[k]->core.step() == lastStep);
            if (done)
                return true;
        }
        return false;
    }

    SimulatedLink link;
    std::vector<std::unique_ptr<NetworkMachine>> machines;
    std::vector<bool> silent;
    double now = 0.0;
};
