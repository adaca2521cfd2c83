#include "gui/widgets/app_style.h"

#include <QApplication>
#include <QHash>
#include <QIcon>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace tovimar {

namespace {

// Fusion makes a new icon, with new pictures, at every request. The toolkit caches each picture
// drawn from an icon under that picture's identity, so every file dialog and message box added
// copies of the same arrows, folders and warning signs to the image cache (about 20 a save), never
// asked for again, until the cache held 10 MB of them. One icon per standard picture and direction
// is found again by every dialog.
class SteadyIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap sp, const QStyleOption* option, const QWidget* widget) const override {
        const bool rightToLeft =
            option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
        const int key = int(sp) * 2 + (rightToLeft ? 1 : 0);
        auto found = icons_.constFind(key);
        if (found == icons_.constEnd())
            found = icons_.insert(key, QProxyStyle::standardIcon(sp, option, widget));
        return *found;
    }

private:
    mutable QHash<int, QIcon> icons_;
};

}  // namespace

void installApplicationStyle() {
    // One look on every desktop: the colours of the layout are drawn the same everywhere.
    QApplication::setStyle(new SteadyIconStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
}

}  // namespace tovimar
