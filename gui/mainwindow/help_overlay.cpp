#include "gui/mainwindow/help_overlay.h"

#include "gui/widgets/fonts.h"
#include "gui/widgets/palette.h"
#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <algorithm>
#include <functional>
#include <utility>

namespace tovimar {

namespace {

struct HelpText {
    const char* text;
    int left, top, width, height;
};

// clang-format off
constexpr HelpText kHelpTexts[9] = {
    {"Click to reset your selection",                               1800, 4080, 7095, 735},
    {"Click to send your selection to a file or printer",           1800, 5040, 7095, 735},
    {"Click to Exit Tovimar",                                       1800, 6000, 7095, 735},
    {"Click to chose between available bottle sizes",               1800, 6960, 7095, 735},
    {"Click to add more Calibrators or Controls to your selection", 1800, 7920, 7095, 735},
    {"Check here to select this Assay",                             240,  1680, 2295, 855},
    {"Check here to choose Qual Mode",                              1560, 2880, 2655, 735},
    {"Choose your desired Cut-Off here",                            3120, 1680, 3255, 855},
    {"Press 'ESC' or click anywhere to exit Help",                  1680, 8880, 8415, 975},
};
// clang-format on

// A clickable text: a click on any help text ends help, as a click on the panel does. It wraps
// between words only, never at a hyphen.
class HelpLabel : public QLabel {
public:
    HelpLabel(int index, QWidget* parent, std::function<void(int)> onClick)
        : QLabel(parent), index_(index), onClick_(std::move(onClick)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            onClick_(index_);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(font());
        p.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextWordWrap,
                   HelpOverlay::WrappedText(text()));
    }

private:
    int index_;
    std::function<void(int)> onClick_;
};

}  // namespace

QString HelpOverlay::WrappedText(const QString& text) {
    QString shown = text;
    // A word joiner after each hyphen: no line may break there, and it shows nothing.
    shown.replace(QLatin1Char('-'), QStringLiteral("-\u2060"));
    return shown;
}

HelpOverlay::HelpOverlay(QWidget* window, ControlCollection& controls)
    : QObject(window), window_(window), controls_(controls) {
    picHelp_ = controls.add(new PictureBox(QStringLiteral("picHelp"), window), QStringLiteral("picHelp"));
    picHelp_->setGeometry(twipsRect(2040, 8040, 3480, 1335));
    // Help takes the focus while it shows; a screen reader reads its texts as the panel's
    // description.
    picHelp_->setFocusPolicy(Qt::TabFocus);
    picHelp_->setAccessibleName(QStringLiteral("Help"));
    connect(picHelp_, &PictureBox::clicked, this, [this] { emit clicked(-1); });
}

void HelpOverlay::build(const QColor& exampleColour) {
    picHelp_->setPixmap(QPixmap(QStringLiteral(":/pictures/help.jpg")));

    // The example row, explained by texts 5 to 7. It only shows: clicks on it reach the panel.
    // Built after the window's dark pass, it takes the dark colours here; its boxes the scheme's.
    auto example = [&](QWidget* w, const char* name, int l, int t, int width, int h) {
        w->setGeometry(twipsRect(l, t, width, h));
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setFocusPolicy(Qt::NoFocus);
        controls_.add(w, QString::fromLatin1(name));
    };
    auto heading = [&](const char* name, const char* text, int left) {
        auto* l = new QLabel(QString::fromLatin1(text), picHelp_);
        l->setFont(narrowFont(12, true));
        setColours(l, palette::kDark, darkPassText());
        example(l, name, left, 360, 2000, 300);
    };
    heading("Label10", "PARAMETER", 240);
    heading("Label11", "QUAL", 2280);
    heading("Label12", "DESIRED CUTOFF", 3360);
    const QFont boxFont = narrowFont(8.25, true);
    auto box = [&](QAbstractButton* b, const char* name, int l, int width) {
        b->setFont(boxFont);
        setBoxColours(b, exampleColour);
        example(b, name, l, 840, width, 255);
        exampleBoxes_.push_back({b, ColourGroup::O});  // an ORLAN row, coloured as one
    };
    box(new QCheckBox(QStringLiteral("AMPH / XTC"), picHelp_), "Check72", 120, 2200);
    box(new QCheckBox(QStringLiteral(" "), picHelp_), "Check73", 2520, 250);
    const char* options[3][2] = {{"Option19", "300"}, {"Option20", "500"}, {"Option21", "1000"}};
    for (int i = 0; i < 3; ++i)
        box(new QRadioButton(QString::fromLatin1(options[i][1]), picHelp_), options[i][0], 3000 + 1080 * i,
            855);

    for (int i = 0; i < 9; ++i) {
        auto* l = new HelpLabel(i, picHelp_, [this](int index) { emit clicked(index); });
        l->setProperty("index", i);
        const HelpText& t = kHelpTexts[i];
        l->setGeometry(twipsRect(t.left, t.top, t.width, t.height));
        l->setWordWrap(true);
        label13_[static_cast<std::size_t>(i)] = controls_.add(l, QStringLiteral("Label13"));
    }
}

QLabel* HelpOverlay::Label13(int Index) const {
    return Index >= 0 && Index < 9 ? label13_[static_cast<std::size_t>(Index)] : nullptr;
}

void HelpOverlay::ShowHelp(const QColor& exampleColour) {
    if (!label13_[0])
        build(exampleColour);
    picHelp_->setEnabled(true);
    picHelp_->show();
    for (int i = 0; i < 9; ++i) {
        QLabel* l = label13_[static_cast<std::size_t>(i)];
        const bool last = i == 8;
        // The texts for the buttons end at one right edge beside them; the others are centred.
        // Each starts at the top of its box, as a label draws, where the picture's pointer meets it.
        l->setAlignment((i < 5 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop);
        QFont f = l->font();
        f.setPointSize(last ? 16 : 12);
        l->setFont(f);
        setTextColour(l, last ? palette::kRed : palette::kGrey);
        l->setAutoFillBackground(false);  // the texts lie on the picture
        l->setText(QString::fromLatin1(kHelpTexts[i].text));
    }
    picHelp_->setGeometry(twipsRect(0, 0, 15630, 9840));
    picHelp_->setAccessibleDescription(SpokenTexts());
    picHelp_->raise();
    picHelp_->show();
}

// Every text on the panel, the example row's headings included, as the eye reads them: from the
// top down, and from the left along a line.
QString HelpOverlay::SpokenTexts() const {
    QList<QLabel*> labels = picHelp_->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    std::stable_sort(labels.begin(), labels.end(), [](const QLabel* a, const QLabel* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    QStringList texts;
    for (const QLabel* l : labels)
        if (!l->text().trimmed().isEmpty())
            texts << l->text().trimmed();
    return texts.join(QStringLiteral(". "));
}

std::vector<ColouredBox> HelpOverlay::ColouredBoxes() const {
    return exampleBoxes_;
}

void HelpOverlay::Hide() {
    picHelp_->hide();
    picHelp_->setEnabled(false);
}

}  // namespace tovimar
