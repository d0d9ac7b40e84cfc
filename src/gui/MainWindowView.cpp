#include "gui/MainWindowView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

#include "gui/ModelWidgets.h"
#include "gui/Place.h"
#include "gui/QtText.h"
#include "ui/Tags.h"

namespace gui {
namespace {

constexpr int kClientWidth = 718;
constexpr int kClientHeight = 512;

// Column positions inside the device parameter group.
constexpr int kGroupWidth = 360;
constexpr int kCaptionX = 10;
constexpr int kCaptionWidth = 112;
constexpr int kFieldX = 124;
constexpr int kEditWidth = 130;
constexpr int kBesideX = kFieldX + kEditWidth + 6;  // units and "HEX" boxes after an edit
constexpr int kHintX = 330;
constexpr int kRowHeight = 22;
constexpr int kLogX = kGroupWidth + 16;
constexpr int kRowPitch = 26;

// The height the rows made from the settings table add below the designed ones.
int MoreHeight(const ui::TMainFormDesign& form) {
  return static_cast<int>(form.MoreSettings.size()) * kRowPitch;
}

}  // namespace

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

MainWindowView::MainWindowView(ui::Application& app, ui::TMainFormDesign& form,
                               std::function<void()> onCloseRequest)
    : form_(form), onCloseRequest_(std::move(onCloseRequest)), binder_(app) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setObjectName(QString::fromStdString(form.Name));
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setMinimumSize(kClientWidth, kClientHeight + MoreHeight(form));
  client->installEventFilter(this);
  setCentralWidget(client);

  BuildPortGroup(client);
  BuildParamGroup(client);
  BuildActionButtons(client);
  BuildLog(client);
  BuildMenu();
  SetFocusOrder();
  binder_.Also([this] { setWindowTitle(ToQt(form_.Caption())); });
  binder_.Refresh(true);
  // The designed size is the smallest: the parameter column keeps it, and the log takes what is added.
  setMinimumSize(sizeHint());
  resize(sizeHint());
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) FitLogToClient();
  return QMainWindow::eventFilter(watched, event);
}

void MainWindowView::FitLogToClient() {
  const QSize client = centralWidget()->size();
  clear_->move(client.width() - 8 - clear_->width(), clear_->y());
  const int right = client.width() - 8;
  const int bottom = client.height() - 8;
  const int commandRow = form_.edt_Command.Visible() ? send_->height() + 6 : 0;
  log_->resize(right - kLogX, bottom - commandRow - log_->y());
  send_->move(right - send_->width(), bottom - send_->height());
  command_->setGeometry(kLogX, bottom - send_->height() + 1, right - send_->width() - 6 - kLogX,
                        send_->height() - 2);
}

void MainWindowView::KeepPlace() {
  if (!placed_) return;
  const QRect normal = isMaximized() ? normalGeometry() : geometry();
  // The frame's corner, as the window manager places windows; the size is the inside of the frame.
  const QPoint corner = isMaximized() ? normal.topLeft() - (geometry().topLeft() - pos()) : pos();
  const ui::WindowPlace now{corner.x(), corner.y(), normal.width(), normal.height(), isMaximized()};
  if (form_.Place || now != designedPlace_) form_.Place = now;
}

void MainWindowView::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  KeepPlace();
}

void MainWindowView::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  KeepPlace();
}

void MainWindowView::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) KeepPlace();
}

void MainWindowView::ShowAtPlace() {
  const ui::WindowPlace& place = *form_.Place;
  const QRect wanted(place.left, place.top, std::max(place.width, minimumWidth()),
                     std::max(place.height, minimumHeight()));
  // A place on a screen that is no longer there (a laptop away from its second monitor) would hide the
  // window: it then comes up in the middle of the screen it is on.
  const QScreen* onScreen = QGuiApplication::screenAt(wanted.center());
  resize(wanted.size().boundedTo(onScreen != nullptr ? onScreen->availableGeometry().size() : wanted.size()));
  if (onScreen != nullptr) {
    move(wanted.topLeft());
  } else {
    CentreOnScreen(*this);
  }
  if (place.maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindowView::BuildPortGroup(QWidget* client) {
  ui::TMainFormDesign& f = form_;
  auto* group = Place<QGroupBox>(client, 8, 4, kGroupWidth, 112);
  binder_.Group(group, f.grp_OpenCom_Caption);
  binder_.Label(Place<QLabel>(group, kCaptionX, 24, kCaptionWidth, kRowHeight), f.lbl_Open_ComName);
  // The port list reaches the group's edge, so that an adapter's name with its note ("ttyUSB5 (not
  // connected)") shows whole; the port button sits beside the rate list instead.
  binder_.Combo(Place<ModelComboBox>(group, kFieldX, 24, kGroupWidth - 12 - kFieldX, kRowHeight),
                f.cbb_Open_ComName);
  auto* button = Place<QPushButton>(group, 240, 51, 108, 28);
  button->setIconSize(QSize(20, 20));
  binder_.Button(button, f.btn_Com);
  binder_.Label(Place<QLabel>(group, kCaptionX, 54, kCaptionWidth, kRowHeight), f.lbl_Open_BaudRate);
  binder_.Combo(Place<ModelComboBox>(group, kFieldX, 54, 100, kRowHeight), f.cbb_Open_BaudRate);
  binder_.Label(Place<QLabel>(group, kCaptionX, 82, kCaptionWidth, kRowHeight), f.lbl_Open_ComParam);
  binder_.Combo(Place<ModelComboBox>(group, kFieldX, 82, 76, kRowHeight), f.cbb_Open_Parity);
  binder_.Combo(Place<ModelComboBox>(group, kFieldX + 80, 82, 56, kRowHeight), f.cbb_Open_Byte);
  binder_.Combo(Place<ModelComboBox>(group, kFieldX + 140, 82, 56, kRowHeight), f.cbb_Open_Stop);
}

void MainWindowView::BuildParamGroup(QWidget* client) {
  ui::TMainFormDesign& f = form_;
  auto* group = Place<QGroupBox>(client, 8, 122, kGroupWidth, 338 + MoreHeight(f));
  binder_.Group(group, f.grp_Param_Caption);
  int row = 0;
  auto y = [&row] { return 24 + row * kRowPitch; };
  auto caption = [&](ui::TLabel& label) {
    binder_.Label(Place<QLabel>(group, kCaptionX, y(), kCaptionWidth, kRowHeight), label);
  };
  auto hint = [&](ui::TLabel& label) {
    binder_.LinkLabel(Place<ClickLabel>(group, kHintX, y(), 24, kRowHeight), label);
  };
  auto edit = [&](ui::TEdit& model, int x, int w) {
    binder_.Edit(Place<ModelLineEdit>(group, x, y(), w, kRowHeight), model);
  };
  auto combo = [&](ui::TComboBox& model, int x, int w) {
    binder_.Combo(Place<ModelComboBox>(group, x, y(), w, kRowHeight), model);
  };
  auto unit = [&](ui::TLabel& label) {
    binder_.Label(Place<QLabel>(group, kBesideX, y(), 60, kRowHeight), label);
  };
  auto hex = [&](ui::TCheckBox& box) {
    binder_.Check(Place<QCheckBox>(group, kBesideX, y(), 60, kRowHeight), box);
  };

  caption(f.lbl_APN);
  combo(f.cbb_APN, kFieldX, 76);
  edit(f.edt_APN_other, kFieldX + 80, 120);
  hint(f.lbl_Hint_APN);
  ++row;
  caption(f.lbl_IP);
  edit(f.edt_IP, kFieldX, 200);
  hint(f.lbl_Hint_IP);
  ++row;
  caption(f.lbl_NetProtocol);
  combo(f.cbb_NetProtocol, kFieldX, 76);
  hint(f.Label2);
  ++row;
  caption(f.lbl_Port);
  edit(f.edt_Port, kFieldX, 120);
  hint(f.lbl_Hint_PtlPort);
  ++row;
  caption(f.lbl_ComBaudRate);
  combo(f.cbb_Com_BaudRate, kFieldX, 100);
  hint(f.lbl_Hint_ComBaudRate);
  ++row;
  caption(f.lbl_ComParam);
  combo(f.cbb_Com_Parity, kFieldX, 76);
  combo(f.cbb_Com_Byte, kFieldX + 80, 56);
  combo(f.cbb_Com_Stop, kFieldX + 140, 56);
  hint(f.lbl_Hint_ComParam);
  ++row;
  caption(f.lbl_DevID);
  edit(f.edt_DevID, kFieldX, 120);
  hex(f.chk_DevID);
  hint(f.lbl_Hint_DevID);
  ++row;
  caption(f.lbl_HeartbeatFormat);
  edit(f.edt_HeartbeatFormat, kFieldX, 120);
  hex(f.chk_HeartbeatFormat);
  hint(f.lbl_Hint_HbF);
  ++row;
  caption(f.lbl_HeartbeatTime);
  edit(f.edtl_HeartbeatTime, kFieldX, 120);
  unit(f.lbl_HeartbeatTime_s);
  hint(f.lbl_Hint_HbT);
  ++row;
  caption(f.lbl_WaitLen);
  edit(f.edt_WaitLen, kFieldX, 120);
  unit(f.lbl_WaitLen_B);
  hint(f.lbl_Hint_WaitLen);
  ++row;
  caption(f.lbl_WaitTime);
  edit(f.edt_WaitTime, kFieldX, 120);
  unit(f.lbl_WaitTime_ms);
  hint(f.lbl_Hint_WaitTime);
  ++row;
  caption(f.lbl_RestartTime);
  edit(f.edt_RestartTime, kFieldX, 120);
  unit(f.lbl_lbl_RestartTime_s);
  hint(f.lbl1);
  for (const auto& more : f.MoreSettings) {
    ++row;
    caption(more->caption);
    if (more->IsList()) {
      combo(more->list, kFieldX, 100);
    } else {
      edit(more->edit, kFieldX, 120);
    }
    if (more->IsPacket()) hex(more->hex);
    hint(more->hint);
  }
}

void MainWindowView::BuildActionButtons(QWidget* client) {
  // The picture above the caption, so the longer English captions fit the buttons' width.
  int x = 8;
  for (ui::TButton* model : {&form_.btn_Default, &form_.btn_Read, &form_.btn_SetAll}) {
    auto* button = Place<QToolButton>(client, x, 466 + MoreHeight(form_), 116, 42);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(20, 20));
    button->setFocusPolicy(Qt::StrongFocus);
    binder_.Button(button, *model);
    x += 122;
  }
}

void MainWindowView::BuildLog(QWidget* client) {
  binder_.Label(Place<QLabel>(client, kLogX, 8, 160, 18), form_.lbl_Info);
  auto* clear = Place<ClickLabel>(client, kClientWidth - 8 - 170, 8, 170, 18);
  clear->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  binder_.LinkLabel(clear, form_.lbl_Clear);
  clear_ = clear;
  auto* log = Place<QPlainTextEdit>(client, kLogX, 28, kClientWidth - 8 - kLogX, 476 + MoreHeight(form_));
  log_ = log;
  log->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Tab moves on to the next control, as in the rest of the window.
  log->setTabChangesFocus(true);
  // The log is the program's record: the user selects and copies from it but never changes it.
  log->setReadOnly(true);
  log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  binder_.Memo(log, form_.mmo_Info);
  // The command box, under the log while Tools > Send command is ticked.
  auto* command = Place<ModelLineEdit>(client, kLogX, 0, 100, kRowHeight + 2);
  binder_.Edit(command, form_.edt_Command);
  command_ = command;
  auto* send = Place<QPushButton>(client, 0, 0, 80, kRowHeight + 4);
  binder_.Button(send, form_.btn_Send);
  send_ = send;
  binder_.Also([this] { FitLogToClient(); });
}

void MainWindowView::BuildMenu() {
  QMenuBar* bar = menuBar();
  for (ui::TMenuItem* top : form_.mm1.Items) {
    if (top->Items.empty()) {
      // A command on the bar itself (the language switch).
      binder_.MenuItem(bar->addAction(QString()), *top);
      continue;
    }
    QMenu* menu = bar->addMenu(QString());
    binder_.MenuItem(menu->menuAction(), *top);
    for (ui::TMenuItem* item : top->Items) {
      QAction* action = item->IsSeparator() ? menu->addSeparator() : menu->addAction(QString());
      binder_.MenuItem(action, *item);
      // Escape cancels what runs; while nothing runs the item is disabled and Escape goes to the widgets.
      if (item->Tag == ui::tags::kCancel) action->setShortcut(QKeySequence(Qt::Key_Escape));
    }
  }
}

void MainWindowView::SetFocusOrder() {
  for (ui::Control* model : form_.FocusOrder()) {
    QWidget* widget = findChild<QWidget*>(QString::fromStdString(model->Name));
    if (!focusOrder_.empty()) setTabOrder(focusOrder_.back(), widget);
    focusOrder_.push_back(widget);
  }
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  // The model decides: the window goes away when its form has been closed.
  binder_.UserAction([this] {
    if (onCloseRequest_) {
      onCloseRequest_();
    } else {
      form_.Close();
    }
  });
  event->setAccepted(!form_.Visible());
}

void MainWindowView::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!placed_) {
    CentreOnScreen(*this);
    designedPlace_ = ui::WindowPlace{pos().x(), pos().y(), width(), height(), false};
    if (form_.Place) ShowAtPlace();
    placed_ = true;
  }
}

}  // namespace gui
