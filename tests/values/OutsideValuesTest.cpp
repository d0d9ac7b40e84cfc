#include "ValuesRows.h"
#include "values/OutsideValues.h"

namespace values_test {
namespace {

struct StoredRow {
  const char* name;
  const char* key;
  std::string given;
  std::string stored;
};

class Stored : public testing::TestWithParam<StoredRow> {};

TEST_P(Stored, NamesAListItemByItsPosition) {
  EXPECT_EQ(values::StoredValue(values::RowOf(GetParam().key), GetParam().given), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Values, Stored,
                         testing::Values(StoredRow{"RateByItsText", "BaudRate", "9600", "5"},
                                         StoredRow{"RateByItsPosition", "BaudRate", "10", "10"},
                                         StoredRow{"ParityInLowerCase", "Parity", "even", "2"},
                                         StoredRow{"EightDataBits", "Byte", "8", "1"},
                                         StoredRow{"NineDataBitsStayForTheCheck", "Byte", "9", "9"},
                                         StoredRow{"OneStopBitIsTheItem", "Stop", "1", "0"},
                                         StoredRow{"TwoStopBits", "Stop", "2", "1"},
                                         StoredRow{"Udp", "Protocol", "udp", "1"},
                                         StoredRow{"FixedApn", "APN Index", "uninet", "1"},
                                         StoredRow{"OtherApn", "APN Index", "other", "2"},
                                         StoredRow{"TextRowsKeepTheText", "IP", "udp", "udp"},
                                         StoredRow{"NumberRowsKeepTheText", "Port", "0080", "0080"}),
                         ByName());

struct NotKeptRow {
  const char* name;
  KeyValues written;
  KeyValues readBack;
  std::vector<std::string> notKept;
};

class NotKept : public testing::TestWithParam<NotKeptRow> {};

TEST_P(NotKept, NamesTheRowsTheDtuDidNotKeep) {
  std::vector<std::string> keys;
  for (const size_t row : values::NotKept(With(GetParam().written), With(GetParam().readBack)))
    keys.emplace_back(values::Table()[row].key);
  EXPECT_EQ(keys, GetParam().notKept);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NotKept,
    testing::Values(
        NotKeptRow{"Same", {}, {}, {}},
        NotKeptRow{"LeadingZeros", {{"Port", "02317"}, {"BaudRate", "010"}}, {}, {}},
        NotKeptRow{"ApnNameInAnyCase", {{"APN Str", "myapn\",\"User"}}, {{"APN Str", "MYAPN\",\"User"}}, {}},
        NotKeptRow{
            "ApnAccountCase", {{"APN Str", "MYAPN\",\"user"}}, {{"APN Str", "MYAPN\",\"USER"}}, {"APN Str"}},
        NotKeptRow{
            "ApnPasswordDropped", {{"APN Str", "A\",\"u\",\"pw"}}, {{"APN Str", "A\",\"u"}}, {"APN Str"}},
        NotKeptRow{"PacketReadInHexForm", {}, {{"DevIDHex", "1"}, {"DevID", "4c4f47494e3a31303031"}}, {}},
        NotKeptRow{"PacketChanged", {}, {{"DevID", "LOGIN:1002"}}, {"DevID"}},
        NotKeptRow{"UndecodableDigitsAsTheirText",
                   {{"DevIDHex", "1"}, {"DevID", "4G"}},
                   {{"DevIDHex", "1"}, {"DevID", "4G"}},
                   {}},
        NotKeptRow{
            "UndecodableDigitsAreNoText", {{"DevIDHex", "1"}, {"DevID", "4G"}}, {{"DevID", "4G"}}, {"DevID"}},
        NotKeptRow{"SwitchByItsValue", {}, {{"CIPMUX", "AT+CIPMUX=0"}, {"CIPMODE", "AT+CIPMODE=1"}}, {}},
        NotKeptRow{"SwitchChanged", {}, {{"CIPMODE", "AT+CIPMODE=0"}}, {"CIPMODE"}},
        NotKeptRow{"ChoiceAndFlagsAreNotSent",
                   {{"APN Index", "2"}, {"HeartbeatFormatHex", "1"}, {"HeartbeatFormat", "4C4F47"}},
                   {},
                   {}},
        NotKeptRow{"InTableOrder",
                   {{"RestartTime", "9000"}, {"IP", "a.example.com"}, {"Stop", "1"}},
                   {},
                   {"IP", "Stop", "RestartTime"}}),
    ByName());

}  // namespace
}  // namespace values_test
