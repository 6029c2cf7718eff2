#include "protocol/telnet_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velora {
namespace {

using Bytes = std::vector<std::uint8_t>;
using T = TelnetCodec;

std::string text(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(TelnetCodec, ClientOpensWithBinaryGoAheadAndComPort) {
    EXPECT_EQ(TelnetCodec().opening(),
              (Bytes{255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 44}));
}

TEST(TelnetCodec, SetsTheLineFromTheProgramsSettings) {
    const Bytes expected{255, 250, 44, 1, 0x00, 0x00, 0x25, 0x80, 255, 240,  // 9600 baud
                         255, 250, 44, 2, 8,    255,  240,                   // 8 data bits
                         255, 250, 44, 3, 1,    255,  240,                   // no parity
                         255, 250, 44, 4, 1,    255,  240,                   // 1 stop bit
                         255, 250, 44, 5, 1,    255,  240};                  // no flow control
    EXPECT_EQ(TelnetCodec::settingsRequests(9600, 'N', 8, 1), expected);
    // Parity and stop bits of other lines, and a speed whose bytes hold 0xFF.
    const Bytes other = TelnetCodec::settingsRequests(0x00FF00FF, 'E', 7, 2);
    EXPECT_EQ(Bytes(other.begin(), other.begin() + 12),
              (Bytes{255, 250, 44, 1, 0x00, 255, 255, 0x00, 255, 255, 255, 240}));
    EXPECT_EQ(other[16], 7);  // data bits
    EXPECT_EQ(other[23], 3);  // even
    EXPECT_EQ(other[30], 2);  // two stop bits
}

TEST(TelnetCodec, DoublesEveryIacOnTheWayOut) {
    EXPECT_EQ(TelnetCodec::encode(Bytes{0xE9, 255, 3, 255, 255}),
              (Bytes{0xE9, 255, 255, 3, 255, 255, 255, 255}));
}

struct DecodeCase {
    const char* name;
    std::vector<Bytes> reads;  // as the far end's bytes arrived
    Bytes data;                // what the sign said
};

class TelnetDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TelnetDecode, KeepsOnlyTheSignsBytes) {
    TelnetCodec codec;
    std::string data;
    for (const Bytes& read : GetParam().reads) data += codec.decode(text(read));
    EXPECT_EQ(data, text(GetParam().data));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TelnetDecode,
    ::testing::Values(
        DecodeCase{"plain", {{200, 222, 5}}, {200, 222, 5}},
        DecodeCase{"doubled_iac", {{255, 255, 222}}, {255, 222}},
        DecodeCase{"iac_split", {{222, 255}, {255, 7}}, {222, 255, 7}},
        DecodeCase{"answers_mixed_in",
                   {{255, 251, 0,  200, 255, 253, 44,  255, 250, 44, 101,
                     0,   0,   37, 128, 255, 240, 222, 255, 241, 5}},
                   {200, 222, 5}},
        DecodeCase{"sub_split_everywhere",
                   {{222, 255}, {250}, {44, 101, 0}, {0, 255}, {255, 128, 255}, {240, 5}},
                   {222, 5}},
        DecodeCase{"option_split", {{255}, {253}, {44}, {200}}, {200}},
        DecodeCase{
            "iac_in_sub_then_data", {{255, 250, 44, 255, 255, 1, 255, 240, 255, 255}}, {255}},
        DecodeCase{"converter_text",
                   {{'P', 'o', 'r', 't', '\r', '\n'}},
                   {'P', 'o', 'r', 't', '\r', '\n'}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TelnetCodec, ClientAgreesWithoutEchoAndRefusesTheRest) {
    TelnetCodec codec;
    // Answers to its own requests need no reply; options it did not ask for are refused.
    codec.decode(
        text({255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 1, 255, 253, 24}));
    EXPECT_EQ(codec.takeReplies(), (Bytes{255, 254, 1, 255, 252, 24}));
    EXPECT_TRUE(codec.takeReplies().empty());
    EXPECT_FALSE(codec.comPortAnswered());
    codec.decode(text({255, 253, 44}));
    EXPECT_TRUE(codec.comPortAnswered());
    EXPECT_TRUE(codec.comPortAccepted());
    codec.decode(text({255, 250, 44, 101, 0,   0,   37,  128, 255, 240, 255, 250,
                       44,  102, 8,  255, 240, 255, 250, 44,  99,  255, 240}));
    EXPECT_EQ(codec.settingsAnswered(), 2);
}

TEST(TelnetCodec, ClientSeesARefusedComPort) {
    TelnetCodec codec;
    codec.decode(text({255, 254, 44}));
    EXPECT_TRUE(codec.comPortAnswered());
    EXPECT_FALSE(codec.comPortAccepted());
}

TEST(TelnetCodec, ServerAgreesOnceAndAnswersEverySetting) {
    TelnetCodec server(TelnetCodec::Role::Server);
    const Bytes opening = TelnetCodec().opening();
    EXPECT_EQ(server.decode(text(opening)), "");
    EXPECT_EQ(server.takeReplies(),
              (Bytes{255, 253, 0, 255, 251, 0, 255, 253, 3, 255, 251, 3, 255, 253, 44}));
    // The client's agreement to the server's own answers is not answered again.
    server.decode(text(opening));
    EXPECT_TRUE(server.takeReplies().empty());
    server.decode(text(TelnetCodec::settingsRequests(9600, 'N', 8, 1)));
    const Bytes replies = server.takeReplies();
    EXPECT_EQ(server.requestedBaud(), 9600u);
    TelnetCodec client;
    EXPECT_EQ(client.decode(text(replies)), "");
    EXPECT_EQ(client.settingsAnswered(), 5);
}

}  // namespace
}  // namespace velora
