// The port control over a real pseudo-terminal, with the simulated DTU on the master side, in real time.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/TextCodec.h"
#include "support/ProgramFixture.h"

namespace {

using platform::Utf8ToGbk;
using testing_support::ProgramOnPty;

const std::string kComInuseZh =
    Utf8ToGbk("[提示]：串口不存在或被占用，请检查该串口是否存在或关闭其他占用此串口的软件！");
const std::string kComInuseEn =
    "[Note]: Com is in use or not existing, please close other software which use this Com Port.";
const std::string kComIsOpenZh = Utf8ToGbk("[提示]：串口未开启！请先打开串口。");
const std::string kComIsOpenEn = "[Note]: Com is not Opened, Open Com first, Please!";

class PortControlE2E : public ProgramOnPty {};

TEST_F(PortControlE2E, StartUpOpensThePortFromTheButtonAndTheButtonTogglesIt) {
  StartProgram(false);
  EXPECT_TRUE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().btn_Com.Caption(), "Close");
  EXPECT_EQ(Main().btn_Com.Picture(), Main().img_Open.Picture);
  EXPECT_NE(Main().Comm1.ComHandle(), 0u);
  // COM1 is mapped to the simulated DTU's device: the one line says which device it is.
  EXPECT_EQ(Main().mmo_Info.Lines(), std::vector<std::string>{"  [Note]: Port opened on the device " +
                                                              dtu->SlavePath() + " (COM1)"});

  UserClick(Main().btn_Com);
  EXPECT_FALSE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().Comm1.ComHandle(), 0u);
  EXPECT_EQ(Main().btn_Com.Caption(), "Open");
  EXPECT_EQ(Main().btn_Com.Picture(), Main().img_Close.Picture);

  UserClick(Main().btn_Read);
  EXPECT_TRUE(LogHas(kComIsOpenEn));
  EXPECT_FALSE(Main().tmr_TimeOut.Enabled()) << "nothing was sent, so no reply is awaited";

  UserClick(Main().btn_Com);
  EXPECT_TRUE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().btn_Com.Caption(), "Close");
}

TEST_F(PortControlE2E, AReadOverThePortFillsTheFieldsAndAWriteAllGivesThePacketsBytesBack) {
  dtu->Change([](dtusim::DtuSimulator& sim) {
    sim.settings.server = "192.0.2.7";
    sim.settings.port = "5000";
    sim.settings.protocol = "UDP";
    sim.settings.heartbeatTime = "70";
    sim.settings.restartTime = "3600";
    sim.settings.registrationPacketHex = "49443A34320D0A";  // ID:42 CR LF: no text the edit can hold
    sim.settings.baudRate = 115200;
    sim.settings.formatCode = 1;  // 8 data bits, 2 stop bits
    sim.settings.parityCode = 3;
  });
  StartProgram(false, "[Com]\r\nStop=1\r\n");  // the PC port already speaks the DTU's 8N2
  UserClick(Main().btn_Read);
  ASSERT_TRUE(RunUntil([&] { return LogHas("[Note]:Parameter read successfully."); }))
      << testing::PrintToString(Main().mmo_Info.Lines());
  EXPECT_EQ(Main().edt_IP.Text(), "192.0.2.7");
  EXPECT_EQ(Main().edt_Port.Text(), "5000");
  EXPECT_EQ(Main().cbb_NetProtocol.Text(), "UDP");
  EXPECT_EQ(Main().edtl_HeartbeatTime.Text(), "70");
  EXPECT_EQ(Main().edt_RestartTime.Text(), "3600");
  EXPECT_EQ(Main().edt_DevID.Text(), "49443A34320D0A");
  EXPECT_TRUE(Main().chk_DevID.Checked());
  EXPECT_EQ(Main().edt_HeartbeatFormat.Text(), "LOG");
  EXPECT_FALSE(Main().chk_HeartbeatFormat.Checked());
  EXPECT_EQ(Main().cbb_Com_Stop.Text(), "2");
  EXPECT_EQ(Main().cbb_Com_BaudRate.Text(), "115200");
  EXPECT_EQ(dtu->Received().size(), 3u);
  ASSERT_GE(Main().mmo_Info.Lines().size(), 2u);
  EXPECT_EQ(Main().mmo_Info.Lines()[1], "  [Send]:AT+CIPR?") << "after the line naming the device";

  UserClick(Main().btn_SetAll);
  ASSERT_TRUE(RunUntil([&] { return LogHas("[Note]: Parameter set successfully."); }));
  ASSERT_EQ(dtu->Received().size(), 16u) << "the read, the ten settings and the read-back";
  EXPECT_EQ(dtu->Received()[6], "AT+CIPPACK=1,\"49443A34320D0A\"\r\n");
  EXPECT_EQ(dtu->Settings().registrationPacketHex, "49443A34320D0A");
}

TEST_F(PortControlE2E, WriteAllFollowsTheDtusNewFormatBeforeStepNineAndItsNewRateBeforeStepTen) {
  StartProgram(true);
  // The DTU is to use 57600 baud, 8 data bits, odd parity and 2 stop bits.
  Main().cbb_Com_BaudRate.SetItemIndex(9);
  Main().cbb_Com_Parity.SetItemIndex(1);
  Main().cbb_Com_Byte.SetItemIndex(1);
  Main().cbb_Com_Stop.SetItemIndex(1);
  UserClick(Main().btn_SetAll);
  ASSERT_TRUE(RunUntil([&] { return LogHas(Utf8ToGbk("[提示]：参数设置成功。")); }));

  const auto received = dtu->Received();
  ASSERT_EQ(received.size(), 13u) << "the ten settings and the read-back: a command sent with the old "
                                     "settings would have been garbled and unanswered";
  EXPECT_EQ(received[7], "AT+ICF=1,0\r\n");
  EXPECT_EQ(received[8], "AT+CIPR=57600\r\n");
  EXPECT_EQ(received[9], "ATW\r\n");
  const auto line = dtu->ToolLine();
  ASSERT_TRUE(line);
  EXPECT_EQ(line->baudRate, 57600u);
  EXPECT_TRUE(line->twoStopBits);
  EXPECT_TRUE(line->oddParity);
  EXPECT_EQ(Main().cbb_Open_BaudRate.Text(), "57600");
  EXPECT_EQ(Main().cbb_Open_Parity.Text(), "ODD");
  EXPECT_EQ(Main().cbb_Open_Stop.Text(), "2");
  EXPECT_EQ(Main().Comm1.BaudRate(), 57600u);
  EXPECT_TRUE(dtu->Settings().saved);
}

TEST_F(PortControlE2E, APortHeldByAnotherProcessEndsClosedWithOneLineInTheCurrentLanguage) {
  StartProgram(false);
  UserClick(Main().btn_Com);  // close ours
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(dtu->SlavePath().c_str(), O_RDWR | O_NOCTTY);
    flock(fd, LOCK_EX);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);

  UserClick(Main().btn_Com);
  EXPECT_FALSE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().btn_Com.Caption(), "Open");
  const std::vector<std::string> english = Main().mmo_Info.Lines();
  ASSERT_GE(english.size(), 2u);
  EXPECT_EQ(english[english.size() - 2], "  " + dtu->SlavePath() + ": in use by another program.")
      << "the device and the reason come first";
  EXPECT_EQ(english.back(), "  " + kComInuseEn) << "the general advice follows";

  UserClick(Main().N3);  // switch to Chinese: the next failure speaks Chinese
  EXPECT_EQ(platform::GbkToUtf8(Main().btn_Com.Caption()), "打 开");
  UserClick(Main().btn_Com);
  const std::vector<std::string> chinese = Main().mmo_Info.Lines();
  ASSERT_GE(chinese.size(), 2u);
  EXPECT_EQ(chinese[chinese.size() - 2], "  " + dtu->SlavePath() + Utf8ToGbk("：已被其他程序占用。"));
  EXPECT_EQ(chinese.back(), "  " + kComInuseZh);

  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  UserClick(Main().btn_Com);
  EXPECT_TRUE(Main().PortControl.PortOpened) << "the port opens again once the other program let go";
  EXPECT_EQ(platform::GbkToUtf8(Main().btn_Com.Caption()), "关 闭");
}

TEST_F(PortControlE2E, ListsWithNoSelectionFailOrKeepTheirSetting) {
  StartProgram(true);
  Main().cbb_Open_ComName.SetItemIndex(-1);
  Main().PortControl.OpenComPort();
  EXPECT_FALSE(Main().PortControl.PortOpened);
  EXPECT_EQ(LogCount(kComInuseZh), 1);

  Main().cbb_Open_ComName.SetItemIndex(0);
  Main().cbb_Open_BaudRate.SetItemIndex(-1);
  Main().PortControl.OpenComPort();
  EXPECT_FALSE(Main().PortControl.PortOpened) << "an empty baud text is no number";
  EXPECT_EQ(LogCount(kComInuseZh), 2);

  Main().cbb_Open_BaudRate.SetItemIndex(10);
  Main().cbb_Open_Stop.SetItemIndex(1);
  Main().PortControl.OpenComPort();
  Main().cbb_Open_Stop.SetItemIndex(-1);
  Main().PortControl.OpenComPort();
  EXPECT_TRUE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().Comm1.StopBits(), serial::TStopBits::_2) << "no selection keeps the previous setting";

  UserClick(Main().btn_Com);
  Main().Device.StartRead();
  EXPECT_TRUE(LogHas(kComIsOpenZh));
}

TEST_F(PortControlE2E, ChangingAPortListByHandReopensWithItsSettings) {
  StartProgram(false);
  UserClick(Main().btn_Com);
  Main().cbb_Open_BaudRate.UserSelect(5);  // 9600, while closed: opens
  EXPECT_TRUE(Main().PortControl.PortOpened);
  Main().cbb_Com_Parity.UserSelect(2);  // the DTU's list shares the handler: reopens with the PC lists
  EXPECT_TRUE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().Comm1.Parity, serial::TParity::None);
  Main().cbb_Open_Parity.UserSelect(1);
  EXPECT_TRUE(Main().Comm1.ParityCheck());
  EXPECT_EQ(Main().Comm1.Parity, serial::TParity::Odd);
  Main().Device.StartRead();
  ASSERT_TRUE(RunUntil([&] { return dtu->ToolLine() && dtu->ToolLine()->baudRate == 9600; }));
  EXPECT_TRUE(dtu->ToolLine()->oddParity);
}

struct BaudCase {
  int index;
  uint32_t readInterval;
  uint32_t replyTimeout;
};

class BaudRateTable : public ProgramOnPty, public testing::WithParamInterface<BaudCase> {};

TEST_P(BaudRateTable, TheChosenRateSetsTheReadIntervalAndTheReplyTimeout) {
  StartProgram(false);
  Main().cbb_Open_BaudRate.UserSelect(GetParam().index);
  EXPECT_TRUE(Main().PortControl.PortOpened);
  EXPECT_EQ(Main().Comm1.ReadIntervalTimeout(), GetParam().readInterval);
  EXPECT_EQ(Main().tmr_TimeOut.Interval(), GetParam().replyTimeout);
}

INSTANTIATE_TEST_SUITE_P(Rates, BaudRateTable,
                         testing::Values(BaudCase{0, 500, 8000}, BaudCase{1, 300, 5000},
                                         BaudCase{2, 150, 3000}, BaudCase{4, 80, 3000}, BaudCase{5, 50, 3000},
                                         BaudCase{6, 50, 3000}, BaudCase{10, 50, 3000}),
                         [](const testing::TestParamInfo<BaudCase>& row) {
                           return "Index" + std::to_string(row.param.index);
                         });

}  // namespace
