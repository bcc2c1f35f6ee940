// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's grid: one row per step, the eight lamps in the order of the desk's lamp row (the
// first column is the desk's first lamp, which drives the controller's output 8), the byte the
// player sends and the line as it stands in the file. It paints the editor's model and turns
// the mouse and the keys into its actions: a click or a drag paints cells, a click on a step's
// number chooses it (Shift stretches the selection), and the keys move the cell cursor, switch
// a cell, add, remove, copy and move steps.

#include <QAbstractScrollArea>
#include <optional>

namespace lumiere {
class AnimationEditor;
}

namespace lumiere::ui {

class StepGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit StepGrid(AnimationEditor& editor, QWidget* parent = nullptr);

    // After a change of the model: the scroll range, the cursor kept in sight, a repaint.
    void refresh();
    // Only the preview's row moved: a repaint when it did.
    void followPreview();

    // Where things are, in the viewport's coordinates.
    QPoint cellCenter(int row, int column) const;
    QPoint stepNumberCenter(int row) const;
    // The tooltip of a lamp column, 0 for the desk's first lamp.
    static QString columnTip(int column);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user changed the model through the grid.
    void edited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Part { None, Header, Number, Cell, Text };
    struct Hit {
        Part part = Part::None;
        int row = -1;
        int column = -1;
    };
    enum class Drag { None, Paint, Select };

    Hit hitAt(QPoint point) const;
    int rowTop(int row) const;
    int visibleRows() const;
    void updateScrollRange();
    void keepCursorInSight();
    void paintHeader(class QPainter& painter) const;
    void paintRow(QPainter& painter, int row) const;

    AnimationEditor& editor_;
    Drag drag_ = Drag::None;
    std::optional<int> shownPreview_;
};

}  // namespace lumiere::ui
