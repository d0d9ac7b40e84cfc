// Faults of the files beside the program, end to end: a program.ini of random bytes, a huge lang.txt, and a
// program folder that cannot be written.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <random>
#include <string>

#include "faults/FaultProgram.h"
#include "platform/TextCodec.h"
#include "support/ImmutableFolder.h"

namespace faults {
namespace {

using platform::Utf8ToGbk;

// Makes a folder refuse every write for as long as it lives, root included: the immutable attribute as root,
// plain permissions for anyone else.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::string& path) : path_(path) {
    if (geteuid() != 0) {
      active_ = chmod(path_.c_str(), 0555) == 0;
    } else {
      active_ = SetImmutable(true);
    }
  }
  ~ReadOnlyFolder() {
    if (!active_) return;
    if (geteuid() != 0) {
      chmod(path_.c_str(), 0755);
    } else {
      SetImmutable(false);
    }
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
  bool Active() const { return active_; }

 private:
  bool SetImmutable(bool on) { return testing_support::SetFolderImmutable(path_, on); }

  std::string path_;
  bool active_ = false;
};

class FileFaults : public FaultProgram {};

TEST_F(FileFaults, ProgramIniOfRandomBytesGivesDefaultsAndIsSavedSoThatTheNextStartReadsItBack) {
  std::string noise(64 * 1024, '\0');
  std::mt19937 random(7);
  std::generate(noise.begin(), noise.end(), [&random] { return static_cast<char>(random() & 0xFF); });
  folder.Write("program.ini", noise + "\r\n[Ports]\r\nCOM1=" + dtu->SlavePath() + "\r\n");
  StartOnCurrentFiles();

  auto& form = Main();
  EXPECT_EQ(form.cbb_Open_ComName.Text(), "COM1");
  EXPECT_EQ(form.cbb_Open_BaudRate.Text(), "115200");
  EXPECT_EQ(form.cbb_Open_Parity.Text(), "NONE");
  EXPECT_EQ(form.cbb_Open_Byte.Text(), "8");
  EXPECT_EQ(form.cbb_Open_Stop.Text(), "1");
  EXPECT_EQ(form.cbb_APN.ItemIndex(), 0);
  EXPECT_EQ(form.edt_APN_other.Text(), "CMNET");
  EXPECT_FALSE(form.edt_APN_other.Enabled());
  EXPECT_EQ(form.edt_IP.Text(), "dtu.example.com");
  EXPECT_EQ(form.edt_Port.Text(), "2317");
  EXPECT_EQ(form.cbb_Com_BaudRate.Text(), "115200");
  EXPECT_EQ(form.edt_DevID.Text(), "LOGIN:1001");
  EXPECT_EQ(form.edt_RestartTime.Text(), "1800");
  EXPECT_EQ(form.CipmuxText, "AT + CIPMUX = 0");
  EXPECT_EQ(form.CipmodeText, "AT + CIPMODE = 1");
  EXPECT_TRUE(form.PortControl.PortOpened) << "the port mapping after the noise is still read";

  form.edt_IP.SetText("192.0.2.9");
  form.cbb_Com_BaudRate.SetItemIndex(5);
  form.cbb_APN.SetItemIndex(2);
  form.edt_APN_other.SetText(Utf8ToGbk("专网"));
  form.CipmuxText = "AT+CIPMUX=0";
  EndProgram();
  EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;

  StartOnCurrentFiles();
  EXPECT_EQ(Main().edt_IP.Text(), "192.0.2.9");
  EXPECT_EQ(Main().cbb_Com_BaudRate.Text(), "9600");
  EXPECT_EQ(Main().cbb_APN.ItemIndex(), 2);
  EXPECT_EQ(Main().edt_APN_other.Text(), Utf8ToGbk("专网"));
  EXPECT_EQ(Main().CipmuxText, "AT+CIPMUX=0");
  EXPECT_EQ(Main().cbb_Open_BaudRate.Text(), "115200");
  EXPECT_EQ(folder.Read("program.ini").substr(0, noise.size()), noise) << "the lines we do not own stay";
}

TEST_F(FileFaults, TenMegabyteLangTxtStillStartsAndTheRowsAtItsEndApply) {
  std::string file;
  file.reserve(10u << 20);
  for (int row = 0; file.size() < (10u << 20); ++row) {
    file += "lang_Filler_" + std::to_string(row) + "|" + Utf8ToGbk("填充") + "|filler text\r\n";
  }
  file += "lang_Menu_Read|" + Utf8ToGbk("读取参数") + "|Read from DTU\r\n";
  file += "lang_Info_Send|" + Utf8ToGbk("[发出]：") + "|[Out]:\r\n";
  folder.Write("lang.txt", file);

  const auto started = std::chrono::steady_clock::now();
  StartProgram();
  const auto startUp =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  RecordProperty("start_up_ms", std::to_string(startUp.count()));
  std::cout << "start-up with a " << file.size() << "-byte lang.txt took " << startUp.count() << " ms\n";

  EXPECT_EQ(Main().btn_Read.Caption(), "Read from DTU");
  UserClick(Main().btn_Read);
  EXPECT_EQ(Main().mmo_Info.Lines().back(), "  [Out]:AT+CIPR?") << "after the line naming the device";
  UserClick(Main().N3);
  EXPECT_EQ(Main().btn_Read.Caption(), Utf8ToGbk("读取参数"));
  EXPECT_TRUE(RunUntil([&] { return LogHas(Utf8ToGbk("[提示]：参数读取成功。")); }))
      << "texts the file does not name stay built in";
}

TEST_F(FileFaults, ReadOnlyProgramFolderReportsTheFailedSaveAndASecondCloseCloses) {
  StartProgram();
  const std::string before = folder.Read("program.ini");
  const std::string path = (folder.Path() / "program.ini").string();
  ReadOnlyFolder readOnly(folder.Path().string());
  if (!readOnly.Active()) GTEST_SKIP() << "this file system cannot make the folder read-only";

  Main().UserClose();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Unable to write to " + path + ".");
  EXPECT_EQ(host.messages[0].icon, ui::MessageIcon::Error);
  EXPECT_FALSE(Main().Closed());

  Main().UserClose();
  EXPECT_TRUE(Main().Closed());
  EXPECT_EQ(host.messages.size(), 2u) << "the second close tries to save again and says it failed";
  EXPECT_EQ(folder.Read("program.ini"), before);
}

}  // namespace
}  // namespace faults
