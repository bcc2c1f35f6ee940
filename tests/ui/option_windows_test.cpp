// SPDX-License-Identifier: GPL-3.0-or-later
// The option dialogs as the user meets them, through the real widgets: each opens from its entry
// in the Options menu, its controls reach its own option, and Escape or the close box is
// "Fermer".

#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "support/window_rig.h"
#include "text/cp1252.h"

namespace lumiere {
namespace {

using test::WindowRig;

// The dialog the Options menu's entry opens.
QWidget* openFromMenu(WindowRig& rig, const QString& entry) {
    for (QAction* menu : rig.window->menuBar()->actions()) {
        if (menu->text() != QStringLiteral("Options")) continue;
        for (QAction* action : menu->menu()->actions()) {
            if (action->text() != entry) continue;
            action->trigger();
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isVisible() && top != rig.window.get() && top->parentWidget()) return top;
            }
        }
    }
    return nullptr;
}

QPushButton* button(QWidget* dialog, const QString& caption) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        if (b->text() == caption) return b;
    }
    return nullptr;
}

TEST(OptionWindows, TheDmxDialogSavesWhatIsTypedOrSaysWhyNot) {
    WindowRig rig;
    QWidget* dialog = openFromMenu(rig, QStringLiteral("Sortie DMX…"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Sortie DMX"));
    QLineEdit* universe = dialog->findChildren<QLineEdit*>().at(0);
    universe->clear();
    QTest::keyClicks(universe, QStringLiteral("0"));
    QTest::mouseClick(button(dialog, QStringLiteral("Enregistrer")), Qt::LeftButton);
    EXPECT_EQ(rig.folder.read("param.ini").find("Univers"), std::string::npos);
    EXPECT_NE(toUtf8(rig.dmxOption()->dialog().message).find("n’est pas un numéro d’univers"),
              std::string::npos);

    universe->clear();
    QTest::keyClicks(universe, QStringLiteral("103"));
    QTest::mouseClick(button(dialog, QStringLiteral("Enregistrer")), Qt::LeftButton);
    EXPECT_NE(rig.folder.read("param.ini").find("Univers=103\r\n"), std::string::npos);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

TEST(OptionWindows, TheMusicDialogTapsWithTheKeyTAndClosesByItsCloseBox) {
    WindowRig rig;
    QWidget* dialog = openFromMenu(rig, QStringLiteral("Musique…"));
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(dialog, Qt::Key_T);
        rig.platform.seconds += 0.5;
    }
    EXPECT_NEAR(rig.music()->dialog().bpm, 120, 0.5);
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(rig.music()->dialog().visible);
}

TEST(OptionWindows, TheSerialPortDialogUsesTheDeviceChosenInItsList) {
    WindowRig rig;
    QWidget* dialog = openFromMenu(rig, QStringLiteral("Port série…"));
    ASSERT_NE(dialog, nullptr);
    QListWidget* list = dialog->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Aucun (numéro COM)"));
    list->setCurrentRow(0);
    QTest::mouseClick(button(dialog, QStringLiteral("Utiliser")), Qt::LeftButton);
    EXPECT_NE(toUtf8(rig.serial()->dialog().message).find("port COM de Fichier > Paramètres"),
              std::string::npos);
    QTest::mouseClick(button(dialog, QStringLiteral("Fermer")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
}

}  // namespace
}  // namespace lumiere
