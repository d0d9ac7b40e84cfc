#pragma once
// A simulated DTU: answers the configuration commands as a real module does, keeps its settings, switches its
// own serial format and baud rate when told to, and can misbehave in the ways a real line does. It is pure
// logic: the caller feeds it the bytes the tool sent and delivers the bursts it returns, in process (tests in
// virtual time) or on a pseudo-terminal (PtyDtu).

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace dtusim {

// The serial format of one side of the line.
struct LineFormat {
  uint32_t baudRate = 115200;
  int dataBits = 8;
  char parity = 'N';  // 'N', 'O' or 'E'
  int stopBits = 1;
  bool operator==(const LineFormat&) const = default;
};

// Bytes the DTU sends, after a pause of delayMs since the previous burst (the first: since the command
// ended). format is the DTU's own line format when the burst goes out: a reply to AT+ICF= or AT+CIPR= still
// carries the old one, so a peer that has already switched would read it garbled.
struct Burst {
  uint32_t delayMs = 0;
  std::string bytes;
  LineFormat format;
};

enum class EchoMode {
  Off,       // no echo
  Exact,     // the command exactly as received, CR LF included
  CutShort,  // the command with CR only
  LfOnly,    // the command with LF only
  Bare,      // the command without its line end
};

// What the DTU keeps. Texts are as the DTU stores them (packets in hexadecimal digits).
struct DtuSettings {
  std::string apn = "CMNET";
  std::string apnAccount;
  std::string apnPassword;
  std::string heartbeatTime = "50";
  std::string waitTime = "10";
  std::string waitLength = "200";
  std::string restartTime = "1800";
  std::string heartbeatPacketHex = "4C4F47";
  std::string registrationPacketHex = "4C4F47494E3A31303031";
  std::string cipmux = "0";
  std::string cipmode = "1";
  std::string protocol = "TCP";
  std::string server = "dtu.example.com";
  std::string port = "2317";
  int formatCode = 3;  // data and stop bits: 1 = 8/2, 3 = 8/1, 4 = 7/2, 5 = 7/1
  int parityCode = 3;  // 0 = odd, 1 = even, 3 = none
  uint32_t baudRate = 115200;
  bool saved = false;  // set by ATW
  bool operator==(const DtuSettings&) const = default;
};

// A line the DTU sends of its own accord around the reply to a command, framed as "\r\n" + text + "\r\n".
struct UnsolicitedLine {
  std::string after;    // the command name (as for Faults::refuse), or "any" for every command answered
  int32_t delayMs = 0;  // after the reply's last byte; negative: the line comes instead of the reply at the
                        // reply's time, and the reply follows -delayMs later
  std::string text;
  bool operator==(const UnsolicitedLine&) const = default;
};

// The DTU restarts on a command instead of answering it: it echoes, sends its start-up banner and goes back
// to the settings it last saved with ATW (or had when the tool first spoke to it). The countdown runs over
// the commands it would have answered whose name matches; the fault clears itself once it has fired.
struct RestartFault {
  std::string at = "any";  // a command name, or "any"
  std::size_t nth = 1;     // counts down at each match; the match that takes it to zero restarts the DTU
  bool operator==(const RestartFault&) const = default;
};

struct Faults {
  EchoMode echo = EchoMode::Off;
  bool echoAlone = false;                // the echo comes as its own burst before the answer
  uint32_t replyDelayMs = 5;             // pause between the end of a command and the reply
  std::optional<uint32_t> splitPauseMs;  // the reply comes in splitPieces bursts with this pause between them
  uint32_t splitPieces = 2;              // of nearly equal size; at most one per byte
  bool silent = false;                   // answers nothing at all
  std::set<std::string> refuse;          // command names (for example "CIPPACK", "ICF") answered with ERROR
  // Command names answered with these bytes instead of the reply, changing nothing: a DTU of another make.
  std::map<std::string, std::string> answer;
  // Command names whose setting is answered OK but not kept: a module that accepts a value and drops it
  // (only a read-back shows it). The line format stays too when ICF or CIPR is forgotten.
  std::set<std::string> forget;
  std::vector<UnsolicitedLine> unsolicited;  // each sent every time its command is answered
  std::optional<RestartFault> restart;
  // Command names (or "any") whose final result line comes twice: "\r\nOK\r\n\r\nOK\r\n".
  std::set<std::string> doubleResult;
  // The AT+CIPSCONT? listing gains information lines "+CIPSTATUS: ..." after its last entry until the whole
  // reply is longer than this many bytes (0: none), as a module that lists its connection state does.
  std::size_t padListingTo = 0;
  // Everything the DTU sends goes out at this line rate, with the bits a byte takes in the DTU's own format
  // (start, data, parity, stop): one burst per paceChunkBytes, each due when its last byte has arrived.
  std::optional<uint32_t> paceBaud;
  std::size_t paceChunkBytes = 1;
  bool operator==(const Faults&) const = default;
};

// Limits of what the DTU stores; longer values are refused with ERROR, which keeps the whole listing of
// AT+CIPSCONT? well inside the 1024 bytes a reader takes as one reply (Faults::padListingTo goes past them).
inline constexpr std::size_t kMaxPacketBytes = 128;  // per packet, before hex encoding
inline constexpr std::size_t kMaxApnText = 50;       // APN, account and password each
inline constexpr std::size_t kMaxServerText = 100;
// A line longer than this without a CR overflows the command buffer; it is answered with ERROR at its CR.
inline constexpr std::size_t kMaxCommandBytes = 1024;

class DtuSimulator {
 public:
  DtuSettings settings;
  Faults faults;

  // The format the DTU's own serial line uses now (follows AT+ICF= and AT+CIPR= after their reply).
  LineFormat Line() const;

  // Bytes from the tool, sent with the tool's line format. A command is complete at its CR (an LF after it
  // belongs to it, even when it comes with the next bytes). A command sent with a format other than the
  // DTU's arrives garbled and gets no answer. Blank lines get no answer either. Returns the bursts the DTU
  // sends back for the commands completed by these bytes. Command names for Faults::refuse are the word after
  // "AT+" ("CIPR" for AT+CIPR= and AT+CIPR?), or the whole basic command ("AT", "ATW").
  std::vector<Burst> Receive(std::string_view bytes, const LineFormat& sentWith);

  // The start-up banner a module sends when it powers up (contains "@@Ver:"), paced as Faults::paceBaud says.
  std::vector<Burst> PowerOn() const;

  // Every complete command received (with its line end), garbled ones included, in order.
  std::vector<std::string> received;

 private:
  void Handle(const std::string& command, const LineFormat& sentWith, std::vector<Burst>& out);
  std::string Answer(std::string_view line);
  std::string Listing() const;
  bool RestartsOn(const std::string& name);
  std::vector<Burst> Paced(std::vector<Burst> bursts) const;

  std::optional<DtuSettings> kept_;  // what survives a restart: the settings at the first command or at ATW
  std::string pending_;
  bool lfMayFollow_ = false;  // the last command ended at a CR that came at the end of its bytes
};

}  // namespace dtusim
