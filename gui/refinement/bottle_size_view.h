// The bottle-size view: two frames of size boxes, one box per ordered product with a second
// variant. The core decides which boxes there are and what they say; this view places them and
// keeps the order in step with the ticks, reporting each choice. A tick orders the alternative (SizeChoice
// 2), an untick the standard explicitly (1); the lists show the choice once the view is left.
#pragma once

#include "core/order/order_flags.h"
#include "gui/widgets/control_collection.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QObject>
#include <QPointer>
#include <array>

namespace tovimar {

struct SizeBox;

class BottleSizeView : public QObject {
    Q_OBJECT

public:
    // Reads and writes the sizes of the order; the order outlives the view.
    BottleSizeView(OrderFlags& order, QWidget* window, ControlCollection& controls);

    // The frames in their places, then the boxes of the products ordered now; the reagent boxes
    // take their colours from `colourScheme`.
    void Show(int colourScheme);
    // The frames hidden and every box but the templates destroyed.
    void Hide();

    void ShowReagBottleSizes(int colourScheme);
    void ShowCalBottleSizes();
    void Check20_Click(int Index);
    void Check71_Click(int Index);

    // Element `Index` of a size-box array (0 is the hidden template), null while it does not exist.
    QCheckBox* Check20(int Index) const;
    QCheckBox* Check71(int Index) const;
    // The box at the top of the reagents, else of the calibrators; null where there is none.
    QCheckBox* FirstSizeBox() const;

    // Every box ticked or unticked as if the user clicked it, so captions and SizeChoice follow;
    // a box already in that state still records the choice.
    void SetAllSizeBoxes(bool ticked);

signals:
    // A bottle size was chosen: the order changed.
    void changed();

private:
    static constexpr int kCheck20Count = AssayTable::kFilled;  // one element per reagent slot
    static constexpr int kCheck71Count = CalibTable::kFilled;  // one element per calibrator slot

    QCheckBox* makeSizeBox(QGroupBox* frame, const QString& name, int index, int widthTwips);
    QCheckBox* placeSizeBox(QGroupBox* frame, const QString& name, const SizeBox& b, int widthTwips,
                            std::uint32_t colour);

    OrderFlags& order_;
    QGroupBox* reagFrame_ = nullptr;
    QGroupBox* calFrame_ = nullptr;
    std::array<QPointer<QCheckBox>, kCheck20Count + 1> check20_{};
    std::array<QPointer<QCheckBox>, kCheck71Count + 1> check71_{};
};

}  // namespace tovimar
