#include "net/MessageCodec.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// One message of every kind, with values that catch a field dropped, swapped or
// written in the wrong byte order: no two fields of one message alike.
std::vector<Message> everyKind() {
    Hello hello{"0.9.0", {}, 3, "Annie's PC"};
    for (std::size_t k = 0; k < hello.dataDigest.size(); ++k)
        hello.dataDigest[k] = static_cast<std::uint8_t>(0xa0 + k);
    const Lobby lobby{{{"host", {"Ann", "Bob"}}, {"laptop", {}}, {"den", {"Cy"}}}};
    return {
        {noMachine, 1, hello},
        {0, 2, Welcome{7}},
        {0, 3, Refused{"another data pack: 1f2e vs 3c4d"}},
        {0, 4, lobby},
        {0, 5, Begin{0xdeadbeef, {0, 2, 15, 1}}},
        {0, 6, Command{0x11223344, 0x55667788, "computers 3 2"}},
        {3, 0x01020304, ShotMessage{0x0a0b0c0d, 5, 0.1f, -37.25f, 1e-40f, 4}},
        {3, 9, AimMessage{2, 359.99f, -0.5f, 99.5f}},
        {15, 10, HeardUpTo{4000000000u}},
        {1, 11, WorldDigest{77, 0x0102030405060708ull}},
        {0, 12, TankToComputer{99, 63, 2}},
        {0, 13, MachineGone{4, 321, 654}},
        {2, 14, Bye{}},
    };
}

std::vector<std::uint8_t> withByte(std::vector<std::uint8_t> bytes, std::size_t at,
                                   std::uint8_t value) {
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
    const ShotMessage& s = std::get<ShotMessage>(shot.message.body);
    EXPECT_EQ(s.step, 0x0a0b0c0du);
    EXPECT_EQ(s.tank, 5);
    EXPECT_EQ(s.turretDegrees, 0.1f);
    EXPECT_EQ(s.barrelDegrees, -37.25f);
    EXPECT_EQ(s.velocity, 1e-40f); // a denormal keeps its bits
    EXPECT_EQ(s.weapon, 4);
    const Decoded begin = MessageCodec::decode(MessageCodec::encode(messages[4]));
    EXPECT_EQ(std::get<Begin>(begin.message.body).seed, 0xdeadbeefu);
    EXPECT_EQ(std::get<Begin>(begin.message.body).machines, (std::vector<std::uint8_t>{0, 2, 15, 1}));
    const Decoded command = MessageCodec::decode(MessageCodec::encode(messages[5]));
    const Command& c = std::get<Command>(command.message.body);
    EXPECT_EQ(c.step, 0x11223344u);
    EXPECT_EQ(c.seed, 0x55667788u);
    EXPECT_EQ(c.text, "computers 3 2");
}

// The layout other programs may read: version, kind, sender, sequence, then the
// fields, little-endian, floats as their bits. A shot is 25 bytes.
TEST(MessageCodecTest, AShotHasItsExactBytes) {
    const Message shot{3, 0x01020304, ShotMessage{0x0a0b0c0d, 5, 1.0f, -2.0f, 0.5f, 4}};
    const std::vector<std::uint8_t> expected = {1,    7,    3,    0x04, 0x03,
                                                0x02, 0x01, // version, kind, sender, sequence
                                                0x0d, 0x0c, 0x0b, 0x0a, 5, // step, tank
                                                0x00, 0x00, 0x80, 0x3f,    // 1.0f
                                                0x00, 0x00, 0x00, 0xc0,    // -2.0f
                                                0x00, 0x00, 0x00, 0x3f,    // 0.5f
                                                4};
    EXPECT_EQ(MessageCodec::encode(shot), expected);
}

// Every shorter run of a message's bytes is truncated, and a byte more is left over.
TEST(MessageCodecTest, CutOrPaddedMessagesAreRefused) {
    for (const Message& message : everyKind()) {
        SCOPED_TRACE(message.body.index());
        std::vector<std::uint8_t> bytes = MessageCodec::encode(message);
        for (std::size_t size = 0; size < bytes.size(); ++size)
            EXPECT_EQ(MessageCodec::decode(bytes.data(), size).error, DecodeError::truncated)
                << size;
        bytes.push_back(0);
        EXPECT_EQ(MessageCodec::decode(bytes).error, DecodeError::trailingBytes);
    }
}

// Values outside the protocol's range are refused, whatever the rest holds.
TEST(MessageCodecTest, HostileValuesAreRefused) {
    const std::vector<Message> messages = everyKind();
    const auto bytesOf = [&messages](std::size_t kind) {
        return MessageCodec::encode(messages[kind]);
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto encoded = [](const MessageBody& body) {
        return MessageCodec::encode(Message{0, 1, body});
    };
    using Names = std::vector<std::string>;
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
             Case{"a version past its cap", encoded(Hello{std::string(33, 'v'), {}, 1, "m"}),
                  DecodeError::badValue},
             Case{"a shot's NaN", encoded(ShotMessage{0, 0, 0.0f, nan, 0.0f, 0}), DecodeError::badValue},
             Case{"tank 64", withByte(bytesOf(6), 11, 64), DecodeError::badValue},
             Case{"weapon 16", withByte(bytesOf(6), 24, 16), DecodeError::badValue},
             Case{"a game of no machines", encoded(Begin{1, {}}), DecodeError::badValue},
             Case{"a game of 17 machines", encoded(Begin{1, std::vector<std::uint8_t>(17)}),
                  DecodeError::badValue},
             Case{"a machine twice", encoded(Begin{1, {0, 2, 2}}), DecodeError::badValue},
             Case{"machine 16 in a game", encoded(Begin{1, {0, 16}}), DecodeError::badValue},
             Case{"the host not first", encoded(Begin{1, {1, 0}}), DecodeError::badValue},
             Case{"a command chaining another", encoded(Command{9, 1, "tanks 4; quit"}),
                  DecodeError::badValue},
             Case{"a command with a tab", encoded(Command{9, 1, "tanks\t4"}),
                  DecodeError::badValue},
             Case{"a command past ASCII", encoded(Command{9, 1, "tanks \xc3\xa9"}),
                  DecodeError::badValue},
             Case{"an empty command", encoded(Command{9, 1, ""}), DecodeError::badValue},
             Case{"a command of 65 bytes", encoded(Command{9, 1, std::string(65, 't')}),
                  DecodeError::badValue},
             Case{"17 machines", encoded(Lobby{std::vector<LobbyMachine>(17, {"m", {}})}),
                  DecodeError::badValue},
             Case{"80 players", encoded(Lobby{{{"m", Names(40, "p")}, {"n", Names(40, "p")}}}),
                  DecodeError::badValue},
             Case{"gone machine 16", withByte(bytesOf(11), 7, 16), DecodeError::badValue},
             Case{"past any message",
                  std::vector<std::uint8_t>(MessageCodec::maxMessageBytes + 1, 1),
                  DecodeError::oversized},
         }) {
        SCOPED_TRACE(c.name);
        const Decoded decoded = MessageCodec::decode(c.bytes);
        EXPECT_EQ(decoded.error, c.error) << decodeErrorName(decoded.error);
        EXPECT_EQ(decoded.message.sequence, 0u); // nothing half-read leaks out
    }
    // The longest command there may be still travels.
    EXPECT_TRUE(MessageCodec::decode(encoded(Command{9, 1, std::string(64, 't')})).ok());
}
