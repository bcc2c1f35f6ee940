// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/animation_editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/editor_dialogs.h"
#include "editor/step_grid.h"
#include "ui/option_window.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

constexpr int kOtherFile = 3;  // the entry "Autre fichier…"

QString fromPath(const std::string& path) {
    return QString::fromStdString(path);
}

}  // namespace

// The preview on the desk, through the option, each call one event of the application: the desk
// and its timers follow at once.
class AnimationEditorWindow::DeskPreview final : public AnimationPreview {
public:
    explicit DeskPreview(BoundOption<AnimationEditorOption> option) : option_(option) {}

    std::string playPreview(const std::vector<std::string>& steps) override {
        std::string refused;
        option_.run([&](AnimationEditorOption& o) { refused = o.playPreview(steps); });
        return refused;
    }
    void stopPreview() override { option_.run(&AnimationEditorOption::stopPreview); }
    std::optional<int> previewStep() const override { return option_->previewStep(); }

private:
    BoundOption<AnimationEditorOption> option_;
};

AnimationEditorWindow::AnimationEditorWindow(std::string programFolder, AnimationPreview* preview,
                                             EditorDialogs* dialogs, QWidget* parent)
    : OptionWindow(QStringLiteral("Éditeur d'animations"), parent, Qt::Window),
      editor_(preview),
      folder_(std::move(programFolder)),
      ownDialogs_(dialogs ? nullptr : std::make_unique<QtEditorDialogs>()),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      hasPreview_(preview != nullptr) {
    setObjectName(QStringLiteral("animationEditor"));
    build();
    openFile(folder_ + "/animation1.txt");
    acted();
    grid_->setFocus();
}

AnimationEditorWindow::AnimationEditorWindow(BoundOption<AnimationEditorOption> option,
                                             QWidget* parent)
    : OptionWindow(QStringLiteral("Éditeur d'animations"), parent, Qt::Window),
      option_(option),
      deskPreview_(std::make_unique<DeskPreview>(option)),
      editor_(deskPreview_.get()),
      folder_(option->programFolder()),
      ownDialogs_(std::make_unique<QtEditorDialogs>()),
      dialogs_(ownDialogs_.get()),
      hasPreview_(true) {
    setObjectName(QStringLiteral("animationEditor"));
    build();
    openFile(folder_ + "/animation1.txt");
    acted();
    grid_->setFocus();
}

AnimationEditorWindow::~AnimationEditorWindow() = default;

void AnimationEditorWindow::build() {
    choice_ = new QComboBox;
    choice_->addItems({QStringLiteral("Animation 1"), QStringLiteral("Animation 2"),
                       QStringLiteral("Animation 3"), QStringLiteral("Autre fichier…")});
    choice_->setToolTip(
        QStringLiteral("animation1.txt à animation3.txt, ou un autre fichier texte "
                       "du dossier du programme"));
    connect(choice_, &QComboBox::activated, this, [this](int index) { choose(index); });
    file_ = new QLabel;
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Fichier :")));
    top->addWidget(choice_);
    top->addSpacing(8);
    top->addWidget(file_, 1);

    grid_ = new StepGrid(editor_);
    connect(grid_, &StepGrid::edited, this, [this] { acted(); });

    auto* hint = new QLabel(QStringLiteral(
        "Clic ou glisser : allumer, éteindre · Espace : la lampe du curseur · Inser : ajouter · "
        "Suppr : supprimer · Ctrl+D : dupliquer · Ctrl+↑/↓ : déplacer · Maj+↑/↓ : sélection"));
    hint->setWordWrap(true);
    QPalette quiet = hint->palette();
    quiet.setColor(QPalette::WindowText, QColor(0x60, 0x60, 0x60));
    hint->setPalette(quiet);

    auto* middle = new QHBoxLayout;
    middle->addWidget(grid_, 1);
    middle->addWidget(buildSidePanel());

    play_ = new QPushButton(QStringLiteral("Lire"));
    play_->setToolTip(
        QStringLiteral("Joue la grille sur les lampes du pupitre et sur la ligne, "
                       "à la vitesse du curseur Général"));
    stop_ = new QPushButton(QStringLiteral("Arrêter"));
    stop_->setToolTip(QStringLiteral("Rend les lampes aux curseurs, comme l’arrêt général"));
    undo_ = new QPushButton(QStringLiteral("Annuler"));
    undo_->setToolTip(QStringLiteral("Ctrl+Z"));
    redo_ = new QPushButton(QStringLiteral("Rétablir"));
    redo_->setToolTip(QStringLiteral("Ctrl+Y"));
    save_ = new QPushButton(QStringLiteral("Enregistrer"));
    save_->setToolTip(QStringLiteral("Ctrl+S"));
    for (QPushButton* button : {play_, stop_, undo_, redo_, save_}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }
    connect(play_, &QPushButton::clicked, this, [this] {
        editor_.play();
        acted();
    });
    connect(stop_, &QPushButton::clicked, this, [this] {
        editor_.stop();
        acted();
    });
    connect(undo_, &QPushButton::clicked, this, [this] {
        editor_.undo();
        acted();
    });
    connect(redo_, &QPushButton::clicked, this, [this] {
        editor_.redo();
        acted();
    });
    connect(save_, &QPushButton::clicked, this, [this] { saveNow(); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(play_);
    bottom->addWidget(stop_);
    bottom->addSpacing(16);
    bottom->addWidget(undo_);
    bottom->addWidget(redo_);
    bottom->addStretch(1);
    bottom->addWidget(save_);

    status_ = new QLabel;
    status_->setWordWrap(true);
    status_->setMinimumHeight(2 * fontMetrics().height());
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addWidget(hint);
    layout->addLayout(bottom);
    layout->addWidget(status_);

    // The window's own keys, wherever the focus is inside it.
    const auto shortcut = [this](QKeySequence keys, auto action) {
        auto* act = new QAction(this);
        act->setShortcut(keys);
        act->setShortcutContext(Qt::WindowShortcut);
        connect(act, &QAction::triggered, this, action);
        addAction(act);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveNow(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] {
        editor_.undo();
        acted();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), [this] {
        editor_.redo();
        acted();
    });
    shortcut(QKeySequence(Qt::Key_Escape), [this] { closeClicked(); });  // as the option dialogs
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] {
        editor_.redo();
        acted();
    });
    resize(sizeHint().width(), 620);
}

QWidget* AnimationEditorWindow::buildSidePanel() {
    const auto button = [this](const QString& text, const QString& tip, auto action) {
        auto* b = new QPushButton(text);
        b->setToolTip(tip);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, action] {
            action();
            acted();
            grid_->setFocus();
        });
        return b;
    };
    auto* steps = new QGroupBox(QStringLiteral("Pas"));
    auto* stepsLayout = new QVBoxLayout(steps);
    stepsLayout->addWidget(button(QStringLiteral("Ajouter"), QStringLiteral("Inser"),
                                  [this] { editor_.insertStep(); }));
    stepsLayout->addWidget(button(QStringLiteral("Dupliquer"), QStringLiteral("Ctrl+D"),
                                  [this] { editor_.duplicateStep(); }));
    stepsLayout->addWidget(button(QStringLiteral("Supprimer"), QStringLiteral("Suppr"),
                                  [this] { editor_.deleteStep(); }));
    stepsLayout->addWidget(button(QStringLiteral("Monter"), QStringLiteral("Ctrl+↑"),
                                  [this] { editor_.moveStep(-1); }));
    stepsLayout->addWidget(button(QStringLiteral("Descendre"), QStringLiteral("Ctrl+↓"),
                                  [this] { editor_.moveStep(1); }));

    auto* patterns = new QGroupBox(QStringLiteral("Motifs"));
    auto* patternsLayout = new QVBoxLayout(patterns);
    selection_ = new QLabel;
    selection_->setWordWrap(true);
    patternsLayout->addWidget(selection_);
    const struct {
        const char* text;
        const char* tip;
        Generator generator;
    } generators[] = {
        {"← Chenillard", "Une lampe qui va de la lampe 8 vers la lampe 1", Generator::ChaseLeft},
        {"Chenillard →", "Une lampe qui va de la lampe 1 vers la lampe 8", Generator::ChaseRight},
        {"Aller-retour", "Une lampe qui va de la lampe 1 à la lampe 8 et revient",
         Generator::BackAndForth},
        {"Tout allumer", "Les huit lampes allumées", Generator::Fill},
        {"Inverser", "Chaque lampe allumée s’éteint, chaque lampe éteinte s’allume",
         Generator::Invert},
        {"Aléatoire", "Des lampes tirées au hasard (un autre tirage à chaque clic)",
         Generator::Random},
    };
    for (const auto& g : generators) {
        const Generator generator = g.generator;
        patternsLayout->addWidget(button(QString::fromUtf8(g.text), QString::fromUtf8(g.tip),
                                         [this, generator] { editor_.applyGenerator(generator); }));
    }

    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(steps);
    layout->addWidget(patterns);
    layout->addStretch(1);
    panel->setFixedWidth(150);
    return panel;
}

bool AnimationEditorWindow::openFile(const std::string& path) {
    const bool opened = editor_.open(path);
    grid_->verticalScrollBar()->setValue(0);
    return opened;
}

void AnimationEditorWindow::choose(int index) {
    if (index == chosen_ && index != kOtherFile) return;
    const auto back = [this] { choice_->setCurrentIndex(chosen_); };
    if (!settleChanges()) return back();
    std::string path;
    if (index == kOtherFile) {
        const QString folder = fromPath(folder_);
        const std::optional<QString> picked = dialogs_->chooseFile(this, folder);
        if (!picked) return back();
        const QFileInfo info(*picked);
        if (QDir(info.absolutePath()).canonicalPath() != QDir(folder).canonicalPath()) {
            status_->setText(
                QStringLiteral("Choisissez un fichier du dossier du programme (%1).").arg(folder));
            return back();
        }
        path = folder_ + "/" + info.fileName().toStdString();
    } else {
        path = folder_ + "/animation" + std::to_string(index + 1) + ".txt";
    }
    if (openFile(path)) chosen_ = index;
    back();
    acted();
}

bool AnimationEditorWindow::settleChanges() {
    if (!editor_.modified()) return true;
    switch (dialogs_->askToSave(this, QString::fromStdString(editor_.fileName()))) {
        case SaveAnswer::Save:
            return saveNow();
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

bool AnimationEditorWindow::saveNow() {
    AnimationEditor::SaveResult result = editor_.save();
    if (result == AnimationEditor::SaveResult::ChangedOnDisk) {
        acted();
        if (dialogs_->askToOverwrite(this, QString::fromStdString(editor_.fileName()))) {
            result = editor_.save(true);
        }
    }
    acted();
    return result == AnimationEditor::SaveResult::Saved;
}

void AnimationEditorWindow::acted() {
    grid_->refresh();
    showState();
}

void AnimationEditorWindow::refresh() {
    editor_.showChanged();
    grid_->followPreview();
    play_->setEnabled(hasPreview_);
    stop_->setEnabled(editor_.previewing());
    if (!option_) return;
    const AnimationEditorOption& option = **option_;
    if (option.visible() && (!isVisible() || option.shows() != shows_)) present();
    if (!option.visible() && isVisible()) hide();
    shows_ = option.shows();
}

bool AnimationEditorWindow::mayQuit() {
    return settleChanges();
}

void AnimationEditorWindow::showState() {
    const QString name = QString::fromStdString(editor_.fileName());
    file_->setText(
        editor_.modified()
            ? QStringLiteral("<b>%1</b> — modifié, non enregistré").arg(name.toHtmlEscaped())
            : QStringLiteral("<b>%1</b>").arg(name.toHtmlEscaped()));
    file_->setToolTip(fromPath(editor_.path()));
    status_->setText(toQString(editor_.status()));
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText,
                     editor_.statusIsError() ? QColor(0xB0, 0x00, 0x00) : QColor(0x20, 0x20, 0x20));
    status_->setPalette(palette);
    undo_->setEnabled(editor_.canUndo());
    redo_->setEnabled(editor_.canRedo());
    play_->setEnabled(hasPreview_);
    stop_->setEnabled(editor_.previewing());
    const int first = editor_.selectionFirst() + 1;
    const int last = editor_.selectionLast() + 1;
    selection_->setText(editor_.rows() == 0 ? QStringLiteral("Aucun pas.")
                        : first == last
                            ? QStringLiteral("Sur le pas %1 (Maj+↑/↓ pour plusieurs).").arg(first)
                            : QStringLiteral("Sur les pas %1 à %2.").arg(first).arg(last));
}

void AnimationEditorWindow::present() {
    if (!isVisible() && !editor_.modified() && editor_.changedOnDisk()) {
        openFile(editor_.path());
        acted();
    }
    if (!isVisible()) {
        if (const QWidget* owner = parentWidget()) {
            // Centred over the desk, but whole on the screen: the editor is taller than the desk.
            QRect place = rect();
            place.moveCenter(owner->window()->geometry().center());
            if (const QScreen* screen = owner->screen()) {
                const QRect room = screen->availableGeometry();
                place.moveLeft(std::clamp(place.left(), room.left(),
                                          std::max(room.left(), room.right() - place.width())));
                place.moveTop(std::clamp(place.top(), room.top(),
                                         std::max(room.top(), room.bottom() - place.height())));
            }
            move(place.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
    grid_->setFocus();
}

void AnimationEditorWindow::closeClicked() {
    if (!settleChanges()) return;
    if (editor_.previewing()) editor_.stop();
    // Nothing unsaved is kept behind a closed window: what it shows next is the file.
    if (editor_.modified()) openFile(editor_.path());
    acted();
    if (option_) {
        option_->run(&AnimationEditorOption::close);
    } else {
        hide();
    }
}

OptionModule animationEditorModule() {
    return optionModule<AnimationEditorOption, AnimationEditorWindow>(
        QStringLiteral("Éditeur d'animations…"), makeAnimationEditorOption(),
        QKeySequence(Qt::CTRL | Qt::Key_E));
}

}  // namespace lumiere::ui
