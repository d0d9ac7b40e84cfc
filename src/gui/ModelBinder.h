#pragma once
// Mirrors one window model in its widgets, both ways. Model to widgets: Refresh() redraws every bound widget
// when the model revision has moved since the last drawing. Widgets to model: each user action calls the
// control's User* operation through the application's Dispatch, so an error that escapes a handler reaches
// the general error report, and then every view redraws.
// The binder keeps no copy of what a control holds; it only remembers what it last drew where redrawing
// would disturb the user (the log's lines, the About picture's decoding).

#include <functional>
#include <vector>

#include "ui/Application.h"
#include "ui/Controls.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QAbstractButton;
class QWidget;

namespace gui {

class ClickLabel;
class ModelLineEdit;

class ModelBinder {
 public:
  explicit ModelBinder(ui::Application& app);
  ~ModelBinder();
  ModelBinder(const ModelBinder&) = delete;
  ModelBinder& operator=(const ModelBinder&) = delete;

  ui::Application& App() { return app_; }

  void Label(QLabel* widget, ui::TLabel& model);
  // Blue, underlined, hand cursor; a click is the label's click.
  void LinkLabel(ClickLabel* widget, ui::TLabel& model);
  void Group(QGroupBox* widget, ui::TGroupBox& model);
  void Button(QAbstractButton* widget, ui::TButton& model);
  void Combo(QComboBox* widget, ui::TComboBox& model);
  void Edit(ModelLineEdit* widget, ui::TEdit& model);
  void Check(QCheckBox* widget, ui::TCheckBox& model);
  void Memo(QPlainTextEdit* widget, ui::TMemo& model);
  void MenuItem(QAction* action, ui::TMenuItem& model);
  // Any other redrawing a view needs (window captions, pictures).
  void Also(std::function<void()> refresh) { refreshers_.push_back(std::move(refresh)); }

  // Runs a user action on the model, then lets every view catch up.
  void UserAction(const std::function<void()>& action);

  // Redraws when the models changed since the last drawing (or always, when forced).
  void Refresh(bool force = false);
  // Every live binder.
  static void RefreshAll();

 private:
  void Common(QWidget* widget, ui::Control& model);

  ui::Application& app_;
  std::vector<std::function<void()>> refreshers_;
  uint64_t drawn_ = 0;
  bool everDrawn_ = false;
};

}  // namespace gui
