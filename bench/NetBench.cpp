#include "BenchWorld.h"
#include "net/EnetTransport.h"
#include "net/Lockstep.h"
#include "net/MessageCodec.h"
#include "net/WorldDigest.h"
#include "world/TankObject.h"
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void BM_ShotEncodeDecode(benchmark::State& state) {
    const Message shot{1, 77, ShotMessage{1234, 3, 33.3f, -45.5f, 61.2f, 4}};
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = MessageCodec::encode(shot);
        benchmark::DoNotOptimize(MessageCodec::decode(bytes).ok());
    }
    state.counters["bytes"] = static_cast<double>(MessageCodec::encode(shot).size());
}
BENCHMARK(BM_ShotEncodeDecode);

// The game's 64 x 64 terrain and 16 tanks: what a machine digests every two
// seconds and at each turn.
void BM_WorldDigest(benchmark::State& state) {
    const Silence quiet;
    const Terrain terrain = gameTerrain();
    ObjectList objects;
    for (int k = 0; k < 16; ++k) {
        objects.push_back(std::make_unique<TankObject>());
        objects.back()->position = Vector3(10.0f * static_cast<float>(k), 100.0f, 50.0f);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(worldDigest(objects, terrain));
}
BENCHMARK(BM_WorldDigest);

// A host and a guest over loopback through ENet, idle for ten seconds of game
// clock (a frame every 10 ms, run as fast as the machine goes): the bytes each
// sends per second, ENet's headers and acknowledgements included, IP and UDP
// headers not.
void BM_IdleWireBytes(benchmark::State& state) {
    const Silence quiet;
    double hostBytes = 0.0, guestBytes = 0.0;
    for (auto _ : state) {
        EnetTransport hostLink, guestLink;
        if (!hostLink.listen(0)) {
            state.SkipWithError("no port on loopback");
            return;
        }
        const int toHost = guestLink.connect("127.0.0.1", hostLink.port());
        int toGuest = -1;
        for (int k = 0; k < 500 && toGuest < 0; ++k) {
            for (const TransportEvent& event : hostLink.poll(1))
                if (event.kind == TransportEvent::Kind::connected)
                    toGuest = event.peer;
            guestLink.poll(1);
        }
        const std::uint64_t hostBefore = hostLink.bytesSent(), guestBefore = guestLink.bytesSent();
        Lockstep host(0, {0, 1}, 0), guest(1, {0, 1}, 0);
        for (int frame = 1; frame <= 1000; ++frame) {
            const double now = frame * 0.01;
            for (Lockstep* core : {&host, &guest}) {
                core->update(now);
                while (core->step() < static_cast<std::uint32_t>(frame) && core->mayStep()) {
                    core->takeActions();
                    core->stepped();
                    if (core->digestDue())
                        core->digest(0x1234);
                }
            }
            for (const Outgoing& out : host.takeOutgoing())
                hostLink.send(toGuest, out.reliable, out.bytes);
            for (const Outgoing& out : guest.takeOutgoing())
                guestLink.send(toHost, out.reliable, out.bytes);
            for (const TransportEvent& event : hostLink.poll(0))
                if (event.kind == TransportEvent::Kind::received)
                    host.receive(1, event.bytes.data(), event.bytes.size(), now);
            for (const TransportEvent& event : guestLink.poll(0))
                if (event.kind == TransportEvent::Kind::received)
                    guest.receive(0, event.bytes.data(), event.bytes.size(), now);
        }
        hostBytes = static_cast<double>(hostLink.bytesSent() - hostBefore) / 10.0;
        guestBytes = static_cast<double>(guestLink.bytesSent() - guestBefore) / 10.0;
    }
    state.counters["host B/s"] = hostBytes;
    state.counters["guest B/s"] = guestBytes;
}
BENCHMARK(BM_IdleWireBytes)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK_MAIN();
