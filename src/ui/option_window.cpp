#include "ui/option_window.h"

#include <QLineEdit>
#include <QWidget>

#include "ui/qt_bridge.h"

namespace lumiere::ui {

void follow(QLineEdit* box, const std::string& text) {
    const QString wanted = toQString(text);
    if (box->text() != wanted) box->setText(wanted);
}

void showOver(QWidget* dialog) {
    if (!dialog->isVisible()) {
        if (const QWidget* owner = dialog->parentWidget()) {
            const QRect area = owner->window()->geometry();
            dialog->adjustSize();
            dialog->move(area.center() - dialog->rect().center());
        }
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace lumiere::ui
