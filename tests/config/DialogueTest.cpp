// Whole conversations with the simulated DTU on the virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ConfigBench.h"
#include "config/Encoding.h"
#include "config/PortSearch.h"
#include "platform/TextCodec.h"
#include "tools/dtu-sim/DtuSimulator.h"

namespace config_test {
namespace {

using config::TAction;
using config::TOutcome;
using config::TSequenceEnd;
using dtusim::LineFormat;

struct DialogueBench : ConfigBench {
  dtusim::DtuSimulator dtu;
  DialogueBench() { line.Attach(dtu); }

  void SetPcLine(int baudIndex, int parity, int byte, int stop) {
    form.cbb_Open_BaudRate.SetItemIndex(baudIndex);
    form.cbb_Open_Parity.SetItemIndex(parity);
    form.cbb_Open_Byte.SetItemIndex(byte);
    form.cbb_Open_Stop.SetItemIndex(stop);
    port.OpenComPort();
  }
};

const std::vector<std::string> kQueries = {"AT+CIPR?\r\n", "AT+ICF?\r\n", "AT+CIPSCONT?\r\n"};

TEST(Read, ACompleteReadFillsEveryField) {
  DialogueBench bench;
  auto& s = bench.dtu.settings;
  s.apn = "UNINET";
  s.heartbeatTime = "60";
  s.waitTime = "20";
  s.waitLength = "512";
  s.restartTime = "3600";
  s.heartbeatPacketHex = config::AsciiToHex("HB");
  s.registrationPacketHex = config::AsciiToHex("ID:7");
  s.protocol = "UDP";
  s.server = "10.0.0.1";
  s.port = "5000";
  s.formatCode = 4;  // 7 data bits, 2 stop bits
  s.parityCode = 1;  // even
  s.baudRate = 9600;
  bench.SetPcLine(5, 2, 0, 1);

  bench.form.btn_Read.Click();
  bench.loop.AdvanceBy(1000);

  EXPECT_EQ(bench.line.SentTexts(), kQueries);
  const auto& f = bench.form;
  EXPECT_EQ(f.cbb_Com_BaudRate.Text(), "9600");
  EXPECT_EQ(f.cbb_Com_Byte.Text(), "7");
  EXPECT_EQ(f.cbb_Com_Stop.Text(), "2");
  EXPECT_EQ(f.cbb_Com_Parity.Text(), "EVEN");
  EXPECT_EQ(f.edtl_HeartbeatTime.Text(), "60");
  EXPECT_EQ(f.edt_WaitTime.Text(), "20");
  EXPECT_EQ(f.edt_WaitLen.Text(), "512");
  EXPECT_EQ(f.edt_RestartTime.Text(), "3600");
  EXPECT_EQ(f.edt_HeartbeatFormat.Text(), "HB");
  EXPECT_EQ(f.edt_DevID.Text(), "ID:7");
  EXPECT_EQ(f.cbb_APN.ItemIndex(), 1);
  EXPECT_EQ(f.edt_APN_other.Text(), "UNINET");
  EXPECT_FALSE(f.edt_APN_other.Enabled());
  EXPECT_EQ(f.cbb_NetProtocol.Text(), "UDP");
  EXPECT_EQ(f.edt_IP.Text(), "10.0.0.1");
  EXPECT_EQ(f.edt_Port.Text(), "5000");
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 1);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::Read, TOutcome::Succeeded, kQueries[2]}}));
  EXPECT_TRUE(bench.Idle());
  EXPECT_FALSE(f.tmr_TimeOut.Enabled());
}

TEST(Read, ARefusedQueryStillMovesTheReadOnButItIsNotReportedAsRead) {
  DialogueBench bench;
  bench.dtu.faults.refuse = {"ICF"};
  bench.form.btn_Read.Click();
  bench.loop.AdvanceBy(1000);
  EXPECT_EQ(bench.line.SentTexts(), kQueries);
  EXPECT_EQ(bench.form.edt_IP.Text(), "dtu.example.com") << "the listing was still read";
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 0);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::Read, TOutcome::Refused, kQueries[1]}}));
  EXPECT_EQ(bench.Log().back(), "  [Note]: The DTU refused the command: AT+ICF?");
  EXPECT_TRUE(bench.Idle());
}

// DTUs that answer a little differently: the read ends with the verdict naming the first query whose reply
// did not report all its fields, and every field that stayed as it was.
struct ReadVerdictRow {
  const char* name;
  std::map<std::string, std::string> answers;
  std::string command;
  std::vector<ui::TLabel ui::TMainFormDesign::*> unchanged;
};

class ReadVerdict : public testing::TestWithParam<ReadVerdictRow> {};

TEST_P(ReadVerdict, AReadThatWasNotToldEveryFieldIsNotReportedAsRead) {
  DialogueBench bench;
  bench.dtu.faults.answer = GetParam().answers;
  bench.form.btn_Read.Click();
  bench.loop.AdvanceBy(1000);
  EXPECT_EQ(bench.line.SentTexts(), kQueries) << "every query still goes out";
  std::string expected = "  [Note]: The DTU's reply could not be read, command: " + GetParam().command;
  for (size_t i = 0; i < GetParam().unchanged.size(); ++i) {
    expected +=
        (i == 0 ? "; fields left unchanged: " : ", ") + (bench.form.*GetParam().unchanged[i]).Caption();
  }
  EXPECT_EQ(bench.Log().back(), expected);
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 0);
  ASSERT_EQ(bench.ends.size(), 1u);
  EXPECT_EQ(bench.ends[0].outcome, TOutcome::Unreadable);
  EXPECT_EQ(bench.ends[0].command, GetParam().command + "\r\n");
  EXPECT_EQ(bench.ends[0].unchanged.size(), GetParam().unchanged.size());
  EXPECT_TRUE(bench.Idle());
}

using F = ui::TMainFormDesign;
INSTANTIATE_TEST_SUITE_P(
    Answers, ReadVerdict,
    testing::Values(
        ReadVerdictRow{"BareOk",
                       {{"CIPR", "\r\nOK\r\n"}, {"ICF", "\r\nOK\r\n"}, {"CIPSCONT", "\r\nOK\r\n"}},
                       "AT+CIPR?",
                       {&F::lbl_ComBaudRate, &F::lbl_ComParam, &F::lbl_APN, &F::lbl_IP, &F::lbl_NetProtocol,
                        &F::lbl_Port, &F::lbl_DevID, &F::lbl_HeartbeatFormat, &F::lbl_HeartbeatTime,
                        &F::lbl_WaitLen, &F::lbl_WaitTime, &F::lbl_RestartTime}},
        ReadVerdictRow{
            "RateNotInTheList", {{"CIPR", "\r\n+CIPR: 12345\r\nOK\r\n"}}, "AT+CIPR?", {&F::lbl_ComBaudRate}},
        ReadVerdictRow{
            "UnknownFormatCode", {{"ICF", "\r\n+ICF: 2,3\r\nOK\r\n"}}, "AT+ICF?", {&F::lbl_ComParam}},
        ReadVerdictRow{
            "ListingWithoutPacketsOrApn",
            {{"CIPSCONT", "\r\n+CIPCFG: 1,50,0,10,200,1800\r\n+CIPSTART: \"TCP\",\"h\",2317,2\r\nOK\r\n"}},
            "AT+CIPSCONT?",
            {&F::lbl_APN, &F::lbl_DevID, &F::lbl_HeartbeatFormat}}),
    ByName());

TEST(WriteAll, TenCommandsInOrderWithThePcPortFollowingTheDtu) {
  DialogueBench bench;
  auto& f = bench.form;
  f.edt_IP.SetText("10.1.2.3");
  f.edt_Port.SetText("6000");
  f.cbb_NetProtocol.SetItemIndex(1);
  f.CipmuxText = "AT+CIPMUX=1";
  f.cbb_Com_BaudRate.SetItemIndex(5);  // 9600
  f.cbb_Com_Parity.SetItemIndex(2);    // even
  f.cbb_Com_Byte.SetItemIndex(0);      // 7
  f.cbb_Com_Stop.SetItemIndex(1);      // 2

  f.btn_SetAll.Click();
  bench.loop.AdvanceBy(2000);

  const std::vector<std::string> expected = {"AT+CSTT=\"CMNET\"\r\n",
                                             "AT+CIPCFG=1,50,0,10,200,1800\r\n",
                                             "AT+CIPPACK=0,\"4C4F47\"\r\n",
                                             "AT+CIPPACK=1,\"4C4F47494E3A31303031\"\r\n",
                                             "AT+CIPMUX=1\r\n",
                                             "AT + CIPMODE = 1\r\n",
                                             "AT+CIPSCONT=0,\"UDP\",\"10.1.2.3\", 6000,2\r\n",
                                             "AT+ICF=4,1\r\n",
                                             "AT+CIPR=9600\r\n",
                                             "ATW\r\n"};
  ASSERT_EQ(bench.line.SentTexts(), expected);
  const auto& sent = bench.line.sent;
  const LineFormat oldLine{115200, 8, 'N', 1};
  for (int step = 0; step < 8; ++step) {
    EXPECT_EQ(sent[step].openCount, 0) << step;
    EXPECT_EQ(sent[step].format, oldLine) << step;
  }
  EXPECT_EQ(sent[8].openCount, 1);
  EXPECT_EQ(sent[8].format, (LineFormat{115200, 7, 'E', 2})) << "new format, old baud rate";
  EXPECT_EQ(sent[9].openCount, 2);
  EXPECT_EQ(sent[9].format, (LineFormat{9600, 7, 'E', 2}));
  EXPECT_GE(sent[8].at - sent[7].at, 200u) << "the adapter gets its pause";
  EXPECT_EQ(bench.line.lostBursts, 0);
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 1);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::WriteAll, TOutcome::Succeeded, "ATW\r\n"}}));
  EXPECT_TRUE(bench.Idle());
  EXPECT_TRUE(bench.dtu.settings.saved);
  EXPECT_EQ(bench.dtu.settings.server, "10.1.2.3");
  EXPECT_EQ(f.cbb_Open_BaudRate.Text(), "9600") << "the PC port keeps the new settings";
}

TEST(WriteAll, AFailedReopeningEndsTheWriteAtStepNineAsClosedWithoutATimeOut) {
  DialogueBench bench;
  bench.line.failOpen = true;
  bench.form.btn_SetAll.Click();
  bench.loop.AdvanceBy(20000);
  EXPECT_EQ(bench.line.sent.size(), 8u);
  EXPECT_EQ(bench.Count(lang::lang_Info_ComInuse), 1);
  EXPECT_EQ(bench.Count(lang::lang_Info_ComIsOpen), 1);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  EXPECT_EQ(bench.ends,
            (std::vector<TSequenceEnd>{{TAction::WriteAll, TOutcome::PortClosed, "AT+CIPR=115200\r\n"}}));
  EXPECT_TRUE(bench.Idle());
}

TEST(RestoreDefaults, WithThePortClosedTheFieldsChangeAndNothingIsSent) {
  DialogueBench bench;
  auto& f = bench.form;
  bench.port.CloseComPort();
  f.cbb_APN.SetItemIndex(2);
  f.ShowOtherApn("MYAPN");
  f.edt_Port.SetText("1");
  f.cbb_Com_BaudRate.SetItemIndex(0);
  f.cbb_Com_Byte.SetItemIndex(0);
  f.edtl_HeartbeatTime.SetText("9");
  f.chk_DevID.SetChecked(true);

  f.btn_Default.Click();
  bench.loop.AdvanceBy(10000);

  EXPECT_EQ(f.cbb_APN.ItemIndex(), 0);
  EXPECT_EQ(f.edt_APN_other.Text(), "CMNET");
  EXPECT_TRUE(f.edt_APN_other.Enabled()) << "the look follows the APN choice, not restore-defaults";
  EXPECT_EQ(f.edt_Port.Text(), "2317");
  EXPECT_EQ(f.cbb_Com_BaudRate.Text(), "115200");
  EXPECT_EQ(f.cbb_Com_Byte.Text(), "8");
  EXPECT_EQ(f.edtl_HeartbeatTime.Text(), "50");
  EXPECT_TRUE(f.chk_DevID.Checked()) << "the HEX boxes are not touched";
  EXPECT_TRUE(bench.line.sent.empty());
  EXPECT_EQ(bench.Count(lang::lang_Info_ComIsOpen), 1);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  EXPECT_EQ(
      bench.ends,
      (std::vector<TSequenceEnd>{{TAction::RestoreDefaults, TOutcome::PortClosed, "AT+CSTT=\"CMNET\"\r\n"}}));
  EXPECT_TRUE(bench.Idle());
}

// The DTU refuses exactly one step; the write must stop there, without reporting success.
class RefusedStep : public testing::TestWithParam<int> {};

TEST_P(RefusedStep, EndsTheWriteSilentlyAndANewWriteStartsOver) {
  DialogueBench bench;
  const int refused = GetParam();
  int commands = 0;
  bench.line.peer = [&](std::string_view bytes, const LineFormat& with) {
    auto bursts = bench.dtu.Receive(bytes, with);
    if (++commands == refused) {
      for (auto& burst : bursts) burst.bytes = "\r\nERROR\r\n";
    }
    return bursts;
  };
  bench.form.btn_SetAll.Click();
  bench.loop.AdvanceBy(5000);
  EXPECT_EQ(static_cast<int>(bench.line.sent.size()), refused);
  EXPECT_EQ(bench.ends,
            (std::vector<TSequenceEnd>{{TAction::WriteAll, TOutcome::Refused, bench.line.sent.back().text}}));
  EXPECT_EQ(bench.Log().back(), "  [Note]: The DTU refused the command: " +
                                    config::CommandWithoutLineEnd(bench.line.sent.back().text));
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 0);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  EXPECT_TRUE(bench.Idle());

  const size_t before = bench.line.sent.size();
  bench.form.btn_SetAll.Click();
  ASSERT_GT(bench.line.sent.size(), before);
  EXPECT_EQ(bench.line.sent[before].text, "AT+CSTT=\"CMNET\"\r\n");
}

INSTANTIATE_TEST_SUITE_P(EachStep, RefusedStep, testing::Range(1, 11));

struct EchoRow {
  const char* name;
  dtusim::EchoMode mode;
  bool alone;
  bool completes;
};

class Echo : public testing::TestWithParam<EchoRow> {};

TEST_P(Echo, WriteAndReadGetThroughUnlessAShortEchoComesAlone) {
  DialogueBench bench;
  bench.dtu.faults.echo = GetParam().mode;
  bench.dtu.faults.echoAlone = GetParam().alone;
  bench.form.btn_SetAll.Click();
  bench.loop.AdvanceBy(3000);
  bench.form.btn_Read.Click();
  bench.loop.AdvanceBy(3000);

  const int success = GetParam().completes ? 1 : 0;
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), success);
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), success);
  EXPECT_TRUE(bench.Idle());
  for (const std::string& line : bench.Log()) {
    EXPECT_EQ(line.find("[Receive]:AT"), std::string::npos) << "the echo is dropped: " << line;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, Echo,
                         testing::Values(EchoRow{"Exact", dtusim::EchoMode::Exact, false, true},
                                         EchoRow{"ExactAlone", dtusim::EchoMode::Exact, true, true},
                                         EchoRow{"CutShort", dtusim::EchoMode::CutShort, false, true},
                                         EchoRow{"CutShortAlone", dtusim::EchoMode::CutShort, true, true},
                                         EchoRow{"LfOnly", dtusim::EchoMode::LfOnly, false, true},
                                         EchoRow{"LfOnlyAlone", dtusim::EchoMode::LfOnly, true, true},
                                         EchoRow{"WithoutLineEnd", dtusim::EchoMode::Bare, false, true},
                                         EchoRow{"WithoutLineEndAlone", dtusim::EchoMode::Bare, true, true}),
                         ByName());

TEST(SplitReply, EachPartIsTakenAsAWholeReply) {
  DialogueBench bench;
  bench.dtu.faults.splitPauseMs = 100;
  bench.form.cbb_Com_BaudRate.SetItemIndex(5);
  bench.form.btn_Read.Click();
  bench.loop.AdvanceBy(3000);
  EXPECT_EQ(bench.form.cbb_Com_BaudRate.Text(), "9600") << "a rate cut short is not in the list";
  // The first half of the format reply ("+ICF: 3,") came before the rest of the rate: it lacks the parity
  // digit, which ends the read there.
  EXPECT_EQ(bench.line.SentTexts(), (std::vector<std::string>{kQueries[0], kQueries[1]}));
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 0);
  ASSERT_EQ(bench.ends.size(), 1u);
  EXPECT_EQ(bench.ends[0].outcome, TOutcome::Unreadable);
  EXPECT_EQ(bench.ends[0].command, kQueries[1]);
  // The rate was cut short and so not in the list; nothing after it was read.
  const std::vector<std::string> unchanged = {
      "设备波特率", "检验/数据/停止", "APN账号",        "目标IP或域名", "网络协议",     "目标端口",
      "注册包格式", "心跳包格式",     "心跳包发送间隔", "串口打包长度", "串口打包时间", "自动重启时间"};
  std::vector<std::string> shown;
  for (const std::string& caption : bench.ends[0].unchanged) shown.push_back(platform::GbkToUtf8(caption));
  EXPECT_EQ(shown, unchanged);
  EXPECT_TRUE(bench.Idle());
}

TEST(Banner, DuringAReadItNeitherAdvancesNorStopsTheTimeOut) {
  DialogueBench bench;
  bench.dtu.faults.silent = true;
  bench.form.btn_Read.Click();
  bench.loop.AdvanceBy(1000);
  bench.line.Deliver(bench.dtu.PowerOn());
  bench.loop.AdvanceBy(200);
  bench.line.Deliver(bench.dtu.PowerOn());
  bench.loop.AdvanceBy(100);
  EXPECT_TRUE(bench.config.ReadActive());
  EXPECT_EQ(bench.config.ReadStep(), 1);
  EXPECT_EQ(bench.line.sent.size(), 1u);
  EXPECT_TRUE(bench.form.tmr_TimeOut.Enabled());

  bench.loop.AdvanceBy(1199);  // 1499 ms after the first banner
  EXPECT_EQ(bench.Count(lang::lang_Info_SendInfo), 0);
  bench.loop.AdvanceBy(1);
  EXPECT_EQ(bench.Count(lang::lang_Info_SendInfo), 1);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  bench.loop.AdvanceBy(500);  // 3000 ms after the query
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 1);
  EXPECT_EQ(bench.Count(lang::lang_Info_SendInfo), 1) << "the second banner gave no second note";
  EXPECT_TRUE(bench.Idle());
}

struct TimeOutRow {
  const char* name;
  int baudIndex;
  uint32_t interval;
  uint32_t readInterval;  // the quiet time that ends a chunk at that rate
};

class TimeOut : public testing::TestWithParam<TimeOutRow> {};

TEST_P(TimeOut, EndsBothDirectionsOnceAfterTheIntervalOfThePcBaudRate) {
  DialogueBench bench;
  bench.dtu.faults.silent = true;
  bench.form.cbb_Open_BaudRate.SetItemIndex(GetParam().baudIndex);
  bench.port.OpenComPort();
  bench.form.btn_SetAll.Click();
  bench.loop.AdvanceBy(1000);
  bench.form.btn_Read.Click();  // a running countdown is not restarted
  bench.loop.AdvanceBy(GetParam().interval - 1001);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0);
  EXPECT_TRUE(bench.config.WriteActive() && bench.config.ReadActive());
  bench.loop.AdvanceBy(1);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 1);
  EXPECT_EQ(bench.ends, (std::vector<TSequenceEnd>{{TAction::WriteAll, TOutcome::TimedOut, kQueries[0]},
                                                   {TAction::Read, TOutcome::TimedOut, kQueries[0]}}));
  EXPECT_EQ(bench.line.ReadInterval(), GetParam().readInterval);
  EXPECT_TRUE(bench.Idle());
  bench.loop.AdvanceBy(30000);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 1);

  // A late reply is only logged.
  const size_t lines = bench.Log().size();
  bench.Receive("\r\nOK\r\n");
  EXPECT_EQ(bench.line.sent.size(), 2u);
  EXPECT_TRUE(bench.Idle());
  EXPECT_EQ(bench.Log().size(), lines + 2) << "the receive line and the OK";
}

INSTANTIATE_TEST_SUITE_P(PcBaudRates, TimeOut,
                         testing::Values(TimeOutRow{"At115200", 10, 3000, 50},
                                         TimeOutRow{"At4800", 4, 3000, 80},
                                         TimeOutRow{"At1200", 2, 3000, 150},
                                         TimeOutRow{"At600", 1, 5000, 300},
                                         TimeOutRow{"At300", 0, 8000, 500}),
                         ByName());

TEST(Nested, AReplyDuringThePauseBeforeStepNineIsJudgedAsStepNinesReply) {
  DialogueBench bench;
  bench.line.peer = [&](std::string_view bytes, const LineFormat& with) {
    auto bursts = bench.dtu.Receive(bytes, with);
    // Noise 100 ms after the DTU accepted step 8: inside the pause.
    if (bytes.starts_with("AT+ICF=")) bench.line.Inject("\r\nERROR\r\n", 100);
    return bursts;
  };
  bench.form.btn_SetAll.Click();
  bench.loop.AdvanceBy(3000);
  ASSERT_EQ(bench.line.sent.size(), 9u) << "step 9 still goes out after the pause, but nothing follows";
  EXPECT_EQ(bench.line.sent[8].text, "AT+CIPR=115200\r\n");
  EXPECT_EQ(bench.Count(lang::lang_Info_SetSuccess), 0);
  EXPECT_TRUE(bench.Idle());
  // The noise was handled before step 9 was logged as sent.
  const auto& log = bench.Log();
  const auto noise = std::find(log.begin(), log.end(), "ERROR");
  const auto step9 = std::find(log.begin(), log.end(), "  [Send]:AT+CIPR=115200");
  EXPECT_LT(noise, step9);
}

struct SearchRow {
  const char* name;
  bool silent;
  uint32_t dtuRate;
  std::optional<config::LineChoice> found;
  size_t tries;
};

class PortSearch : public testing::TestWithParam<SearchRow> {};

TEST_P(PortSearch, FindsTheLineSettingsTheDtuAnswersAtAndHandsTheLineBack) {
  DialogueBench bench;
  bench.dtu.faults.silent = GetParam().silent;
  bench.dtu.settings.baudRate = GetParam().dtuRate;
  config::TPortSearch search(bench.form, bench.port, bench.config, bench.lang, bench.loop);
  search.Start();
  bench.loop.AdvanceBy(600000);
  EXPECT_FALSE(search.Running());
  EXPECT_EQ(search.Found(), GetParam().found);
  EXPECT_EQ(bench.line.sent.size(), GetParam().tries);
  for (const auto& sent : bench.line.sent) EXPECT_EQ(sent.text, kQueries[0]);
  EXPECT_EQ(bench.Count(lang::lang_receive_Timeout), 0) << "the search keeps its own time";
  EXPECT_TRUE(bench.line.Opened());
  if (GetParam().found) {
    EXPECT_EQ(bench.form.cbb_Open_BaudRate.Text(), std::to_string(GetParam().dtuRate));
    EXPECT_EQ(bench.Log().back(), "  [Note]: The DTU answers at " + config::Describe(*GetParam().found));
    // The conversation has its replies back.
    bench.form.btn_Read.Click();
    bench.loop.AdvanceBy(1000);
    EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 1);
  } else {
    EXPECT_EQ(bench.form.cbb_Open_BaudRate.Text(), "115200") << "the lists get back what they held";
    EXPECT_EQ(bench.Log().back(), "  [Note]: The DTU answered at no line settings.");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Dtus, PortSearch,
    testing::Values(SearchRow{"AtTheFirstTry", false, 115200, config::LineChoice{115200, 8, 'N', 1}, 1},
                    SearchRow{"At9600", false, 9600, config::LineChoice{9600, 8, 'N', 1}, 2},
                    SearchRow{"AtNone", true, 115200, std::nullopt, config::LineCandidates().size()}),
    ByName());

TEST(Closing, AShutDownConversationSendsAndHandlesNothingMore) {
  DialogueBench bench;
  bench.dtu.faults.replyDelayMs = 50;
  bench.form.btn_SetAll.Click();
  bench.loop.AdvanceBy(120);  // two steps answered, the third reply on its way
  ASSERT_EQ(bench.line.sent.size(), 3u);
  ASSERT_GT(bench.line.PendingChunks(), 0u);
  const size_t lines = bench.Log().size();
  bench.config.Shutdown();
  bench.loop.AdvanceBy(20000);
  EXPECT_EQ(bench.line.sent.size(), 3u);
  EXPECT_EQ(bench.Log().size(), lines) << "neither the queued reply nor a time-out is handled";
  EXPECT_TRUE(bench.ends.empty()) << "whoever shut it down tells the user";
  EXPECT_TRUE(bench.Idle());
  EXPECT_FALSE(bench.form.tmr_TimeOut.Enabled());
  EXPECT_FALSE(bench.form.tmr_SendInfo.Enabled());
}

TEST(Nested, TheApnDialogOfAReadKeepsTheLineAndTheTimersRunning) {
  DialogueBench bench;
  bench.dtu.settings.apn = "myapn";
  bench.dtu.settings.apnAccount = "user";
  bench.dtu.settings.apnPassword = "pw";
  bench.dtu.settings.server = "host.example";
  int shown = 0;
  bench.config.ShowApnDialog = [&](const std::optional<config::ApnParts>&) {
    ++shown;
    EXPECT_TRUE(bench.form.edt_APN_other.Enabled());
    EXPECT_EQ(bench.form.cbb_APN.ItemIndex(), 0) << "the choice is left as it was";
    bench.line.Deliver(bench.dtu.PowerOn());
    bench.loop.WaitWithMessages(2000);
    EXPECT_EQ(bench.Count(lang::lang_Info_SendInfo), 1) << "handled while the dialog is open";
  };
  bench.form.btn_Read.Click();
  bench.loop.AdvanceBy(3000);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(bench.form.edt_IP.Text(), "host.example") << "the listing goes on after the dialog";
  EXPECT_EQ(bench.Count(lang::lang_Info_ReadSuccess), 1);
  EXPECT_EQ(config::SetCommandText(bench.form, 1), "AT+CSTT=\"MYAPN\",\"user\",\"pw\"\r\n");
  EXPECT_TRUE(bench.Idle());
}

}  // namespace
}  // namespace config_test
