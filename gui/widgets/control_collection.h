// Every named control of the main window in creation order: the order in which the load's dark
// pass, the reset and the colour schemes walk them, as a classic form's control collection is.
// The views add their own controls; the window finds them by name.
#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <vector>

namespace tovimar {

class ControlCollection {
public:
    template <typename W>
    W* add(W* widget, const QString& name) {
        widget->setObjectName(name);
        add(widget);
        return widget;
    }
    // A control that already carries its name.
    void add(QWidget* widget) {
        controls_.push_back(widget);
        if (!byName_.contains(widget->objectName()))  // the first of a name is the one found
            byName_.insert(widget->objectName(), widget);
    }

    // The first control of that name, or null.
    QWidget* find(const QString& name) const { return byName_.value(name); }
    const std::vector<QWidget*>& all() const { return controls_; }

private:
    std::vector<QWidget*> controls_;
    QHash<QString, QWidget*> byName_;
};

}  // namespace tovimar
