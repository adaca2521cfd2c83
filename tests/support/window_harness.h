// The main window for widget tests: pauses that cost nothing (the clock moves only when the
// window pauses), an exit that is only counted, and clicks where a user clicks.
#pragma once

#include "gui/mainwindow/frmMain.h"
#include "gui/mainwindow/help_overlay.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"
#include "tests/support/helper_checks.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

namespace tovimar::testing {

struct Harness {
    enum Start { StartScreen, MainView };

    std::int64_t now = 0;
    std::vector<int> pauses;
    int exits = 0;
    std::function<void()> onPause;  // runs at every pause, to look at the window mid-transition
    // The file dialogs answer with `nextFile` (empty: cancelled), questions with `answer`; the
    // messages are kept, with the dialogs' titles and the questions asked.
    QString nextFile;
    bool answer = true;
    QStringList messages, questions, dialogTitles;
    std::vector<DialogHooks::Default> defaults;  // the answer Enter gives, for each question
    std::unique_ptr<frmMain> w;

    frmMainHooks hooks() {
        frmMainHooks hooks;
        hooks.pause = [this](int ms) {
            pauses.push_back(ms);
            now += ms;
            if (onPause)
                onPause();
        };
        hooks.clockMs = [this] { return now; };
        hooks.endProgram = [this] { ++exits; };
        hooks.dialogs.chooseFile = [this](QWidget*, bool, const QString& title, const QString&,
                                          const QString&, const QString&) {
            dialogTitles << title;
            return nextFile;
        };
        hooks.dialogs.ask = [this](QWidget*, const QString&, const QString& text, DialogHooks::Default d) {
            questions << text;
            defaults.push_back(d);
            return answer;
        };
        hooks.dialogs.warn = [this](QWidget*, const QString&, const QString& text) { messages << text; };
        return hooks;
    }

    explicit Harness(Start start = StartScreen) {
        w = std::make_unique<frmMain>(hooks());
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qFatal("the main window was not shown");
        if (start == MainView)
            enterMainView();
    }

    template <typename T = QWidget>
    T* get(const char* name) const {
        auto* c = qobject_cast<T*>(w->control(QString::fromLatin1(name)));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }

    const Order& order() const { return w->order(); }
    // The live order, to set a scene up without clicks; the window shows it at its next refill.
    Order& edit() const { return w->document().edit(); }

    void enterMainView() {
        QTest::mouseClick(get("picStart"), Qt::LeftButton, {}, QPoint(200, 200));
        onPause = nullptr;
    }

    // A command button, which must be there for the user to press.
    void click(const char* button) const {
        QWidget* b = get(button);
        HELPER_VERIFY2(b->isVisible() && b->isEnabled(), button);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // A click 2 px in from a control's right edge, through the window as the pointer's would
    // come: on a box, the coloured bar beside its caption, far from the indicator and the text.
    void clickNearRightEdge(QWidget* c) const {
        HELPER_VERIFY2(c->isVisible(), qPrintable(c->objectName() + " is not visible"));
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {},
                          c->mapTo(w.get(), QPoint(c->width() - 3, c->height() / 2)));
    }

    // A key as the user types it: into the window, to whichever control has the focus.
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) const {
        QTest::keyClick(w->windowHandle(), k, m);
    }
};

// Clicks the indicator of a check box or option button, where a user clicks (a wide box's centre
// may lie past its text and toggle nothing).
inline void clickBox(QAbstractButton* b) {
    HELPER_VERIFY2(b->isVisible(), qPrintable(b->objectName() + " is not visible"));
    QStyleOptionButton opt;
    opt.initFrom(b);
    const bool radio = qobject_cast<QRadioButton*>(b) != nullptr;
    const QRect r = b->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opt, b);
    QTest::mouseClick(b, Qt::LeftButton, {}, r.center());
}

}  // namespace tovimar::testing
