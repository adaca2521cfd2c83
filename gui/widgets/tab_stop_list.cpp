#include "gui/widgets/tab_stop_list.h"

#include <QApplication>
#include <QPainter>
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

QVector<TabStopList::Run> TabStopList::layout(const QString& line, const QFontMetricsF& fm, qreal stop) {
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
    return runs;
}

void TabStopList::setLines(const std::vector<std::string>& lines) {
    // A refill runs on every click in the assay panel: keep the items that are already right, so
    // only the rows that changed are repainted.
    const int n = static_cast<int>(lines.size());
    while (count() > n)
        delete takeItem(count() - 1);
    for (int i = 0; i < n; ++i) {
        const QString text = QString::fromLatin1(lines[static_cast<std::size_t>(i)]);
        if (i >= count())
            addItem(text);
        else if (item(i)->text() != text)
            item(i)->setText(text);
    }
}

void TabStopList::setLines(const std::vector<std::string>& lines, const std::vector<std::string>& toolTips) {
    setLines(lines);
    for (int i = 0; i < count(); ++i) {
        const auto n = static_cast<std::size_t>(i);
        const QString tip = n < toolTips.size() ? QString::fromLatin1(toolTips[n]) : QString();
        // Only a changed tooltip is set, as only changed texts are above.
        if (item(i)->toolTip() != tip)
            item(i)->setToolTip(tip);
    }
}

QStringList TabStopList::lines() const {
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << item(i)->text();
    return out;
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QFontMetricsF fm(opt.font);
    qreal end = 0;
    for (const TabStopList::Run& run : TabStopList::layout(opt.text, fm, list_->tabStop()))
        end = std::max(end, run.x + fm.horizontalAdvance(run.text));
    // The toolkit's own measure would count the tabs as it draws them, far wider than the stops.
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

    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w).adjusted(kTextMargin, 0, 0, 0);
    const QFontMetricsF fm(opt.font);
    p->save();
    p->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    p->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    for (const TabStopList::Run& run : TabStopList::layout(line, fm, list_->tabStop())) {
        QRectF r(textRect);
        r.setLeft(textRect.left() + run.x);
        p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, run.text);
    }
    p->restore();
}

}  // namespace tovimar
