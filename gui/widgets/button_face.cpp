#include "gui/widgets/button_face.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace tovimar {

namespace {

class ButtonFaceEngine : public QIconEngine {
public:
    explicit ButtonFaceEngine(QString path) : path_(std::move(path)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QPixmap& face = faceFor(mode);
        if (face.isNull() || face.size() == size)
            return face;
        return face.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const QPixmap& face = faceFor(mode);
        return face.isNull() ? QSize() : face.size().scaled(size, Qt::KeepAspectRatio).boundedTo(face.size());
    }

    QIconEngine* clone() const override { return new ButtonFaceEngine(path_); }
    QString key() const override { return QStringLiteral("tovimar-button-face"); }

private:
    const QPixmap& faceFor(QIcon::Mode mode) {
        if (face_.isNull() && !path_.isEmpty() && face_.load(path_)) {
            faded_ = QPixmap(face_.size());
            faded_.fill(Qt::transparent);
            QPainter p(&faded_);
            p.setOpacity(0.3);
            p.drawPixmap(0, 0, face_);
        }
        return mode == QIcon::Disabled ? faded_ : face_;
    }

    QString path_;
    QPixmap face_;
    QPixmap faded_;
};

}  // namespace

QIcon ButtonFace(const QString& picturePath) {
    return QIcon(new ButtonFaceEngine(picturePath));
}

}  // namespace tovimar
