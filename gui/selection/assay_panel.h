// The assay panel: the four assay frames with their column headings and, built from the assay
// row table, per row a select box, a QUAL box and the cut-off options in a container of their
// own, so that the options of one row form one exclusive group. Every change updates the assay
// state and then reports `changed`, on which the window re-derives the order.
#pragma once

#include "core/selection/assay_state.h"
#include "gui/widgets/control_collection.h"
#include "gui/widgets/widget_colours.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QObject>
#include <QRadioButton>
#include <array>
#include <vector>

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

    // Builds the frames and rows on `window`, adding every control to `controls` in order.
    AssayPanel(AssayState& state, QWidget* window, ControlCollection& controls);

    const RowWidgets& row(AssayRow r) const { return rows_[index(r)]; }

    // As the window loads: every frame hidden, 350 twips high, its caption red in 13 points.
    void PrepareFrames();
    // The transition: the frames at their tops, ORLAN, VEX and TOX shown, then grown to h twips
    // (TOX stops at its full height; ADULT shows once h reaches its top), then painted.
    void PlaceForGrowth();
    void Grow(int h);
    void RepaintFrames();

    void SetFramesVisible(bool visible);
    // The column headings that the load hides and the transition shows.
    void SetHeadingsVisible(bool visible);

    // The reset's part: state cleared directly, the several-option rows' options unchosen without
    // their handlers, every option and QUAL box hidden and the three never-shown rows too.
    void ClearRows();

    // Every select, QUAL and option box with the colour group of its row.
    std::vector<ColouredBox> ColouredBoxes() const;

    // The rows' option containers, which the start transition hides while the frames grow.
    void SetOptionContainersVisible(bool visible);

    // Ticks row `r`, chooses the option worth `cut` (none for 0) and ticks its QUAL box when
    // `qual`, one after the other as a user's clicks would: each runs its handler. The row must
    // be one the panel shows.
    void TickAsClicks(AssayRow r, double cut, bool qual);

    // Un-chooses an option without running any handler (an option of an exclusive group cannot
    // be unchecked directly).
    static void clearOption(QRadioButton* option);

    // Every select, QUAL and option box's tick in the row table's order, and the same put back
    // without any handler running: what an undo step keeps of the panel.
    std::vector<std::uint8_t> Boxes() const;
    void ShowBoxes(const std::vector<std::uint8_t>& boxes);

signals:
    // A box changed the assay state; `what` names the change for the undo history ("tick ORLAN
    // assay AMPH / XTC").
    void changed(const QString& what);

private:
    QGroupBox* makeFrame(const char* name, const char* caption, int l, int t, int w, int h);
    void buildRows();
    void buildOptions(const AssayRowDef& def, QWidget* frame, const QFont& font);
    void selectChanged(AssayRow r, bool on);
    void qualChanged(AssayRow r, bool on);
    void optionChosen(AssayRow r, double value);

    // The change a box's handler makes on the way to its own (unticking a row unticks its QUAL
    // box) is part of that change, not one of its own.
    bool inSelect_ = false;
    AssayState& state_;
    ControlCollection& controls_;
    std::array<QGroupBox*, 4> frames_{};  // ORLAN, VEX, TOX, ADULT
    std::array<QWidget*, 7> headings_{};  // Label1, 2, 3, 6, 7, 8, 9
    std::array<RowWidgets, kAssayRowCount> rows_{};
};

}  // namespace tovimar
