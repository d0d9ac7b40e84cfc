// Values written to the simulated DTU and read back from its replies send the same bytes again: what a read
// brings in can be written out unchanged.
#include "DtuSimulator.h"
#include "ValuesRows.h"
#include "values/Checks.h"
#include "values/Commands.h"
#include "values/OutsideValues.h"
#include "values/Replies.h"

namespace values_test {
namespace {

struct RoundTripRow {
  const char* name;
  KeyValues written;
};

std::string Answer(dtusim::DtuSimulator& dtu, const std::string& command) {
  std::string answer;
  for (const dtusim::Burst& burst : dtu.Receive(command, dtu.Line())) answer += burst.bytes;
  return answer;
}

class RoundTrip : public testing::TestWithParam<RoundTripRow> {};

TEST_P(RoundTrip, ValuesReadBackSendTheSameBytes) {
  const values::DtuValues written = With(GetParam().written);
  ASSERT_FALSE(values::Check(written).has_value());
  dtusim::DtuSimulator dtu;
  for (int step = 1; step <= 10; ++step) {
    EXPECT_NE(Answer(dtu, values::CommandText(step, written)).find("OK"), std::string::npos) << step;
  }

  values::DtuValues read;
  for (int query = 1; query <= 3; ++query) {
    const auto reading = values::ReadReply(query, Answer(dtu, values::QueryText(query)), read);
    EXPECT_TRUE(reading.ok) << query;
    EXPECT_FALSE(reading.unreadable.has_value()) << query;
    EXPECT_GE(reading.reported.size(), values::RowsOfQuery(query).size()) << query;
  }
  for (int step = 1; step <= 10; ++step) {
    // The stored command texts come back as the DTU lists them; their value is compared below.
    if (step == 5 || step == 6) continue;
    EXPECT_EQ(values::CommandText(step, read), values::CommandText(step, written)) << step;
  }
  EXPECT_TRUE(values::NotKept(written, read).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundTrip,
    testing::Values(RoundTripRow{"Defaults", {}},
                    RoundTripRow{"PacketWithLineBreakAndNul", {{"DevIDHex", "1"}, {"DevID", "0D0A000D"}}},
                    RoundTripRow{"PacketOfBytesThatAreNotGbk",
                                 {{"HeartbeatFormatHex", "1"}, {"HeartbeatFormat", "FF80FF"}}},
                    RoundTripRow{"GbkPacket", {{"HeartbeatFormat", "\xC9\xE8\xD6\xC3"}}},
                    RoundTripRow{"ServerWithACommaAndABlank", {{"IP", "a,b c.example.com"}}},
                    RoundTripRow{"ApnWithAccountAndPassword",
                                 {{"APN Index", "2"}, {"APN Str", "myapn\",\"User\",\"p,w"}}},
                    RoundTripRow{"AnotherLine",
                                 {{"Protocol", "1"},
                                  {"Port", "5000"},
                                  {"BaudRate", "5"},
                                  {"Byte", "0"},
                                  {"Stop", "1"},
                                  {"Parity", "1"},
                                  {"RestartTime", "99999"},
                                  {"CIPMUX", "AT+CIPMUX=1"},
                                  {"CIPMODE", "AT + CIPMODE = 0"}}}),
    ByName());

}  // namespace
}  // namespace values_test
