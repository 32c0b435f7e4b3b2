#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// What machines of one networked game say to each other, as plain values. Every
// message carries its sender's sequence number, counted from 1 and never reused,
// so a duplicated, replayed or late message can be told apart. Steps are the
// physics' steps of 0.01 s counted from the game's start.
//
// The bounds below are the protocol's: the decoder refuses anything past them,
// and the encoder must never be handed more (an assert says so).

constexpr std::uint8_t protocolVersion = 1;
constexpr std::size_t maxMachines = 16;
constexpr std::size_t maxTanks = 64;        // the game's own limit of players
constexpr std::size_t maxNameBytes = 32;    // a machine's or a player's name, a version
constexpr std::size_t maxReasonBytes = 200; // a refusal's line
constexpr std::size_t maxWeapons = 16;
constexpr std::uint8_t noMachine = 0xff; // a tank no machine plays: a computer's

// The one a joiner opens with: who it is and what it plays with. Two machines
// play together only when both versions and both data packs are the same.
struct Hello {
    std::string gameVersion;
    std::array<std::uint8_t, 32> dataDigest{}; // of the data pack, e.g. SHA-256
    std::uint8_t people = 1;                   // players at this machine, 1 to maxTanks
    std::string name;                          // the machine's, for the lobby
};

// The host's answer to a Hello it accepts: the number the joiner is known by.
struct Welcome {
    std::uint8_t machine = 0; // 1 to maxMachines - 1; the host is 0
};

struct Refused {
    std::string reason;
};

struct LobbyMachine {
    std::string name;
    std::vector<std::string> players;
};

// Who is in the game, in join order; the host first.
struct Lobby {
    std::vector<LobbyMachine> machines;
};

// The host's word that the game has begun: one lockstep, from step 0, over
// these machines (the host first, as it listed them when it began). Every
// machine then seeds its generator with `seed`, generates its terrain anew and
// clears its world, so all start from the same ground.
struct Begin {
    std::uint32_t seed = 0;
    std::vector<std::uint8_t> machines; // 1 to maxMachines, each once
};

// A console command of the host's that changes the world (`terrain`,
// `tanks N`, `computers N LEVEL`), run on every machine, the host's own
// included, before `step`, with the generator seeded with `seed` first.
struct Command {
    std::uint32_t step = 0;
    std::uint32_t seed = 0;
    std::string text; // a command text: see isCommandText
};

constexpr std::size_t maxCommandBytes = 64;

// One console command, nothing more: printable ASCII, no ';' that would chain
// another after it, 1 to maxCommandBytes bytes.
inline bool isCommandText(const std::string& text) {
    if (text.empty() || text.size() > maxCommandBytes)
        return false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7e || byte == ';')
            return false;
    }
    return true;
}

// One tank's seat: the machine that plays it, or noMachine and a computer level.
struct TankSeat {
    std::uint8_t machine = noMachine;
    std::uint8_t computerLevel = 0; // read only when machine is noMachine
};

// A shot as its tank fired it, in exact values, to take effect before `step`.
struct ShotMessage {
    std::uint32_t step = 0;
    std::uint8_t tank = 0;
    float turretDegrees = 0.0f;
    float barrelDegrees = 0.0f;
    float velocity = 0.0f;   // the launch velocity setting, 0 to 100
    std::uint8_t weapon = 0; // index into the weapon table
};

// Where a tank is aiming, for watchers only; sent unreliably and never applied.
struct AimMessage {
    std::uint8_t tank = 0;
    float turretDegrees = 0.0f;
    float barrelDegrees = 0.0f;
    float velocity = 0.0f;
};

// The sender has every action of its own up to and including `step`: nothing it
// sends later takes effect before step + 1.
struct HeardUpTo {
    std::uint32_t step = 0;
};

// The sender's world digest after running `step` steps.
struct WorldDigest {
    std::uint32_t step = 0;
    std::uint64_t digest = 0;
};

// From `step` on, the tank is the computer's, at `level`.
struct TankToComputer {
    std::uint32_t step = 0;
    std::uint8_t tank = 0;
    std::uint8_t level = 0;
};

// The host's word that `machine` is gone: its messages end with `lastSequence`
// (the host forwards them all first), and from `step` on no tank is played from
// it. Every machine turns its tanks over to the computer at that step.
struct MachineGone {
    std::uint8_t machine = 0;
    std::uint32_t lastSequence = 0;
    std::uint32_t step = 0;
};

// The sender leaves; from the host, the game ends for everyone.
struct Bye {};

using MessageBody = std::variant<Hello, Welcome, Refused, Lobby, Begin, Command, ShotMessage, AimMessage,
                                 HeardUpTo, WorldDigest, TankToComputer, MachineGone, Bye>;

// Aims travel unreliably and count their own sequence; every other kind is
// reliable and counts one sequence per sender.
inline bool isReliable(const MessageBody& body) {
    return !std::holds_alternative<AimMessage>(body);
}

struct Message {
    // The machine that wrote it: a guest's messages reach the other guests
    // through the host unchanged. noMachine before a Welcome gives it one.
    std::uint8_t sender = noMachine;
    std::uint32_t sequence = 0;
    MessageBody body;
};
