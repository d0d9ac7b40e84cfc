#pragma once
// What the view tests share: one QApplication on the offscreen platform, and the windows' texts in either
// language, put on the models the way the language switch does.

#include <QString>
#include <string_view>

#include "lang/LangRows.h"
#include "ui/DialogDesigns.h"
#include "ui/MainFormDesign.h"

class QObject;
class QWidget;

namespace gui_test {

enum class Language { Chinese, English };

// The test main creates the one QApplication; this checks it is there.
void EnsureQtApplication();

// The row's text in the language, as the screen shows it (UTF-8 into QString).
QString Text(const lang::LangRow& row, Language language);

void ApplyMainTexts(ui::TMainFormDesign& form, Language language);
void ApplyAboutTexts(ui::TAboutFormDesign& form, Language language);
void ApplyApnTexts(ui::TApnFormDesign& form, Language language);

// Draws the window into <build>/tests/gui/screens/<name>.png; returns the file's path.
QString SaveScreen(QWidget& window, const QString& name);

// The text a widget or menu action shows, whatever its kind.
QString ShownText(const QObject* object);

}  // namespace gui_test
