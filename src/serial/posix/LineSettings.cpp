// The only file that sees the kernel's termios structures; <termios.h> must never be included here, as
// glibc's struct termios has a different layout under the same name.
#include "serial/posix/LineSettings.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <algorithm>

namespace serial {
namespace {

static_assert(sizeof(KernelTermios::cc) == NCCS);

termios2 ToKernel(const KernelTermios& k) {
  termios2 t{};
  t.c_iflag = k.iflag;
  t.c_oflag = k.oflag;
  t.c_cflag = k.cflag;
  t.c_lflag = k.lflag;
  t.c_line = k.line;
  std::copy(k.cc.begin(), k.cc.end(), t.c_cc);
  t.c_ispeed = k.ispeed;
  t.c_ospeed = k.ospeed;
  return t;
}

KernelTermios FromKernel(const termios2& t) {
  KernelTermios k;
  k.iflag = t.c_iflag;
  k.oflag = t.c_oflag;
  k.cflag = t.c_cflag;
  k.lflag = t.c_lflag;
  k.line = t.c_line;
  std::copy(t.c_cc, t.c_cc + NCCS, k.cc.begin());
  k.ispeed = t.c_ispeed;
  k.ospeed = t.c_ospeed;
  return k;
}

uint32_t SizeFlag(TByteSize size) {
  switch (size) {
    case TByteSize::_5:
      return CS5;
    case TByteSize::_6:
      return CS6;
    case TByteSize::_7:
      return CS7;
    case TByteSize::_8:
      break;
  }
  return CS8;
}

uint32_t ParityFlags(TParity parity) {
  switch (parity) {
    case TParity::None:
      break;
    case TParity::Odd:
      return PARENB | PARODD;
    case TParity::Even:
      return PARENB;
    case TParity::Mark:
      return PARENB | PARODD | CMSPAR;
    case TParity::Space:
      return PARENB | CMSPAR;
  }
  return 0;
}

// The speed code of a standard rate, or BOTHER for a rate that has none.
uint32_t SpeedCode(uint32_t rate) {
  struct Code {
    uint32_t rate;
    uint32_t code;
  };
  static constexpr Code codes[] = {
      {50, B50},           {75, B75},           {110, B110},         {134, B134},
      {150, B150},         {200, B200},         {300, B300},         {600, B600},
      {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
      {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
      {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
      {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
      {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
      {3500000, B3500000}, {4000000, B4000000}};
  for (const Code& c : codes) {
    if (c.rate == rate) return c.code;
  }
  return BOTHER;
}

}  // namespace

KernelTermios BuildLineSettings(const LineRequest& request, const KernelTermios& current) {
  termios2 t = ToKernel(current);

  // Raw bytes both ways: the DTU's replies and our commands are binary-clean GBK, so nothing may be
  // translated, echoed or held back for line editing.
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR |
                                      ICRNL | IUCLC | IXON | IXANY | IXOFF | IMAXBEL | IUTF8);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ECHOPRT |
                                      ECHOKE | IEXTEN | NOFLSH | TOSTOP);
  t.c_cflag &=
      ~static_cast<tcflag_t>(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);

  // A standard rate goes in as its speed code, so that tcgetattr, stty and other programs read it back as
  // that rate; only a rate without a code (14400) needs BOTHER, which they can only show as "other". The same
  // code goes to both directions: a zero input code would mean "as the output" only to some drivers.
  const uint32_t code = SpeedCode(request.BaudRate);
  t.c_cflag |= code | (code << IBSHIFT);
  t.c_ispeed = request.BaudRate;
  t.c_ospeed = request.BaudRate;

  t.c_cflag |= CLOCAL | CREAD | SizeFlag(request.ByteSize) | ParityFlags(request.Parity);
  // A UART sends one and a half stop bits for CSTOPB with five data bits; elsewhere two is the nearest.
  if (request.StopBits != TStopBits::_1) t.c_cflag |= CSTOPB;
  // Linux has one flag for both directions of hardware handshake.
  if (request.Outx_CtsFlow || request.RtsControl == TRtsControl::RtsHandshake) t.c_cflag |= CRTSCTS;
  // HUPCL stays clear: closing the port must leave DTR and RTS where DtrControl and RtsControl hold them,
  // rather than dropping them behind the properties' back (some adapters reset the attached device on that).

  if (request.ParityCheck) t.c_iflag |= INPCK;
  if (request.Outx_XonXoffFlow) t.c_iflag |= IXON;
  if (request.Inx_XonXoffFlow) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(request.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(request.XoffChar);

  // The descriptor is non-blocking and the reader polls, so these only matter to a blocking reader; with
  // VMIN 1 such a reader can never take an empty read for "no data yet".
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return FromKernel(t);
}

LineView DescribeLine(const KernelTermios& settings) {
  const termios2 t = ToKernel(settings);
  LineView view;
  view.speed = t.c_ospeed;
  switch (t.c_cflag & CSIZE) {
    case CS5:
      view.dataBits = 5;
      break;
    case CS6:
      view.dataBits = 6;
      break;
    case CS7:
      view.dataBits = 7;
      break;
    default:
      view.dataBits = 8;
      break;
  }
  view.parityEnable = (t.c_cflag & PARENB) != 0;
  view.parityOdd = (t.c_cflag & PARODD) != 0;
  view.stickParity = (t.c_cflag & CMSPAR) != 0;
  view.twoStopBits = (t.c_cflag & CSTOPB) != 0;
  view.inputParityCheck = (t.c_iflag & INPCK) != 0;
  view.ctsRts = (t.c_cflag & CRTSCTS) != 0;
  view.xonOutput = (t.c_iflag & IXON) != 0;
  view.xonInput = (t.c_iflag & IXOFF) != 0;
  view.startChar = t.c_cc[VSTART];
  view.stopChar = t.c_cc[VSTOP];
  view.raw = (t.c_lflag & (ICANON | ECHO | ISIG)) == 0 && (t.c_oflag & OPOST) == 0 &&
             (t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP)) == 0;
  view.receiverOn = (t.c_cflag & CREAD) != 0;
  view.hangupOnClose = (t.c_cflag & HUPCL) != 0;
  return view;
}

std::optional<KernelTermios> ReadLineSettings(int fd) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return std::nullopt;
  return FromKernel(t);
}

bool WriteLineSettings(int fd, const KernelTermios& settings) {
  const termios2 t = ToKernel(settings);
  return ::ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace serial
