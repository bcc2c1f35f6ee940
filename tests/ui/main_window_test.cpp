// SPDX-License-Identifier: GPL-3.0-or-later
// The real window offscreen: it builds the whole desk at its places, routes the mouse as the
// handlers expect, paints the model, and binds the timers without restarting them needlessly.

#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include "ui/controls/click_slider.h"

#include "model/mouse.h"
#include "support/window_rig.h"
#include "text/cp1252.h"
#include "ui/controls/face_button.h"
#include "ui/controls/label_view.h"
#include "ui/controls/picture_view.h"
#include "ui/qt_bridge.h"
#include "ui/timer_binding.h"

namespace lumiere {
namespace {

using test::deskPoint;
using test::WindowRig;

TEST(MainWindow, HasItsCaptionMenuAndFixedClientArea) {
    WindowRig rig;
    EXPECT_EQ(rig.window->windowTitle(),
              QStringLiteral("Jeu de lumière commandé par PC - Ondelia"));
    EXPECT_EQ(rig.formView().size(), QSize(692, 470));
    // "Fichier" as designed, then "Options" for what goes beyond the desk.
    const QList<QAction*> menus = rig.window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("Fichier"));
    QStringList items;
    for (QAction* item : menus[0]->menu()->actions()) items << item->text();
    EXPECT_EQ(items, (QStringList{QStringLiteral("Paramètres"), QStringLiteral("à propos de ..."),
                                  QStringLiteral("Quitter")}));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Options"));
}

TEST(MainWindow, PlacesTheDeskControlsAndButtonsWhereTheModelSays) {
    WindowRig rig;
    EXPECT_EQ(rig.desk().geometry(), QRect(0, 22, 691, 343));
    EXPECT_EQ(rig.desk().knob(8)->geometry(), QRect(614, 128, 33, 21));
    EXPECT_EQ(rig.desk().lamp(0)->geometry(), QRect(50, 40, 17, 7));
    EXPECT_EQ(rig.desk().toggle()->geometry(), QRect(28, 268, 30, 41));
    ui::FaceButton* random = rig.formView().button(5);
    EXPECT_EQ(random->geometry(), QRect(456, 438, 111, 23));
    EXPECT_EQ(rig.formView().button(9)->toolTip(), QStringLiteral("Click droit pour arrêter"));
    EXPECT_EQ(rig.formView().groupSelector()->maximum(), 3);
    EXPECT_EQ(rig.formView().stepLength()->value(), 5);
    EXPECT_EQ(rig.formView().stepLength()->toolTip(),
              QStringLiteral("Réglage vitesse de la séquence"));
}

TEST(MainWindow, AMovementOverTheDeskMovesTheChosenKnobButOneOverAKnobDoesNot) {
    WindowRig rig;
    QWidget& desk = rig.desk();
    // Knob 0 is chosen at start-up; its column is 900 to 1395 twips.
    QTest::mouseMove(&desk, deskPoint(1050, 1200));
    EXPECT_EQ(rig.form().potar[0].geo.top, 1200);
    EXPECT_EQ(rig.desk().knob(0)->y(), 80);
    // Over knob 1 itself the movement goes to the knob, and knob 1 is not chosen anyway.
    const Form1 before = rig.form();
    QTest::mouseMove(rig.desk().knob(0), QPoint(5, 5));
    EXPECT_EQ(rig.form().potar[0].geo.top, before.potar[0].geo.top);
    EXPECT_EQ(rig.form().niveau[0].caption, before.niveau[0].caption);
}

TEST(MainWindow, KnobClicksAndDeskRightClicksReachTheirHandlers) {
    WindowRig rig;
    QTest::mouseClick(rig.desk().knob(3), Qt::LeftButton);
    EXPECT_EQ(rig.values().actif, 3);
    EXPECT_EQ(rig.desk().cursor().shape(), Qt::UpArrowCursor);
    rig->Slider1_Scroll(2);
    QTest::mouseClick(&rig.desk(), Qt::RightButton, {}, deskPoint(200, 2000));
    EXPECT_EQ(rig.values().actif, 8);
    EXPECT_EQ(rig.formView().groupSelector()->value(), 0);
    QTest::mouseMove(rig.desk().band(), QPoint(10, 10));
    EXPECT_EQ(rig.desk().cursor().shape(), Qt::ArrowCursor);
}

TEST(MainWindow, ButtonsClickOnTheLeftAndStopOnTheRight) {
    WindowRig rig;
    QTest::mouseClick(rig.desk().toggle(), Qt::LeftButton);
    EXPECT_EQ(rig.values().marche, 1);
    QTest::mouseClick(rig.formView().button(6), Qt::LeftButton);
    EXPECT_TRUE(rig.form().Command11[6].italic);
    EXPECT_TRUE(rig.formView().button(6)->font().italic());
    EXPECT_TRUE(rig.window->timer1().ticker().isActive());
    QTest::mouseClick(rig.formView().button(3), Qt::RightButton);
    EXPECT_FALSE(rig.form().Command11[6].italic);
    EXPECT_EQ(rig.values().choix, 6);  // a right click is no click
    EXPECT_FALSE(rig.window->timer1().ticker().isActive());
    EXPECT_TRUE(rig.window->timer4().ticker().isActive());
}

TEST(MainWindow, LampsAreRepaintedFromTheModel) {
    WindowRig rig;
    QTest::mouseClick(rig.desk().lamp(2), Qt::LeftButton);
    EXPECT_EQ(rig.form().lampe[2].backColor, colour::kRed);
    const QImage shot = rig.desk().grab().toImage();
    const QPoint centre = rig.desk().lamp(2)->geometry().center();
    EXPECT_EQ(shot.pixelColor(centre), QColor(255, 0, 0));
    const QPoint other = rig.desk().lamp(3)->geometry().center();
    EXPECT_EQ(shot.pixelColor(other), QColor(0xE0, 0xE0, 0xE0));
}

TEST(MainWindow, AnUnchangedIntervalNeverRestartsThePlayer) {
    WindowRig rig;
    rig->inter_Click();
    rig->Command11_Click(6);
    rig->potar_MouseDown(8, mouse::kLeft, 0, 0, 0);
    rig->Picture11_MouseMove(0, 0, 9300, 1920);
    const ui::PeriodicTicker& timer = rig.window->timer1().ticker();
    ASSERT_TRUE(timer.isActive());
    const int starts = timer.starts();
    for (int i = 0; i < 20; ++i) rig->Picture11_MouseMove(0, 0, 100, 2000 + i);
    EXPECT_EQ(timer.starts(), starts);
    EXPECT_EQ(timer.interval(), 150);
    rig->Picture11_MouseMove(0, 0, 9300, 920);   // top edge to 920
    rig->Picture11_MouseMove(0, 0, 9300, 1100);  // bottom edge to 1100: top 785, level 0
    EXPECT_FALSE(timer.isActive());
    EXPECT_TRUE(rig->show().timer1().enabled);
}

TEST(MainWindow, TheStatusBarShowsLinkFaultsAndNotices) {
    WindowRig rig;
    rig.port.openError = EACCES;
    rig->inter_Click();
    rig->Timer4_Timer();
    const QString text = rig.window->statusBar()->findChildren<QLabel*>().last()->text();
    EXPECT_TRUE(text.contains(QStringLiteral("dialout"))) << text.toStdString();
}

TEST(MainWindow, TheStatusBarNamesTheDeviceTheFramesGoTo) {
    WindowRig rig;
    QLabel* link = rig.window->statusBar()->findChildren<QLabel*>().last();
    // The test folder has no COM1: the bar says so, naming the port.
    EXPECT_TRUE(link->text().startsWith(QStringLiteral("Port COM1 (")))
        << link->text().toStdString();
    rig.serial().run(&SerialPortOption::show);
    rig.serial().run([&](SerialPortOption& o) {
        o.select("/dev/null");
    });  // a character device; the rig's port opens anything
    rig.serial().run(&SerialPortOption::use);
    rig->inter_Click();
    rig->Timer4_Timer();
    EXPECT_EQ(link->text(), QStringLiteral("Périphérique /dev/null"));
    rig.serial().run([&](SerialPortOption& o) { o.select(""); });  // "Aucun (numéro COM)"
    rig.serial().run(&SerialPortOption::use);
    EXPECT_TRUE(link->text().startsWith(QStringLiteral("Port COM1 (")))
        << link->text().toStdString();
}

}  // namespace
}  // namespace lumiere
