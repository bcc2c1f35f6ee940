// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/step_grid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include "editor/animation_editor.h"
#include "ui/qt_bridge.h"

namespace lumiere::ui {
namespace {

constexpr int kHeader = 40;
constexpr int kRow = 22;
constexpr int kNumber = 46;  // the step numbers
constexpr int kCell = 40;
constexpr int kValue = 50;  // the byte sent
constexpr int kTextMin = 200;
constexpr int kCellsLeft = kNumber;
constexpr int kValueLeft = kCellsLeft + kLamps * kCell;
constexpr int kTextLeft = kValueLeft + kValue;

// The desk's lamp colours (model/controls.h), so the grid lights as the desk does.
const QColor kLampOn = toQColor(colour::kRed);
const QColor kLampOff = toQColor(colour::kLightGrey);
const QColor kLine(0xB8, 0xB8, 0xB8);
const QColor kHeaderBack(0xEC, 0xEC, 0xEC);
const QColor kSelected(0xD6, 0xE4, 0xF5);
const QColor kPlaying(0xFF, 0xE0, 0x70);
const QColor kCursor(0x1E, 0x5A, 0xC8);
const QColor kNotANumber(0x80, 0x50, 0x10);
const QColor kOutOfRange(0xC0, 0x50, 0x00);
const QColor kQuiet(0x70, 0x70, 0x70);

// A line of the file as text to show: control characters as dots, long lines cut.
QString shownLine(const std::string& cp1252) {
    QString text = toQString(cp1252.substr(0, 80));
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control) c = QChar(0x00B7);
    }
    if (cp1252.size() > 80) text += QChar(0x2026);
    return text;
}

}  // namespace

StepGrid::StepGrid(AnimationEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), editor_(editor) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(false);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(kRow);
    setAccessibleName(QStringLiteral("Grille des pas"));
}

QSize StepGrid::sizeHint() const {
    return {kTextLeft + kTextMin + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
            kHeader + 18 * kRow + 2 * frameWidth()};
}

QSize StepGrid::minimumSizeHint() const {
    return {kTextLeft + 80, kHeader + 6 * kRow};
}

QString StepGrid::columnTip(int column) {
    const int bit = bitOfColumn(column);
    return QStringLiteral("Lampe %1 du pupitre — sortie %2 du contrôleur (bit %3, valeur %4)")
        .arg(column + 1)
        .arg(bit + 1)
        .arg(bit)
        .arg(1 << bit);
}

int StepGrid::rowTop(int row) const {
    return kHeader + row * kRow - verticalScrollBar()->value();
}

int StepGrid::visibleRows() const {
    return std::max(1, (viewport()->height() - kHeader) / kRow);
}

QPoint StepGrid::cellCenter(int row, int column) const {
    return {kCellsLeft + column * kCell + kCell / 2, rowTop(row) + kRow / 2};
}

QPoint StepGrid::stepNumberCenter(int row) const {
    return {kNumber / 2, rowTop(row) + kRow / 2};
}

StepGrid::Hit StepGrid::hitAt(QPoint point) const {
    Hit hit;
    if (point.y() < kHeader) {
        hit.part = Part::Header;
    } else {
        hit.row = (point.y() - kHeader + verticalScrollBar()->value()) / kRow;
        if (hit.row >= editor_.rows()) hit.row = -1;
        if (point.x() < kCellsLeft) {
            hit.part = Part::Number;
        } else if (point.x() < kValueLeft) {
            hit.part = Part::Cell;
        } else {
            hit.part = Part::Text;
        }
    }
    if (point.x() >= kCellsLeft && point.x() < kValueLeft) {
        hit.column = (point.x() - kCellsLeft) / kCell;
    }
    if (hit.part != Part::Header && hit.row < 0) hit.part = Part::None;
    return hit;
}

void StepGrid::updateScrollRange() {
    const int content = editor_.rows() * kRow;
    const int page = std::max(0, viewport()->height() - kHeader);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, content - page));
}

void StepGrid::keepCursorInSight() {
    if (editor_.rows() == 0) return;
    const int top = editor_.cursor().row * kRow;
    const int page = std::max(kRow, viewport()->height() - kHeader);
    QScrollBar* bar = verticalScrollBar();
    if (top < bar->value()) bar->setValue(top);
    if (top + kRow > bar->value() + page) bar->setValue(top + kRow - page);
}

void StepGrid::refresh() {
    updateScrollRange();
    keepCursorInSight();
    shownPreview_ = editor_.previewRow();
    viewport()->update();
}

void StepGrid::followPreview() {
    const std::optional<int> now = editor_.previewRow();
    if (now == shownPreview_) return;
    shownPreview_ = now;
    viewport()->update();
}

void StepGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void StepGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void StepGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void StepGrid::paintHeader(QPainter& painter) const {
    const int width = viewport()->width();
    painter.fillRect(0, 0, width, kHeader, kHeaderBack);
    painter.setPen(kLine);
    painter.drawLine(0, kHeader - 1, width, kHeader - 1);
    QFont big = font();
    big.setPixelSize(14);
    big.setBold(true);
    QFont small = font();
    small.setPixelSize(10);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(small);
    painter.drawText(QRect(0, 0, kNumber, kHeader), Qt::AlignCenter, QStringLiteral("Pas"));
    painter.drawText(QRect(kValueLeft, 0, kValue, kHeader), Qt::AlignCenter,
                     QStringLiteral("Valeur"));
    painter.drawText(QRect(kTextLeft + 6, 0, width - kTextLeft - 6, kHeader),
                     Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Ligne du fichier"));
    for (int column = 0; column < kLamps; ++column) {
        const int left = kCellsLeft + column * kCell;
        painter.setFont(big);
        painter.drawText(QRect(left, 2, kCell, 20), Qt::AlignCenter, QString::number(column + 1));
        painter.setFont(small);
        painter.setPen(kQuiet);
        painter.drawText(QRect(left, 21, kCell, 16), Qt::AlignCenter,
                         QStringLiteral("sortie %1").arg(bitOfColumn(column) + 1));
        painter.setPen(palette().color(QPalette::WindowText));
    }
}

void StepGrid::paintRow(QPainter& painter, int row) const {
    const Step& step = editor_.document().steps()[static_cast<std::size_t>(row)];
    const int top = rowTop(row);
    const int width = viewport()->width();
    const bool playing = shownPreview_ == row;
    const bool selected = editor_.selected(row);
    const bool notANumber = step.kept() && step.line->kind == LineKind::NotANumber;

    QColor back = palette().color(row % 2 ? QPalette::AlternateBase : QPalette::Base);
    if (selected) back = kSelected;
    if (playing) back = kPlaying;
    painter.fillRect(0, top, width, kRow, back);
    if (notANumber)
        painter.fillRect(kValueLeft, top, width - kValueLeft, kRow,
                         QBrush(QColor(0xC8, 0xA0, 0x60), Qt::BDiagPattern));

    // The step's number, with a mark while the preview plays it.
    painter.setPen(palette().color(QPalette::WindowText));
    QFont number = font();
    number.setBold(playing);
    painter.setFont(number);
    painter.drawText(QRect(0, top, kNumber - 6, kRow), Qt::AlignVCenter | Qt::AlignRight,
                     (playing ? QStringLiteral("▶ ") : QString()) + QString::number(row + 1));

    // The lamps, drawn as the desk's indicators.
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int column = 0; column < kLamps; ++column) {
        const QRectF lamp(kCellsLeft + column * kCell + 7.5, top + 3.5, kCell - 15, kRow - 7);
        const bool on = lit(step.value, column);
        painter.setPen(on ? kLampOn.darker(140) : QColor(0xA0, 0xA0, 0xA0));
        painter.setBrush(on ? kLampOn : kLampOff);
        painter.drawRoundedRect(lamp, 4, 4);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);

    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(kValueLeft, top, kValue - 8, kRow), Qt::AlignVCenter | Qt::AlignRight,
                     QString::number(step.value));

    // What the file holds for the step, when it is not the plain decimal number.
    QString line;
    QColor ink = kQuiet;
    if (!step.kept()) {
        if (step.line) line = QStringLiteral("%1 (modifié)").arg(step.value);
    } else if (step.line->kind == LineKind::NotANumber) {
        line =
            step.line->text.empty()
                ? QStringLiteral("ligne vide — pas un nombre, joue 0")
                : QStringLiteral("« %1 » — pas un nombre, joue 0").arg(shownLine(step.line->text));
        ink = kNotANumber;
    } else if (step.line->kind == LineKind::OutOfRange) {
        line = QStringLiteral("%1 — hors de 0 à 255, joue %2")
                   .arg(shownLine(step.line->text))
                   .arg(step.value);
        ink = kOutOfRange;
    } else if (step.line->text != AnimationDocument::decimal(step.value)) {
        line = shownLine(step.line->text);
    }
    if (!line.isEmpty()) {
        painter.setPen(ink);
        painter.drawText(QRect(kTextLeft + 6, top, width - kTextLeft - 8, kRow),
                         Qt::AlignVCenter | Qt::AlignLeft, line);
    }

    painter.setPen(kLine);
    painter.drawLine(0, top + kRow - 1, width, top + kRow - 1);
}

void StepGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int width = viewport()->width();
    const int first = std::max(0, verticalScrollBar()->value() / kRow);
    const int last = std::min(editor_.rows() - 1, first + visibleRows() + 1);
    for (int row = first; row <= last; ++row) paintRow(painter, row);

    if (editor_.rows() == 0) {
        painter.setPen(kQuiet);
        painter.drawText(QRect(0, kHeader, width, 3 * kRow), Qt::AlignCenter,
                         QStringLiteral("Aucun pas. Inser (ou « Ajouter ») ajoute le premier."));
    }

    // Column rules over the rows.
    painter.setPen(kLine);
    for (int x : {kCellsLeft - 1, kValueLeft - 1, kTextLeft - 1}) {
        painter.drawLine(x, 0, x, viewport()->height());
    }
    // A fainter one between lamps 4 and 5, where the byte's two hexadecimal digits meet.
    painter.setPen(QPen(kLine, 1, Qt::DotLine));
    painter.drawLine(kCellsLeft + 4 * kCell, kHeader, kCellsLeft + 4 * kCell,
                     kHeader + editor_.rows() * kRow - verticalScrollBar()->value());

    // The cell cursor.
    if (editor_.rows() > 0) {
        const GridCursor cursor = editor_.cursor();
        const QRect cell(kCellsLeft + cursor.column * kCell + 1, rowTop(cursor.row) + 1, kCell - 3,
                         kRow - 3);
        QPen pen(hasFocus() ? kCursor : kQuiet, 2);
        painter.setPen(pen);
        painter.drawRect(cell);
    }
    paintHeader(painter);  // last: rows scrolled under it stay hidden
}

void StepGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const Hit hit = hitAt(event->position().toPoint());
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (hit.part) {
        case Part::Cell:
            editor_.beginPaint(hit.row, hit.column);
            drag_ = Drag::Paint;
            break;
        case Part::Number:
        case Part::Text:
            editor_.setCursor(hit.row, editor_.cursor().column, extend);
            drag_ = Drag::Select;
            break;
        default:
            return;
    }
    emit edited();
}

void StepGrid::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::None || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    // Above or below the rows the drag goes on at the first or last visible row.
    const int row = std::clamp((at.y() - kHeader + verticalScrollBar()->value()) / kRow, 0,
                               std::max(0, editor_.rows() - 1));
    if (drag_ == Drag::Paint) {
        const int column = std::clamp((at.x() - kCellsLeft) / kCell, 0, kLamps - 1);
        editor_.paintTo(row, column);
    } else {
        editor_.setCursor(row, editor_.cursor().column, true);
    }
    emit edited();
}

void StepGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || drag_ == Drag::None) return;
    if (drag_ == Drag::Paint) editor_.endPaint();
    drag_ = Drag::None;
    emit edited();
}

void StepGrid::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    switch (event->key()) {
        case Qt::Key_Up:
            ctrl ? editor_.moveStep(-1) : editor_.moveCursor(-1, 0, shift);
            break;
        case Qt::Key_Down:
            ctrl ? editor_.moveStep(1) : editor_.moveCursor(1, 0, shift);
            break;
        case Qt::Key_Left:
            editor_.moveCursor(0, -1, shift);
            break;
        case Qt::Key_Right:
            editor_.moveCursor(0, 1, shift);
            break;
        case Qt::Key_PageUp:
            editor_.moveCursor(-visibleRows(), 0, shift);
            break;
        case Qt::Key_PageDown:
            editor_.moveCursor(visibleRows(), 0, shift);
            break;
        case Qt::Key_Home:
            ctrl ? editor_.setCursor(0, editor_.cursor().column, shift)
                 : editor_.setCursor(editor_.cursor().row, 0, true);
            break;
        case Qt::Key_End:
            ctrl ? editor_.setCursor(editor_.rows() - 1, editor_.cursor().column, shift)
                 : editor_.setCursor(editor_.cursor().row, kLamps - 1, true);
            break;
        case Qt::Key_Space:
            editor_.switchCell();
            break;
        case Qt::Key_Insert:
            editor_.insertStep();
            break;
        case Qt::Key_Delete:
            editor_.deleteStep();
            break;
        case Qt::Key_D:
            if (!ctrl) return QAbstractScrollArea::keyPressEvent(event);
            editor_.duplicateStep();
            break;
        case Qt::Key_A:
            if (!ctrl) return QAbstractScrollArea::keyPressEvent(event);
            editor_.selectRows(0, editor_.rows() - 1);
            break;
        default:
            return QAbstractScrollArea::keyPressEvent(event);
    }
    event->accept();
    emit edited();
}

bool StepGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Hit hit = hitAt(help->pos());
        QString tip;
        if (hit.column >= 0 && (hit.part == Part::Header || hit.part == Part::Cell)) {
            tip = columnTip(hit.column);
        } else if (hit.part == Part::Header && help->pos().x() >= kValueLeft &&
                   help->pos().x() < kTextLeft) {
            tip = QStringLiteral("L’octet que le lecteur envoie au contrôleur pour ce pas");
        } else if (hit.part == Part::Number) {
            tip = QStringLiteral(
                      "Pas %1 — clic : le choisir ; Maj+clic ou glisser : choisir "
                      "plusieurs pas pour les motifs")
                      .arg(hit.row + 1);
        }
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, viewport());
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace lumiere::ui
