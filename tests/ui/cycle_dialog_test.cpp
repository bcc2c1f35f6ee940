// SPDX-License-Identifier: GPL-3.0-or-later
// "Enregistre cycle" through the real window and the real save dialog: a new file is created only
// after "Oui", "Non" goes back to the dialog, "Annuler" writes nothing, and an existing file is
// replaced after Qt's own question.

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>

#include "app/application.h"
#include "support/fake_serial_port.h"
#include "support/temp_folder.h"
#include "ui/controls/face_button.h"
#include "ui/cycle_save_dialog.h"
#include "ui/form_view.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace lumiere {
namespace {

// Answers the modal dialogs of one click, step by step: each step looks at the active modal
// widget and returns true once it has done its part. Whatever is still open after five seconds
// is rejected, so a test that goes wrong fails instead of hanging.
class ModalScript {
public:
    using Step = std::function<bool(QWidget* modal)>;

    explicit ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (steps_.empty()) return timer_.stop();
            if (steps_.front()(QApplication::activeModalWidget())) steps_.pop_front();
        });
        timer_.start(10);
        QTimer::singleShot(5000, &timer_, [this] {
            timedOut_ = !steps_.empty();
            steps_.clear();
            while (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                else
                    modal->close();
                QApplication::processEvents();
            }
        });
    }
    bool finished() const { return steps_.empty() && !timedOut_; }

private:
    std::deque<Step> steps_;
    QTimer timer_;
    bool timedOut_ = false;
};

// Types a name into the dialog, as the user would, and presses "Enregistrer".
ModalScript::Step chooseFile(const QString& name) {
    return [name](QWidget* modal) {
        auto* dialog = qobject_cast<ui::CycleSaveDialog*>(modal);
        auto* box =
            dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!box) return false;
        box->setText(name);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        return true;
    };
}

ModalScript::Step answer(const QString& shown, QMessageBox::ButtonRole role) {
    return [shown, role](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || !box->text().contains(shown)) return false;
        for (QAbstractButton* button : box->buttons()) {
            if (box->buttonRole(button) == role) {
                QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
                return true;
            }
        }
        return false;
    };
}

ModalScript::Step cancel() {
    return [](QWidget* modal) {
        auto* dialog = qobject_cast<ui::CycleSaveDialog*>(modal);
        if (!dialog) return false;
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        return true;
    };
}

TEST(CycleSaveDialog, AsksBeforeCreatingAndBeforeReplacing) {
    TempFolder folder;
    folder.write("param.ini", "[Port]\r\nCOM=1\r\n");
    ui::QtPlatform platform(folder.path());
    test::FakeSerialPort port;
    Application app(platform, port);
    ui::MainWindow window(app, platform);
    platform.setOwner(&window);
    app.Form_Load();
    window.show();
    QWidget* record = window.formView()->button(11);
    const std::string soir = folder.file("soir.txt");  // the dialog opens in the program folder

    {  // A new name: "Non" goes back to the dialog, "Oui" writes the file.
        std::deque<ModalScript::Step> steps{
            chooseFile(QStringLiteral("soir.txt")),
            answer(QStringLiteral("soir.txt"), QMessageBox::NoRole),
            [&](QWidget* modal) {
                // Back in the dialog, nothing written yet.
                EXPECT_FALSE(std::filesystem::exists(soir));
                return chooseFile(QStringLiteral("soir.txt"))(modal);
            },
            answer(QStringLiteral("soir.txt"), QMessageBox::YesRole)};
        ModalScript script(std::move(steps));
        QTest::mouseClick(record, Qt::LeftButton);
        ASSERT_TRUE(script.finished());
    }
    EXPECT_EQ(folder.read("soir.txt"),
              "2460\r\n1770\r\n1860\r\n1950\r\n1860\r\n2580\r\n2070\r\n2640\r\n1920\r\n");
    EXPECT_EQ(app.form().Label5.caption, "Enregistr\xE9 ");

    {  // "Annuler": nothing written, the status label keeps its caption.
        app.Picture11_MouseMove(0, 0, 1000, 2000);  // knob 0 goes up to 2000
        ModalScript script({cancel()});
        QTest::mouseClick(record, Qt::LeftButton);
        ASSERT_TRUE(script.finished());
        EXPECT_EQ(folder.read("soir.txt").substr(0, 6), "2460\r\n");
    }

    {  // The same name again: no creation question, Qt's replace question, then the new cycle.
        ModalScript script({chooseFile(QStringLiteral("soir.txt")),
                            answer(QStringLiteral("soir.txt"), QMessageBox::YesRole)});
        QTest::mouseClick(record, Qt::LeftButton);
        ASSERT_TRUE(script.finished());
    }
    EXPECT_EQ(folder.read("soir.txt").substr(0, 6), "2000\r\n");
}

}  // namespace
}  // namespace lumiere
