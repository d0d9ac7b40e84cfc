// The settings structure built for the kernel, checked before the kernel sees it: a pseudo-terminal forces
// eight data bits and no parity, so those can only be seen here.
#include <gtest/gtest.h>

#include "serial/posix/LineSettings.h"

namespace {

using serial::BuildLineSettings;
using serial::DescribeLine;
using serial::KernelTermios;
using serial::LineRequest;
using serial::LineView;
using serial::TByteSize;
using serial::TParity;
using serial::TStopBits;

// A line as a terminal leaves it: line editing, echo, CR translation, hang-up on close, and settings of a
// previous user (two stop bits, parity, both handshakes) that must not survive.
KernelTermios CookedLine() {
  const auto raw = BuildLineSettings(LineRequest{}, KernelTermios{});
  KernelTermios cooked = raw;
  LineRequest previous;
  previous.StopBits = TStopBits::_2;
  previous.Parity = TParity::Odd;
  previous.ParityCheck = true;
  previous.Outx_CtsFlow = true;
  previous.Outx_XonXoffFlow = true;
  previous.Inx_XonXoffFlow = true;
  cooked = BuildLineSettings(previous, cooked);
  cooked.lflag |= 0000002 | 0000010 | 0000001;  // ICANON, ECHO, ISIG
  cooked.iflag |= 0000400;                      // ICRNL
  cooked.oflag |= 0000001;                      // OPOST
  cooked.cflag |= 0002000;                      // HUPCL
  cooked.cc[0] = 3;                             // VINTR, not ours to change
  return cooked;
}

TEST(LineSettings, NothingOfAPreviousUserSurvivesAndTheLineIsRaw) {
  const KernelTermios built = BuildLineSettings(LineRequest{}, CookedLine());
  const LineView line = DescribeLine(built);
  EXPECT_TRUE(line.raw);
  EXPECT_TRUE(line.receiverOn);
  EXPECT_FALSE(line.hangupOnClose);
  EXPECT_FALSE(line.twoStopBits);
  EXPECT_FALSE(line.parityEnable);
  EXPECT_FALSE(line.parityOdd);
  EXPECT_FALSE(line.inputParityCheck);
  EXPECT_FALSE(line.ctsRts);
  EXPECT_FALSE(line.xonOutput);
  EXPECT_FALSE(line.xonInput);
  EXPECT_EQ(line.dataBits, 8);
  EXPECT_EQ(built.cc[0], 3) << "characters we do not use keep their values";
}

struct FrameCase {
  const char* name;
  TByteSize size;
  TParity parity;
  TStopBits stop;
  int dataBits;
  bool parityEnable, parityOdd, stick, twoStop;
};

class LineFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(LineFrame, ReachesTheSettings) {
  const FrameCase& c = GetParam();
  LineRequest request;
  request.ByteSize = c.size;
  request.Parity = c.parity;
  request.StopBits = c.stop;
  const LineView line = DescribeLine(BuildLineSettings(request, CookedLine()));
  EXPECT_EQ(line.dataBits, c.dataBits);
  EXPECT_EQ(line.parityEnable, c.parityEnable);
  EXPECT_EQ(line.parityOdd, c.parityOdd);
  EXPECT_EQ(line.stickParity, c.stick);
  EXPECT_EQ(line.twoStopBits, c.twoStop);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, LineFrame,
    ::testing::Values(
        FrameCase{"EightNoneOne", TByteSize::_8, TParity::None, TStopBits::_1, 8, false, false, false, false},
        FrameCase{"SevenEvenOne", TByteSize::_7, TParity::Even, TStopBits::_1, 7, true, false, false, false},
        FrameCase{"SevenOddTwo", TByteSize::_7, TParity::Odd, TStopBits::_2, 7, true, true, false, true},
        FrameCase{"SixMarkOne", TByteSize::_6, TParity::Mark, TStopBits::_1, 6, true, true, true, false},
        FrameCase{"FiveSpaceOneAndAHalf", TByteSize::_5, TParity::Space, TStopBits::_1_5, 5, true, false,
                  true, true}),
    [](const ::testing::TestParamInfo<FrameCase>& row) { return row.param.name; });

class LineSpeed : public ::testing::TestWithParam<uint32_t> {};

TEST_P(LineSpeed, AnyRateIsTakenAsItIs) {
  LineRequest request;
  request.BaudRate = GetParam();
  const KernelTermios built = BuildLineSettings(request, CookedLine());
  EXPECT_EQ(built.ispeed, GetParam());
  EXPECT_EQ(DescribeLine(built).speed, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Serial, LineSpeed, ::testing::Values(300u, 14400u, 115200u, 250000u));

}  // namespace
