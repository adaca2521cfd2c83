// The two result lists, REQUIRED CALIBRATORS and SUGGESTED CONTROLS, with their headings. The
// headings also head the two refinement modes, which ask for them here.
#pragma once

#include "gui/widgets/control_collection.h"

#include <QLabel>
#include <QObject>
#include <string>
#include <vector>

namespace tovimar {

class TabStopList;

class ResultListsView : public QObject {
    Q_OBJECT

public:
    ResultListsView(QWidget* window, ControlCollection& controls);

    // The list's lines; item i shows tips[i] as its tooltip. What shows is the window's mode table's.
    void FillCalibList(const std::vector<std::string>& lines, const std::vector<std::string>& tips);
    void FillCtrlList(const std::vector<std::string>& lines, const std::vector<std::string>& tips);

    // Both lists emptied and put in their place under the frames.
    void Reset();

    // Where the lists come or go: controls first, then calibrators, each painted at once.
    void SetListsVisible(bool visible);
    void ShowListsNow();
    void HideLists();
    void SetCalibHeadingVisible(bool visible);
    void SetCtrlHeadingVisible(bool visible);

    // The headings as each view has them.
    void HeadForOrder();
    void HeadForBottleSizes();
    void HeadForAdding();

private:
    // The lists' descriptions follow their line counts.
    // Told again when the lines changed under the same count.
    void describeCounts(bool calibChanged = false, bool ctrlChanged = false);

    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
    TabStopList* calibList_ = nullptr;
    TabStopList* ctrlList_ = nullptr;
    int calibCount_ = -1;  // as last described
    int ctrlCount_ = -1;
};

}  // namespace tovimar
