// The help overlay: a picture laid over the upper window with nine texts that point at the
// buttons and at the parts of an example assay row. A click anywhere on it or on a text ends it;
// it changes no selection. The picture and its texts are built the first time help is asked
// for: the start screen does not show them.
#pragma once

#include "gui/widgets/control_collection.h"
#include "gui/widgets/widget_colours.h"

#include <QLabel>
#include <QObject>
#include <array>
#include <vector>

namespace tovimar {

class PictureBox;

class HelpOverlay : public QObject {
    Q_OBJECT

public:
    HelpOverlay(QWidget* window, ControlCollection& controls);

    // Lays the panel over the window with its nine texts set afresh. The example row takes
    // `exampleColour` when it is first built; the colour schemes reach it through ColouredBoxes.
    void ShowHelp(const QColor& exampleColour);
    // Hidden and disabled.
    void Hide();

    // The example row's boxes, which take the ORLAN colour of every scheme; none before help
    // was first shown.
    std::vector<ColouredBox> ColouredBoxes() const;

    // Help text `Index` (0 to 8), null before help was first shown.
    QLabel* Label13(int Index) const;

    // The panel's texts in reading order, joined by ". ": what a screen reader hears as help
    // takes the focus.
    QString SpokenTexts() const;

    // What a text shows with its hyphens kept to their words, so that "Cut-Off" stays whole when
    // the text wraps; the text itself stays as written.
    static QString WrappedText(const QString& text);

signals:
    // A click on the panel (Index -1) or on help text Index.
    void clicked(int Index);

private:
    void build(const QColor& exampleColour);

    QWidget* window_;
    ControlCollection& controls_;
    PictureBox* picHelp_ = nullptr;
    std::array<QLabel*, 9> label13_{};
    std::vector<ColouredBox> exampleBoxes_;
};

}  // namespace tovimar
