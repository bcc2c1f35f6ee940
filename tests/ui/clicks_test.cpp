// SPDX-License-Identifier: GPL-3.0-or-later
// Clicks as a desktop user makes them: the group selector runs its click handler once per click
// (on the thumb too) and once at the end of a drag; the keys move a slider that was clicked; a
// double click on the desk is one click, while the command buttons take it as two.

#include <gtest/gtest.h>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <algorithm>

#include "support/fake_platform.h"
#include "support/window_rig.h"
#include "ui/controls/click_slider.h"
#include "ui/controls/face_button.h"
#include "ui/controls/label_view.h"
#include "ui/controls/picture_view.h"

namespace lumiere {
namespace {

using test::pictureName;
using test::WindowRig;

// The centre of the slider's thumb when it stands at `value`.
QPoint thumbAt(const QSlider& slider, int value) {
    const int length = slider.style()->pixelMetric(QStyle::PM_SliderLength, nullptr, &slider);
    const int x = QStyle::sliderPositionFromValue(slider.minimum(), slider.maximum(), value,
                                                  slider.width() - length);
    return QPoint(x + length / 2, slider.height() / 2);
}

// Knobs showing the highlighted face, and how many times the selector redrew all knobs.
struct Knobs {
    std::vector<int> lit;
    long redraws;
};
Knobs knobsOf(const WindowRig& rig) {
    Knobs knobs{
        {},
        std::count_if(rig.platform.picturesLoaded.begin(), rig.platform.picturesLoaded.end(),
                      [](const std::string& path) { return path.ends_with("/bout_off.dib"); }) /
            kStrips};
    for (int i = 0; i < kStrips; ++i) {
        if (pictureName(rig.form().potar[i].picture) == "bout_on.dib") knobs.lit.push_back(i);
    }
    return knobs;
}

TEST(Clicks, TheGroupSelectorClicksOncePerClickAndOnceAtTheEndOfADrag) {
    WindowRig rig;
    ui::ClickSlider& selector = *rig.formView().groupSelector();
    QTest::mouseClick(rig.desk().knob(3), Qt::LeftButton);
    ASSERT_EQ(knobsOf(rig).lit, std::vector<int>{3});

    // A click on the thumb leaves the position and still redraws the knobs from the table.
    const long before = knobsOf(rig).redraws;
    QTest::mouseClick(&selector, Qt::LeftButton, {}, thumbAt(selector, 0));
    EXPECT_EQ(rig.form().Slider1.value, 0);
    EXPECT_EQ(knobsOf(rig).redraws, before + 1);
    EXPECT_EQ(knobsOf(rig).lit, std::vector<int>{});
    EXPECT_EQ(rig.values().actif, 3);  // position 0 leaves it

    // Dragged to 2: one click, at 2.
    QTest::mousePress(&selector, Qt::LeftButton, {}, thumbAt(selector, 0));
    QTest::mouseMove(&selector, thumbAt(selector, 1));
    QTest::mouseMove(&selector, thumbAt(selector, 2));
    QTest::mouseRelease(&selector, Qt::LeftButton, {}, thumbAt(selector, 2));
    EXPECT_EQ(rig.form().Slider1.value, 2);
    EXPECT_EQ(knobsOf(rig).redraws, before + 2);
    EXPECT_EQ(knobsOf(rig).lit, (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(rig.values().actif, 2);

    // Dragged from 2 through 1 to 0: the click sees 0 only, so actif stays 2.
    QTest::mousePress(&selector, Qt::LeftButton, {}, thumbAt(selector, 2));
    QTest::mouseMove(&selector, thumbAt(selector, 1));
    EXPECT_EQ(knobsOf(rig).redraws, before + 2);  // nothing while the drag goes on
    QTest::mouseMove(&selector, thumbAt(selector, 0));
    QTest::mouseRelease(&selector, Qt::LeftButton, {}, thumbAt(selector, 0));
    EXPECT_EQ(rig.form().Slider1.value, 0);
    EXPECT_EQ(knobsOf(rig).redraws, before + 3);
    EXPECT_EQ(knobsOf(rig).lit, std::vector<int>{});
    EXPECT_EQ(rig.values().actif, 2);
}

TEST(Clicks, AClickedSliderTakesTheFocusAndTheKeysMoveIt) {
    WindowRig rig;
    rig.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
    ui::ClickSlider& selector = *rig.formView().groupSelector();
    ui::ClickSlider& speed = *rig.formView().stepLength();

    QTest::mouseClick(&speed, Qt::LeftButton, {}, thumbAt(speed, 5));
    EXPECT_TRUE(speed.hasFocus());
    QTest::keyClick(&speed, Qt::Key_End);
    EXPECT_EQ(rig.form().Slider2.value, 30);
    QTest::keyClick(&speed, Qt::Key_Left);
    EXPECT_EQ(rig.form().Slider2.value, 29);

    // On the group selector a key that moves it is a click at the new position.
    QTest::mouseClick(&selector, Qt::LeftButton, {}, thumbAt(selector, 0));
    EXPECT_TRUE(selector.hasFocus());
    const long before = knobsOf(rig).redraws;
    QTest::keyClick(&selector, Qt::Key_Right);
    EXPECT_EQ(rig.form().Slider1.value, 1);
    EXPECT_EQ(rig.values().actif, 1);
    EXPECT_EQ(knobsOf(rig).lit, (std::vector<int>{0, 2, 4, 6}));
    QTest::keyClick(&selector, Qt::Key_End);
    EXPECT_EQ(knobsOf(rig).lit, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    QTest::keyClick(&selector, Qt::Key_End);  // already there: no click
    EXPECT_EQ(knobsOf(rig).redraws, before + 2);
}

// A double click as the window system delivers it: press, release, then the second press and a
// double-click event, then the release.
void doubleClick(QWidget* widget) {
    QWindow* window = widget->window()->windowHandle();
    const QPoint at = window->mapFromGlobal(widget->mapToGlobal(widget->rect().center()));
    QTest::mouseDClick(window, Qt::LeftButton, {}, at);
}

TEST(Clicks, ADoubleClickOnTheDeskIsOneClickButTwoOnACommandButton) {
    WindowRig rig;
    doubleClick(rig.desk().toggle());
    EXPECT_EQ(rig.values().marche, 1);  // on, and not straight off again
    EXPECT_TRUE(rig->show().timer4().enabled);

    doubleClick(rig.desk().lamp(2));
    EXPECT_EQ(rig.form().lampe[2].backColor, colour::kRed);

    const std::size_t loads = rig.platform.picturesLoaded.size();
    doubleClick(rig.desk().knob(5));
    EXPECT_EQ(rig.platform.picturesLoaded.size(), loads + kStrips + 1);  // one mouse-down

    doubleClick(rig.formView().button(5));  // pressed, then released
    EXPECT_FALSE(rig.form().Command11[5].italic);
    EXPECT_FALSE(rig->show().timer1().enabled);
    EXPECT_TRUE(rig->show().timer4().enabled);
}

}  // namespace
}  // namespace lumiere
