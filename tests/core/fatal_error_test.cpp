#include "core/fatal_error.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"

namespace velora {
namespace {

struct AnswerCase {
    const char* answer;
    bool ends;
};

void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << '"' << c.answer << '"';
}

class ReportFatalErrorTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ReportFatalErrorTest, EndsOnlyOnExactlySOrLowerS) {
    testing::FakeServices fake;
    fake.dialogs.inputAnswers.push_back(GetParam().answer);
    ReportFatalError(fake.services, kInvalidPropertyValue);
    EXPECT_EQ(fake.program.endCalls, GetParam().ends ? 1 : 0)
        << "answer '" << GetParam().answer << "'";
}

INSTANTIATE_TEST_SUITE_P(Answers, ReportFatalErrorTest,
                         ::testing::Values(AnswerCase{"S", true}, AnswerCase{"s", true},
                                           AnswerCase{"SI", false}, AnswerCase{" S", false},
                                           AnswerCase{"S ", false}, AnswerCase{"", false},
                                           AnswerCase{"N", false}));

TEST(ReportFatalErrorTest, ShowsTheNumberThenAsksWhetherToQuit) {
    testing::FakeServices fake;
    ReportFatalError(fake.services, 380);
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    const auto& message = fake.dialogs.shown[0];
    EXPECT_EQ(message.kind, "message");
    EXPECT_EQ(message.title, "Comunicazione di sistema:");
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(
        message.text,
        "Si \xE8 verificato un grave errore nell'esecuzione del programma: contattare al pi\xF9 "
        "presto il fornitore per avere ulteriori informazioni. Il codice dell'errore \xE8 (380).");
    const auto& question = fake.dialogs.shown[1];
    EXPECT_EQ(question.kind, "input");
    EXPECT_EQ(question.text, "Vuoi uscire dal programma?");
    EXPECT_EQ(question.title, "Fine");
    EXPECT_EQ(question.defaultText, "N");
    EXPECT_EQ(fake.program.endCalls, 0);  // the preset "N" keeps the program running
}

TEST(ReportFatalErrorTest, CutsTheNumberToSixteenBits) {
    testing::FakeServices fake;
    ReportFatalError(fake.services, 65536 + 6);
    ReportFatalError(fake.services, 40000);
    const auto messages = fake.dialogs.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("(6)."), std::string::npos);
    EXPECT_NE(messages[1].find("(-25536)."), std::string::npos);
}

TEST(TrapErrorsTest, ReportsTheErrorAndKeepsWhatWasDone) {
    testing::FakeServices fake;
    int done = 0;
    trapErrors(fake.services, [&] {
        done = 1;
        throw RunTimeError(kOverflow);
    });
    EXPECT_EQ(done, 1);
    ASSERT_EQ(fake.dialogs.messages().size(), 1u);
    EXPECT_NE(fake.dialogs.messages()[0].find("(6)."), std::string::npos);
}

}  // namespace
}  // namespace velora
