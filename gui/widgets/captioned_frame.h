// A frame whose caption is set when it is first shown. Measuring a caption loads the system's
// fonts, which the start screen, showing no frame, does not need; screen readers have the caption
// from the start.
#pragma once

#include <QGroupBox>
#include <QShowEvent>

namespace tovimar {

class CaptionedFrame : public QGroupBox {
public:
    CaptionedFrame(const QString& caption, QWidget* parent) : QGroupBox(parent), caption_(caption) {
        setAccessibleName(caption);
    }

protected:
    void showEvent(QShowEvent* e) override {
        if (title().isEmpty())
            setTitle(caption_);
        QGroupBox::showEvent(e);
    }

private:
    QString caption_;
};

}  // namespace tovimar
