// The main window: start screen, the four assay frames, the two result lists and the working
// buttons. It owns the one catalogue (which is also the order), the assay state and the number
// of the colour scheme in force.
#pragma once

#include "catalogue/records.h"
#include "selection/assay_state.h"
#include "selection/provenance.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tovimar {

class AssayPanel;
struct SizeBox;
class PictureBox;
class TabStopList;

// What the window needs from the outside world, replaceable in tests: the pauses of the start
// transition, the clock that paces it, and ending the program.
struct frmMainHooks {
    std::function<void(int ms)> pause;
    std::function<std::int64_t()> clockMs;
    std::function<void()> endProgram;

    static frmMainHooks real();
};

class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(frmMainHooks hooks = frmMainHooks::real(), QWidget* parent = nullptr);
    ~frmMain() override;

    // ---- Procedures of the window -----------------------------------------------------------
    void Form_Load();
    void ShowMainView();
    void ResetSelection();
    void FillCalibList();
    void FillCtrlList();
    void SelectAllItems();
    void ClearOrderFlags();
    // Runs the requirement rules and refills both lists. The rules keep the name `update` in
    // the core; here it would hide QWidget::update().
    void runRules();

    // ---- Handlers ---------------------------------------------------------------------------
    void picStart_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // ---- State ------------------------------------------------------------------------------
    Catalogue& catalogue() { return cat_; }
    const Catalogue& catalogue() const { return cat_; }
    AssayState& assayState() { return state_; }
    const AssayState& assayState() const { return state_; }
    // Why each item is in the order; the lists show it as each line's tooltip.
    const Provenance& provenance() const { return provenance_; }
    std::int16_t ColourScheme = 3;

    AssayPanel& panel() { return *panel_; }
    // Every named control of the window in creation order, which is the order the reset and the
    // dark pass of the load walk them.
    const std::vector<QWidget*>& controls() const { return controls_; }
    QWidget* control(const QString& name) const;

    // Overrides the output button's action (the output dialog plugs in here).
    void setOutputAction(std::function<void()> action) { outputAction_ = std::move(action); }

    // ---- Order refinement: the bottle-size mode and the adding mode (refinement/) -------------
    // Bottle sizes: one size box per ordered product with an alternative, created on entry and
    // destroyed on leaving; a tick orders the alternative variant (SizeChoice 2).
    void cmdBottle_Click();
    void ShowReagBottleSizes();
    void ShowCalBottleSizes();
    void Check20_Click(int Index);
    void Check71_Click(int Index);
    void cmdBottleBack_Click();
    // Adding: two tick lists of the named calibrators and controls not in the order; the ticked
    // ones join the order on leaving, until the rules next run.
    void Command4_Click();
    void FillCalMissList();
    void FillCtrlMissList();
    void Command4Back_Click();
    void ReadCalMissList();
    void ReadCtrlMissList();

    // Element `Index` of a size-box array (0 is the hidden template), null while it does not exist.
    QCheckBox* Check20(int Index) const;
    QCheckBox* Check71(int Index) const;
    // For the keyboard commands: every size box ticked or unticked as if the user clicked it, so
    // captions and SizeChoice follow; every entry of both adding lists ticked or unticked.
    void SetAllSizeBoxes(bool ticked);
    void SetAllMissEntries(bool ticked);

    // The slot shown at each position of CalMissList and CtrlMissList.
    std::vector<std::int16_t> CalMissSlot;
    std::vector<std::int16_t> CtrlMissSlot;

    // ---- Help overlay (mainwindow/help_overlay.cpp) ----------------------------------------------
    void cmdHelp_Click();
    void ShowHelp();
    void picHelp_Click();
    void Label13_Click(int Index);
    void NV_Banner_Click();
    // The nine help texts, index 0 to 8.
    QLabel* Label13(int Index) const;

    // ---- Keyboard commands (mainwindow/keyboard.cpp) ---------------------------------------------
    // Handles one key as the window's command keys do; returns whether it was a command key, so
    // that the control with the focus does not act on it as well.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    // Sees key presses meant for any control of the window before the control does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename W>
    W* add(W* widget, const QString& name);
    QGroupBox* makeFrame(const QString& name, const QString& caption, int l, int t, int w, int h);
    QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int l, int t, int w, int h,
                      double pointSize, bool bold = true);
    QPushButton* makeButton(const QString& name, const QString& tooltip, const QString& picture, int l,
                            int t);
    void buildControls();
    void setRowPalettes();
    void growFrames();

    // ---- Order refinement (refinement/) ----------------------------------------------------------
    void enterRefinementMode(const char* entry, const char* back, const char* otherEntry);
    void leaveRefinementMode(const char* entry, const char* back, const char* otherEntry);
    QCheckBox* placeSizeBox(QGroupBox* frame, const QString& name, const SizeBox& b, int widthTwips,
                            std::uint32_t colour);
    QCheckBox* makeSizeBox(QGroupBox* frame, const QString& name, int index, int widthTwips);
    void destroySizeBoxes();
    void makeTickList(QListWidget* list);
    static constexpr int kCheck20Count = AssayTable::kFilled;  // one element per reagent slot
    static constexpr int kCheck71Count = CalibTable::kFilled;  // one element per calibrator slot
    std::array<QPointer<QCheckBox>, kCheck20Count + 1> check20_{};
    std::array<QPointer<QCheckBox>, kCheck71Count + 1> check71_{};

    // ---- Help overlay ----------------------------------------------------------------------------
    void buildHelpPanel();
    std::array<QLabel*, 9> label13_{};
    // Set by the reset: from then on the window sees its keys wherever the focus is.
    bool keyPreview_ = false;

    frmMainHooks hooks_;
    Catalogue cat_;
    AssayState state_;
    std::vector<QWidget*> controls_;
    std::vector<std::string> calibLines_, ctrlLines_;
    Provenance provenance_;
    std::vector<std::string> calibTips_, ctrlTips_;
    std::function<void()> outputAction_;

    PictureBox* picStart_ = nullptr;
    PictureBox* banner_ = nullptr;
    PictureBox* icon1_ = nullptr;
    PictureBox* picHelp_ = nullptr;
    QGroupBox* orlan_ = nullptr;
    QGroupBox* vex_ = nullptr;
    QGroupBox* tox_ = nullptr;
    QGroupBox* adult_ = nullptr;
    QGroupBox* reagBottleSizeFrame_ = nullptr;
    QGroupBox* calBottleSizeFrame_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
    TabStopList* calibList_ = nullptr;
    TabStopList* ctrlList_ = nullptr;
    QListWidget* calMissList_ = nullptr;
    QListWidget* ctrlMissList_ = nullptr;
    AssayPanel* panel_ = nullptr;
};

}  // namespace tovimar
