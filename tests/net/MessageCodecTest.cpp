#include "net/MessageCodec.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// One message of every kind, with values that catch a field dropped, swapped or
// written in the wrong byte order: no two fields of one message alike.
std::vector<Message> everyKind() {
    Hello hello{"0.9.0", {}, 3, "Annie's PC"};
    for (std::size_t k = 0; k < hello.dataDigest.size(); ++k)
        hello.dataDigest[k] = static_cast<std::uint8_t>(0xa0 + k);
    const Lobby lobby{{{"host", {"Ann", "Bob"}}, {"laptop", {}}, {"den", {"Cy"}}}};
    const GameStart start{12345, {{0, 0}, {2, 0}, {noMachine, 2}, {1, 0}}};
    return {
        {noMachine, 1, hello},
        {0, 2, Welcome{7}},
        {0, 3, Refused{"another data pack: 1f2e vs 3c4d"}},
        {0, 4, lobby},
        {0, 5, NewTerrain{0xdeadbeef}},
        {0, 6, start},
        {3, 0x01020304, Shot{0x0a0b0c0d, 5, 0.1f, -37.25f, 1e-40f, 4}},
        {3, 9, Aim{2, -0.0f, 359.99f, 99.5f}},
        {15, 10, HeardUpTo{4000000000u}},
        {1, 11, WorldDigest{77, 0x0102030405060708ull}},
        {0, 12, TankToComputer{99, 63, 2}},
        {0, 13, MachineGone{4, 321, 654}},
        {2, 14, Bye{}},
    };
}

std::vector<std::uint8_t> withByte(std::vector<std::uint8_t> bytes, std::size_t at, std::uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

} // namespace

// Whatever decodes encodes to the same bytes, and every field came through:
// a changed field changes the bytes, and the bytes come back to the same values.
TEST(MessageCodecTest, EveryKindRoundTrips) {
    const std::vector<Message> messages = everyKind();
    ASSERT_EQ(messages.size(), std::variant_size_v<MessageBody>) << "a kind without a case";
    for (const Message& message : messages) {
        SCOPED_TRACE(message.body.index());
        const std::vector<std::uint8_t> bytes = MessageCodec::encode(message);
        const Decoded decoded = MessageCodec::decode(bytes);
        ASSERT_TRUE(decoded.ok()) << decodeErrorName(decoded.error);
        EXPECT_EQ(decoded.message.sender, message.sender);
        EXPECT_EQ(decoded.message.sequence, message.sequence);
        EXPECT_EQ(decoded.message.body.index(), message.body.index());
        EXPECT_EQ(MessageCodec::encode(decoded.message), bytes);
    }
    const Decoded shot = MessageCodec::decode(MessageCodec::encode(messages[6]));
    const Shot& s = std::get<Shot>(shot.message.body);
    EXPECT_EQ(s.step, 0x0a0b0c0du);
    EXPECT_EQ(s.tank, 5);
    EXPECT_EQ(s.turretDegrees, 0.1f);
    EXPECT_EQ(s.barrelDegrees, -37.25f);
    EXPECT_EQ(s.velocity, 1e-40f); // a denormal keeps its bits
    EXPECT_EQ(s.weapon, 4);
    const Decoded lobbyDecoded = MessageCodec::decode(MessageCodec::encode(messages[3]));
    const Lobby& lobby = std::get<Lobby>(lobbyDecoded.message.body);
    ASSERT_EQ(lobby.machines.size(), 3u);
    EXPECT_EQ(lobby.machines[0].players, (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(lobby.machines[2].name, "den");
    const Decoded aimDecoded = MessageCodec::decode(MessageCodec::encode(messages[7]));
    const Aim& aim = std::get<Aim>(aimDecoded.message.body);
    EXPECT_TRUE(std::signbit(aim.turretDegrees)); // -0 stays -0
}

// The layout other programs may read: version, kind, sender, sequence, then the
// fields, little-endian, floats as their bits. A shot is 25 bytes.
TEST(MessageCodecTest, AShotHasItsExactBytes) {
    const Message shot{3, 0x01020304, Shot{0x0a0b0c0d, 5, 1.0f, -2.0f, 0.5f, 4}};
    const std::vector<std::uint8_t> expected = {
        1, 7, 3, 0x04, 0x03, 0x02, 0x01, // version, kind, sender, sequence
        0x0d, 0x0c, 0x0b, 0x0a, 5,       // step, tank
        0x00, 0x00, 0x80, 0x3f,          // 1.0f
        0x00, 0x00, 0x00, 0xc0,          // -2.0f
        0x00, 0x00, 0x00, 0x3f,          // 0.5f
        4};
    EXPECT_EQ(MessageCodec::encode(shot), expected);
}

// Every shorter run of a message's bytes is truncated, and a byte more is left over.
TEST(MessageCodecTest, CutOrPaddedMessagesAreRefused) {
    for (const Message& message : everyKind()) {
        SCOPED_TRACE(message.body.index());
        std::vector<std::uint8_t> bytes = MessageCodec::encode(message);
        for (std::size_t size = 0; size < bytes.size(); ++size)
            EXPECT_EQ(MessageCodec::decode(bytes.data(), size).error, DecodeError::truncated) << size;
        bytes.push_back(0);
        EXPECT_EQ(MessageCodec::decode(bytes).error, DecodeError::trailingBytes);
    }
}

// Values outside the protocol's range are refused, whatever the rest holds.
TEST(MessageCodecTest, HostileValuesAreRefused) {
    const std::vector<Message> messages = everyKind();
    const auto bytesOf = [&messages](std::size_t kind) { return MessageCodec::encode(messages[kind]); };
    std::vector<std::uint8_t> shotWithNaN = bytesOf(6);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&shotWithNaN[12], &nan, sizeof nan);
    std::vector<std::uint8_t> longName = bytesOf(0);
    longName.insert(longName.end(), 300, 'a');
    // A lobby of 17 machines, each named "m" with no players.
    std::vector<std::uint8_t> crowdedLobby = {1, 4, 0, 1, 0, 0, 0, 17};
    for (int k = 0; k < 17; ++k)
        crowdedLobby.insert(crowdedLobby.end(), {1, 'm', 0});
    // Two machines of 40 players each: more tanks than the game holds.
    std::vector<std::uint8_t> crowdedTanks = {1, 4, 0, 1, 0, 0, 0, 2};
    for (int m = 0; m < 2; ++m) {
        crowdedTanks.insert(crowdedTanks.end(), {1, 'm', 40});
        for (int p = 0; p < 40; ++p)
            crowdedTanks.insert(crowdedTanks.end(), {1, 'p'});
    }
    std::vector<std::uint8_t> manySeats = {1, 6, 0, 1, 0, 0, 0, 0, 0, 0, 0, 65};
    manySeats.insert(manySeats.end(), 130, 0);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        DecodeError error;
    };
    for (const Case& c : {
             Case{"nothing", {}, DecodeError::truncated},
             Case{"another version", withByte(bytesOf(8), 0, 2), DecodeError::wrongVersion},
             Case{"kind 0", withByte(bytesOf(8), 1, 0), DecodeError::unknownKind},
             Case{"kind past the last", withByte(bytesOf(8), 1, 14), DecodeError::unknownKind},
             Case{"sender 16", withByte(bytesOf(8), 2, 16), DecodeError::badValue},
             Case{"welcome as the host", withByte(bytesOf(1), 7, 0), DecodeError::badValue},
             Case{"welcome as machine 16", withByte(bytesOf(1), 7, 16), DecodeError::badValue},
             Case{"hello from nobody", withByte(bytesOf(0), 7 + 6 + 32, 0), DecodeError::badValue},
             Case{"a control byte in a name", withByte(bytesOf(0), 9, '\n'), DecodeError::badValue},
             Case{"a version past its cap", withByte(longName, 7, 33), DecodeError::badValue},
             Case{"a shot's NaN", shotWithNaN, DecodeError::badValue},
             Case{"tank 64", withByte(bytesOf(6), 11, 64), DecodeError::badValue},
             Case{"weapon 16", withByte(bytesOf(6), 24, 16), DecodeError::badValue},
             Case{"a seat at machine 16", withByte(bytesOf(5), 12, 16), DecodeError::badValue},
             Case{"65 tanks", manySeats, DecodeError::badValue},
             Case{"17 machines", crowdedLobby, DecodeError::badValue},
             Case{"80 players", crowdedTanks, DecodeError::badValue},
             Case{"gone machine 16", withByte(bytesOf(11), 7, 16), DecodeError::badValue},
             Case{"past any message", std::vector<std::uint8_t>(MessageCodec::maxMessageBytes + 1, 1),
                  DecodeError::oversized},
         }) {
        SCOPED_TRACE(c.name);
        const Decoded decoded = MessageCodec::decode(c.bytes);
        EXPECT_EQ(decoded.error, c.error) << decodeErrorName(decoded.error);
        EXPECT_EQ(decoded.message.sequence, 0u); // nothing half-read leaks out
    }
}
