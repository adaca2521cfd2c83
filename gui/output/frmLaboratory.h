// "Laboratory details...": who orders (the laboratory's name, address, customer account, contact,
// phone and e-mail) and which order it is (its reference and date). The laboratory is kept in the
// user's settings for every new selection; the reference and the date belong to this order alone.
#pragma once

#include "gui/order/order_document.h"

#include <QDialog>
#include <array>
#include <initializer_list>

class QFormLayout;
class QLabel;
class QLineEdit;

namespace tovimar {

class frmLaboratory : public QDialog {
    Q_OBJECT

public:
    // The fields in the order they stand and are reached by Tab.
    enum Field {
        Name,
        Address1,
        Address2,
        Address3,
        Address4,
        Account,
        Contact,
        Phone,
        Email,
        Reference,
        Date
    };
    static constexpr int kFieldCount = Date + 1;

    // Shows the document's details; OK writes them into its order as one step and keeps the
    // laboratory in the settings. The document outlives the window.
    frmLaboratory(OrderDocument& document, QWidget* parent);

    // Opens over the parent window, which waits (window-modal) without a nested event loop.
    void Open();

    QLineEdit* field(Field f) const { return fields_[static_cast<std::size_t>(f)]; }
    // What is wrong with the details as typed, after an OK that was refused; empty otherwise.
    QString problem() const;

    void accept() override;

private:
    QWidget* buildLaboratory();
    QWidget* buildOrder();
    struct FieldRow {
        Field field;
        const char* label;       // with its mnemonic
        const char* accessible;  // what a screen reader says
        std::size_t max;         // characters
    };
    void addFields(QFormLayout& form, std::initializer_list<FieldRow> rows);
    void showDetails(const OrderDetails& details);
    OrderDetails typed() const;

    OrderDocument& document_;
    std::array<QLineEdit*, kFieldCount> fields_{};
    QLabel* problem_ = nullptr;
};

}  // namespace tovimar
