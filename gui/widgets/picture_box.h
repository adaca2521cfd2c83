// A picture that can be clicked: the start picture, the banner, the help panel.
#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace tovimar {

class PictureBox : public QLabel {
    Q_OBJECT

public:
    explicit PictureBox(const QString& name, QWidget* parent) : QLabel(parent) {
        setObjectName(name);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

signals:
    void clicked();

protected:
    // A box marked Qt::WA_OpaquePaintEvent fills only what its picture leaves uncovered: the
    // toolkit fills none of it first, so a large picture's pixels are written once, not twice.
    void paintEvent(QPaintEvent* e) override {
        if (testAttribute(Qt::WA_OpaquePaintEvent)) {
            QPainter painter(this);
            const QRect picture(contentsRect().topLeft(), pixmap().deviceIndependentSize().toSize());
            for (const QRect& r : QRegion(rect()) - picture)
                painter.fillRect(r, palette().brush(backgroundRole()));
        }
        QLabel::paintEvent(e);
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            emit clicked();
        QLabel::mouseReleaseEvent(e);
    }
};

}  // namespace tovimar
