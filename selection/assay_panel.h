// The assay panel's widgets, built from the assay row table into the four frames: per row a
// select box, a QUAL box and the cut-off options in a container of their own, so that the
// options of one row form one exclusive group. Every change updates the assay state and then
// reports `changed`, on which the window re-derives the order.
#pragma once

#include "selection/assay_state.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QObject>
#include <QRadioButton>
#include <array>
#include <functional>

namespace tovimar {

class AssayPanel : public QObject {
    Q_OBJECT

public:
    struct RowWidgets {
        QCheckBox* select = nullptr;
        QCheckBox* qual = nullptr;      // null when the row has no QUAL box
        QWidget* container = nullptr;   // null when the row has no options
        QButtonGroup* group = nullptr;  // the row's options, one always chosen once chosen
        std::array<QRadioButton*, 3> options{};
    };

    // `frameOf` gives the frame widget a row goes into.
    AssayPanel(AssayState& state, const std::function<QWidget*(Frame)>& frameOf, QObject* parent);

    const RowWidgets& row(AssayRow r) const { return rows_[index(r)]; }

    // Un-chooses an option without running any handler (an option of an exclusive group cannot
    // be unchecked directly).
    static void clearOption(QRadioButton* option);

signals:
    void changed();

private:
    void selectChanged(AssayRow r, bool on);
    void qualChanged(AssayRow r, bool on);
    void optionChosen(AssayRow r, double value);

    AssayState& state_;
    std::array<RowWidgets, kAssayRowCount> rows_{};
};

}  // namespace tovimar
