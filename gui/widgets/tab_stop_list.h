// A list box that expands tab characters to fixed tab stops, as a classic list box does, so that
// "number<TAB>name" and "short number<TAB><TAB>name" show the names in one column. The items keep
// their text exactly as given.
#pragma once

#include <QFontMetricsF>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QVector>

namespace tovimar {

class TabStopList : public QListWidget {
    Q_OBJECT

public:
    explicit TabStopList(const QString& name, QWidget* parent);

    // Distance between tab stops in pixels: every number of up to 8 characters ends before the
    // first stop and a 9-character one passes it.
    qreal tabStop() const;

    struct Run {
        QString text;
        qreal x;  // from the item's text start
    };
    // Splits a line at its tabs and places each run at its stop.
    static QVector<Run> layout(const QString& line, const QFontMetricsF& fm, qreal stop);

    // Replaces every item with `lines`.
    void setLines(const std::vector<std::string>& lines);
    // The same, and item i shows toolTips[i] while the pointer rests on it (none where the text
    // is empty or missing). A tooltip is replaced even where the line's text stays the same.
    void setLines(const std::vector<std::string>& lines, const std::vector<std::string>& toolTips);
    QStringList lines() const;

protected:
    void changeEvent(QEvent* e) override;

private:
    mutable qreal tabStop_ = -1;  // cached per font: every painted row asks for it
};

class TabStopDelegate : public QStyledItemDelegate {
public:
    explicit TabStopDelegate(TabStopList* list) : QStyledItemDelegate(list), list_(list) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // As wide as the line laid out at its tab stops, so the list scrolls sideways only for a
    // line that really is too long.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TabStopList* list_;
};

}  // namespace tovimar
