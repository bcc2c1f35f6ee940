// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the option dialogs share, and how an option comes into the program.
//
// An option dialog is not modal and follows its option's model: it shows while the model says
// it is visible, and its close box and the Escape key are its "Fermer". A box follows the
// model's text unless the user is typing in it; a message shows in red when it is a refusal.
//
// An option module is what main.cpp registers, one line per option: the caption of its entry in
// the Options menu, the factory of its model (made by the application) and of its dialog (made
// by the main window, bound to that model).

#include <QKeySequence>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "option/option.h"

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace lumiere::ui {

class OptionWindow : public QWidget {
public:
    // A dialog by default; a window of its own with `Qt::Window`.
    OptionWindow(const QString& title, QWidget* parent, Qt::WindowFlags kind = Qt::Dialog);

    // Follows the option's model; called after every event of the application.
    virtual void refresh() = 0;
    // Before the program ends: false keeps it running (the user wants to keep unsaved work).
    virtual bool mayQuit() { return true; }

protected:
    // "Fermer": the close box and Escape say it too; the model decides.
    virtual void closeClicked() = 0;
    // Shows the dialog over the main window, or hides it, as the model says.
    void followVisible(bool visible);

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

struct OptionModule {
    QString caption;        // its entry in the Options menu: "Musique…"
    QKeySequence shortcut;  // of that entry, from the main window; none for most
    // The dialog is made when the option first shows it, unless it must be there from start-up
    // (the web remote's owns its server).
    bool madeAtStart = false;
    OptionFactory makeOption;
    std::function<OptionWindow*(Option& option, OptionDispatch& dispatch, QWidget* parent)>
        makeWindow;
};

// The module of an option of kind `Kind` whose dialog is a `Window(BoundOption<Kind>, parent)`.
// Its dialog is made for an option of that kind only (nothing otherwise).
template <typename Kind, typename Window>
OptionModule optionModule(QString caption, OptionFactory makeOption, QKeySequence shortcut = {},
                          bool madeAtStart = false) {
    return {std::move(caption), std::move(shortcut), madeAtStart, std::move(makeOption),
            [](Option& option, OptionDispatch& dispatch, QWidget* parent) -> OptionWindow* {
                auto* kind = dynamic_cast<Kind*>(&option);
                return kind ? new Window(BoundOption<Kind>(*kind, dispatch), parent) : nullptr;
            }};
}

// The factories of the options' models, in the order of the modules.
std::vector<OptionFactory> optionFactories(const std::vector<OptionModule>& modules);

// Sets the box to `text` when it shows something else.
void follow(QLineEdit* box, const std::string& text);

// The option dialogs' layout: their own controls, a state line and a message line that wrap,
// then "Fermer" and "Enregistrer" at the bottom right; neither button answers Enter by itself.
void layOutOptionDialog(QWidget* dialog, QLayout* controls, QLabel* state, QLabel* message,
                        QPushButton* close, QPushButton* save);

}  // namespace lumiere::ui
