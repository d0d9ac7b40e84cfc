#pragma once
// What the items of the parity, data-bit and stop-bit lists stand for. The PC port lists (cbb_Open_Parity,
// cbb_Open_Byte, cbb_Open_Stop) and the device lists (cbb_Com_*) hold the same items, so one table serves the
// window's design, the opening of the PC port, and the DTU's AT+ICF codes for the same settings. An index
// names an item when it is within the list; -1 (nothing selected) and any other index name nothing, and each
// user decides what nothing means for it.

#include <optional>
#include <string>
#include <vector>

namespace values {

enum class Parity { None, Odd, Even };

// One item of a parity list.
struct ParityMeaning {
  Parity parity;
  char letter;  // as a line format is written: 'N', 'O' or 'E'
  int dtuCode;  // the parity value of AT+ICF
};

// The items of each list in list order, as the window shows them.
const std::vector<std::string>& BaudRateItems();  // the eleven rates of the DTU and of the PC port
std::vector<std::string> ProtocolItems();         // "TCP", "UDP"
std::vector<std::string> ParityItems();
std::vector<std::string> DataBitsItems();
std::vector<std::string> StopBitsItems();

// The setting the item at index stands for, or nothing.
std::optional<ParityMeaning> ParityAt(int index);
std::optional<int> DataBitsAt(int index);  // 7 or 8
std::optional<int> StopBitsAt(int index);  // 1 or 2

// The DTU's format code of AT+ICF for the data-bit and stop-bit items, and its parity code for the parity
// item. Where an index names nothing the DTU is given 8 data bits, 1 stop bit, no parity: the format it
// starts with.
int DtuFormatCode(int byteIndex, int stopIndex);
int DtuParityCode(int parityIndex);

// The inverse: the list indexes a code stands for, or nothing for a code the DTU does not use.
struct ByteAndStop {
  int byteIndex;
  int stopIndex;
};
std::optional<ByteAndStop> ByteAndStopFromDtuCode(int formatCode);
std::optional<int> ParityIndexFromDtuCode(int parityCode);

}  // namespace values
