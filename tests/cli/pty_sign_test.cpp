#include "pty_sign.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace velora {
namespace {

// A sign left running on a line that never stops: what it keeps stays the same size.
TEST(PtySignTest, KeepsTheLastBytesOnlyHoweverManyArrive) {
    PtySign sign;
    sign.start();
    const int line = ::open(sign.devicePath().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(line, 0);
    // Zeros are records of no kind, each dropped where its end byte belongs: the sign answers
    // none of them, so nothing fills the line the other way.
    std::vector<std::uint8_t> sent(3 * PtySign::kKeptBytes + 123, 0x00);
    for (std::size_t i = sent.size() - 4096; i < sent.size(); ++i)
        sent[i] = static_cast<std::uint8_t>(1 + i % 16);
    std::size_t written = 0;
    while (written < sent.size()) {
        const ssize_t count = ::write(line, sent.data() + written, sent.size() - written);
        ASSERT_GT(count, 0);
        written += static_cast<std::size_t>(count);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (sign.receivedCount() < sent.size() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::close(line);
    sign.stop();
    ASSERT_EQ(sign.receivedCount(), sent.size());
    const std::vector<std::uint8_t> kept = sign.received();
    ASSERT_EQ(kept.size(), PtySign::kKeptBytes);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(),
                           sent.end() - static_cast<std::ptrdiff_t>(kept.size())));
}

}  // namespace
}  // namespace velora
