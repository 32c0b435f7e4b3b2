#pragma once
#include "net/Message.h"
#include <cstddef>
#include <cstdint>
#include <vector>

// Why a run of bytes is not a message. Nothing in here throws.
enum class DecodeError {
    none,
    oversized,    // longer than any message can be: refused before reading
    truncated,    // ends inside the header or a field
    wrongVersion, // another protocol version; the rest is not read
    unknownKind,
    badValue,      // a count, index, text or float outside the protocol's range
    trailingBytes, // a whole message followed by more
};

struct Decoded {
    Message message;
    DecodeError error = DecodeError::none;

    bool ok() const { return error == DecodeError::none; }
};

// The wire format: a byte of protocol version, a byte of message kind (the index
// of the body in MessageBody, from 1), the sender's machine number (a byte) and
// sequence number (32 bits),
// then the body's fields in declaration order. Little-endian throughout; a count
// or a text's length is one byte.
class MessageCodec {
public:
    // No encoded message is longer: the largest lobby fits well inside.
    static constexpr std::size_t maxMessageBytes = 4096;
    static constexpr std::size_t headerBytes = 7;

    // The message must keep the bounds of net/Message.h.
    static std::vector<std::uint8_t> encode(const Message& message);
    static Decoded decode(const std::uint8_t* data, std::size_t size);
    static Decoded decode(const std::vector<std::uint8_t>& bytes) {
        return decode(bytes.data(), bytes.size());
    }
};

const char* decodeErrorName(DecodeError error);
