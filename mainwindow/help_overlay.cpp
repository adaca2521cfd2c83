// The help overlay: a picture laid over the upper window with nine texts that point at the
// buttons and at the parts of an example assay row. A click anywhere on it, on a text or on the
// banner ends it; it changes no selection.
#include "mainwindow/fonts.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/picture_box.h"
#include "mainwindow/tab_stop_list.h"
#include "mainwindow/twips.h"

#include <QCheckBox>
#include <QRadioButton>

namespace tovimar {

namespace {

constexpr std::uint32_t kHelpGrey = 0xB2B3B4;
constexpr std::uint32_t kHelpRed = 0x3140DD;

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

// A clickable text: a click on any help text ends help, as a click on the panel does.
class HelpLabel : public QLabel {
public:
    HelpLabel(int index, QWidget* parent, std::function<void(int)> onClick)
        : QLabel(parent), index_(index), onClick_(std::move(onClick)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            onClick_(index_);
    }

private:
    int index_;
    std::function<void(int)> onClick_;
};

}  // namespace

void frmMain::buildHelpPanel() {
    picHelp_->setPixmap(QPixmap(QStringLiteral(":/pictures/help.jpg")));
    connect(picHelp_, &PictureBox::clicked, this, &frmMain::picHelp_Click);

    // The example row, explained by texts 5 to 7. It only shows: clicks on it reach the panel.
    auto example = [this](QWidget* w, const char* name, int l, int t, int width, int h) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(twipsRect(l, t, width, h));
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setFocusPolicy(Qt::NoFocus);
        controls_.push_back(w);
    };
    auto heading = [&](const char* name, const char* text, int left) {
        auto* l = new QLabel(QString::fromLatin1(text), picHelp_);
        l->setFont(narrowFont(12, true));
        example(l, name, left, 360, 2000, 300);
    };
    heading("Label10", "PARAMETER", 240);
    heading("Label11", "QUAL", 2280);
    heading("Label12", "DESIRED CUTOFF", 3360);
    const QFont boxFont = narrowFont(8.25, true);
    auto* select = new QCheckBox(QStringLiteral("AMPH / XTC"), picHelp_);
    select->setFont(boxFont);
    example(select, "Check72", 120, 840, 2200, 255);
    auto* qual = new QCheckBox(QStringLiteral(" "), picHelp_);
    example(qual, "Check73", 2520, 840, 250, 255);
    const char* options[3][2] = {{"Option19", "300"}, {"Option20", "500"}, {"Option21", "1000"}};
    for (int i = 0; i < 3; ++i) {
        auto* o = new QRadioButton(QString::fromLatin1(options[i][1]), picHelp_);
        o->setFont(boxFont);
        example(o, options[i][0], 3000 + 1080 * i, 840, 855, 255);
    }

    for (int i = 0; i < 9; ++i) {
        auto* l = new HelpLabel(i, picHelp_, [this](int index) { Label13_Click(index); });
        l->setObjectName(QStringLiteral("Label13"));
        l->setProperty("index", i);
        const HelpText& t = kHelpTexts[i];
        l->setGeometry(twipsRect(t.left, t.top, t.width, t.height));
        l->setWordWrap(true);
        label13_[static_cast<std::size_t>(i)] = l;
        controls_.push_back(l);
    }
}

QLabel* frmMain::Label13(int Index) const {
    return Index >= 0 && Index < 9 ? label13_[static_cast<std::size_t>(Index)] : nullptr;
}

void frmMain::cmdHelp_Click() {
    ShowHelp();
}

void frmMain::ShowHelp() {
    picHelp_->setEnabled(true);
    picHelp_->show();
    ctrlList_->hide();
    calibList_->hide();
    icon1_->hide();
    banner_->show();
    for (int i = 0; i < 9; ++i) {
        QLabel* l = label13_[static_cast<std::size_t>(i)];
        const bool last = i == 8;
        // The texts for the buttons end at one right edge beside them; the others are centred.
        l->setAlignment((i < 5 ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
        QFont f = l->font();
        f.setPointSize(last ? 16 : 12);
        l->setFont(f);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, bgr(last ? kHelpRed : kHelpGrey));
        l->setPalette(p);
        l->setAutoFillBackground(false);  // the texts lie on the picture
        l->setText(QString::fromLatin1(kHelpTexts[i].text));
    }
    picHelp_->setGeometry(twipsRect(0, 0, 15630, 9840));
    picHelp_->raise();
    picHelp_->show();
}

void frmMain::picHelp_Click() {
    picHelp_->hide();
    picHelp_->setEnabled(false);
    banner_->hide();
    ctrlList_->show();
    ctrlList_->repaint();
    calibList_->show();
    calibList_->repaint();
    icon1_->show();
}

void frmMain::Label13_Click(int) {
    picHelp_Click();
}

void frmMain::NV_Banner_Click() {
    if (!picHelp_->isHidden())
        picHelp_Click();
}

}  // namespace tovimar
