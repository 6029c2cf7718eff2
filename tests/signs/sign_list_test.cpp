#include "signs/sign_list.h"

#include <gtest/gtest.h>

#include "fakes/fake_files.h"

namespace velora {
namespace {

SignList parsedList(std::string_view text) {
    auto result = parseSignsFile(text);
    if (const auto* error = std::get_if<SignsFileError>(&result)) {
        ADD_FAILURE() << error->text();
        return SignList::firstSign(6, "COM1");
    }
    return std::get<SignList>(std::move(result));
}

// A door, a counter and a sign over the network, the counter in use.
SignList shop() {
    SignList list = SignList::firstSign(6, "/dev/ttyUSB0");
    EXPECT_FALSE(list.add({"Banco", "COM3", 4}));
    EXPECT_FALSE(list.add({"Città alta", "socket://127.0.0.1:4001", 8}));
    EXPECT_FALSE(list.choose("banco"));
    return list;
}

struct RuleCase {
    const char* what;
    std::string value;
    bool accepted;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.what;
}

class SignNameRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(SignNameRule, AcceptsOrRefusesTheName) {
    EXPECT_EQ(!signNameProblem(GetParam().value), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SignNameRule,
    ::testing::Values(RuleCase{"Plain", "Vetrina", true}, RuleCase{"Accented", "Città", true},
                      RuleCase{"BlanksInside", "Banco  frigo", true},
                      RuleCase{"FortyCharacters", std::string(38, 'x') + "àè", true},
                      RuleCase{"FortyOne", std::string(41, 'x'), false},
                      RuleCase{"Empty", "", false}, RuleCase{"OnlyBlanks", "   ", false},
                      RuleCase{"Tab", "a\tb", false}, RuleCase{"LineBreak", "a\nb", false},
                      RuleCase{"NotUtf8", "caf\xE9", false}, RuleCase{"CommentMark", " #1", false}),
    [](const auto& row) { return std::string(row.param.what); });

class SignPortRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(SignPortRule, AcceptsWhatThePortFieldTakes) {
    EXPECT_EQ(!signPortProblem(GetParam().value), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, SignPortRule,
    ::testing::Values(RuleCase{"WindowsName", "COM3", true},
                      RuleCase{"DevicePath", "/dev/ttyUSB0", true},
                      RuleCase{"VirtualSign", "Insegna virtuale", true},
                      RuleCase{"Socket", "socket://banco.local:4001", true},
                      RuleCase{"Rfc2217Ipv6", "rfc2217://[::1]:2217", true},
                      RuleCase{"SocketWithoutPort", "socket://banco.local", false},
                      RuleCase{"SocketBadPort", "socket://host:99999", false},
                      RuleCase{"Ipv6WithoutBrackets", "socket://::1:2217", false},
                      RuleCase{"NotKnownYet", " ", true}, RuleCase{"Tab", "COM\t3", false}),
    [](const auto& row) { return std::string(row.param.what); });

TEST(SignBoardsRule, ThreeToEight) {
    for (int boards = 0; boards <= 10; ++boards)
        EXPECT_EQ(!signBoardsProblem(boards), boards >= 3 && boards <= 8) << boards;
}

TEST(SignList, FirstSignIsInsegnaWithTheBoardsAndPortGiven) {
    const SignList list = SignList::firstSign(4, " COM2 ");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.current(), (Sign{"Insegna", "COM2", 4}));
    EXPECT_EQ(&list.baseDatSign(), &list.current());
    EXPECT_EQ(list.current().rowChars(), 12);
    // What the rules refuse is not carried into the list.
    EXPECT_EQ(SignList::firstSign(0, "socket://x").current(), (Sign{"Insegna", "", 6}));
    // A sign whose port is not known yet is kept as it is.
    const SignList noPort = SignList::firstSign(3, "");
    EXPECT_EQ(parsedList(signsFileText(noPort)), noPort);
}

// Each change on the shop's list: refused ones leave it as it was.
struct ChangeCase {
    const char* what;
    std::function<std::optional<std::string>(SignList&)> change;
    const char* refusal;  // a part of the reason, or nullptr when the change is made
    std::vector<std::string> names;
    const char* current;
};

void PrintTo(const ChangeCase& c, std::ostream* out) {
    *out << c.what;
}

class SignListChange : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(SignListChange, KeepsTheRules) {
    const ChangeCase& c = GetParam();
    SignList list = shop();
    const SignList before = list;
    const auto refused = c.change(list);
    if (c.refusal) {
        ASSERT_TRUE(refused);
        EXPECT_NE(refused->find(c.refusal), std::string::npos) << *refused;
        EXPECT_EQ(list, before);
    } else {
        EXPECT_FALSE(refused) << *refused;
    }
    std::vector<std::string> names;
    for (const Sign& sign : list.signs()) names.push_back(sign.name);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(list.current().name, c.current);
}

const std::vector<std::string> kShopNames{"Insegna", "Banco", "Città alta"};

INSTANTIATE_TEST_SUITE_P(
    Changes, SignListChange,
    ::testing::Values(
        ChangeCase{"AddTrimmed",
                   [](SignList& l) {
                       return l.add({" Retro ", " COM4 ", 3});
                   },
                   nullptr,
                   {"Insegna", "Banco", "Città alta", "Retro"},
                   "Banco"},
        ChangeCase{"AddSameNameOtherCase",
                   [](SignList& l) {
                       return l.add({"CITTÀ ALTA", "COM4", 3});
                   },
                   "C'è già", kShopNames, "Banco"},
        ChangeCase{"AddBadBoards",
                   [](SignList& l) {
                       return l.add({"Retro", "COM4", 9});
                   },
                   "da 3 a 8", kShopNames, "Banco"},
        ChangeCase{"AddNoName",
                   [](SignList& l) {
                       return l.add({"", "COM4", 4});
                   },
                   "vuoto", kShopNames, "Banco"},
        ChangeCase{"RenameCaseOnly",
                   [](SignList& l) { return l.rename("banco", "BANCO"); },
                   nullptr,
                   {"Insegna", "BANCO", "Città alta"},
                   "BANCO"},
        ChangeCase{"RenameToAnother", [](SignList& l) { return l.rename("Banco", "insegna"); },
                   "C'è già", kShopNames, "Banco"},
        ChangeCase{"RenameEmpty", [](SignList& l) { return l.rename("Banco", " "); }, "vuoto",
                   kShopNames, "Banco"},
        ChangeCase{"RenameUnknown", [](SignList& l) { return l.rename("Cassa", "Retro"); },
                   "Non c'è", kShopNames, "Banco"},
        ChangeCase{"EditBadPort", [](SignList& l) { return l.edit("Banco", "rfc2217://host", 4); },
                   "Porta in rete non valida", kShopNames, "Banco"},
        ChangeCase{"RemoveCurrentMakesFirstCurrent",
                   [](SignList& l) { return l.remove("BANCO"); },
                   nullptr,
                   {"Insegna", "Città alta"},
                   "Insegna"},
        ChangeCase{"RemoveFirstPassesBaseDatOn",
                   [](SignList& l) { return l.remove("Insegna"); },
                   nullptr,
                   {"Banco", "Città alta"},
                   "Banco"},
        ChangeCase{"RemoveBeforeCurrentKeepsCurrent",
                   [](SignList& l) {
                       l.choose("città alta");
                       return l.remove("Banco");
                   },
                   nullptr,
                   {"Insegna", "Città alta"},
                   "Città alta"},
        ChangeCase{"ChooseUnknown", [](SignList& l) { return l.choose("Cassa"); }, "Non c'è",
                   kShopNames, "Banco"}),
    [](const auto& row) { return std::string(row.param.what); });

TEST(SignList, TheLastSignStays) {
    SignList list = SignList::firstSign(6, "COM1");
    const auto refused = list.remove("insegna");
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find("è l'unica"), std::string::npos);
    EXPECT_EQ(list.size(), 1u);
}

TEST(SignList, EditChangesPortAndBoards) {
    SignList list = shop();
    EXPECT_FALSE(list.edit("città ALTA", " rfc2217://[fe80::1]:2217 ", 3));
    EXPECT_EQ(*list.find("Città alta"), (Sign{"Città alta", "rfc2217://[fe80::1]:2217", 3}));
}

TEST(SignsFile, WritesOneSignALineAndReadsItBack) {
    const SignList list = shop();
    const std::string text = signsFileText(list);
    // Comments first, then the signs in their order; the current one carries "in uso".
    EXPECT_NE(text.find("Insegna\t/dev/ttyUSB0\t6\n"
                        "Banco\tCOM3\t4\tin uso\n"
                        "Città alta\tsocket://127.0.0.1:4001\t8\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.front(), '#');
    EXPECT_EQ(parsedList(text), list);
}

TEST(SignsFile, TakesWhatAnEditorMayLeave) {
    // A byte order mark, CRLF, blanks around the fields, blank and comment lines, no "in uso".
    const SignList list = parsedList(
        "\xEF\xBB\xBF# mie insegne\r\n\r\n Vetrina \t COM1 \t 5 \r\n   # altra\r\nBanco\tCOM2\t3");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.signs()[0], (Sign{"Vetrina", "COM1", 5}));
    EXPECT_EQ(list.signs()[1], (Sign{"Banco", "COM2", 3}));
    EXPECT_EQ(list.currentIndex(), 0u);
}

struct DamagedCase {
    const char* what;
    std::string text;
    int line;
    const char* says;
};

void PrintTo(const DamagedCase& c, std::ostream* out) {
    *out << c.what;
}

class DamagedSignsFile : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedSignsFile, IsRefusedNamingTheLine) {
    const DamagedCase& c = GetParam();
    const auto result = parseSignsFile(c.text);
    const auto* error = std::get_if<SignsFileError>(&result);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->line, c.line);
    EXPECT_NE(error->text().find(c.says), std::string::npos) << error->text();
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSignsFile,
    ::testing::Values(
        DamagedCase{"SpacesForTabs", "# x\nVetrina COM1 6\n", 2, "riga 2: si attendono"},
        DamagedCase{"TooManyFields", "A\tCOM1\t6\tin uso\tx\n", 1, "si attendono"},
        DamagedCase{"BoardsOutOfRange", "A\tCOM1\t6\nB\tCOM2\t9\n", 2, "da 3 a 8"},
        DamagedCase{"BoardsInWords", "A\tCOM1\tsei\n", 1, "numero di schede non valido «sei»"},
        DamagedCase{"SameNameTwice", "Banco\tCOM1\t6\nBANCO\tCOM2\t4\n", 2, "c'è già"},
        DamagedCase{"TwoInUse", "A\tCOM1\t6\tin uso\nB\tCOM2\t4\tin uso\n", 2, "in uso"},
        DamagedCase{"UnknownField", "A\tCOM1\t6\tattiva\n", 1, "campo sconosciuto"},
        DamagedCase{"EmptyName", "\tCOM1\t6\n", 1, "vuoto"},
        DamagedCase{"BadNetworkPort", "A\tsocket://x\t6\n", 1, "porta in rete"},
        DamagedCase{"NotUtf8", "Caf\xE9\tCOM1\t6\n", 1, "non ammessi"},
        DamagedCase{"NoSigns", "# vuoto\n\n", 0, "nessuna insegna"},
        DamagedCase{"Empty", "", 0, "nessuna insegna"}),
    [](const auto& row) { return std::string(row.param.what); });

// The store over files in memory: the signs file and BASE.dat side by side.
class SignStoreTest : public ::testing::Test {
protected:
    static constexpr const char* kSigns = "/config/insegne.txt";
    static constexpr const char* kBase = "/config/BASE.dat";

    testing::FakeFiles files;
    SignStore store{files};

    void SetUp() override { store.setPaths(kSigns, kBase); }
};

TEST_F(SignStoreTest, WithoutAFileTheListIsBaseDatsSign) {
    files.contents[kBase] = " 15 \r\n";
    store.load(6, "COM2");
    EXPECT_TRUE(store.usable());
    EXPECT_FALSE(store.fromFile());
    EXPECT_EQ(store.list().current(), (Sign{"Insegna", "COM2", 5}));
    // Nothing is written until the list is changed.
    EXPECT_FALSE(files.exists(kSigns));

    files.contents.erase(kBase);
    store.load(7, "COM2");  // the width in use stands in for a missing BASE.dat
    EXPECT_EQ(store.list().current().boards, 7);
}

// Finding the system's ports takes a while: the start reads the store without asking for them.
TEST_F(SignStoreTest, ThePortIsAskedForOnlyWhenTheListIsReadWithoutAFile) {
    files.contents[kBase] = "18\r\n";
    int asked = 0;
    store.load(6, [&asked] {
        ++asked;
        return std::string("/dev/ttyUSB0");
    });
    EXPECT_TRUE(store.usable());
    EXPECT_FALSE(store.fromFile());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(store.list().current(), (Sign{"Insegna", "/dev/ttyUSB0", 6}));
    EXPECT_EQ(store.list().current().port, "/dev/ttyUSB0");
    EXPECT_EQ(asked, 1);
    // A change starts from the list with its port, and the file keeps it.
    EXPECT_FALSE(store.apply([](SignList& l) { return l.add({"Banco", "COM3", 4}); }));
    EXPECT_NE(files.contents[kSigns].find("Insegna\t/dev/ttyUSB0\t6"), std::string::npos);

    SignStore fromFile{files};
    fromFile.setPaths(kSigns, kBase);
    fromFile.load(6, [&asked] {
        ++asked;
        return std::string("COM9");
    });
    EXPECT_EQ(fromFile.list().current().port, "/dev/ttyUSB0");
    EXPECT_EQ(asked, 1);
}

TEST_F(SignStoreTest, AChangeWritesTheFileAndBaseDatOnlyForTheFirstSign) {
    files.contents[kBase] = " 18 \r\n";
    store.load(6, "COM1");
    EXPECT_FALSE(store.apply([](SignList& l) { return l.add({"Banco", "COM3", 4}); }));
    EXPECT_TRUE(store.fromFile());
    EXPECT_EQ(files.contents[kBase], " 18 \r\n");
    EXPECT_EQ(files.contents[kSigns], signsFileText(store.list()));

    // Another sign's boards leave BASE.dat alone; the first sign's are written to it.
    EXPECT_FALSE(store.apply([](SignList& l) { return l.edit("Banco", "COM3", 5); }));
    EXPECT_EQ(files.contents[kBase], " 18 \r\n");
    EXPECT_FALSE(store.apply([](SignList& l) { return l.edit("Insegna", "COM1", 8); }));
    EXPECT_EQ(files.contents[kBase], " 24 \r\n");
    // When the first sign goes, BASE.dat belongs to the next one.
    EXPECT_FALSE(store.apply([](SignList& l) { return l.remove("Insegna"); }));
    EXPECT_EQ(files.contents[kBase], " 15 \r\n");

    SignStore again{files};
    again.setPaths(kSigns, kBase);
    again.load(6, "COM9");
    EXPECT_EQ(again.list(), store.list());
}

TEST_F(SignStoreTest, BaseDatWrittenByAnOlderVersionGivesTheFirstSignItsBoards) {
    files.contents[kSigns] = "Insegna\tCOM1\t6\nBanco\tCOM3\t4\tin uso\n";
    files.contents[kBase] = " 21 \r\n";
    store.load(6, "COM1");
    EXPECT_EQ(store.list().baseDatSign().boards, 7);
    EXPECT_EQ(store.list().current().name, "Banco");
}

TEST_F(SignStoreTest, ADamagedFileIsKeptAndEveryChangeRefused) {
    const std::string damaged = "Insegna\tCOM1\t6\nBanco\tCOM3\t12\n";
    files.contents[kSigns] = damaged;
    store.load(6, "COM1");
    EXPECT_FALSE(store.usable());
    EXPECT_NE(store.problem().find("/config/insegne.txt"), std::string::npos);
    EXPECT_NE(store.problem().find("riga 2"), std::string::npos) << store.problem();
    const auto refused = store.apply([](SignList& l) { return l.add({"Retro", "COM4", 3}); });
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, store.problem());
    EXPECT_EQ(files.contents[kSigns], damaged);
}

TEST_F(SignStoreTest, AnUnreadableOrHugeFileIsNotTakenForMissing) {
    files.contents[kSigns] = "Insegna\tCOM1\t6\n";
    files.failing.insert(kSigns);
    store.load(6, "COM1");
    EXPECT_NE(store.problem().find("non si può leggere"), std::string::npos);

    files.failing.clear();
    files.contents[kSigns] = std::string(SignStore::kReadLimit + 1, '#');
    store.load(6, "COM1");
    EXPECT_NE(store.problem().find("troppo grande"), std::string::npos);
}

TEST_F(SignStoreTest, AFileThatCannotBeWrittenChangesNothing) {
    files.contents[kBase] = " 18 \r\n";
    store.load(6, "COM1");
    files.failing.insert(kSigns);
    const SignList before = store.list();
    const auto refused = store.apply([](SignList& l) { return l.edit("Insegna", "COM1", 4); });
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find("Impossibile scrivere"), std::string::npos);
    EXPECT_EQ(store.list(), before);
    EXPECT_EQ(files.contents[kBase], " 18 \r\n");  // put back as it was

    files.failing = {kBase};
    files.failing.erase(kSigns);
    EXPECT_TRUE(store.apply([](SignList& l) { return l.edit("Insegna", "COM1", 4); }));
    EXPECT_FALSE(files.exists(kSigns));
}

TEST_F(SignStoreTest, NotInUseUntilPathsAreSet) {
    SignStore unused{files};
    unused.load(6, "COM1");
    EXPECT_FALSE(unused.usable());
    EXPECT_TRUE(unused.apply([](SignList& l) { return l.add({"Banco", "COM3", 4}); }));
    EXPECT_TRUE(files.contents.empty());
}

}  // namespace
}  // namespace velora
