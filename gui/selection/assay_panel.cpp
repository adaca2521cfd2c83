#include "gui/selection/assay_panel.h"

#include "gui/widgets/captioned_frame.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/palette.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/whole_box.h"
#include "gui/widgets/widget_colours.h"

#include <QLabel>

namespace tovimar {

AssayPanel::AssayPanel(AssayState& state, QWidget* window, ControlCollection& controls)
    : QObject(window), state_(state), controls_(controls) {
    frames_ = {makeFrame("ORLAN_Frame", "ORLAN Assays", 120, 0, 6300, 6375),
               makeFrame("VEX_Frame", "VEX Assays", 6555, 0, 5580, 6375),
               makeFrame("TOX_Frame", "Serum TOX Assays", 12320, 0, 3080, 2775),
               makeFrame("ADULT_FRAME", "Adulteration Assays", 12360, 3960, 3080, 2415)};
    auto [orlan, vex, tox, adult] = frames_;
    const auto heading = [&controls](QWidget* frame, const char* name, const char* text, int l, int w) {
        auto* label = controls.add(new QLabel(QString::fromLatin1(text), frame), QString::fromLatin1(name));
        label->setGeometry(twipsRect(l, 360, w, 300));
        label->setFont(narrowFont(12, true));
        // White as the window's other texts: the red of the frame is its caption's alone. With no
        // background of its own, the frame's top line runs on behind the heading.
        setSeeThroughText(label, darkPassText());
        return label;
    };
    QLabel* label3 = heading(orlan, "Label3", "PARAMETER", 240, 1800);
    QLabel* label2 = heading(orlan, "Label2", "QUAL", 2280, 720);
    QLabel* label1 = heading(orlan, "Label1", "DESIRED CUTOFF", 3360, 2400);
    QLabel* label6 = heading(vex, "Label6", "PARAMETER", 240, 1800);
    QLabel* label7 = heading(vex, "Label7", "QUAL", 2280, 720);
    QLabel* label8 = heading(vex, "Label8", "DESIRED CUTOFF", 3480, 2000);
    QLabel* label9 = heading(tox, "Label9", "PARAMETER", 240, 1800);
    heading(tox, "Label10", "QUAL", 2280, 720);
    heading(adult, "Label14", "PARAMETER", 240, 1800);
    headings_ = {label1, label2, label3, label6, label7, label8, label9};
    buildRows();
}

QGroupBox* AssayPanel::makeFrame(const char* name, const char* caption, int l, int t, int w, int h) {
    auto* window = static_cast<QWidget*>(parent());
    QGroupBox* f =
        controls_.add(new CaptionedFrame(QString::fromLatin1(caption), window), QString::fromLatin1(name));
    f->setGeometry(twipsRect(l, t, w, h));
    f->setFont(narrowFont(13, true));
    return f;
}

void AssayPanel::buildRows() {
    ControlCollection& controls = controls_;
    // Every box starts in the colours of the scheme the window starts with, in one go.
    const SchemeColours start = SchemeColoursOf(3);
    using L = AssayRowLayout;
    const QFont font = narrowFont(8.25, true);
    for (const AssayRowDef& def : AssayRows()) {
        QWidget* frame = frames_[static_cast<std::size_t>(def.frame)];
        RowWidgets& w = rows_[index(def.key)];
        const AssayRow key = def.key;
        const auto colourBox = [&start, &def](QAbstractButton* box) {
            setBoxColours(box, start.of(def.colour));
        };

        w.select =
            new WholeCheckBox(QString::fromLatin1(def.caption.data(), qsizetype(def.caption.size())), frame);
        w.select->setObjectName(QString::fromLatin1(def.selectBox.data(), qsizetype(def.selectBox.size())));
        w.select->setGeometry(twipsRect(L::selectLeft(def), def.top, L::kSelectWidth, L::selectHeight(def)));
        w.select->setFont(font);
        colourBox(w.select);
        const std::string_view frameText = FrameDescription(def.frame);
        w.select->setAccessibleDescription(
            QString::fromLatin1(frameText.data(), qsizetype(frameText.size())));
        controls.add(w.select);
        connect(w.select, &QCheckBox::toggled, this, [this, key](bool on) { selectChanged(key, on); });

        if (def.hasQual()) {
            w.qual = new WholeCheckBox(QStringLiteral(" "), frame);
            w.qual->setObjectName(QString::fromLatin1(def.qualBox.data(), qsizetype(def.qualBox.size())));
            w.qual->setGeometry(twipsRect(L::qualLeft(def), def.top, L::kQualWidth, L::kQualHeight));
            w.qual->setFont(font);
            colourBox(w.qual);
            controls.add(w.qual);
            // Its caption is a blank: a screen reader says which row's QUAL box it is.
            w.qual->setAccessibleName(w.select->text().trimmed() + QStringLiteral(" QUAL"));
            w.qual->setAccessibleDescription(QString::fromStdString(QualDescription(def)));
            // The fentanyl row's QUAL box has no handler: its flag is written only by the reset.
            if (key != AssayRow::VexFentanyl)
                connect(w.qual, &QCheckBox::toggled, this, [this, key](bool on) { qualChanged(key, on); });
        }

        if (def.hasOptions())
            buildOptions(def, frame, font);
    }
}

// The row's options in a container of their own, one exclusive group.
void AssayPanel::buildOptions(const AssayRowDef& def, QWidget* frame, const QFont& font) {
    using L = AssayRowLayout;
    RowWidgets& w = rows_[index(def.key)];
    const AssayRow key = def.key;
    w.container = new QWidget(frame);
    w.container->setObjectName(QString::fromLatin1(def.container.data(), qsizetype(def.container.size())));
    w.container->setGeometry(
        twipsRect(L::containerLeft(def), def.top, L::containerWidth(def), L::kContainerHeight));
    controls_.add(w.container);
    // A group even for a single option: clicking a chosen option never un-chooses it.
    w.group = new QButtonGroup(w.container);
    w.group->setExclusive(true);
    std::size_t i = 0;
    for (const CutOption& o : def.options()) {
        auto* b = new WholeRadioButton(QString::fromLatin1(o.caption.data(), qsizetype(o.caption.size())),
                                       w.container);
        b->setObjectName(QString::fromLatin1(o.control.data(), qsizetype(o.control.size())));
        b->setGeometry(twipsRect(L::kOptionLefts[i], 0, L::kOptionWidth, L::kOptionHeight));
        b->setFont(font);
        setBoxColours(b, SchemeColoursOf(3).of(def.colour));  // as the other boxes of the row
        b->setAccessibleName(w.select->text().trimmed() + QLatin1Char(' ') + b->text());
        b->setAccessibleDescription(QString::fromStdString(CutOptionDescription(def, o)));
        const double value = o.value;
        connect(b, &QRadioButton::toggled, this, [this, key, value](bool on) {
            if (on)
                optionChosen(key, value);
        });
        w.group->addButton(b);
        controls_.add(b);
        w.options[i++] = b;
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

void AssayPanel::TickAsClicks(AssayRow r, double cut, bool qual) {
    const AssayRowDef& def = RowDef(r);
    const RowWidgets& w = rows_[index(r)];
    w.select->setChecked(true);
    for (std::size_t i = 0; i < def.optionCount; ++i)
        if (cut != 0.0 && def.options()[i].value == cut)
            w.options[i]->setChecked(true);
    if (qual && w.qual)
        w.qual->setChecked(true);
}

namespace {

QString rowName(AssayRow r) {
    const AssayRowDef& def = RowDef(r);
    const std::string_view frame = FrameDescription(def.frame);
    return QString::fromLatin1(frame.data(), qsizetype(frame.size())) + QLatin1Char(' ') +
           QString::fromLatin1(def.caption.data(), qsizetype(def.caption.size())).trimmed();
}

}  // namespace

void AssayPanel::selectChanged(AssayRow r, bool on) {
    const AssayRowDef& def = RowDef(r);
    RowWidgets& w = rows_[index(r)];
    inSelect_ = true;
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
    inSelect_ = false;
    emit changed((on ? QStringLiteral("tick ") : QStringLiteral("untick ")) + rowName(r));
}

void AssayPanel::qualChanged(AssayRow r, bool on) {
    state_.SetQual(r, on);
    if (!inSelect_)
        emit changed((on ? QStringLiteral("QUAL of ") : QStringLiteral("no QUAL of ")) + rowName(r));
}

void AssayPanel::optionChosen(AssayRow r, double value) {
    state_.ChooseCut(r, value);
    emit changed(QStringLiteral("cut-off %1 of ").arg(value) + rowName(r));
}

std::vector<std::uint8_t> AssayPanel::Boxes() const {
    std::vector<std::uint8_t> boxes;
    for (const RowWidgets& w : rows_) {
        boxes.push_back(w.select->isChecked());
        if (w.qual)
            boxes.push_back(w.qual->isChecked());
        for (QRadioButton* b : w.options)
            if (b)
                boxes.push_back(b->isChecked());
    }
    return boxes;
}

void AssayPanel::ShowBoxes(const std::vector<std::uint8_t>& boxes) {
    std::size_t at = 0;
    const auto next = [&] { return at < boxes.size() && boxes[at++] != 0; };
    for (const AssayRowDef& def : AssayRows()) {
        RowWidgets& w = rows_[index(def.key)];
        const QSignalBlocker quietSelect(w.select);
        const bool on = next();
        w.select->setChecked(on);
        if (w.qual) {
            const QSignalBlocker quietQual(w.qual);
            w.qual->setChecked(next());
            w.qual->setVisible(on && !def.secondColumn);
        }
        for (QRadioButton* b : w.options) {
            if (!b)
                continue;
            if (next()) {
                const QSignalBlocker quietOption(b);
                b->setChecked(true);
            } else {
                clearOption(b);
            }
            b->setVisible(on && !def.secondColumn);
        }
    }
}

std::vector<ColouredBox> AssayPanel::ColouredBoxes() const {
    std::vector<ColouredBox> boxes;
    for (const AssayRowDef& def : AssayRows()) {
        const RowWidgets& w = rows_[index(def.key)];
        boxes.push_back({w.select, def.colour});
        if (w.qual)
            boxes.push_back({w.qual, def.colour});
        for (QRadioButton* b : w.options)
            if (b)
                boxes.push_back({b, def.colour});
    }
    return boxes;
}

void AssayPanel::SetOptionContainersVisible(bool visible) {
    for (const RowWidgets& w : rows_)
        if (w.container)
            w.container->setVisible(visible);
}

void AssayPanel::PrepareFrames() {
    for (QGroupBox* f : frames_) {
        f->hide();
        f->resize(f->width(), px(350));
        setTextColour(f, palette::kRed);
        QFont font = f->font();
        font.setPointSizeF(13);
        f->setFont(font);
    }
}

namespace {
// The ADULT frame's top during the transition; it grows once the others pass it.
constexpr int kAdultTop = 4000;
}  // namespace

void AssayPanel::PlaceForGrowth() {
    // The frames grow in front of the start picture, which lies over them until the end.
    for (QGroupBox* f : frames_)
        f->raise();
    auto [orlan, vex, tox, adult] = frames_;
    vex->move(vex->x(), px(100));
    vex->show();
    orlan->move(orlan->x(), px(100));
    orlan->show();
    tox->move(px(12280), px(100));
    tox->show();
    adult->move(px(12280), px(kAdultTop));
}

void AssayPanel::Grow(int h) {
    auto [orlan, vex, tox, adult] = frames_;
    orlan->resize(orlan->width(), px(h));
    vex->resize(vex->width(), px(h));
    tox->resize(tox->width(), px(h > 2775 ? 2775 : h));
    if (h >= kAdultTop) {
        adult->resize(adult->width(), px(h - 3900));
        adult->show();
    }
}

void AssayPanel::RepaintFrames() {
    for (QGroupBox* f : frames_)
        f->repaint();
}

void AssayPanel::SetFramesVisible(bool visible) {
    for (QGroupBox* f : frames_)
        f->setVisible(visible);
}

void AssayPanel::SetHeadingsVisible(bool visible) {
    for (QWidget* l : headings_)
        l->setVisible(visible);
}

void AssayPanel::ClearRows() {
    for (const AssayRowDef& def : AssayRows()) {
        RowState& s = state_[def.key];
        s.Sel = false;
        s.Qual = false;
        if (def.reset != ResetCut::Kept)
            s.Cut = 0.0;
    }
    for (const AssayRowDef& def : AssayRows()) {
        const RowWidgets& w = rows_[index(def.key)];
        for (QRadioButton* b : w.options) {
            if (!b)
                continue;
            if (def.reset == ResetCut::ClearedAndUnchosen)
                clearOption(b);
            b->hide();
        }
        if (w.qual)
            w.qual->hide();
        if (def.secondColumn)
            w.select->hide();
    }
}

}  // namespace tovimar
