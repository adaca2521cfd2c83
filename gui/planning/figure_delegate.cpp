#include "gui/planning/figure_delegate.h"

#include "core/planning/order_plan.h"
#include "gui/planning/order_table_model.h"

#include <QKeyEvent>
#include <QSpinBox>

namespace tovimar {

namespace {

// Its lowest value is "none", shown as an empty field; clearing the field gives it.
class FigureSpinBox : public QSpinBox {
public:
    FigureSpinBox(FigureRange range, QWidget* parent) : QSpinBox(parent) {
        setRange(static_cast<int>(range.low) - 1, static_cast<int>(range.high));
    }

protected:
    QValidator::State validate(QString& input, int& pos) const override {
        if (input.trimmed().isEmpty())
            return QValidator::Acceptable;
        if (input.contains(QLatin1Char('-')) || input.contains(QLatin1Char('+')))
            return QValidator::Invalid;  // "none" is the empty field, not a number below the range
        const QValidator::State state = QSpinBox::validate(input, pos);
        // Nor is a 0 typed where the range starts at 1: it is not taken, and the cell keeps its value.
        if (state == QValidator::Acceptable && QSpinBox::valueFromText(input) == minimum())
            return QValidator::Intermediate;
        return state;
    }
    int valueFromText(const QString& text) const override {
        return text.trimmed().isEmpty() ? minimum() : QSpinBox::valueFromText(text);
    }
    QString textFromValue(int value) const override {
        return value == minimum() ? QString() : QSpinBox::textFromValue(value);
    }
};

}  // namespace

QWidget* FigureDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex& index) const {
    auto* box = new FigureSpinBox(OrderTableModel::RangeOf(index.column()), parent);
    box->setFrame(false);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);  // the arrow keys step; the cell stays readable
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
    return box;
}

void FigureDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = static_cast<QSpinBox*>(editor);
    const QVariant v = index.data(Qt::EditRole);
    box->setValue(v.isValid() ? v.toInt() : box->minimum());
}

void FigureDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    auto* box = static_cast<QSpinBox*>(editor);
    model->setData(index, box->value() == box->minimum() ? QVariant() : QVariant(box->value()));
}

void FigureDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // A figure that does not apply to the line's section shows as the window behind, so that the
    // cells that take a number stand out.
    const int c = index.column();
    if (c >= OrderTableModel::TestsPerMonth && c <= OrderTableModel::UsesPerPack &&
        !(index.flags() & Qt::ItemIsEditable))
        option->backgroundBrush = option->palette.window();
    if (index.data(OrderTableModel::SourceRole).toInt() == static_cast<int>(QuantitySource::Typed))
        option->font.setBold(true);
    // A typed quantity the figures no longer back stands out in amber until it is looked at; a
    // line the stock covers reads as set aside.
    using Mark = OrderTableModel::Mark;
    const auto mark = static_cast<Mark>(index.data(OrderTableModel::MarkRole).toInt());
    if (mark == Mark::Disagrees) {
        option->backgroundBrush = QColor(0x80, 0x50, 0x00);
        option->palette.setColor(QPalette::Text, Qt::white);
    } else if (mark == Mark::Covered) {
        option->font.setItalic(true);
    }
}

bool FigureDelegate::eventFilter(QObject* object, QEvent* event) {
    // The toolkit commits an editor's value on Enter only once the event loop comes round again;
    // an Esc typed ahead of that (a scanner, a macro, a quick hand) closed the editor first and the
    // value was lost. Committed here and now, the keys take effect in the order they were typed:
    // the value kept, the editor closed, then the Esc closes the window.
    auto* box = qobject_cast<QSpinBox*>(object);
    if (box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            box->interpretText();
            emit commitData(box);
            emit closeEditor(box, QAbstractItemDelegate::SubmitModelCache);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace tovimar
