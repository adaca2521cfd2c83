#include "gui/widgets/confirmation_note.h"

#include "gui/widgets/fonts.h"

#include <QAccessible>

namespace tovimar {

namespace {

// Greedy word wrap into at most `lines` lines of `width`; the last line takes the rest, elided in
// the middle so that both ends of a long folder stay readable.
QString fitted(const QString& text, const QFontMetrics& fm, int width, int lines) {
    const QStringList words = text.split(QLatin1Char(' '));
    QStringList out;
    QString line;
    qsizetype i = 0;
    for (; i < words.size() && out.size() < lines - 1; ++i) {
        const QString longer = line.isEmpty() ? words[i] : line + QLatin1Char(' ') + words[i];
        if (fm.horizontalAdvance(longer) <= width || line.isEmpty()) {
            line = longer;
            continue;
        }
        out << line;
        line.clear();
        --i;  // the word starts the next line
    }
    const QString rest = QStringList(words.mid(i)).join(QLatin1Char(' '));
    line = line.isEmpty() ? rest : rest.isEmpty() ? line : line + QLatin1Char(' ') + rest;
    out << fm.elidedText(line, Qt::ElideMiddle, width);
    return out.join(QLatin1Char('\n'));
}

}  // namespace

ConfirmationNote::ConfirmationNote(QWidget* window, const QRect& area) : QLabel(window) {
    setObjectName(QStringLiteral("SaveConfirmation"));
    setGeometry(area);
    setFont(narrowFont(9, true));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    hide();
    hide_.setSingleShot(true);
    hide_.setInterval(kShownMs);
    connect(&hide_, &QTimer::timeout, this, &QWidget::hide);
}

void ConfirmationNote::Tell(const QString& text) {
    setText(fitted(text, fontMetrics(), contentsRect().width(), 2));
    setAccessibleName(text);
    raise();
    show();
    hide_.start();
    QAccessibleEvent said(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&said);
}

}  // namespace tovimar
