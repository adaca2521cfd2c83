#include "gui/widgets/tab_stop_list.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace tovimar {

namespace {
constexpr int kTextMargin = 3;
}

TabStopList::TabStopList(const QString& name, QWidget* parent) : QListWidget(parent) {
    setObjectName(name);
    setItemDelegate(new TabStopDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A sideways scroll bar would cover the last line shown, for one long name.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TabStopList::updateGeometries() {
    QListWidget::updateGeometries();
    // Nor can the wheel or the keys move the lines sideways: each is drawn within the width.
    horizontalScrollBar()->setRange(0, 0);
}

qreal TabStopList::tabStop() const {
    if (tabStop_ < 0) {
        // Catalogue numbers of 8 characters are seven digits and a blank, those of 9 eight digits
        // and a blank (or letters, which are wider): half a digit past the first keeps them apart.
        const QFontMetricsF fm(font());
        tabStop_ =
            fm.horizontalAdvance(QStringLiteral("8888 888")) + fm.horizontalAdvance(QLatin1Char('8')) / 2;
    }
    return tabStop_;
}

void TabStopList::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange)
        tabStop_ = -1;
    QListWidget::changeEvent(e);
}

QVector<TabStopList::Run> TabStopList::layout(const QString& line, const QFontMetricsF& fm, qreal stop,
                                              qreal width) {
    QVector<Run> runs;
    qreal x = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != QLatin1Char('\t'))
            continue;
        const QString text = line.mid(start, i - start);
        if (!text.isEmpty() || i == line.size())
            runs.push_back({text, x});
        x += fm.horizontalAdvance(text);
        if (i < line.size())
            x = (std::floor(x / stop) + 1) * stop;  // the next stop strictly to the right
        start = i + 1;
    }
    for (qsizetype i = 0; i < runs.size(); ++i) {
        if (runs[i].x + fm.horizontalAdvance(runs[i].text) <= width)
            continue;
        runs[i].text = fm.elidedText(runs[i].text, Qt::ElideRight, width - runs[i].x);
        runs.resize(runs[i].text.isEmpty() ? i : i + 1);
        break;
    }
    return runs;
}

bool TabStopList::setLines(const std::vector<std::string>& lines) {
    // A refill runs on every click in the assay panel: keep the items that are already right, so
    // only the rows that changed are repainted.
    const int n = static_cast<int>(lines.size());
    bool changed = count() != n;
    while (count() > n)
        delete takeItem(count() - 1);
    // Compared in place: a line that is already right costs no copy.
    for (int i = 0; i < n; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        const QLatin1StringView text(line.data(), qsizetype(line.size()));
        if (i >= count()) {
            addItem(QString(text));
        } else if (item(i)->text() != text) {
            item(i)->setText(QString(text));
            changed = true;
        }
    }
    return changed;
}

bool TabStopList::setLines(const std::vector<std::string>& lines, const std::vector<std::string>& toolTips) {
    const bool changed = setLines(lines);
    for (int i = 0; i < count(); ++i) {
        const auto n = static_cast<std::size_t>(i);
        const QLatin1StringView tip =
            n < toolTips.size() ? QLatin1StringView(toolTips[n].data(), qsizetype(toolTips[n].size()))
                                : QLatin1StringView();
        // Only a changed tooltip is set, as only changed texts are above.
        if (item(i)->toolTip() != tip)
            item(i)->setToolTip(QString(tip));
    }
    return changed;
}

QStringList TabStopList::lines() const {
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << item(i)->text();
    return out;
}

void TabStopList::describe(const QString& text) {
    if (accessibleDescription() != text) {
        setAccessibleDescription(text);
    } else {
        QAccessibleEvent told(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&told);
    }
    emit described(text);
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QFontMetricsF fm(opt.font);
    qreal end = 0;
    for (const TabStopList::Run& run : TabStopList::layout(opt.text, fm, list_->tabStop()))
        end = std::max(end, run.x + fm.horizontalAdvance(run.text));
    return {static_cast<int>(std::ceil(end)) + 4 * kTextMargin, static_cast<int>(std::ceil(fm.height())) + 4};
}

void TabStopDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString line = opt.text;
    opt.text.clear();
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);  // background, selection, focus

    const QRect text = textRect(opt);
    const QFontMetricsF fm(opt.font);
    p->save();
    p->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    p->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    for (const TabStopList::Run& run : TabStopList::layout(line, fm, list_->tabStop(), text.width())) {
        QRectF r(text);
        r.setLeft(text.left() + run.x);
        p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, run.text);
    }
    p->restore();
}

// `opt` has its text cleared, as the style is given it to draw the item.
QRect TabStopDelegate::textRect(const QStyleOptionViewItem& opt) const {
    const QWidget* w = opt.widget;
    const QStyle* style = w ? w->style() : QApplication::style();
    QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w).adjusted(kTextMargin, 0, 0, 0);
    // An item may reach past the list's visible width; its text ends where the list shows it.
    r.setRight(std::min(r.right(), list_->viewport()->width() - 1 - kTextMargin));
    return r;
}

bool TabStopDelegate::helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                const QModelIndex& index) {
    if (e->type() == QEvent::ToolTip && index.isValid()) {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString line = opt.text;
        opt.text.clear();
        const QFontMetricsF fm(opt.font);
        const QVector<TabStopList::Run> whole = TabStopList::layout(line, fm, list_->tabStop());
        const QVector<TabStopList::Run> shown =
            TabStopList::layout(line, fm, list_->tabStop(), textRect(opt).width());
        if (!whole.isEmpty() && (shown.size() < whole.size() || shown.back().text != whole.back().text)) {
            QString tip = whole.back().text;
            const QString reason = index.data(Qt::ToolTipRole).toString();
            if (!reason.isEmpty())
                tip += QLatin1Char('\n') + reason;
            QToolTip::showText(e->globalPos(), tip, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(e, view, option, index);
}

}  // namespace tovimar
