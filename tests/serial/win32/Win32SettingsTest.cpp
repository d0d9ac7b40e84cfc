// What the component writes into a Windows port's control block and time-outs, and the names it opens.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "platform/VirtualEventLoop.h"
#include "serial/Comm.h"
#include "serial/PortNames.h"
#include "serial/win32/DcbSettings.h"

namespace {

using serial::TComm;

// A block as a previous user of the port may have left it: every flag set, handshake lines in handshake
// mode, and characters of its own.
DCB PreviousUsersBlock() {
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = 300;
  dcb.fParity = dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fDsrSensitivity = dcb.fTXContinueOnXoff = 1;
  dcb.fOutX = dcb.fInX = dcb.fErrorChar = dcb.fNull = dcb.fAbortOnError = 1;
  dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
  dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
  dcb.fDummy2 = 0x1FFFF;
  dcb.EofChar = 26;
  dcb.EvtChar = '#';
  return dcb;
}

struct DcbCase {
  const char* name;
  std::function<void(TComm&)> setUp;
  std::function<void(const DCB&)> check;
};

class ControlBlock : public ::testing::TestWithParam<DcbCase> {};

TEST_P(ControlBlock, IsBuiltFromTheProperties) {
  platform::VirtualEventLoop loop;
  TComm comm(loop);
  GetParam().setUp(comm);
  const DCB dcb = serial::BuildDcb(comm.CurrentLineRequest(), PreviousUsersBlock());
  EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
  EXPECT_EQ(dcb.fBinary, 1u);
  EXPECT_EQ(dcb.fAbortOnError, 0u);
  EXPECT_EQ(dcb.fDummy2, 0u) << "nothing of the previous flag word survives";
  EXPECT_EQ(dcb.EofChar, 26) << "kept from the port";
  EXPECT_EQ(dcb.EvtChar, '#') << "kept from the port";
  GetParam().check(dcb);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, ControlBlock,
    ::testing::Values(DcbCase{"StoredDesignHasNoHandshakeAndHoldsDtrAndRtsOff", serial::ApplyStoredDesign,
                              [](const DCB& dcb) {
                                EXPECT_EQ(dcb.BaudRate, 9600u);
                                EXPECT_EQ(dcb.fParity, 0u);
                                EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
                                EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
                                EXPECT_EQ(dcb.fDsrSensitivity, 0u);
                                EXPECT_EQ(dcb.fTXContinueOnXoff, 0u);
                                EXPECT_EQ(dcb.fOutX, 0u);
                                EXPECT_EQ(dcb.fInX, 0u);
                                EXPECT_EQ(dcb.fErrorChar, 0u);
                                EXPECT_EQ(dcb.fNull, 0u);
                                EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
                                EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
                                EXPECT_EQ(dcb.ByteSize, 8);
                                EXPECT_EQ(dcb.Parity, NOPARITY);
                                EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
                                EXPECT_EQ(dcb.XonLim, 10);
                                EXPECT_EQ(dcb.XoffLim, 10);
                                EXPECT_EQ(dcb.XonChar, 17);
                                EXPECT_EQ(dcb.XoffChar, 19);
                                EXPECT_EQ(dcb.ErrorChar, 0);
                              }},
                      DcbCase{"ConstructionValuesRaiseDtrAndRtsAndWatchCtsAndDsr", [](TComm&) {},
                              [](const DCB& dcb) {
                                EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
                                EXPECT_EQ(dcb.fOutxDsrFlow, 1u);
                                EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
                                EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
                                EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
                              }},
                      DcbCase{"SevenOddTwoAtACustomRate",
                              [](TComm& c) {
                                c.SetBaudRate(14400);
                                c.SetByteSize(serial::TByteSize::_7);
                                c.Parity = serial::TParity::Odd;
                                c.SetStopBits(serial::TStopBits::_2);
                                c.SetParityCheck(true);
                              },
                              [](const DCB& dcb) {
                                EXPECT_EQ(dcb.BaudRate, 14400u);
                                EXPECT_EQ(dcb.ByteSize, 7);
                                EXPECT_EQ(dcb.Parity, ODDPARITY);
                                EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
                                EXPECT_EQ(dcb.fParity, 1u);
                              }},
                      DcbCase{"FiveMarkOneAndAHalf",
                              [](TComm& c) {
                                c.SetByteSize(serial::TByteSize::_5);
                                c.Parity = serial::TParity::Mark;
                                c.SetStopBits(serial::TStopBits::_1_5);
                              },
                              [](const DCB& dcb) {
                                EXPECT_EQ(dcb.ByteSize, 5);
                                EXPECT_EQ(dcb.Parity, MARKPARITY);
                                EXPECT_EQ(dcb.StopBits, ONE5STOPBITS);
                              }},
                      DcbCase{"HandshakeAndToggleModes",
                              [](TComm& c) {
                                c.SetDtrControl(serial::TDtrControl::DtrHandshake);
                                c.SetRtsControl(serial::TRtsControl::RtsTransmissionAvailable);
                                c.SetDsrSensitivity(true);
                              },
                              [](const DCB& dcb) {
                                EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_HANDSHAKE));
                                EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_TOGGLE));
                                EXPECT_EQ(dcb.fDsrSensitivity, 1u);
                              }},
                      DcbCase{"XonXoffWithItsLimitsAndCharacters",
                              [](TComm& c) {
                                c.SetOutx_XonXoffFlow(true);
                                c.SetInx_XonXoffFlow(true);
                                c.SetXonLimit(512);
                                c.SetXoffLimit(256);
                                c.SetXonChar('Q');
                                c.SetXoffChar('S');
                              },
                              [](const DCB& dcb) {
                                EXPECT_EQ(dcb.fOutX, 1u);
                                EXPECT_EQ(dcb.fInX, 1u);
                                EXPECT_EQ(dcb.XonLim, 512);
                                EXPECT_EQ(dcb.XoffLim, 256);
                                EXPECT_EQ(dcb.XonChar, 'Q');
                                EXPECT_EQ(dcb.XoffChar, 'S');
                              }},
                      DcbCase{"ParityErrorsReplacedAndNullsDropped",
                              [](TComm& c) {
                                c.SetReplaceWhenParityError(true);
                                c.SetReplacedChar('?');
                                c.SetIgnoreNullChar(true);
                              },
                              [](const DCB& dcb) {
                                EXPECT_EQ(dcb.fErrorChar, 1u);
                                EXPECT_EQ(dcb.ErrorChar, '?');
                                EXPECT_EQ(dcb.fNull, 1u);
                              }}),
    [](const ::testing::TestParamInfo<DcbCase>& row) { return row.param.name; });

struct TimeoutCase {
  const char* name;
  serial::CommTimeouts asked;
  COMMTIMEOUTS port;
};

class PortTimeouts : public ::testing::TestWithParam<TimeoutCase> {};

TEST_P(PortTimeouts, ReachThePort) {
  const COMMTIMEOUTS built = serial::BuildCommTimeouts(GetParam().asked);
  const COMMTIMEOUTS& want = GetParam().port;
  EXPECT_EQ(built.ReadIntervalTimeout, want.ReadIntervalTimeout);
  EXPECT_EQ(built.ReadTotalTimeoutMultiplier, want.ReadTotalTimeoutMultiplier);
  EXPECT_EQ(built.ReadTotalTimeoutConstant, want.ReadTotalTimeoutConstant);
  EXPECT_EQ(built.WriteTotalTimeoutMultiplier, want.WriteTotalTimeoutMultiplier);
  EXPECT_EQ(built.WriteTotalTimeoutConstant, want.WriteTotalTimeoutConstant);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, PortTimeouts,
    ::testing::Values(TimeoutCase{"ReadIntervalAsTheProgramSetsIt", {20, 0, 0, 0, 0}, {20, 0, 0, 0, 0}},
                      TimeoutCase{"EveryFieldInItsPlace", {50, 1, 2, 3, 4}, {50, 1, 2, 3, 4}},
                      // Windows would hold such a read until 1024 bytes are in.
                      TimeoutCase{"NoIntervalReturnsWhatHasArrived",
                                  {0, 0, 0, 0, 0},
                                  {MAXDWORD, MAXDWORD, MAXDWORD - 1, 0, 0}},
                      TimeoutCase{"NoIntervalWithATotalStaysAsAsked", {0, 0, 500, 0, 0}, {0, 0, 500, 0, 0}}),
    [](const ::testing::TestParamInfo<TimeoutCase>& row) { return row.param.name; });

struct ResolveCase {
  const char* name;
  const char* commName;
  serial::PortMap map;
  const char* path;
};

class PortPath : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(PortPath, Resolves) {
  EXPECT_EQ(serial::ResolveDevicePath(GetParam().commName, GetParam().map), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Serial, PortPath,
    ::testing::Values(ResolveCase{"Com1", "COM1", {}, "\\\\.\\COM1"},
                      ResolveCase{"TwoDigitsNeedTheDevicePrefix", "com12", {}, "\\\\.\\com12"},
                      ResolveCase{"Com256IsTheLast", "COM256", {}, "\\\\.\\COM256"},
                      ResolveCase{"Com257IsNoComName", "COM257", {}, "COM257"},
                      ResolveCase{"Com0IsNoComName", "COM0", {}, "COM0"},
                      ResolveCase{"LeadingZeroIsNoComName", "COM01", {}, "COM01"},
                      ResolveCase{"MappedToAnotherPort", "COM1", {{"com1", "COM7"}}, "\\\\.\\COM7"},
                      ResolveCase{"MappedToADevicePath", "COM2", {{"COM2", "\\\\.\\CNCA0"}}, "\\\\.\\CNCA0"},
                      ResolveCase{"PathStaysAsItIs", "\\\\.\\COM3", {{"COM3", "COM9"}}, "\\\\.\\COM3"}),
    [](const ::testing::TestParamInfo<ResolveCase>& row) { return row.param.name; });

}  // namespace
