#include "assets/ReplayReader.h"

#include "FuzzFile.h"

// Through the file, as the game reads one, then every event the stream holds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFile file(".vtr");
    ReplayReader reader;
    std::string why;
    if (reader.load(file.write(data, size), why)) {
        std::size_t played = 0;
        for (ReplayEvent event; reader.next(event);)
            ++played;
        if (played != reader.eventCount())
            std::abort(); // the check and the playing must agree on every record
    }
    return 0;
}
