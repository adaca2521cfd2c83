// A list box that expands tab characters to fixed tab stops, as a classic list box does, so that
// "number<TAB>name" and "short number<TAB><TAB>name" show the names in one column. The items keep
// their text exactly as given. It never scrolls sideways: a line too long for its width ends in an
// ellipsis, and resting the pointer on it shows the whole name.
#pragma once

#include <QFontMetricsF>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QVector>
#include <limits>

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
    // Splits a line at its tabs and places each run at its stop. A run that would pass `width` ends
    // in an ellipsis within it, and the runs after it are left out.
    static QVector<Run> layout(const QString& line, const QFontMetricsF& fm, qreal stop,
                               qreal width = std::numeric_limits<qreal>::infinity());

    // Replaces every item with `lines`. Returns whether any line changed.
    bool setLines(const std::vector<std::string>& lines);
    // The same, and item i shows toolTips[i] while the pointer rests on it (none where the text
    // is empty or missing). A tooltip is replaced even where the line's text stays the same.
    bool setLines(const std::vector<std::string>& lines, const std::vector<std::string>& toolTips);
    QStringList lines() const;

    // Sets the accessible description; Qt then tells a screen reader that it changed. The same
    // text again is told again: the lines changed under an unchanged count.
    void describe(const QString& text);

signals:
    void described(const QString& text);

protected:
    void changeEvent(QEvent* e) override;
    void updateGeometries() override;

private:
    mutable qreal tabStop_ = -1;  // cached per font: every painted row asks for it
};

class TabStopDelegate : public QStyledItemDelegate {
public:
    explicit TabStopDelegate(TabStopList* list) : QStyledItemDelegate(list), list_(list) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // As wide as the line laid out at its tab stops; the toolkit's own measure would count the tabs
    // as it draws them, far wider than the stops.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // A line cut short shows its whole name, above the item's own tooltip.
    bool helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    // Where the item's text goes, up to the list's right edge.
    QRect textRect(const QStyleOptionViewItem& opt) const;

    TabStopList* list_;
};

}  // namespace tovimar
