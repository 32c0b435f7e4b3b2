#include "net/MessageCodec.h"
#include <cstdlib>

// Bytes from the network straight into the decoder. Whatever it accepts must
// encode back to exactly those bytes: anything else means a field is read in
// one way and written in another, and machines would disagree about a message.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Decoded decoded = MessageCodec::decode(data, size);
    if (!decoded.ok())
        return 0;
    const std::vector<std::uint8_t> again = MessageCodec::encode(decoded.message);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data))
        std::abort();
    return 0;
}
