#include "app/NetworkRecord.h"
#include "net/MessageCodec.h"

namespace {

void putU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFFu);
}

std::uint32_t getU32(const std::string& in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

std::string withKind(NetworkRecord::Kind kind, const std::vector<std::uint8_t>& body) {
    std::string out(1, static_cast<char>(kind));
    out.append(body.begin(), body.end());
    return out;
}

// The rest of the record from `at` as a message, through the network's own
// bounded decoder.
bool decodeFrom(const std::string& bytes, std::size_t at, Message& message) {
    if (at > bytes.size())
        return false;
    const Decoded decoded = MessageCodec::decode(
        reinterpret_cast<const std::uint8_t*>(bytes.data()) + at, bytes.size() - at);
    if (!decoded.ok())
        return false;
    message = decoded.message;
    return true;
}

} // namespace

std::string NetworkRecord::begin(const Begin& beginning, std::uint8_t self) {
    return withKind(Kind::begin, MessageCodec::encode(Message{self, 1, beginning}));
}

std::string NetworkRecord::stepsRun(std::uint32_t steps) {
    std::string out(1, static_cast<char>(Kind::steps));
    putU32(out, steps);
    return out;
}

std::string NetworkRecord::applied(const LockstepAction& action) {
    std::string out(1, static_cast<char>(Kind::action));
    putU32(out, action.step);
    const std::vector<std::uint8_t> message =
        MessageCodec::encode(Message{action.machine, action.sequence, action.body});
    out.append(message.begin(), message.end());
    return out;
}

std::string NetworkRecord::ended(const std::string& line) {
    return std::string(1, static_cast<char>(Kind::end)) + line.substr(0, maxReasonBytes);
}

NetworkRecord NetworkRecord::read(const std::string& bytes) {
    NetworkRecord record;
    if (bytes.empty())
        return record;
    Message message;
    switch (static_cast<Kind>(bytes[0])) {
    case Kind::begin:
        if (decodeFrom(bytes, 1, message) && std::holds_alternative<Begin>(message.body)) {
            record.kind = Kind::begin;
            record.beginning = std::get<Begin>(message.body);
            record.self = message.sender;
        }
        break;
    case Kind::steps:
        if (bytes.size() == 5) {
            record.kind = Kind::steps;
            record.steps = getU32(bytes, 1);
        }
        break;
    case Kind::action:
        if (bytes.size() > 5 && decodeFrom(bytes, 5, message)) {
            record.kind = Kind::action;
            record.action = LockstepAction{getU32(bytes, 1), message.sender, message.sequence,
                                           message.body};
        }
        break;
    case Kind::end:
        record.kind = Kind::end;
        record.line = bytes.substr(1);
        break;
    default:
        break;
    }
    return record;
}
