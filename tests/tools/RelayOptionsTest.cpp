#include "tools/RelayOptions.h"
#include <gtest/gtest.h>

namespace {

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = line.find(' ', start);
        result.push_back(line.substr(start, end - start));
        start = end == std::string::npos ? line.size() : end + 1;
    }
    return result;
}

} // namespace

TEST(RelayOptionsTest, ReadsEveryOption) {
    RelayOptions options;
    std::string error;
    ASSERT_TRUE(parseRelayOptions(words("--listen 0 --to 127.0.0.2:28960 --delay-ms 75 "
                                        "--jitter-ms 20 --loss 2.5 --seed 4294967295"),
                                  options, error))
        << error;
    EXPECT_EQ(options.listenPort, 0);
    EXPECT_EQ(options.targetAddress, 0x7f000002u);
    EXPECT_EQ(options.targetPort, 28960);
    EXPECT_EQ(options.delayMs, 75);
    EXPECT_EQ(options.jitterMs, 20);
    EXPECT_DOUBLE_EQ(options.lossPercent, 2.5);
    EXPECT_EQ(options.seed, 4294967295u);
    ASSERT_TRUE(parseRelayOptions(words("--to localhost:9 --listen 65535"), options, error));
    EXPECT_EQ(options.targetAddress, 0x7f000001u);
}

// The relay must never be pointed past this machine, and a value it cannot
// honour is refused rather than wrapped or clamped.
TEST(RelayOptionsTest, RefusesWhatItCannotHonour) {
    struct Case {
        const char* line;
        const char* reason;
    };
    for (const Case& c : {
             Case{"--listen 0 --to 192.168.1.5:28960", "not a loopback address"},
             Case{"--listen 0 --to 10.0.0.1:1", "not a loopback address"},
             Case{"--listen 0 --to 0.0.0.0:1", "not a loopback address"},
             Case{"--listen 0 --to example.org:1", "not an IPv4 address"},
             Case{"--listen 0 --to ::1:28960", "not an IPv4 address"},
             Case{"--listen 0 --to 127.0.0.1", "HOST:PORT"},
             Case{"--listen 0 --to 127.0.0.1:0", "no port"},
             Case{"--listen 0 --to 127.0.0.1:65536", "no port"},
             Case{"--listen 0 --to 127.0.0.1:12x", "no port"},
             Case{"--listen 70000 --to 127.0.0.1:1", "out of range"},
             Case{"--listen -1 --to 127.0.0.1:1", "out of range"},
             Case{"--listen 0 --to 127.0.0.1:1 --loss 100.5", "out of range"},
             Case{"--listen 0 --to 127.0.0.1:1 --loss nan", "out of range"},
             Case{"--listen 0 --to 127.0.0.1:1 --delay-ms 1e3", "out of range"},
             Case{"--listen 0 --to 127.0.0.1:1 --jitter-ms 99999999999999999999", "out of range"},
             Case{"--listen 0 --to 127.0.0.1:1 --seed 4294967296", "out of range"},
             Case{"--listen 0 --to 127.0.0.1:1 --delay-ms", "wants a value"},
             Case{"--listen 0 --to 127.0.0.1:1 --speed 3", "unknown option"},
             Case{"--to 127.0.0.1:1", "both"},
             Case{"--listen 0", "both"},
         }) {
        SCOPED_TRACE(c.line);
        RelayOptions options;
        std::string error;
        EXPECT_FALSE(parseRelayOptions(words(c.line), options, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}
