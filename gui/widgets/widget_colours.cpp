#include "gui/widgets/widget_colours.h"

#include <QApplication>
#include <QPalette>

namespace tovimar {

namespace {

void putToolkitText(QPalette& p) {
    const QPalette app = QApplication::palette();
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Base})
        p.setColor(r, app.color(r));
}

void putBackground(QPalette& p, const QColor& back) {
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::Button, back);
}

}  // namespace

QColor darkPassText() {
    return QApplication::palette().color(QPalette::Base);
}

void setColours(QWidget* w, std::uint32_t back, const QColor& fore) {
    QPalette p = w->palette();
    for (QPalette::ColorRole r : {QPalette::Window, QPalette::Base, QPalette::Button})
        p.setColor(r, bgr(back));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(r, fore);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setBackground(QWidget* w, std::uint32_t back) {
    const QColor colour = bgr(back);
    const QPalette& now = w->palette();
    if (w->autoFillBackground() && now.color(QPalette::Window) == colour &&
        now.color(QPalette::Button) == colour && now.isBrushSet(QPalette::Active, QPalette::Window))
        return;
    QPalette p = now;
    putBackground(p, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColour(QWidget* w, std::uint32_t colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, bgr(colour));
    w->setPalette(p);
}

void setSeeThroughText(QWidget* w, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, text);
    p.setBrush(QPalette::Window, Qt::transparent);
    w->setPalette(p);
}

void setBoxColours(QWidget* box, const QColor& back) {
    QPalette p = box->palette();
    putToolkitText(p);
    putBackground(p, back);
    box->setPalette(p);
    box->setAutoFillBackground(true);
}

void keepToolkitText(QWidget* box) {
    QPalette p = box->palette();
    putToolkitText(p);
    box->setPalette(p);
}

}  // namespace tovimar
