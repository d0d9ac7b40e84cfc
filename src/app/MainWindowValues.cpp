// The main window as the conversation's host: its controls read as values and shown from values, by the
// control each row of the settings table names, and its PC port lists as the line the port opens with.

#include <algorithm>

#include "app/Tfrm_APN.h"
#include "app/Tfrm_Main.h"
#include "values/Commands.h"
#include "values/ListMeanings.h"

namespace app {
namespace {

// The caption as the user reads it: without the blanks the design pads some captions with.
std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The control that shows a row: the designed one the table names, or the field of the row made for it; a
// HEX flag without a designed box is the box of the packet row it belongs to.
ui::Control* ControlOf(Tfrm_Main& form, size_t row) {
  const values::Row& field = values::Table()[row];
  if (field.control != nullptr) return form.FindControl(field.control);
  for (const auto& more : form.MoreSettings) {
    if (more->row == row) return &more->Field();
    const char* flag = values::Table()[more->row].flagKey;
    if (flag != nullptr && std::string_view(flag) == field.key) return &more->hex;
  }
  return nullptr;
}

}  // namespace

values::DtuValues Tfrm_Main::CurrentValues() {
  values::DtuValues current;
  const auto table = values::Table();
  for (size_t row = 0; row < table.size(); ++row) {
    const values::Row& field = table[row];
    if (field.kind == values::Kind::CommandText) {
      current.SetAt(row, field.key == std::string_view(values::kCipmux) ? CipmuxText : CipmodeText);
      continue;
    }
    ui::Control* control = ControlOf(*this, row);
    if (const auto* list = dynamic_cast<ui::TComboBox*>(control)) {
      current.SetAt(row, std::to_string(list->ItemIndex()));
    } else if (const auto* edit = dynamic_cast<ui::TEdit*>(control)) {
      current.SetAt(row, edit->Text());
    } else if (const auto* box = dynamic_cast<ui::TCheckBox*>(control)) {
      current.SetAt(row, box->Checked() ? "1" : "0");
    }
  }
  return current;
}

void Tfrm_Main::ShowLoadedValues(const values::DtuValues& shown, const std::vector<size_t>& rows) {
  const auto table = values::Table();
  for (const size_t row : rows) {
    const values::Row& field = table[row];
    if (field.kind == values::Kind::CommandText) {
      (field.key == std::string_view(values::kCipmux) ? CipmuxText : CipmodeText) = shown.At(row);
      continue;
    }
    ui::Control* control = ControlOf(*this, row);
    if (auto* list = dynamic_cast<ui::TComboBox*>(control)) {
      // Set from code: no change event, so the APN choice opens no dialog and the port is not re-opened.
      list->SetItemIndex(shown.IndexOf(field.key));
    } else if (auto* edit = dynamic_cast<ui::TEdit*>(control)) {
      edit->SetText(shown.At(row));
    } else if (auto* box = dynamic_cast<ui::TCheckBox*>(control)) {
      // Without a click: the edit already holds the packet in the form the box now shows.
      box->SetChecked(shown.At(row) == "1");
    }
  }
  // The APN field's look follows the choice: a fixed APN shows disabled, the other APN editable.
  if (std::find(rows.begin(), rows.end(), values::RowOf(values::kApnStr)) != rows.end()) {
    const char* fixed = values::FixedApnAt(shown.IndexOf(values::kApnIndex));
    if (fixed != nullptr) {
      ShowFixedApn(fixed);
    } else {
      ShowOtherApn(shown.Get(values::kApnStr));
    }
  }
}

void Tfrm_Main::ShowValues(const values::DtuValues& shown, const std::vector<size_t>& rows) {
  ShowLoadedValues(shown, rows);
  // A read that finds an APN of the DTU's own shows it in the APN dialog, as choosing the other APN does.
  const bool apnRead = std::find(rows.begin(), rows.end(), values::RowOf(values::kApnStr)) != rows.end();
  if (apnRead && Device.ReadActive() && shown.IndexOf(values::kApnIndex) == values::kOtherApnIndex &&
      frm_APN != nullptr) {
    frm_APN->ShowListedApn(values::SplitApnText(shown.Get(values::kApnStr)));
    frm_APN->ShowModal();
  }
}

std::string Tfrm_Main::FieldName(size_t row) {
  const values::Row& field = values::Table()[row];
  if (field.labelKey != nullptr) {
    if (const lang::LangRow* label = lang::BuiltInRow(field.labelKey)) return Trimmed(Lang_.Text(*label));
  }
  return field.key;
}

void Tfrm_Main::MarkFields(const std::vector<std::string>& names) {
  // Rows that share a caption (the three line parts, the APN choice and text) are marked together, as the
  // log names them together.
  for (size_t row = 0; row < values::Table().size(); ++row) {
    ui::Control* control = ControlOf(*this, row);
    if (control == nullptr) continue;
    control->SetMarked(std::find(names.begin(), names.end(), FieldName(row)) != names.end());
  }
}

void Tfrm_Main::ShowProblem(const values::Problem& problem) {
  const values::Row& field = values::Table()[problem.row];
  // A packet in hex form is the edit's problem, not its box's.
  if (ui::Control* control = field.control != nullptr ? FindControl(field.control) : nullptr)
    control->SetFocus();
}

std::string Tfrm_Main::PortDevice() { return DeviceForItem(cbb_Open_ComName.ItemIndex()); }

config::PortLine Tfrm_Main::ChosenLine() {
  return config::LineFromListIndexes({cbb_Open_BaudRate.ItemIndex(), cbb_Open_Parity.ItemIndex(),
                                      cbb_Open_Byte.ItemIndex(), cbb_Open_Stop.ItemIndex()});
}

void Tfrm_Main::ChooseLine(const config::PortLine& line) {
  // Each part the line sets selects its item; the lists are set from code, so no change event re-opens the
  // port.
  const config::LineChoice whole{line.baudRate.value_or(0), line.dataBits.value_or(0),
                                 line.parity.value_or('?'), line.stopBits.value_or(0)};
  const std::array<int, 4> indexes = config::ListIndexes(whole);
  if (line.baudRate) cbb_Open_BaudRate.SetItemIndex(indexes[0]);
  if (line.parity) cbb_Open_Parity.SetItemIndex(indexes[1]);
  if (line.dataBits) cbb_Open_Byte.SetItemIndex(indexes[2]);
  if (line.stopBits) cbb_Open_Stop.SetItemIndex(indexes[3]);
}

void Tfrm_Main::ShowPortState(bool open) {
  btn_Com.SetCaption(Lang_.Text(open ? lang::lang_Command_Close : lang::lang_Command_Open));
  btn_Com.SetPicture(open ? img_Open.Picture : img_Close.Picture);
}

}  // namespace app
