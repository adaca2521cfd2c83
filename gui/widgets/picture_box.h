// A picture that can be clicked: the start picture, the banner, the help panel.
#pragma once

#include <QLabel>
#include <QMouseEvent>

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
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            emit clicked();
        QLabel::mouseReleaseEvent(e);
    }
};

}  // namespace tovimar
