#include "net/MessageCodec.h"
#include "net/WireReader.h"
#include "net/WireWriter.h"
#include <array>
#include <cassert>
#include <type_traits>

// Each body has a write and a read, side by side so that a field added to one is
// seen missing from the other. A read checks every range the protocol sets; the
// reader's own failure (truncation, a bad text, a non-finite float) is checked
// once after the read.

namespace {

void write(WireWriter& out, const Hello& m) {
    out.text(m.gameVersion);
    for (const std::uint8_t byte : m.dataDigest)
        out.u8(byte);
    out.u8(m.people);
    out.text(m.name);
}
bool read(WireReader& in, Hello& m) {
    m.gameVersion = in.text(maxNameBytes);
    for (std::uint8_t& byte : m.dataDigest)
        byte = in.u8();
    m.people = in.u8();
    m.name = in.text(maxNameBytes);
    return m.people >= 1 && m.people <= maxTanks;
}

void write(WireWriter& out, const Welcome& m) {
    out.u8(m.machine);
}
bool read(WireReader& in, Welcome& m) {
    m.machine = in.u8();
    return m.machine >= 1 && m.machine < maxMachines;
}

void write(WireWriter& out, const Refused& m) {
    out.text(m.reason);
}
bool read(WireReader& in, Refused& m) {
    m.reason = in.text(maxReasonBytes);
    return true;
}

void write(WireWriter& out, const Lobby& m) {
    out.u8(static_cast<std::uint8_t>(m.machines.size()));
    for (const LobbyMachine& machine : m.machines) {
        out.text(machine.name);
        out.u8(static_cast<std::uint8_t>(machine.players.size()));
        for (const std::string& player : machine.players)
            out.text(player);
    }
}
bool read(WireReader& in, Lobby& m) {
    const std::size_t machines = in.u8();
    if (machines > maxMachines)
        return false;
    std::size_t players = 0; // over all machines: the game holds maxTanks at most
    for (std::size_t k = 0; k < machines && in.ok(); ++k) {
        LobbyMachine machine;
        machine.name = in.text(maxNameBytes);
        const std::size_t count = in.u8();
        players += count;
        if (players > maxTanks)
            return false;
        for (std::size_t p = 0; p < count && in.ok(); ++p)
            machine.players.push_back(in.text(maxNameBytes));
        m.machines.push_back(std::move(machine));
    }
    return true;
}

void write(WireWriter& out, const Begin& m) {
    out.u32(m.seed);
    out.u8(static_cast<std::uint8_t>(m.machines.size()));
    for (const std::uint8_t machine : m.machines)
        out.u8(machine);
}
bool read(WireReader& in, Begin& m) {
    m.seed = in.u32();
    const std::size_t count = in.u8();
    if (count == 0 || count > maxMachines)
        return false;
    std::array<bool, maxMachines> listed{};
    for (std::size_t k = 0; k < count && in.ok(); ++k) {
        const std::uint8_t machine = in.u8();
        if (machine >= maxMachines || listed[machine])
            return false;
        listed[machine] = true;
        m.machines.push_back(machine);
    }
    return m.machines.empty() || m.machines.front() == 0; // the host first
}

void write(WireWriter& out, const Command& m) {
    out.u32(m.step);
    out.u32(m.seed);
    out.text(m.text);
}
bool read(WireReader& in, Command& m) {
    m.step = in.u32();
    m.seed = in.u32();
    m.text = in.text(maxCommandBytes);
    return !in.ok() || isCommandText(m.text);
}

void write(WireWriter& out, const ShotMessage& m) {
    out.u32(m.step);
    out.u8(m.tank);
    out.f32(m.turretDegrees);
    out.f32(m.barrelDegrees);
    out.f32(m.velocity);
    out.u8(m.weapon);
}
bool read(WireReader& in, ShotMessage& m) {
    m.step = in.u32();
    m.tank = in.u8();
    m.turretDegrees = in.f32();
    m.barrelDegrees = in.f32();
    m.velocity = in.f32();
    m.weapon = in.u8();
    return m.tank < maxTanks && m.weapon < maxWeapons;
}

void write(WireWriter& out, const AimMessage& m) {
    out.u8(m.tank);
    out.f32(m.turretDegrees);
    out.f32(m.barrelDegrees);
    out.f32(m.velocity);
}
bool read(WireReader& in, AimMessage& m) {
    m.tank = in.u8();
    m.turretDegrees = in.f32();
    m.barrelDegrees = in.f32();
    m.velocity = in.f32();
    return m.tank < maxTanks;
}

void write(WireWriter& out, const HeardUpTo& m) {
    out.u32(m.step);
}
bool read(WireReader& in, HeardUpTo& m) {
    m.step = in.u32();
    return true;
}

void write(WireWriter& out, const WorldDigest& m) {
    out.u32(m.step);
    out.u64(m.digest);
}
bool read(WireReader& in, WorldDigest& m) {
    m.step = in.u32();
    m.digest = in.u64();
    return true;
}

void write(WireWriter& out, const TankToComputer& m) {
    out.u32(m.step);
    out.u8(m.tank);
    out.u8(m.level);
}
bool read(WireReader& in, TankToComputer& m) {
    m.step = in.u32();
    m.tank = in.u8();
    m.level = in.u8();
    return m.tank < maxTanks;
}

void write(WireWriter& out, const MachineGone& m) {
    out.u8(m.machine);
    out.u32(m.lastSequence);
    out.u32(m.step);
}
bool read(WireReader& in, MachineGone& m) {
    m.machine = in.u8();
    m.lastSequence = in.u32();
    m.step = in.u32();
    return m.machine < maxMachines;
}

void write(WireWriter&, const Bye&) {}
bool read(WireReader&, Bye&) {
    return true;
}

// Reads the body of the kind'th alternative into `body`.
template <std::size_t I = 0> bool readBody(std::size_t kind, WireReader& in, MessageBody& body) {
    if constexpr (I < std::variant_size_v<MessageBody>) {
        if (kind != I)
            return readBody<I + 1>(kind, in, body);
        std::variant_alternative_t<I, MessageBody> value;
        const bool inRange = read(in, value);
        body = std::move(value);
        return inRange;
    } else {
        (void)kind, (void)in, (void)body;
        return false;
    }
}

} // namespace

std::vector<std::uint8_t> MessageCodec::encode(const Message& message) {
    WireWriter out;
    out.u8(protocolVersion);
    out.u8(static_cast<std::uint8_t>(message.body.index() + 1));
    out.u8(message.sender);
    out.u32(message.sequence);
    std::visit([&out](const auto& body) { write(out, body); }, message.body);
    assert(out.data().size() <= maxMessageBytes && "a message past the protocol's bounds");
    return out.take();
}

Decoded MessageCodec::decode(const std::uint8_t* data, std::size_t size) {
    Decoded result;
    if (size > maxMessageBytes) {
        result.error = DecodeError::oversized;
        return result;
    }
    WireReader in(data, size);
    const std::uint8_t version = in.u8();
    const std::size_t kind = in.u8();
    result.message.sender = in.u8();
    result.message.sequence = in.u32();
    if (!in.ok())
        result.error = DecodeError::truncated;
    else if (version != protocolVersion)
        result.error = DecodeError::wrongVersion;
    else if (kind == 0 || kind > std::variant_size_v<MessageBody>)
        result.error = DecodeError::unknownKind;
    else if (result.message.sender >= maxMachines && result.message.sender != noMachine)
        result.error = DecodeError::badValue;
    else if (!readBody(kind - 1, in, result.message.body) && in.ok())
        result.error = DecodeError::badValue;
    else if (!in.ok())
        // A read past the end, or a field the reader refused itself.
        result.error = in.overran() ? DecodeError::truncated : DecodeError::badValue;
    else if (in.remaining() != 0)
        result.error = DecodeError::trailingBytes;
    if (!result.ok())
        result.message = Message{};
    return result;
}

const char* decodeErrorName(DecodeError error) {
    switch (error) {
    case DecodeError::none:
        return "none";
    case DecodeError::oversized:
        return "oversized";
    case DecodeError::truncated:
        return "truncated";
    case DecodeError::wrongVersion:
        return "wrong protocol version";
    case DecodeError::unknownKind:
        return "unknown kind";
    case DecodeError::badValue:
        return "bad value";
    case DecodeError::trailingBytes:
        return "trailing bytes";
    }
    return "unknown error";
}
