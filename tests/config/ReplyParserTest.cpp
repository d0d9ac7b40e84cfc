// Replies handed straight to the receive event, with the sequence state set as a conversation leaves it.

#include <gtest/gtest.h>

#include "ConfigBench.h"
#include "values/ListMeanings.h"

namespace config_test {
namespace {

const std::string kWorkedExample =
    "+CIPCFG:1,50,0,10,200,1800+CIPPACK:0,4C4F47+CIPPACK:1,4C4F47494E3A31303031+CIPMODE:1+CIPMUX:0+CSTT:"
    "CMNET,,"
    "+CIPSTART:TCP,host,2317,2OK";

struct ParserBench : ConfigBench {
  int apnDialogs = 0;
  ParserBench() {
    config.ShowApnDialog = [this](const std::optional<config::ApnParts>&) { ++apnDialogs; };
    // Values the DTU's listing must overwrite, so an unchanged field shows.
    form.edtl_HeartbeatTime.SetText("?");
    form.edt_WaitTime.SetText("?");
    form.edt_WaitLen.SetText("?");
    form.edt_RestartTime.SetText("?");
    form.edt_HeartbeatFormat.SetText("?");
    form.edt_DevID.SetText("?");
    form.edt_IP.SetText("?");
    form.edt_Port.SetText("?");
  }
  // Drives a read to the reply of query step, each earlier query answered in full with what the fields
  // hold, or a write-all to the reply of its step, each earlier command answered with a plain OK; what went
  // out on the way is forgotten.
  void Expect(int step) {
    const std::string format =
        std::to_string(values::DtuFormatCode(form.cbb_Com_Byte.ItemIndex(), form.cbb_Com_Stop.ItemIndex()));
    const std::string parity = std::to_string(values::DtuParityCode(form.cbb_Com_Parity.ItemIndex()));
    Drive([this] { config.StartRead(); }, step,
          {"\r\n+CIPR: " + form.cbb_Com_BaudRate.Text() + "\r\nOK\r\n",
           "\r\n+ICF: " + format + "," + parity + "\r\nOK\r\n"});
  }
  void ExpectWrite(int step) {
    Drive([this] { config.StartWriteAll(); }, step, {});
  }
  void Drive(const std::function<void()>& start, int step, const std::vector<std::string>& answers) {
    start();
    for (int answered = 1; answered < step; ++answered) {
      Receive(answered <= static_cast<int>(answers.size()) ? answers[answered - 1] : "\r\nOK\r\n");
    }
    line.sent.clear();
  }
};

TEST(Listing, TheWorkedExampleFillsEveryFieldInSevenPasses) {
  ParserBench bench;
  bench.form.cbb_APN.SetItemIndex(2);
  bench.form.ShowOtherApn("X");
  bench.form.cbb_NetProtocol.SetItemIndex(1);
  bench.Expect(3);
  bench.Receive("\r\n" + kWorkedExample + "\r\n");
  const auto& f = bench.form;
  EXPECT_EQ(f.edtl_HeartbeatTime.Text(), "50");
  EXPECT_EQ(f.edt_WaitTime.Text(), "10");
  EXPECT_EQ(f.edt_WaitLen.Text(), "200");
  EXPECT_EQ(f.edt_RestartTime.Text(), "1800");
  EXPECT_EQ(f.edt_HeartbeatFormat.Text(), "LOG");
  EXPECT_EQ(f.edt_DevID.Text(), "LOGIN:1001");
  EXPECT_EQ(f.cbb_APN.ItemIndex(), 0);
  EXPECT_EQ(f.edt_APN_other.Text(), "CMNET");
  EXPECT_FALSE(f.edt_APN_other.Enabled());
  EXPECT_EQ(f.cbb_NetProtocol.ItemIndex(), 0);
  EXPECT_EQ(f.edt_IP.Text(), "host");
  EXPECT_EQ(f.edt_Port.Text(), "2317");
  EXPECT_EQ(bench.apnDialogs, 0);
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 1);
  EXPECT_TRUE(bench.Idle());
}

TEST(Listing, EntriesInAnotherOrderAndNamesInLowerCaseAreRead) {
  ParserBench bench;
  bench.Expect(3);
  bench.Receive("+cipstart:TCP,a.b,1,2+CSTT:uninet,,+cipcfg:1,5,0,6,7,8+CIPPACK:1,41+OK");
  EXPECT_EQ(bench.form.edt_IP.Text(), "a.b");
  EXPECT_EQ(bench.form.cbb_APN.ItemIndex(), 1);
  EXPECT_EQ(bench.form.edt_APN_other.Text(), "UNINET");
  EXPECT_EQ(bench.form.edt_RestartTime.Text(), "8");
  EXPECT_EQ(bench.form.edt_DevID.Text(), "A");
}

struct ApnRow {
  const char* name;
  std::string entry;       // the listing's CSTT entry and what follows it
  std::string field;       // the APN field afterwards, as the APN dialog would have built it
  config::ApnParts shown;  // what the dialog shows
};

class ListedApn : public testing::TestWithParam<ApnRow> {};

TEST_P(ListedApn, AnApnOfTheDtusOwnKeepsItsAccountAndOpensTheDialogWithIt) {
  ParserBench bench;
  bench.form.cbb_APN.SetItemIndex(0);
  std::optional<config::ApnParts> shown;
  bench.config.ShowApnDialog = [&](const std::optional<config::ApnParts>& listed) {
    ++bench.apnDialogs;
    shown = listed;
    EXPECT_EQ(bench.form.edt_APN_other.Text(), GetParam().field);
    EXPECT_TRUE(bench.form.edt_APN_other.Enabled());
  };
  bench.Expect(3);
  bench.Receive(GetParam().entry + "+CIPSTART:TCP,h,1,2OK");
  EXPECT_EQ(bench.apnDialogs, 1);
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->name, GetParam().shown.name);
  EXPECT_EQ(shown->account, GetParam().shown.account);
  EXPECT_EQ(shown->password, GetParam().shown.password);
  EXPECT_EQ(bench.form.cbb_APN.ItemIndex(), 0);
  EXPECT_EQ(bench.form.edt_IP.Text(), "h") << "the rest of the listing is read after the dialog";
  EXPECT_EQ(config::SetCommandText(bench.form, 1), "AT+CSTT=\"" + GetParam().field + "\"\r\n")
      << "a write after the read gives the DTU back what it listed";
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ListedApn,
    testing::Values(
        ApnRow{"NameOnly", "+CSTT:myapn,,", "MYAPN", {"MYAPN", "", ""}},
        ApnRow{"AccountAndPassword", "+CSTT:myapn,user,pw", "MYAPN\",\"user\",\"pw", {"MYAPN", "user", "pw"}},
        ApnRow{"AccountOfAFixedApn", "+CSTT:cmnet,user,", "CMNET\",\"user", {"CMNET", "user", ""}},
        // A trail byte that looks like "a" stays as it is: only ASCII letters are upper-cased.
        ApnRow{"GbkName", "+CSTT:\x81\x61pn,,", "\x81\x61PN", {"\x81\x61PN", "", ""}}),
    ByName());

TEST(Listing, APacketAsTheLastEntryEmptiesItsField) {
  ParserBench bench;
  bench.Expect(3);
  bench.Receive("+CIPCFG:1,5,0,6,7,8+CIPPACK:0,4C4F47OK");
  EXPECT_EQ(bench.form.edt_HeartbeatFormat.Text(), "");
  EXPECT_EQ(bench.form.edt_RestartTime.Text(), "8");
}

TEST(Listing, AServerEntryEndingAtThePortLeavesThePort) {
  ParserBench bench;
  bench.Expect(3);
  bench.Receive("+CIPSTART:udp,10.0.0.1,5000OK");
  EXPECT_EQ(bench.form.cbb_NetProtocol.Text(), "UDP");
  EXPECT_EQ(bench.form.edt_IP.Text(), "10.0.0.1");
  EXPECT_EQ(bench.form.edt_Port.Text(), "?");
}

TEST(Listing, AnOddDigitCountIsKeptWhenTickedAndLosesItsLastDigitOtherwise) {
  ParserBench ticked;
  ticked.form.chk_DevID.SetChecked(true);
  ticked.Expect(3);
  ticked.Receive("+CIPPACK:1,4c4F4+CIPMODE:1OK");
  EXPECT_EQ(ticked.form.edt_DevID.Text(), "4c4F4");

  ParserBench unticked;
  unticked.Expect(3);
  unticked.Receive("+CIPPACK:1,4c4F4+CIPMODE:1OK");
  EXPECT_EQ(unticked.form.edt_DevID.Text(), "LO");
}

TEST(Listing, ABadHexPairEndsBothDirectionsSilentlyKeepingEarlierFields) {
  ParserBench bench;
  bench.Expect(3);
  bench.config.StartWriteAll();
  bench.line.sent.clear();
  const size_t lines = bench.Log().size();
  bench.Receive("+CIPCFG:1,5,0,6,7,8+CIPPACK:0,4G4F+CIPSTART:TCP,h,1,2OK");
  EXPECT_EQ(bench.form.edt_RestartTime.Text(), "8");
  EXPECT_EQ(bench.form.edt_HeartbeatFormat.Text(), "?");
  EXPECT_EQ(bench.form.edt_IP.Text(), "?");
  EXPECT_TRUE(bench.Idle());
  EXPECT_EQ(bench.Log().size(), lines + 3) << "the received text, the next write step and the verdict";
  EXPECT_EQ(bench.Log().back().rfind("  [Note]: The DTU's reply could not be read, command: AT+CSTT=", 0), 0u)
      << bench.Log().back();
  // The write check ran first and accepted: step 2 went out before the listing failed.
  ASSERT_EQ(bench.line.sent.size(), 1u);
  EXPECT_EQ(bench.line.sent[0].text.rfind("AT+CIPCFG=", 0), 0u);
}

struct QueryRow {
  const char* name;
  int step;
  std::string reply;
  std::string rate, bits, stop, parity;
  bool endsInError;
};

class QueryReply : public testing::TestWithParam<QueryRow> {};

TEST_P(QueryReply, SetsTheSerialFields) {
  ParserBench bench;
  bench.form.cbb_Com_BaudRate.SetItemIndex(2);
  bench.form.cbb_Com_Parity.SetItemIndex(2);
  bench.form.cbb_Com_Byte.SetItemIndex(1);
  bench.form.cbb_Com_Stop.SetItemIndex(1);
  bench.Expect(GetParam().step);
  bench.Receive(GetParam().reply);
  EXPECT_EQ(bench.form.cbb_Com_BaudRate.Text(), GetParam().rate);
  EXPECT_EQ(bench.form.cbb_Com_Byte.Text(), GetParam().bits);
  EXPECT_EQ(bench.form.cbb_Com_Stop.Text(), GetParam().stop);
  EXPECT_EQ(bench.form.cbb_Com_Parity.Text(), GetParam().parity);
  if (GetParam().endsInError) {
    EXPECT_TRUE(bench.Idle());
    EXPECT_TRUE(bench.line.sent.empty()) << "no further query";
  } else {
    EXPECT_EQ(bench.config.ReadStep(), GetParam().step + 1);
    EXPECT_EQ(bench.line.sent.size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, QueryReply,
    testing::Values(
        QueryRow{"RateInTheList", 1, "\r\n+CIPR: 9600\r\n\r\nOK\r\n", "9600", "8", "2", "EVEN", false},
        QueryRow{"RateNotInTheList", 1, "+CIPR:12345OK", "1200", "8", "2", "EVEN", false},
        QueryRow{"RateNameIsCaseSensitive", 1, "+cipr:9600OK", "1200", "8", "2", "EVEN", false},
        QueryRow{"RateWithoutOk", 1, "+CIPR:9600", "1200", "8", "2", "EVEN", false},
        QueryRow{"Format7N1Even", 2, "\r\n+ICF: 5,1\r\n\r\nOK\r\n", "1200", "7", "1", "EVEN", false},
        QueryRow{"Format8N2Odd", 2, "+ICF:1,0OK", "1200", "8", "2", "ODD", false},
        QueryRow{"UnknownCodesLeaveTheLists", 2, "+ICF:2,2OK", "1200", "8", "2", "EVEN", false},
        QueryRow{"LetterForTheFormat", 2, "+ICF:X,1OK", "1200", "8", "2", "EVEN", true},
        QueryRow{"NoParityDigit", 2, "+ICF:4OK", "1200", "7", "2", "EVEN", true},
        QueryRow{"AnotherNameIsNoFormat", 2, "+CIPR:X,1OK", "1200", "8", "2", "EVEN", false}),
    ByName());

TEST(Intake, AOneByteChunkIsIgnoredAndAPureEchoIsNotLogged) {
  ParserBench bench;
  bench.config.StartRead();
  const size_t lines = bench.Log().size();
  bench.Receive("\n");
  bench.Receive("AT+CIPR?\r\n");
  EXPECT_EQ(bench.Log().size(), lines);
  EXPECT_EQ(bench.config.ReadStep(), 1);
  EXPECT_TRUE(bench.form.tmr_TimeOut.Enabled());
}

TEST(Intake, AnEchoBeforeTheReplyIsRemovedFromTheLog) {
  ParserBench bench;
  bench.config.StartRead();
  bench.Receive("AT+CIPR?\r\n+CIPR:9600OK");
  const auto& log = bench.Log();
  EXPECT_EQ(log[log.size() - 2], "  [Receive]:+CIPR:9600OK");
  EXPECT_EQ(bench.form.cbb_Com_BaudRate.Text(), "9600");
}

TEST(Intake, ALineEndAloneIsAReplyThatEndsAWriteAndMovesAReadOn) {
  ParserBench bench;
  bench.ExpectWrite(3);
  bench.Expect(1);
  bench.Receive("\r\n");
  EXPECT_FALSE(bench.config.WriteActive());
  EXPECT_EQ(bench.config.WriteStep(), 1);
  EXPECT_EQ(bench.config.ReadStep(), 2);
  EXPECT_EQ(bench.line.SentTexts(), std::vector<std::string>{"AT+ICF?\r\n"});
}

struct WriteReplyRow {
  const char* name;
  std::string reply;
  bool accepted;
};

class WriteReply : public testing::TestWithParam<WriteReplyRow> {};

TEST_P(WriteReply, OnlyAnOkWithoutErrorAcceptsAStep) {
  ParserBench bench;
  bench.ExpectWrite(3);
  bench.Receive(GetParam().reply);
  EXPECT_EQ(bench.config.WriteActive(), GetParam().accepted);
  EXPECT_EQ(bench.config.WriteStep(), GetParam().accepted ? 4 : 1);
  EXPECT_EQ(bench.line.sent.size(), GetParam().accepted ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Replies, WriteReply,
                         testing::Values(WriteReplyRow{"Ok", "\r\nOK\r\n", true},
                                         WriteReplyRow{"OkSpreadOverLines", "O\r\nK", true},
                                         WriteReplyRow{"Error", "\r\nERROR\r\n", false},
                                         WriteReplyRow{"ErrorAfterOk", "OK\r\nERROR", false},
                                         WriteReplyRow{"CapitalOAlone", "\r\nOVERFLOW\r\n", false},
                                         WriteReplyRow{"LowerCaseOk", "ok", false},
                                         // An echo cut short at its CR is not dropped and takes part.
                                         WriteReplyRow{"ShortEchoWithOk", "AT+CIPPACK=0,\"4C4F47\"\rOK",
                                                       true}),
                         ByName());

}  // namespace
}  // namespace config_test
