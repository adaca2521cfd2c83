// Giving the keyboard focus to the first of a view's controls that can take it.
#pragma once

#include <QWidget>
#include <initializer_list>

namespace tovimar {

inline bool canTakeFocus(const QWidget* w) {
    return w && !w->isHidden() && w->isEnabled() && w->isVisibleTo(w->window());
}

// The first control of a view takes the focus; the others are tried in turn where it cannot. With
// the keyboard's reason the control shows its focus mark, as after a Tab.
inline void focusFirst(std::initializer_list<QWidget*> candidates,
                       Qt::FocusReason reason = Qt::OtherFocusReason) {
    for (QWidget* w : candidates)
        if (canTakeFocus(w)) {
            w->setFocus(reason);
            return;
        }
}

}  // namespace tovimar
