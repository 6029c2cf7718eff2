#include "link/virtual_sign.h"

#include <gtest/gtest.h>

#include "link/paced_stream.h"

namespace velora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes feed(VirtualSign& sign, const Bytes& bytes) {
    Bytes replies;
    for (std::uint8_t b : bytes) {
        const Bytes r = sign.receive(b);
        replies.insert(replies.end(), r.begin(), r.end());
    }
    return replies;
}

TEST(VirtualSignTest, AnswersConnectAndDateTime) {
    VirtualSign sign;
    std::vector<std::string> log;
    sign.onExchange = [&](const std::string& line) { log.push_back(line); };
    EXPECT_EQ(feed(sign, {212}), Bytes{200});
    EXPECT_EQ(feed(sign, dateTimeMessage({2026, 12, 5, 14, 7, 33})), Bytes{227});
    EXPECT_EQ(log, (std::vector<std::string>{"Connessione", "Data/Ora: 05/12/26 14:07 giorno 6"}));
}

// The sign reads the clock fields as decimal digits: a message that is not one is not answered.
TEST(VirtualSignTest, RefusesADateTimeMessageItCannotRead) {
    VirtualSign sign;
    std::vector<std::string> log;
    sign.onExchange = [&](const std::string& line) { log.push_back(line); };
    Bytes message = dateTimeMessage({2026, 12, 5, 14, 7, 33});
    message[1] = 0x6A;
    EXPECT_EQ(feed(sign, message), Bytes{});
    EXPECT_EQ(feed(sign, {212}), Bytes{200});
    EXPECT_EQ(log, (std::vector<std::string>{"Messaggio Data/Ora non valido", "Connessione"}));
}

// Each upload read to its end is told once, with its pages at hand.
TEST(VirtualSignTest, ToldOfEachUploadReceived) {
    Modulo1 state;
    state.PageCount = 2;
    state.RowChars = 9;
    state.PageKind[1] = 1;
    state.PageKind[2] = 4;
    VirtualSign sign;
    std::vector<std::size_t> told;
    sign.onUploadReceived = [&] { told.push_back(sign.records().size()); };
    feed(sign, {212});
    feed(sign, dateTimeMessage({2026, 12, 5, 14, 7, 33}));
    EXPECT_TRUE(told.empty());
    feed(sign, uploadMessage(state).bytes);
    feed(sign, {kUploadEnd});
    EXPECT_EQ(told, (std::vector<std::size_t>{2, 0}));
}

// A sign of a known width counts an upload made for another width all the same, and says so.
TEST(VirtualSignTest, SaysWhenAnUploadIsForAnotherWidth) {
    Modulo1 state;
    state.PageCount = 2;
    state.PageKind[1] = kTwoFixedRows;
    state.PageKind[2] = kBigFixed;
    VirtualSign sign;
    sign.rowChars = 15;
    std::vector<std::string> log;
    sign.onExchange = [&](const std::string& line) { log.push_back(line); };
    for (int rowChars : {15, 12}) {
        state.RowChars = static_cast<std::uint8_t>(rowChars);
        EXPECT_EQ(feed(sign, uploadMessage(state).bytes), (Bytes{kCountFollows, 2}));
    }
    EXPECT_EQ(log, (std::vector<std::string>{
                       "Pagine ricevute: 2",
                       "Pagine ricevute: 2 (righe da 12 caratteri, l'insegna ne ha 15)"}));
}

// Pages of every kind whose header bytes take the values of the end bytes: the sign must count
// by lengths, not by searching for 0xE9 or 0xFD.
TEST(VirtualSignTest, CountsRecordsByKindAndLength) {
    for (int rowChars : {0, 9, 24}) {
        Modulo1 state;
        state.PageCount = 9;
        state.RowChars = static_cast<std::uint8_t>(rowChars);
        for (int slot = 1; slot <= 9; ++slot) {
            state.PageKind[slot] = static_cast<std::uint8_t>(slot == 9 ? 0 : slot);
            state.PagePause[slot] = slot % 2 ? 0xE9 : 0xFD;
            state.PageText[slot][1] = "Scorre \xE9 qui";
            state.PageText[slot][2] = "ABC";
        }
        VirtualSign sign;
        EXPECT_EQ(feed(sign, uploadStream(state).values()), (Bytes{222, 9})) << rowChars;
        ASSERT_EQ(sign.records().size(), 9u);
        EXPECT_EQ(sign.records()[2], pageRecord(state, 3));
    }
}

TEST(VirtualSignTest, EmptyUploadAnswersZero) {
    VirtualSign sign;
    EXPECT_EQ(feed(sign, {0xFD}), (Bytes{222, 0}));
}

TEST(VirtualSignTest, GarbledRecordIsDroppedAndTheNextRequestAnswered) {
    VirtualSign sign;
    Bytes broken = {1, 1, 3, 9};
    broken.insert(broken.end(), 48, 0);
    broken.push_back(0x00);  // where the page end belongs
    EXPECT_TRUE(feed(sign, broken).empty());
    EXPECT_EQ(feed(sign, {212}), Bytes{200});
}

// A sender that stopped in the middle of an upload (killed, unplugged, cancelled) leaves the
// sign halfway through a record; after a quiet line the sign answers the next request. The longest
// gap a sender keeps on purpose, the clock message's lead, drops nothing.
TEST(VirtualSignTest, UnfinishedRecordIsDroppedAfterAQuietLine) {
    Modulo1 state;
    state.PageCount = 2;
    state.RowChars = 9;
    for (int slot = 1; slot <= 2; ++slot) state.PageKind[slot] = kTwoFixedRows;
    const Bytes upload = uploadStream(state).values();
    VirtualSign sign;
    double t = 100;
    const auto feedAt = [&](const Bytes& bytes, double firstGap) {
        Bytes replies;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            t += i == 0 ? firstGap : 0.002;
            const Bytes r = sign.receive(bytes[i], t);
            replies.insert(replies.end(), r.begin(), r.end());
        }
        return replies;
    };
    EXPECT_TRUE(feedAt({upload.begin(), upload.begin() + 30}, 0.002).empty());
    // Within a pause the sender may keep, the connect request is still record data.
    EXPECT_TRUE(feedAt({kConnectRequest}, 0.1).empty());
    EXPECT_EQ(feedAt({kConnectRequest}, VirtualSign::kAbandonedAfter + 0.1), Bytes{kConnectAck});
    // Also between two records.
    EXPECT_TRUE(feedAt({upload.begin(), upload.begin() + 53}, 0.002).empty());
    EXPECT_EQ(feedAt({kConnectRequest}, 1.0), Bytes{kConnectAck});
    EXPECT_EQ(feedAt(upload, 0.002), (Bytes{kCountFollows, 2}));
    const Bytes clock = dateTimeMessage({2026, 12, 5, 14, 7, 33});
    EXPECT_TRUE(feedAt({clock.front()}, 0.5).empty());
    EXPECT_EQ(feedAt({clock.begin() + 1, clock.end()}, kDateTimeLeadDelays * 0.002),
              Bytes{kDateTimeAck});
}

// However much arrives, the sign keeps one record being read and the records of one upload.
TEST(VirtualSignTest, KeepsARecordAndAnUploadBoundedHoweverMuchArrives) {
    VirtualSign sign;
    std::vector<std::string> log;
    sign.onExchange = [&](const std::string& line) { log.push_back(line); };
    // A scrolling row whose end never comes is given up once no record could be that long.
    Bytes endless = {kRow2Scrolling, 1, 3, 9};
    endless.resize(VirtualSign::kLongestRecord, 0x21);
    EXPECT_TRUE(feed(sign, endless).empty());
    EXPECT_EQ(log, std::vector<std::string>{"Record non valido alla pagina 1"});
    EXPECT_EQ(feed(sign, {kConnectRequest}), Bytes{kConnectAck});

    // More pages than one byte can count: all are counted, the first ones kept.
    Modulo1 state;
    state.PageCount = 1;
    state.RowChars = 9;
    state.PageKind[1] = kTwoFixedRows;
    const Bytes record = pageRecord(state, 1);
    Bytes upload;
    for (int page = 0; page < 300; ++page)
        upload.insert(upload.end(), record.begin(), record.end());
    upload.push_back(kUploadEnd);
    EXPECT_EQ(feed(sign, upload), (Bytes{kCountFollows, 300 % 256}));
    EXPECT_EQ(sign.pagesReceived(), 300);
    ASSERT_EQ(sign.records().size(), VirtualSign::kKeptRecords);
    EXPECT_EQ(sign.records().back(), record);
}

TEST(VirtualSignTest, TestControlsChangeTheAnswer) {
    VirtualSign wrong;
    wrong.countAdjust = -1;
    EXPECT_EQ(feed(wrong, {1, 1, 0, 0}), Bytes{});
    EXPECT_EQ(feed(wrong, Bytes(48, 0)), Bytes{});
    EXPECT_EQ(feed(wrong, {0xE9, 0xFD}), (Bytes{222, 0}));
    VirtualSign silent;
    silent.silent = true;
    EXPECT_TRUE(feed(silent, {212, 0xFD}).empty());
}

}  // namespace
}  // namespace velora
