#include "gui/ModelBinder.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <algorithm>

#include "gui/ModelWidgets.h"
#include "gui/Pictures.h"
#include "gui/QtText.h"

namespace gui {
namespace {

std::vector<ModelBinder*>& LiveBinders() {
  static std::vector<ModelBinder*> binders;
  return binders;
}

void SetBackground(QWidget* widget, ui::TColor color) {
  QPalette palette = widget->palette();
  const QColor base =
      color == ui::TColor::clBtnFace ? QPalette().color(QPalette::Button) : QPalette().color(QPalette::Base);
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    palette.setColor(group, QPalette::Base, base);
  widget->setPalette(palette);
}

// A marked field shows its text in red; unmarked, it gets back the colours it had, a link label's blue too.
void DrawMark(QWidget* widget, bool marked, QPalette& unmarked) {
  constexpr QPalette::ColorRole kTextRoles[] = {QPalette::Text, QPalette::WindowText, QPalette::ButtonText};
  QPalette palette = widget->palette();
  if (marked) unmarked = palette;
  for (const QPalette::ColorRole role : kTextRoles) {
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
      palette.setColor(group, role, marked ? QColor(Qt::red) : unmarked.color(group, role));
    }
  }
  widget->setPalette(palette);
}

}  // namespace

ModelBinder::ModelBinder(ui::Application& app) : app_(app) { LiveBinders().push_back(this); }

ModelBinder::~ModelBinder() { std::erase(LiveBinders(), this); }

void ModelBinder::RefreshAll() {
  // A copy: redrawing never creates or destroys views, but a binder list that changes under the loop would
  // be a crash, so the loop does not depend on it.
  const std::vector<ModelBinder*> binders = LiveBinders();
  for (ModelBinder* binder : binders) binder->Refresh();
}

void ModelBinder::Refresh(bool force) {
  const uint64_t revision = ui::ModelRevision();
  if (!force && everDrawn_ && revision == drawn_) return;
  drawn_ = revision;
  everDrawn_ = true;
  for (const auto& refresh : refreshers_) refresh();
}

void ModelBinder::UserAction(const std::function<void()>& action) {
  app_.Dispatch(action);
  RefreshAll();
}

void ModelBinder::Common(QWidget* widget, ui::Control& model) {
  widget->setObjectName(QString::fromStdString(model.Name));
  refreshers_.push_back(
      [widget, &model, focused = model.FocusRequests(), marked = false, unmarked = QPalette()]() mutable {
        widget->setEnabled(model.Enabled());
        if (model.Marked() != marked) {
          marked = model.Marked();
          DrawMark(widget, marked, unmarked);
        }
        // Hidden controls are never drawn; the window's own showing is left to the view. Shown before the
        // focus is given, as a hidden widget cannot take it.
        if (!widget->isWindow() && widget->isHidden() == model.Visible()) widget->setVisible(model.Visible());
        if (model.FocusRequests() != focused) {
          focused = model.FocusRequests();
          widget->setFocus(Qt::OtherFocusReason);
        }
      });
}

void ModelBinder::Label(QLabel* widget, ui::TLabel& model) {
  Common(widget, model);
  // Plain text only: a language file's text is shown as written, never read as markup.
  widget->setTextFormat(Qt::PlainText);
  const QRect designed = widget->geometry();
  Also([widget, &model, designed] {
    widget->setText(ToQtMultiLine(model.Caption()));
    // A caption from the language file may have two lines where the window has room for one: the label
    // grows about the middle of its row to show them all, and shrinks back for a one-line caption.
    if (widget->wordWrap()) return;
    const int height = std::max(designed.height(), widget->sizeHint().height());
    if (height != widget->height())
      widget->setGeometry(designed.x(), designed.y() - (height - designed.height()) / 2, designed.width(),
                          height);
  });
  if (auto* clickable = qobject_cast<ClickLabel*>(widget)) {
    QObject::connect(clickable, &ClickLabel::clicked, clickable,
                     [this, &model] { UserAction([&model] { model.UserClick(); }); });
  }
}

void ModelBinder::LinkLabel(ClickLabel* widget, ui::TLabel& model) {
  Label(widget, model);
  QFont font = widget->font();
  font.setUnderline(true);
  widget->setFont(font);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  widget->setPalette(palette);
  widget->setCursor(Qt::PointingHandCursor);
}

void ModelBinder::Group(QGroupBox* widget, ui::TGroupBox& model) {
  Common(widget, model);
  Also([widget, &model] { widget->setTitle(ToQt(model.Caption())); });
}

void ModelBinder::Button(QAbstractButton* widget, ui::TButton& model) {
  Common(widget, model);
  Also([widget, &model] {
    widget->setText(ToQt(model.Caption()));
    widget->setIcon(PictureIcon(model.Picture()));
  });
  QObject::connect(widget, &QAbstractButton::clicked, widget,
                   [this, &model] { UserAction([&model] { model.UserClick(); }); });
  ClickOnEnter(widget);
}

void ModelBinder::Combo(QComboBox* widget, ui::TComboBox& model) {
  Common(widget, model);
  Also([widget, &model] {
    QStringList items;
    for (const std::string& item : model.Items()) items.push_back(ToQt(item));
    bool same = widget->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = widget->itemText(i) == items[i];
    if (!same) {
      widget->clear();
      widget->addItems(items);
    }
    if (widget->currentIndex() != model.ItemIndex()) widget->setCurrentIndex(model.ItemIndex());
  });
  if (auto* modelCombo = dynamic_cast<ModelComboBox*>(widget)) {
    modelCombo->SetBeforePopup([this, &model] { UserAction([&model] { model.DropDown(); }); });
  }
  // activated is the user's choice only; a selection made by the program raises nothing, as in the model.
  QObject::connect(widget, &QComboBox::activated, widget,
                   [this, &model](int index) { UserAction([&model, index] { model.UserSelect(index); }); });
}

void ModelBinder::Edit(ModelLineEdit* widget, ui::TEdit& model) {
  Common(widget, model);
  Also([widget, &model] {
    const QString text = ToQt(model.Text());
    if (widget->text() != text) widget->setText(text);
    SetBackground(widget, model.Color());
  });
  widget->SetKeyDown([this, &model](ui::TKey key) {
    bool acted = false;
    UserAction([&] { acted = model.UserKeyDown(key); });
    return acted;
  });
  widget->SetKeyFilter([this, &model](char& key) {
    // An error in the filter cancels the key, as the key press handling stops there.
    bool accepted = false;
    app_.Dispatch([&] { accepted = model.KeyPress(key); });
    // A cancelled key edits nothing, so no other redraw follows what the filter itself changed.
    if (!accepted) RefreshAll();
    return accepted;
  });
  QObject::connect(widget, &QLineEdit::textEdited, widget, [this, &model](const QString& text) {
    UserAction([&model, text] { model.UserSetText(FromQt(text)); });
  });
  QObject::connect(widget, &ModelLineEdit::clicked, widget,
                   [this, &model] { UserAction([&model] { model.UserClick(); }); });
}

void ModelBinder::Check(QCheckBox* widget, ui::TCheckBox& model) {
  Common(widget, model);
  Also([widget, &model] {
    widget->setText(ToQt(model.Caption()));
    widget->setChecked(model.Checked());
  });
  QObject::connect(widget, &QCheckBox::clicked, widget,
                   [this, &model] { UserAction([&model] { model.UserToggle(); }); });
}

void ModelBinder::Memo(QPlainTextEdit* widget, ui::TMemo& model) {
  Common(widget, model);
  // What the log widget shows, counted in model lines and clears: the program only appends and clears, so
  // new lines are appended and a clear (or the user's own editing) redraws the whole text.
  struct Drawn {
    size_t lines = 0;
    uint64_t clears = 0;
    bool redrawing = false;
  };
  auto drawn = std::make_shared<Drawn>();
  drawn->clears = model.ClearCount() + 1;  // forces the first full drawing
  Also([widget, &model, drawn] {
    const auto& lines = model.Lines();
    drawn->redrawing = true;
    if (drawn->clears != model.ClearCount() || lines.size() < drawn->lines) {
      QStringList all;
      for (const std::string& line : lines) all.push_back(ToQt(line));
      widget->setPlainText(all.join(QLatin1Char('\n')));
      widget->moveCursor(QTextCursor::End);
    } else {
      for (size_t i = drawn->lines; i < lines.size(); ++i) widget->appendPlainText(ToQt(lines[i]));
    }
    drawn->redrawing = false;
    drawn->lines = lines.size();
    drawn->clears = model.ClearCount();
  });
  QObject::connect(widget, &QPlainTextEdit::textChanged, widget, [this, widget, &model, drawn] {
    if (drawn->redrawing) return;
    std::vector<std::string> lines;
    for (const QString& line : widget->toPlainText().split(QLatin1Char('\n'))) lines.push_back(FromQt(line));
    app_.Dispatch([&] { model.UserSetLines(std::move(lines)); });
    // The widget already shows what the user typed; redrawing it would move the cursor.
    drawn->lines = model.Lines().size();
    drawn->clears = model.ClearCount();
    RefreshAll();
  });
}

void ModelBinder::MenuItem(QAction* action, ui::TMenuItem& model) {
  action->setObjectName(QString::fromStdString(model.Name));
  Also([action, &model] {
    if (!action->isSeparator()) action->setText(ToQt(model.Caption()));
    action->setEnabled(model.Enabled());
    action->setVisible(model.Visible());
    // Only a checked item draws a check mark; the user's click flips the model, which is drawn back here.
    action->setCheckable(model.Checked());
    action->setChecked(model.Checked());
  });
  QObject::connect(action, &QAction::triggered, action,
                   [this, &model] { UserAction([&model] { model.UserClick(); }); });
}

}  // namespace gui
