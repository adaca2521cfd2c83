// Check boxes and option buttons that take a click anywhere on their rectangle. The toolkit's own
// take it only on the indicator and the caption, but these boxes are coloured bars of a fixed size,
// often much wider than their captions: a click on the bar beside "pH" or "10" must count as well.
#pragma once

#include <QCheckBox>
#include <QRadioButton>

namespace tovimar {

template <typename Button>
class WholeBox : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

using WholeCheckBox = WholeBox<QCheckBox>;
using WholeRadioButton = WholeBox<QRadioButton>;

}  // namespace tovimar
