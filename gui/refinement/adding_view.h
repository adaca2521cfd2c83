// The adding view: two tick lists of the named calibrators and controls that are not in the
// order. Reading them puts the ticked ones into the order as they are, without running the rules,
// so they last until the assay panel next changes.
#pragma once

#include "core/order/order.h"
#include "gui/widgets/control_collection.h"

#include <QListWidget>
#include <QObject>
#include <cstdint>
#include <vector>

namespace tovimar {

class AddingView : public QObject {
    Q_OBJECT

public:
    // Reads the order and puts the ticked items into it; the order outlives the view.
    AddingView(Order& order, QWidget* window, ControlCollection& controls);

    // Both lists in their places, shown, and filled with what is not in the order now.
    void Show();
    // Hidden; the entries stay until the next Show empties them.
    void Hide();
    // Entries and maps emptied, as a fresh start has them.
    void Clear();

    void FillCalMissList();
    void FillCtrlMissList();
    // Puts the ticked entries into the order, marked as added by hand, and reports the change.
    void AddTicked();

    // The first list with an entry, its first entry current; the calibrators' list where both
    // are empty.
    QListWidget* FirstList();

    // Every entry of both lists ticked or unticked.
    void SetAllMissEntries(bool ticked);

    // The slot shown at each position of CalMissList and CtrlMissList.
    std::vector<std::int16_t> CalMissSlot;
    std::vector<std::int16_t> CtrlMissSlot;

signals:
    void changed();

private:
    Order& order_;
    QListWidget* calMissList_ = nullptr;
    QListWidget* ctrlMissList_ = nullptr;
};

}  // namespace tovimar
