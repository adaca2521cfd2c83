// Check boxes and option buttons that take a click anywhere on their rectangle. The toolkit's own
// take it only on the indicator and the caption, but these boxes are coloured bars of a fixed size,
// often much wider than their captions: a click on the bar beside "pH" or "10" must count as well.
// The keyboard's focus is marked around the whole bar, where the eye finds it: the toolkit's own
// mark around the caption does not show on the coloured bars.
#pragma once

#include <QCheckBox>
#include <QPainter>
#include <QRadioButton>

namespace tovimar {

template <typename Button>
class WholeBox : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
    void paintEvent(QPaintEvent* e) override {
        Button::paintEvent(e);
        if (!this->hasFocus() || !this->window()->testAttribute(Qt::WA_KeyboardFocusChange))
            return;
        QPainter painter(this);
        painter.setPen(QPen(this->palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(this->rect().adjusted(0, 0, -1, -1));
    }
};

using WholeCheckBox = WholeBox<QCheckBox>;
using WholeRadioButton = WholeBox<QRadioButton>;

}  // namespace tovimar
