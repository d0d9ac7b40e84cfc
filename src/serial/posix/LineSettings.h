#pragma once
// Line settings of an open port through the kernel's termios2 interface, which takes any baud rate (14400 has
// no Bnnn constant). The kernel structure stays inside LineSettings.cpp: its header cannot be included beside
// glibc's <termios.h>, so everyone else sees the plain mirror below.

#include <array>
#include <cstdint>
#include <optional>

#include "serial/LineRequest.h"

namespace serial {

// Field-for-field copy of the kernel's struct termios2.
struct KernelTermios {
  uint32_t iflag = 0;
  uint32_t oflag = 0;
  uint32_t cflag = 0;
  uint32_t lflag = 0;
  uint8_t line = 0;
  std::array<uint8_t, 19> cc{};
  uint32_t ispeed = 0;
  uint32_t ospeed = 0;
};

// The settings decoded into plain terms, for logs and checks.
struct LineView {
  uint32_t speed = 0;
  int dataBits = 8;
  bool parityEnable = false;
  bool parityOdd = false;
  bool stickParity = false;  // CMSPAR: mark (odd) or space (even)
  bool twoStopBits = false;
  bool inputParityCheck = false;
  bool ctsRts = false;
  bool xonOutput = false;
  bool xonInput = false;
  uint8_t startChar = 0;
  uint8_t stopChar = 0;
  bool raw = false;  // no echo, no line editing, no translation of input or output
  bool receiverOn = false;
  bool hangupOnClose = false;
};

// Pure: the settings to apply, starting from what the line has now. Characters other than VSTART, VSTOP,
// VMIN and VTIME keep their current values, as do the line discipline and unknown flag bits outside the
// fields we own.
KernelTermios BuildLineSettings(const LineRequest& request, const KernelTermios& current);

LineView DescribeLine(const KernelTermios& settings);

// TCGETS2 / TCSETS2 on fd; nullopt or false when the descriptor refuses.
std::optional<KernelTermios> ReadLineSettings(int fd);
bool WriteLineSettings(int fd, const KernelTermios& settings);

}  // namespace serial
