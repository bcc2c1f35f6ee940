// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog as the user meets it: the texts read at start-up, focus on "Annuler",
// Enter and Escape do nothing by themselves, the close box cancels, "Enregistrer" saves.

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/window_rig.h"
#include "ui/settings_window.h"

namespace lumiere {
namespace {

using test::WindowRig;

QWidget* nextTabStop(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    return next;
}

TEST(SettingsWindow, ShowsTheStartUpTextsWithTheFocusOnCancel) {
    WindowRig rig;
    ui::SettingsWindow& dialog = *rig.window->settingsWindow();
    EXPECT_FALSE(dialog.isVisible());
    rig->n_param_Click();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Paramètres"));
    EXPECT_EQ(dialog.portBox()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.pictureBox()->text(), QStringLiteral("pupitre.bmp"));
    EXPECT_EQ(dialog.size(), QSize(413, 255));
    EXPECT_EQ(dialog.focusWidget(), dialog.cancelButton());
    EXPECT_EQ(nextTabStop(dialog.cancelButton()), dialog.saveButton());
    EXPECT_EQ(nextTabStop(dialog.saveButton()), dialog.portBox());
    EXPECT_EQ(nextTabStop(dialog.portBox()), dialog.pictureBox());
}

TEST(SettingsWindow, EnterAndEscapeDoNothingAndTheCloseBoxCancels) {
    WindowRig rig;
    ui::SettingsWindow& dialog = *rig.window->settingsWindow();
    rig->n_param_Click();
    QTest::keyClicks(dialog.portBox(), QStringLiteral("5"));
    QTest::keyClick(dialog.portBox(), Qt::Key_Return);
    QTest::keyClick(dialog.portBox(), Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(rig.folder.read("param.ini"), "[Port]\r\nCOM=1\r\n[Table]\r\nvaleur=pupitre.bmp\r\n");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(rig.form2().Text1.text, "15");
}

TEST(SettingsWindow, SaveWritesTheProfileOrExplainsARefusal) {
    WindowRig rig;
    ui::SettingsWindow& dialog = *rig.window->settingsWindow();
    rig->n_param_Click();
    dialog.portBox()->clear();
    QTest::keyClicks(dialog.portBox(), QStringLiteral("x"));
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.errorLabel()->text().isEmpty());
    dialog.portBox()->clear();
    QTest::keyClicks(dialog.portBox(), QStringLiteral("4"));
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(rig.folder.read("param.ini"), "[Port]\r\nCOM=4\r\n[Table]\r\nvaleur=pupitre.bmp\r\n");
    EXPECT_EQ(rig->link().portNumber(), 4);
}

}  // namespace
}  // namespace lumiere
