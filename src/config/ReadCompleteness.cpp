// What a read has been told: a read succeeds only when the DTU reported every field the window shows, and
// one that did not names the fields it left as they were.

#include <algorithm>
#include <utility>

#include "config/DeviceConfig.h"
#include "lang/OutcomeRows.h"

namespace config {
namespace {

// The fields each query fills, with the caption that names each in the window.
std::vector<std::pair<const ui::Control*, ui::TLabel*>> ExpectedFields(ui::TMainFormDesign& form, int query) {
  std::vector<std::pair<const ui::Control*, ui::TLabel*>> fields;
  if (query == 0 || query == 1) fields.push_back({&form.cbb_Com_BaudRate, &form.lbl_ComBaudRate});
  if (query == 0 || query == 2) {
    for (const ui::Control* list : {&form.cbb_Com_Parity, &form.cbb_Com_Byte, &form.cbb_Com_Stop}) {
      fields.push_back({list, &form.lbl_ComParam});
    }
  }
  if (query == 0 || query == 3) {
    fields.insert(fields.end(), {{&form.edt_APN_other, &form.lbl_APN},
                                 {&form.edt_IP, &form.lbl_IP},
                                 {&form.cbb_NetProtocol, &form.lbl_NetProtocol},
                                 {&form.edt_Port, &form.lbl_Port},
                                 {&form.edt_DevID, &form.lbl_DevID},
                                 {&form.edt_HeartbeatFormat, &form.lbl_HeartbeatFormat},
                                 {&form.edtl_HeartbeatTime, &form.lbl_HeartbeatTime},
                                 {&form.edt_WaitLen, &form.lbl_WaitLen},
                                 {&form.edt_WaitTime, &form.lbl_WaitTime},
                                 {&form.edt_RestartTime, &form.lbl_RestartTime}});
  }
  return fields;
}

}  // namespace

void TDeviceConfig::Reported(const ui::Control& field) {
  if (std::find(reported_.begin(), reported_.end(), &field) == reported_.end()) reported_.push_back(&field);
}

std::vector<ui::TLabel*> TDeviceConfig::UnchangedFields(int query) {
  std::vector<ui::TLabel*> labels;
  for (const auto& [field, label] : ExpectedFields(form_, query)) {
    const bool told = std::find(reported_.begin(), reported_.end(), field) != reported_.end();
    if (!told && std::find(labels.begin(), labels.end(), label) == labels.end()) labels.push_back(label);
  }
  return labels;
}

void TDeviceConfig::LogUnreadable(const std::string& command, const std::vector<ui::TLabel*>& unchanged) {
  std::string line = lang_.Text(lang::lang_Info_ReplyUnread) + CommandWithoutLineEnd(command);
  if (!unchanged.empty()) {
    line += lang_.Text(lang::lang_Info_Unchanged);
    for (size_t i = 0; i < unchanged.size(); ++i) line += (i == 0 ? "" : ", ") + FieldCaption(*unchanged[i]);
  }
  form_.AddInfo(line);
}

std::string CommandWithoutLineEnd(std::string command) {
  while (!command.empty() && (command.back() == '\r' || command.back() == '\n')) command.pop_back();
  return command;
}

std::string FieldCaption(const ui::TLabel& label) {
  const std::string& text = label.Caption();
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace config
