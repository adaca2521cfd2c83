// The editor of the order table's figures and quantities: a spin box that offers the column's
// range and, below it, an empty value meaning "none", so that a figure or a typed quantity can be
// cleared. Enter and Tab commit, Esc leaves the cell as it was.
#pragma once

#include <QStyledItemDelegate>

namespace tovimar {

class FigureDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // A typed quantity shows in bold, on amber where the figures now give another; a line the
    // stock covers in italics; a figure that does not apply, in the window's colour.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    // Enter commits at once, before any key typed after it.
    bool eventFilter(QObject* object, QEvent* event) override;
};

}  // namespace tovimar
