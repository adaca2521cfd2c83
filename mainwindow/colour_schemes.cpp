#include "mainwindow/colour_schemes.h"

#include "mainwindow/frmMain.h"
#include "mainwindow/twips.h"

#include <QWidget>

namespace tovimar {

namespace {

void addRange(QStringList& names, const char* prefix, int from, int to) {
    for (int n = from; n <= to; ++n)
        names << QString::fromLatin1(prefix) + QString::number(n);
}

void apply(frmMain& w, int scheme) {
    const SchemeColours c = SchemeColoursOf(scheme);
    auto paint = [&w](const QStringList& names, std::uint32_t colour) {
        for (const QString& name : names) {
            // The example row of the help panel is not always built; a missing box is skipped.
            QWidget* box = w.control(name);
            if (!box)
                continue;
            QPalette p = box->palette();
            p.setColor(QPalette::Window, bgr(colour));
            p.setColor(QPalette::Button, bgr(colour));
            box->setPalette(p);
            box->setAutoFillBackground(true);
        }
    };
    paint(ColourGroupO(), c.groupO);
    paint(ColourGroupV(), c.groupV);
}

}  // namespace

const QStringList& ColourGroupO() {
    static const QStringList names = [] {
        QStringList n;
        addRange(n, "Check", 1, 12);
        n << QStringLiteral("Check14") << QStringLiteral("Check21");
        addRange(n, "Check", 23, 33);
        n << QStringLiteral("Check35") << QStringLiteral("Check60") << QStringLiteral("Check72")
          << QStringLiteral("Check73");
        addRange(n, "Option", 1, 12);
        addRange(n, "Option", 19, 29);
        return n;
    }();
    return names;
}

const QStringList& ColourGroupV() {
    static const QStringList names = [] {
        QStringList n;
        n << QStringLiteral("Check13");
        addRange(n, "Check", 15, 19);
        n << QStringLiteral("Check22") << QStringLiteral("Check34");
        addRange(n, "Check", 36, 59);
        addRange(n, "Check", 61, 70);
        n << QStringLiteral("Check106") << QStringLiteral("Check111") << QStringLiteral("Check112");
        addRange(n, "Option", 13, 18);
        addRange(n, "Option", 30, 40);
        return n;
    }();
    return names;
}

SchemeColours SchemeColoursOf(int scheme) {
    switch (scheme) {
    case 1:
        return {colours::kGrey, colours::kGrey};
    case 2:
        return {colours::kLightBlue, colours::kWarmGrey};
    default:
        return {colours::kLightBlue, colours::kLightYellow};
    }
}

void ApplyColourScheme1(frmMain& w) {
    apply(w, 1);
}
void ApplyColourScheme2(frmMain& w) {
    apply(w, 2);
}
void ApplyColourScheme3(frmMain& w) {
    apply(w, 3);
}

}  // namespace tovimar
