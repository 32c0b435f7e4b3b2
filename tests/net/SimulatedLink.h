#pragma once
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

// A network between machines in one process, as ENet's channels would behave
// over a bad line: each packet arrives after a delay plus jitter (so packets
// overtake each other), some arrive twice, and a lost reliable packet arrives
// after a resend timeout, possibly after packets sent later. A lost unreliable
// one never arrives. Seeded: a run is the same run every time.
struct LinkFaults {
    double delaySeconds = 0.0;
    double jitterSeconds = 0.0;
    double loss = 0.0;      // chance a packet is lost (a reliable one resent)
    double duplicate = 0.0; // chance it arrives twice
    double resendSeconds = 0.2;
};

struct Packet {
    double arrival = 0.0;
    std::uint8_t from = 0;
    std::uint8_t to = 0;
    std::vector<std::uint8_t> bytes;
};

class SimulatedLink {
public:
    SimulatedLink(const LinkFaults& chosen, std::uint32_t seed) : faults(chosen), dice(seed) {}

    void send(std::uint8_t from, std::uint8_t to, bool reliable,
              const std::vector<std::uint8_t>& bytes, double now) {
        const int copies = chance(faults.duplicate) ? 2 : 1;
        for (int k = 0; k < copies; ++k) {
            double arrival = now + faults.delaySeconds + faults.jitterSeconds * unit(dice);
            bool lost = chance(faults.loss);
            if (lost && !reliable)
                continue;
            for (; lost; lost = chance(faults.loss))
                arrival += faults.resendSeconds;
            inFlight.push_back(Packet{arrival, from, to, bytes});
        }
    }

    // The packets that have arrived by `now`, in the order they arrived.
    std::vector<Packet> arrived(double now) {
        std::stable_sort(inFlight.begin(), inFlight.end(),
                         [](const Packet& a, const Packet& b) { return a.arrival < b.arrival; });
        const auto end = std::find_if(inFlight.begin(), inFlight.end(),
                                      [now](const Packet& p) { return p.arrival > now; });
        std::vector<Packet> due(inFlight.begin(), end);
        inFlight.erase(inFlight.begin(), end);
        return due;
    }

private:
    bool chance(double p) { return p > 0.0 && unit(dice) < p; }

    LinkFaults faults;
    std::mt19937 dice;
    std::uniform_real_distribution<double> unit{0.0, 1.0};
    std::vector<Packet> inFlight;
};
