#include "selection/assay_panel.h"

#include "mainwindow/fonts.h"
#include "mainwindow/twips.h"

namespace tovimar {

AssayPanel::AssayPanel(AssayState& state, const std::function<QWidget*(Frame)>& frameOf, QObject* parent)
    : QObject(parent), state_(state) {
    using L = AssayRowLayout;
    const QFont font = narrowFont(8.25, true);
    for (const AssayRowDef& def : AssayRows()) {
        QWidget* frame = frameOf(def.frame);
        RowWidgets& w = rows_[index(def.key)];
        const AssayRow key = def.key;

        w.select =
            new QCheckBox(QString::fromLatin1(def.caption.data(), qsizetype(def.caption.size())), frame);
        w.select->setObjectName(QString::fromLatin1(def.selectBox.data(), qsizetype(def.selectBox.size())));
        w.select->setGeometry(twipsRect(L::selectLeft(def), def.top, L::kSelectWidth, L::selectHeight(def)));
        w.select->setFont(font);
        w.select->setAutoFillBackground(true);
        connect(w.select, &QCheckBox::toggled, this, [this, key](bool on) { selectChanged(key, on); });

        if (def.hasQual()) {
            w.qual = new QCheckBox(QStringLiteral(" "), frame);
            w.qual->setObjectName(QString::fromLatin1(def.qualBox.data(), qsizetype(def.qualBox.size())));
            w.qual->setGeometry(twipsRect(L::qualLeft(def), def.top, L::kQualWidth, L::kQualHeight));
            w.qual->setFont(font);
            w.qual->setAutoFillBackground(true);
            // Its caption is a blank: a screen reader says which row's QUAL box it is.
            w.qual->setAccessibleName(w.select->text().trimmed() + QStringLiteral(" QUAL"));
            // The fentanyl row's QUAL box has no handler: its flag is written only by the reset.
            if (key != AssayRow::VexFentanyl)
                connect(w.qual, &QCheckBox::toggled, this, [this, key](bool on) { qualChanged(key, on); });
        }

        if (def.hasOptions()) {
            w.container = new QWidget(frame);
            w.container->setObjectName(
                QString::fromLatin1(def.container.data(), qsizetype(def.container.size())));
            w.container->setGeometry(
                twipsRect(L::containerLeft(def), def.top, L::containerWidth(def), L::kContainerHeight));
            // A group even for a single option: clicking a chosen option never un-chooses it.
            w.group = new QButtonGroup(w.container);
            w.group->setExclusive(true);
            std::size_t i = 0;
            for (const CutOption& o : def.options()) {
                auto* b = new QRadioButton(QString::fromLatin1(o.caption.data(), qsizetype(o.caption.size())),
                                           w.container);
                b->setObjectName(QString::fromLatin1(o.control.data(), qsizetype(o.control.size())));
                b->setGeometry(twipsRect(L::kOptionLefts[i], 0, L::kOptionWidth, L::kOptionHeight));
                b->setFont(font);
                b->setAutoFillBackground(true);
                b->setAccessibleName(w.select->text().trimmed() + QLatin1Char(' ') + b->text());
                const double value = o.value;
                connect(b, &QRadioButton::toggled, this, [this, key, value](bool on) {
                    if (on)
                        optionChosen(key, value);
                });
                w.group->addButton(b);
                w.options[i++] = b;
            }
        }
    }
}

void AssayPanel::clearOption(QRadioButton* option) {
    if (!option || !option->isChecked())
        return;
    const QSignalBlocker quiet(option);
    QButtonGroup* group = option->group();
    if (group)
        group->setExclusive(false);
    option->setChecked(false);
    if (group)
        group->setExclusive(true);
}

void AssayPanel::selectChanged(AssayRow r, bool on) {
    const AssayRowDef& def = RowDef(r);
    RowWidgets& w = rows_[index(r)];
    state_[r].Sel = on;
    if (def.hasOptions()) {
        for (QRadioButton* b : w.options)
            if (b)
                b->setVisible(on);
        w.qual->setVisible(on);
        if (!on) {
            for (QRadioButton* b : w.options)
                clearOption(b);
            w.qual->setChecked(false);  // runs the QUAL handler when it was ticked
        }
    } else if (def.hasQual()) {
        // The QUAL box keeps its tick while hidden and shows it again when the row is ticked.
        w.qual->setVisible(on);
    }
    state_.SetSelected(r, on);
    emit changed();
}

void AssayPanel::qualChanged(AssayRow r, bool on) {
    state_.SetQual(r, on);
    emit changed();
}

void AssayPanel::optionChosen(AssayRow r, double value) {
    state_.ChooseCut(r, value);
    emit changed();
}

}  // namespace tovimar
