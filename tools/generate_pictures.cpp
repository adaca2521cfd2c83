// Draws every picture Tovimar shows: the start screen, the banner, the small mark, the button
// faces, the window icon and the help overlay. Everything is painted here with QPainter, so the
// pictures can be rebuilt at any time:
//
//   generate_pictures <output folder>
//
// The program runs on the offscreen platform and needs no display.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRadialGradient>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QtMath>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Palette and fonts
// ---------------------------------------------------------------------------------------------

// The window behind every picture; the edges of the dark pictures must match it.
const QColor kWindow(0x12, 0x12, 0x12);
const QColor kInk(0xF2, 0xF2, 0xF2);
const QColor kMuted(0x7E, 0x87, 0x8D);
const QColor kTeal(0x2E, 0xC4, 0xB6);
const QColor kTealDeep(0x0F, 0x5C, 0x63);
const QColor kAmber(0xF4, 0xA2, 0x59);
const QColor kRose(0xEF, 0x6F, 0x8E);
const QColor kViolet(0x9A, 0x8C, 0xF2);
const QColor kLime(0xA6, 0xD9, 0x6A);
const QColor kSignalRed(0xFF, 0x6B, 0x5E);
const QColor kGo(0x4C, 0xC7, 0x6A);

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

struct Families {
    QString sans = QStringLiteral("DejaVu Sans");
    QString sansLight = QStringLiteral("DejaVu Sans");
};

Families gFamilies;

// Registers the installed fonts by file so the pictures come out the same on every machine
// that has fonts-dejavu-core, whatever the fontconfig set-up.
void loadFonts() {
    const auto add = [](const char* file, QString& family) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        if (id < 0) {
            std::fprintf(stderr, "note: %s not found, using the system font\n", file);
            return;
        }
        const QStringList names = QFontDatabase::applicationFontFamilies(id);
        if (!names.isEmpty())
            family = names.first();
    };
    add("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", gFamilies.sans);
    add("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", gFamilies.sans);
    add("/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf", gFamilies.sansLight);
}

QFont makeFont(const QString& family, int pixelSize, QFont::Weight weight, double spacing = 0.0) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    if (spacing != 0.0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

// Width of a line of text as it is seen: letter spacing after the last letter does not count.
double inkWidth(const QFont& font, const QString& text) {
    const QFontMetricsF fm(font);
    return fm.horizontalAdvance(text) - font.letterSpacing();
}

void drawTextAt(QPainter& p, const QFont& font, const QColor& color, double x, double baseline,
                const QString& text) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(QPointF(x, baseline), text);
}

void drawCentred(QPainter& p, const QFont& font, const QColor& color, double centreX, double baseline,
                 const QString& text) {
    drawTextAt(p, font, color, centreX - inkWidth(font, text) / 2.0, baseline, text);
}

QPen roundPen(const QColor& color, double width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// ---------------------------------------------------------------------------------------------
// Laboratory glassware
// ---------------------------------------------------------------------------------------------

// A round-bottomed test tube standing upright in `r`, filled to `fill` (0..1) of its height.
void drawTestTube(QPainter& p, const QRectF& r, double fill, const QColor& liquid) {
    const double rim = 5.0;
    const double radius = r.width() / 2.0;
    QPainterPath body;
    body.moveTo(r.left(), r.top() + rim);
    body.lineTo(r.left(), r.bottom() - radius);
    body.arcTo(QRectF(r.left(), r.bottom() - 2 * radius, r.width(), 2 * radius), 180, 180);
    body.lineTo(r.right(), r.top() + rim);

    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 14));
    p.drawPath(body);

    // Liquid with a slight meniscus, shaded from the lit left side to the right.
    const double level = r.bottom() - fill * (r.height() - rim);
    QPainterPath liquidArea;
    liquidArea.moveTo(r.left(), level - 3);
    liquidArea.quadTo(r.center().x(), level + 4, r.right(), level - 3);
    liquidArea.lineTo(r.right(), r.bottom() + 1);
    liquidArea.lineTo(r.left(), r.bottom() + 1);
    liquidArea.closeSubpath();
    QLinearGradient shade(r.left(), 0, r.right(), 0);
    shade.setColorAt(0.0, liquid.lighter(135));
    shade.setColorAt(0.45, liquid);
    shade.setColorAt(1.0, liquid.darker(170));
    p.setBrush(shade);
    p.drawPath(body.intersected(liquidArea));

    // Glass outline, rim and a long highlight.
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(withAlpha(Qt::white, 150), 1.6));
    p.drawPath(body);
    p.setPen(roundPen(withAlpha(Qt::white, 190), 2.2));
    p.drawLine(QPointF(r.left() - 3, r.top() + rim), QPointF(r.right() + 3, r.top() + rim));
    p.setPen(roundPen(withAlpha(Qt::white, 70), 2.0));
    p.drawLine(QPointF(r.left() + 5, r.top() + rim + 10), QPointF(r.left() + 5, r.bottom() - radius - 4));
    p.restore();
}

// A square photometer cuvette with frosted side walls, seen from the clear face.
void drawCuvette(QPainter& p, const QRectF& r, double fill, const QColor& liquid) {
    p.save();
    QPainterPath body;
    body.addRoundedRect(r, 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 16));
    p.drawPath(body);

    const double level = r.bottom() - fill * r.height();
    QLinearGradient shade(r.left(), 0, r.right(), 0);
    shade.setColorAt(0.0, liquid.lighter(130));
    shade.setColorAt(1.0, liquid.darker(150));
    p.setBrush(shade);
    p.drawPath(body.intersected([&] {
        QPainterPath a;
        a.addRect(QRectF(r.left(), level, r.width(), r.bottom() - level + 1));
        return a;
    }()));

    // Frosted walls on both sides.
    p.setBrush(withAlpha(Qt::white, 38));
    p.drawRect(QRectF(r.left(), r.top(), 4.5, r.height()));
    p.drawRect(QRectF(r.right() - 4.5, r.top(), 4.5, r.height()));

    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(withAlpha(Qt::white, 160), 1.5));
    p.drawPath(body);
    p.setPen(roundPen(withAlpha(Qt::white, 60), 1.0));
    p.drawLine(QPointF(r.left() + 7, r.top() + 6), QPointF(r.left() + 7, r.bottom() - 6));
    p.restore();
}

// A single-channel air-displacement pipette. The painter's origin is the end of the tip; the
// pipette points down the y axis, so the rest of it is drawn at negative y.
void drawPipette(QPainter& p, double scale) {
    p.save();
    p.scale(scale, scale);

    const auto steel = [](double x0, double x1) {
        QLinearGradient g(x0, 0, x1, 0);
        g.setColorAt(0.0, QColor(0xE8, 0xEC, 0xEF));
        g.setColorAt(0.5, QColor(0xB8, 0xC1, 0xC8));
        g.setColorAt(1.0, QColor(0x6E, 0x78, 0x80));
        return g;
    };

    // Disposable tip: a clear cone holding a little sample.
    QPainterPath tip;
    tip.moveTo(-1.2, 0);
    tip.lineTo(-6.0, -62);
    tip.lineTo(6.0, -62);
    tip.lineTo(1.2, 0);
    tip.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 34));
    p.drawPath(tip);
    QPainterPath sample;
    sample.moveTo(-1.2, 0);
    sample.lineTo(-2.6, -16);
    sample.lineTo(2.6, -16);
    sample.lineTo(1.2, 0);
    sample.closeSubpath();
    p.setBrush(kAmber);
    p.drawPath(sample);
    p.setPen(roundPen(withAlpha(Qt::white, 170), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tip);

    // Shaft, tapering down to the tip cone.
    QPainterPath shaft;
    shaft.moveTo(-5.5, -60);
    shaft.lineTo(-10.5, -132);
    shaft.lineTo(10.5, -132);
    shaft.lineTo(5.5, -60);
    shaft.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(steel(-10.5, 10.5));
    p.drawPath(shaft);

    // Tip ejector collar.
    p.setBrush(QColor(0x4A, 0x55, 0x5E));
    p.drawRoundedRect(QRectF(-14, -146, 28, 16), 3, 3);

    // Handle with a finger rest.
    QPainterPath handle;
    handle.moveTo(-17, -146);
    handle.cubicTo(-21, -190, -22, -230, -19, -262);
    handle.lineTo(19, -262);
    handle.cubicTo(22, -230, 21, -190, 17, -146);
    handle.closeSubpath();
    p.setBrush(steel(-22, 22));
    p.drawPath(handle);
    QPainterPath hook;
    hook.moveTo(19, -246);
    hook.cubicTo(40, -250, 46, -236, 38, -226);
    hook.cubicTo(32, -222, 26, -228, 20, -228);
    hook.closeSubpath();
    p.setBrush(QColor(0x9A, 0xA4, 0xAC));
    p.drawPath(hook);

    // Volume display.
    p.setBrush(QColor(0x15, 0x1C, 0x21));
    p.drawRoundedRect(QRectF(-9, -224, 18, 40), 2.5, 2.5);
    p.setBrush(kTeal);
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(-5, -218 + i * 12, 10, 7), 1.2, 1.2);

    // Plunger rod and push button.
    p.setBrush(QColor(0xC9, 0xD0, 0xD5));
    p.drawRect(QRectF(-4, -284, 8, 24));
    QLinearGradient button(0, -300, 0, -282);
    button.setColorAt(0.0, kTeal.lighter(125));
    button.setColorAt(1.0, kTealDeep);
    p.setBrush(button);
    p.drawRoundedRect(QRectF(-15, -300, 30, 18), 6, 6);

    // Highlight down the lit edge of the handle.
    p.setPen(roundPen(withAlpha(Qt::white, 110), 2.0));
    p.drawLine(QPointF(-12, -160), QPointF(-14.5, -250));
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// The Tovimar mark: a test tube whose wide rim makes the letter T
// ---------------------------------------------------------------------------------------------

// Drawn on a rounded teal tile, designed in a 256 x 256 box and scaled to `box`.
void drawMark(QPainter& p, const QRectF& box) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 256.0, box.height() / 256.0);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient g(0, 0, 0, 256);
    g.setColorAt(0.0, QColor(0x25, 0xB3, 0xA6));
    g.setColorAt(1.0, QColor(0x0B, 0x46, 0x55));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 52, 52);
    QLinearGradient sheen(0, 8, 0, 128);
    sheen.setColorAt(0.0, withAlpha(Qt::white, 46));
    sheen.setColorAt(1.0, withAlpha(Qt::white, 0));
    p.setBrush(sheen);
    p.drawRoundedRect(QRectF(8, 8, 240, 120), 52, 52);

    // The bar of the T is the rim of the tube.
    const QRectF bar(46, 44, 164, 36);
    // The stem of the T is the tube itself.
    const double stemLeft = 98, stemRight = 158, stemTop = 80, stemBottom = 214;
    const double r = (stemRight - stemLeft) / 2.0;
    QPainterPath stem;
    stem.moveTo(stemLeft, stemTop - 2);
    stem.lineTo(stemLeft, stemBottom - r);
    stem.arcTo(QRectF(stemLeft, stemBottom - 2 * r, 2 * r, 2 * r), 180, 180);
    stem.lineTo(stemRight, stemTop - 2);
    stem.closeSubpath();

    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 70));
    p.drawPath(stem);

    // Liquid in the lower part of the stem.
    QPainterPath liquid;
    liquid.moveTo(stemLeft, 134);
    liquid.quadTo(128, 146, stemRight, 134);
    liquid.lineTo(stemRight, 260);
    liquid.lineTo(stemLeft, 260);
    liquid.closeSubpath();
    QLinearGradient lg(stemLeft, 0, stemRight, 0);
    lg.setColorAt(0.0, QColor(0xFF, 0xC9, 0x7A));
    lg.setColorAt(1.0, QColor(0xE8, 0x86, 0x2F));
    p.setBrush(lg);
    p.drawPath(stem.intersected(liquid));

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath outline;
    outline.moveTo(stemLeft, stemTop);
    outline.lineTo(stemLeft, stemBottom - r);
    outline.arcTo(QRectF(stemLeft, stemBottom - 2 * r, 2 * r, 2 * r), 180, 180);
    outline.lineTo(stemRight, stemTop);
    p.drawPath(outline);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(bar, 18, 18);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Backgrounds
// ---------------------------------------------------------------------------------------------

QImage darkCanvas(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kWindow);
    return img;
}

QImage clearCanvas(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A faint hexagonal ring like the benzene ring of a structural formula.
void drawRing(QPainter& p, QPointF c, double r, const QColor& color, bool innerCircle) {
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const double a = qDegreesToRadians(30.0 + 60.0 * i);
        hex << QPointF(c.x() + r * qCos(a), c.y() + r * qSin(a));
    }
    p.setPen(roundPen(color, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(hex);
    if (innerCircle)
        p.drawEllipse(c, r * 0.58, r * 0.58);
}

// A small structural-formula motif: three fused rings with a short side chain.
void drawMolecule(QPainter& p, QPointF origin, double r, const QColor& color) {
    const double dx = r * qSqrt(3.0);
    drawRing(p, origin, r, color, true);
    drawRing(p, origin + QPointF(dx, 0), r, color, false);
    drawRing(p, origin + QPointF(dx / 2, r * 1.5), r, color, false);
    p.setPen(roundPen(color, 1.4));
    const QPointF a = origin + QPointF(dx * 1.5, -r / 2);
    p.drawLine(a, a + QPointF(r * 0.87, -r / 2));
    p.drawLine(a + QPointF(r * 0.87, -r / 2), a + QPointF(r * 0.87, -r * 1.5));
    p.drawEllipse(a + QPointF(r * 0.87, -r * 1.5 - 3), 3, 3);
}

// ---------------------------------------------------------------------------------------------
// start.jpg
// ---------------------------------------------------------------------------------------------

// The glassware on the bench of the start picture; `bench` is the y of the bench top.
void drawBenchScene(QPainter& p, double bench) {
    // Test-tube rack: back posts, tubes, then the front plate over them.
    const double rackLeft = 262, rackRight = 462;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2A, 0x35, 0x3D));
    p.drawRoundedRect(QRectF(rackLeft, 280, 8, bench - 280), 2, 2);
    p.drawRoundedRect(QRectF(rackRight - 8, 280, 8, bench - 280), 2, 2);
    p.drawRoundedRect(QRectF(rackLeft - 6, bench - 12, rackRight - rackLeft + 12, 12), 3, 3);

    const std::array<QColor, 5> liquids{kTeal, kAmber, kRose, kViolet, kLime};
    const std::array<double, 5> levels{0.45, 0.62, 0.38, 0.55, 0.30};
    const double tubeW = 24, tubeTop = 214, tubeBottom = bench - 16;
    for (int i = 0; i < 5; ++i) {
        const double x = rackLeft + 22 + i * 34;
        drawTestTube(p, QRectF(x, tubeTop, tubeW, tubeBottom - tubeTop), levels[i], liquids[i]);
    }
    QLinearGradient plate(0, 282, 0, 302);
    plate.setColorAt(0.0, QColor(0x3A, 0x48, 0x52));
    plate.setColorAt(1.0, QColor(0x24, 0x2E, 0x35));
    p.setPen(Qt::NoPen);
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(rackLeft - 6, 282, rackRight - rackLeft + 12, 20), 3, 3);
    p.setPen(QPen(withAlpha(Qt::white, 40), 1.0));
    p.drawLine(QPointF(rackLeft - 3, 282.5), QPointF(rackRight + 3, 282.5));

    // Cuvette rack with the light beam of a photometer running through the row.
    const double cuvLeft = 530, cuvW = 22, cuvGap = 12, cuvTop = 262;
    const std::array<QColor, 4> cuvLiquids{kAmber, kTeal, kRose, kViolet};
    const std::array<double, 4> cuvLevels{0.70, 0.78, 0.62, 0.74};
    for (int i = 0; i < 4; ++i) {
        const double x = cuvLeft + i * (cuvW + cuvGap);
        drawCuvette(p, QRectF(x, cuvTop, cuvW, bench - 30 - cuvTop), cuvLevels[i], cuvLiquids[i]);
    }
    QLinearGradient block(0, bench - 40, 0, bench);
    block.setColorAt(0.0, QColor(0x3A, 0x48, 0x52));
    block.setColorAt(1.0, QColor(0x22, 0x2B, 0x31));
    p.setPen(Qt::NoPen);
    p.setBrush(block);
    p.drawRoundedRect(QRectF(cuvLeft - 12, bench - 40, 4 * cuvW + 3 * cuvGap + 24, 40), 4, 4);
    p.setPen(QPen(withAlpha(Qt::white, 40), 1.0));
    p.drawLine(QPointF(cuvLeft - 9, bench - 39.5),
               QPointF(cuvLeft + 4 * cuvW + 3 * cuvGap + 9, bench - 39.5));
    for (int i = 0; i < 4; ++i) {
        const double x = cuvLeft + i * (cuvW + cuvGap);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x12, 0x18, 0x1C));
        p.drawRoundedRect(QRectF(x - 1, bench - 36, cuvW + 2, 5), 1.5, 1.5);
    }
    const double beamY = 306;
    QLinearGradient beam(cuvLeft - 60, 0, cuvLeft + 4 * cuvW + 3 * cuvGap + 50, 0);
    beam.setColorAt(0.0, withAlpha(kTeal, 0));
    beam.setColorAt(0.35, withAlpha(kTeal, 150));
    beam.setColorAt(0.65, withAlpha(kTeal, 150));
    beam.setColorAt(1.0, withAlpha(kTeal, 0));
    p.setPen(QPen(QBrush(beam), 1.6));
    p.drawLine(QPointF(cuvLeft - 60, beamY), QPointF(cuvLeft + 4 * cuvW + 3 * cuvGap + 50, beamY));

    // Pipette dispensing into the fourth tube.
    const double targetX = rackLeft + 22 + 3 * 34 + tubeW / 2;
    const QPointF tipEnd(targetX, tubeTop - 18);
    p.save();
    p.translate(tipEnd);
    p.rotate(-24);
    drawPipette(p, 0.62);
    p.restore();
    QPainterPath drop;
    const QPointF d(targetX, tubeTop - 4);
    drop.moveTo(d + QPointF(0, -6));
    drop.cubicTo(d + QPointF(3.5, -1), d + QPointF(3.5, 3), d + QPointF(0, 3));
    drop.cubicTo(d + QPointF(-3.5, 3), d + QPointF(-3.5, -1), d + QPointF(0, -6));
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawPath(drop);
}

QImage drawStart() {
    const int w = 870, h = 760;
    QImage img = darkCanvas(w, h);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);

    // A soft light behind the glassware that has died away to the window colour at the edges.
    QRadialGradient glow(QPointF(w / 2.0, 300), 300);
    glow.setColorAt(0.0, QColor(0x1C, 0x2C, 0x33));
    glow.setColorAt(0.55, QColor(0x16, 0x1D, 0x21));
    glow.setColorAt(1.0, kWindow);
    p.fillRect(img.rect(), glow);

    drawMolecule(p, QPointF(92, 96), 22, withAlpha(kTeal, 34));
    drawMolecule(p, QPointF(704, 470), 18, withAlpha(kTeal, 26));

    // Framing ring around the scene.
    const QPointF centre(w / 2.0, 230);
    p.setPen(QPen(withAlpha(kTeal, 46), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 206, 206);
    p.setPen(QPen(withAlpha(kTeal, 22), 1.0));
    p.drawEllipse(centre, 214, 214);

    // The glassware goes on its own layer so that it can be mirrored in the bench top.
    const double bench = 364;
    QImage layer = clearCanvas(w, h);
    {
        QPainter lp(&layer);
        lp.setRenderHints(QPainter::Antialiasing);
        drawBenchScene(lp, bench);
    }
    // The reflection: the lowest strip of the layer, mirrored and fading out downwards.
    const int reflectH = 64;
    QImage reflection = layer.copy(0, int(bench) - reflectH, w, reflectH).mirrored(false, true);
    {
        QPainter rp(&reflection);
        rp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient fade(0, 0, 0, reflectH);
        fade.setColorAt(0.0, withAlpha(Qt::black, 60));
        fade.setColorAt(1.0, withAlpha(Qt::black, 0));
        rp.fillRect(reflection.rect(), fade);
    }
    p.drawImage(QPointF(0, bench + 1), reflection);
    p.drawImage(QPointF(0, 0), layer);

    // The bench top itself: a hairline that fades out at both ends.
    QLinearGradient benchLine(190, 0, 680, 0);
    benchLine.setColorAt(0.0, withAlpha(Qt::white, 0));
    benchLine.setColorAt(0.5, withAlpha(Qt::white, 70));
    benchLine.setColorAt(1.0, withAlpha(Qt::white, 0));
    p.setPen(QPen(QBrush(benchLine), 1.2));
    p.drawLine(QPointF(190, bench), QPointF(680, bench));

    // Maker line, product name, subtitle.
    const QFont maker = makeFont(gFamilies.sans, 15, QFont::Bold, 7.0);
    const QString makerText = QStringLiteral("NORDVALE");
    const double makerBase = 470;
    const double mw = inkWidth(maker, makerText);
    drawCentred(p, maker, kTeal, w / 2.0, makerBase, makerText);
    p.setPen(QPen(withAlpha(kTeal, 110), 1.0));
    p.drawLine(QPointF(w / 2.0 - mw / 2 - 70, makerBase - 5.5),
               QPointF(w / 2.0 - mw / 2 - 16, makerBase - 5.5));
    p.drawLine(QPointF(w / 2.0 + mw / 2 + 16, makerBase - 5.5),
               QPointF(w / 2.0 + mw / 2 + 70, makerBase - 5.5));

    const QFont title = makeFont(gFamilies.sansLight, 104, QFont::ExtraLight, 2.0);
    drawCentred(p, title, kInk, w / 2.0, 572, QStringLiteral("Tovimar"));

    QLinearGradient rule(w / 2.0 - 90, 0, w / 2.0 + 90, 0);
    rule.setColorAt(0.0, withAlpha(kTeal, 0));
    rule.setColorAt(0.5, kTeal);
    rule.setColorAt(1.0, withAlpha(kTeal, 0));
    p.setPen(QPen(QBrush(rule), 2.0));
    p.drawLine(QPointF(w / 2.0 - 90, 598), QPointF(w / 2.0 + 90, 598));

    const QFont sub = makeFont(gFamilies.sans, 17, QFont::Normal);
    drawCentred(p, sub, QColor(0xB8, 0xC0, 0xC5), w / 2.0, 632,
                QStringLiteral("Reagent, calibrator and control ordering for"));
    drawCentred(p, sub, QColor(0xB8, 0xC0, 0xC5), w / 2.0, 656,
                QStringLiteral("drugs-of-abuse, serum tox and specimen-validity testing"));

    // Start hint in a quiet pill.
    const QFont hint = makeFont(gFamilies.sans, 14, QFont::Normal, 1.5);
    const QString hintText = QStringLiteral("Click to start");
    const double hw = inkWidth(hint, hintText);
    const QRectF pill(w / 2.0 - hw / 2 - 22, 694, hw + 44, 32);
    p.setPen(QPen(withAlpha(kTeal, 120), 1.2));
    p.setBrush(withAlpha(kTeal, 18));
    p.drawRoundedRect(pill, 16, 16);
    drawCentred(p, hint, QColor(0xD8, 0xDE, 0xE2), w / 2.0, 715, hintText);
    return img;
}

// ---------------------------------------------------------------------------------------------
// banner.jpg and icon1.png
// ---------------------------------------------------------------------------------------------

QImage drawBanner() {
    const int w = 1042, h = 109;
    QImage img = darkCanvas(w, h);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    // A flat elliptical light behind the wordmark, gone before it reaches any edge.
    const QPointF glowCentre(190, h / 2.0);
    QRadialGradient glow(glowCentre, 180);
    glow.setColorAt(0.0, QColor(0x18, 0x24, 0x29));
    glow.setColorAt(1.0, kWindow);
    QBrush glowBrush(glow);
    glowBrush.setTransform(QTransform::fromTranslate(glowCentre.x(), glowCentre.y())
                               .scale(1.0, (h / 2.0) / 180.0)
                               .translate(-glowCentre.x(), -glowCentre.y()));
    p.fillRect(img.rect(), glowBrush);

    // A teal hairline along the top edge parts the banner from the window above it.
    QLinearGradient hair(0, 0, w, 0);
    hair.setColorAt(0.0, withAlpha(kTeal, 0));
    hair.setColorAt(0.2, withAlpha(kTeal, 140));
    hair.setColorAt(0.8, withAlpha(kTeal, 140));
    hair.setColorAt(1.0, withAlpha(kTeal, 0));
    p.setPen(QPen(QBrush(hair), 1.0));
    p.drawLine(QPointF(0, 0.5), QPointF(w, 0.5));

    drawMark(p, QRectF(26, 22, 64, 64));

    drawTextAt(p, makeFont(gFamilies.sans, 11, QFont::Bold, 4.5), kTeal, 108, 42, QStringLiteral("NORDVALE"));
    drawTextAt(p, makeFont(gFamilies.sansLight, 40, QFont::ExtraLight, 1.0), kInk, 104, 84,
               QStringLiteral("Tovimar"));

    p.setPen(QPen(withAlpha(Qt::white, 40), 1.0));
    p.drawLine(QPointF(300.5, 28), QPointF(300.5, 82));

    drawTextAt(p, makeFont(gFamilies.sans, 17, QFont::Normal), QColor(0xD0, 0xD6, 0xDA), 326, 50,
               QStringLiteral("The right reagents, calibrators and controls for your cut-offs"));
    drawTextAt(p, makeFont(gFamilies.sans, 12, QFont::Normal, 1.5), kMuted, 326, 74,
               QStringLiteral("DRUGS OF ABUSE  \u00B7  SERUM TOXICOLOGY  \u00B7  SPECIMEN VALIDITY"));

    // A quiet row of tubes at the right end.
    const std::array<QColor, 4> liquids{kTeal, kAmber, kRose, kViolet};
    p.setOpacity(0.55);
    for (int i = 0; i < 4; ++i)
        drawTestTube(p, QRectF(912 + i * 26, 26, 14, 58), 0.35 + 0.1 * (i % 3), liquids[i]);
    p.setOpacity(1.0);
    return img;
}

QImage drawSmallMark() {
    const int w = 130, h = 69;
    QImage img = darkCanvas(w, h);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    // Mark and name as one group, centred in the picture.
    const double markSize = 38, gap = 7;
    const QFont name = makeFont(gFamilies.sans, 19, QFont::Normal);
    const QFont maker = makeFont(gFamilies.sans, 8, QFont::Bold, 2.0);
    const QString nameText = QStringLiteral("Tovimar");
    const QString makerText = QStringLiteral("NORDVALE");
    const double textW = std::max(inkWidth(name, nameText), inkWidth(maker, makerText));
    // ICON1 stands at 912, 696 in the 1034 x 763 window, so the window's edges cut the picture
    // to 122 x 67: the group is centred in the part that shows.
    const double shownW = 122, shownH = 67;
    const double left = (shownW - (markSize + gap + textW)) / 2.0;
    const double top = (shownH - markSize) / 2.0;
    drawMark(p, QRectF(left, top, markSize, markSize));
    const double textLeft = left + markSize + gap;
    drawTextAt(p, name, kInk, textLeft - 1, top + 21, nameText);
    drawTextAt(p, maker, kTeal, textLeft, top + 35, makerText);
    return img;
}

// ---------------------------------------------------------------------------------------------
// Button faces, drawn in a 32 x 32 box
// ---------------------------------------------------------------------------------------------

void arrowHead(QPainter& p, QPointF tip, QPointF direction, double length, double halfWidth,
               const QColor& color) {
    const double len = std::hypot(direction.x(), direction.y());
    const QPointF d = direction / len;
    const QPointF n(-d.y(), d.x());
    const QPointF base = tip - d * length;
    QPolygonF head;
    head << tip << base + n * halfWidth << base - n * halfWidth;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(head);
}

void faceReset(QPainter& p) {
    // An anticlockwise arrow almost all the way round, ending at the top and pointing left.
    const QPointF c(16, 16.5);
    const double r = 10.0;
    const QRectF circle(c.x() - r, c.y() - r, 2 * r, 2 * r);
    const double startDeg = 165, sweepDeg = 290;
    QPainterPath arc;
    arc.arcMoveTo(circle, startDeg);
    arc.arcTo(circle, startDeg, sweepDeg);
    p.setPen(QPen(kInk, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const double a = qDegreesToRadians(startDeg + sweepDeg);
    const QPointF end(c.x() + r * qCos(a), c.y() - r * qSin(a));
    const QPointF travel(-qSin(a), -qCos(a));  // anticlockwise on screen
    arrowHead(p, end + travel * 6.5, travel, 9.5, 6.0, kInk);
}

void faceOutput(QPainter& p) {
    // Sheet going in at the back.
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(9, 3, 14, 8));
    // Printer body.
    p.setBrush(QColor(0xC9, 0xCF, 0xD4));
    p.drawRoundedRect(QRectF(3, 10, 26, 13), 3, 3);
    p.setBrush(QColor(0x2A, 0x30, 0x35));
    p.drawRect(QRectF(7, 18.5, 18, 2.5));
    p.setBrush(kGo);
    p.drawEllipse(QPointF(25, 13.8), 1.6, 1.6);
    // Printed sheet coming out at the front.
    p.setBrush(kInk);
    p.drawRect(QRectF(8.5, 19.5, 15, 10.5));
    p.setBrush(QColor(0x40, 0x48, 0x4E));
    p.drawRect(QRectF(11, 22.5, 10, 1.4));
    p.drawRect(QRectF(11, 25.5, 7, 1.4));
}

void faceExit(QPainter& p) {
    // Door frame, open door leaf, and the way out.
    p.setPen(roundPen(kInk, 2.4));
    p.setBrush(Qt::NoBrush);
    QPainterPath frame;
    frame.moveTo(18, 9);
    frame.lineTo(18, 3.5);
    frame.lineTo(4, 3.5);
    frame.lineTo(4, 28.5);
    frame.lineTo(18, 28.5);
    frame.lineTo(18, 23);
    p.drawPath(frame);
    QPolygonF leaf;
    leaf << QPointF(4, 3.5) << QPointF(12, 7) << QPointF(12, 31) << QPointF(4, 28.5);
    p.setPen(roundPen(kInk, 1.6));
    p.setBrush(withAlpha(kInk, 70));
    p.drawPolygon(leaf);
    p.setPen(roundPen(kSignalRed, 3.0));
    p.drawLine(QPointF(15, 16), QPointF(24, 16));
    arrowHead(p, QPointF(30.5, 16), QPointF(1, 0), 8.0, 6.0, kSignalRed);
}

void bottle(QPainter& p, const QRectF& body, double neckW, double neckH, double capH) {
    const double cx = body.center().x();
    QPainterPath path;
    path.moveTo(cx - neckW / 2, body.top() - neckH);
    path.lineTo(cx - neckW / 2, body.top());
    path.quadTo(body.left(), body.top(), body.left(), body.top() + 3);
    path.lineTo(body.left(), body.bottom() - 1.5);
    path.quadTo(body.left(), body.bottom(), body.left() + 1.5, body.bottom());
    path.lineTo(body.right() - 1.5, body.bottom());
    path.quadTo(body.right(), body.bottom(), body.right(), body.bottom() - 1.5);
    path.lineTo(body.right(), body.top() + 3);
    path.quadTo(body.right(), body.top(), cx + neckW / 2, body.top());
    path.lineTo(cx + neckW / 2, body.top() - neckH);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(path);
    // Label band.
    p.setBrush(kTeal);
    p.drawRect(QRectF(body.left() + 1.5, body.center().y() - body.height() * 0.05, body.width() - 3,
                      body.height() * 0.38));
    // Cap.
    p.setBrush(kTeal.lighter(110));
    p.drawRoundedRect(QRectF(cx - neckW / 2 - 1.2, body.top() - neckH - capH, neckW + 2.4, capH), 1.2, 1.2);
}

void faceBottle(QPainter& p) {
    bottle(p, QRectF(2.5, 18, 10, 12), 5, 2, 3.5);
    bottle(p, QRectF(15, 10, 15, 20), 7, 2.5, 5);
}

void faceAdd(QPainter& p) {
    // A list sheet with a plus badge.
    p.setPen(roundPen(kInk, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(4, 2.5, 18, 25), 2, 2);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(8, 9 + i * 5), QPointF(18, 9 + i * 5));
    p.setPen(QPen(QColor(0x1E, 0x1E, 0x1E), 2.0));
    p.setBrush(kGo);
    p.drawEllipse(QPointF(23, 23), 8.0, 8.0);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(23, 18.5), QPointF(23, 27.5));
    p.drawLine(QPointF(18.5, 23), QPointF(27.5, 23));
}

void faceHelp(QPainter& p) {
    p.setPen(QPen(kInk, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 13.2, 13.2);
    const QFont f = makeFont(gFamilies.sans, 20, QFont::Bold);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0.5, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
}

using Face = std::function<void(QPainter&)>;

QImage drawFace(const Face& face) {
    QImage img = clearCanvas(32, 32);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    face(p);
    return img;
}

QImage drawAppIcon(int size) {
    QImage img = clearCanvas(size, size);
    QPainter p(&img);
    drawMark(p, QRectF(0, 0, size, size));
    return img;
}

// ---------------------------------------------------------------------------------------------
// help.jpg
// ---------------------------------------------------------------------------------------------

constexpr double tw(double twips) {
    return twips / 15.0;
}

QRectF twRect(double left, double top, double width, double height) {
    return QRectF(tw(left), tw(top), tw(width), tw(height));
}

// A pointer: a thin line through `points` with a dot where it leaves the help text and an
// arrowhead where it meets its target. Corners are rounded a little.
// With `over` set, the pointer clears a narrow band round itself first, so any pointer it
// crosses shows a small gap and the two lines read as passing over each other.
void drawPointer(QPainter& p, const std::vector<QPointF>& points, const QColor& color, bool over = false) {
    QPainterPath path;
    path.moveTo(points.front());
    const double corner = 7.0;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const QPointF prev = points[i - 1], here = points[i], next = points[i + 1];
        const QPointF in = here - prev, out = next - here;
        const double inLen = std::hypot(in.x(), in.y()), outLen = std::hypot(out.x(), out.y());
        const double c = std::min({corner, inLen / 2, outLen / 2});
        path.lineTo(here - in / inLen * c);
        path.quadTo(here, here + out / outLen * c);
    }
    const QPointF last = points.back(), beforeLast = points[points.size() - 2];
    const QPointF dir = last - beforeLast;
    const double dirLen = std::hypot(dir.x(), dir.y());
    const double headLen = 8.0;
    path.lineTo(last - dir / dirLen * (headLen - 1.0));
    if (over) {
        p.setPen(QPen(kWindow, 9.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(points.front(), 2.4, 2.4);
    arrowHead(p, last, dir, headLen, 4.0, color);
}

QImage drawHelp() {
    const int w = 1042, h = 656;
    QImage img = darkCanvas(w, h);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    const QColor pointer(0xCF, 0xD4, 0xD8);
    const QColor quietOutline(0x4A, 0x52, 0x58);

    // Title in the free top-right corner.
    const QFont titleFont = makeFont(gFamilies.sans, 26, QFont::Bold, 9.0);
    const QString titleText = QStringLiteral("HELP");
    const double titleRight = 1010;
    const double tWidth = inkWidth(titleFont, titleText);
    drawTextAt(p, titleFont, QColor(0x5C, 0x64, 0x6A), titleRight - tWidth, 62, titleText);
    p.setPen(QPen(QColor(0x5C, 0x64, 0x6A), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(titleRight - tWidth - 30, 52), 15, 15);
    drawCentred(p, makeFont(gFamilies.sans, 19, QFont::Bold), QColor(0x5C, 0x64, 0x6A),
                titleRight - tWidth - 30, 59, QStringLiteral("?"));
    drawTextAt(p, makeFont(gFamilies.sans, 12, QFont::Normal, 1.0), QColor(0x4E, 0x56, 0x5C),
               titleRight - tWidth - 45, 88, QStringLiteral("Tovimar at a glance"));

    // The six button places, with the faces they carry, dimmed. The help button has no text of
    // its own, so its place stays quieter still.
    struct Place {
        double left, top;
        Face face;
        bool explained;
    };
    const std::array<Place, 6> places{{
        {14640, 7080, faceReset, true},
        {14640, 7920, faceOutput, true},
        {14640, 8760, faceExit, true},
        {13800, 7080, faceBottle, true},
        {13800, 7920, faceAdd, true},
        {13800, 8760, faceHelp, false},
    }};
    for (const Place& pl : places) {
        const QRectF r = twRect(pl.left, pl.top, 735, 735);
        p.setPen(QPen(pl.explained ? QColor(0x6A, 0x73, 0x7A) : quietOutline, 1.0));
        p.setBrush(QColor(0x1A, 0x1C, 0x1E));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.save();
        p.translate(r.center() - QPointF(16, 16));
        p.setOpacity(pl.explained ? 0.75 : 0.35);
        pl.face(p);
        p.restore();
    }

    // The help texts for the buttons are right-aligned in boxes that end at 8895 twips, one line
    // each drawn from the top of its box in the window's label font at 12 points (16 pixels);
    // their pointers start just after that, level with the middle of the line.
    const double textEnd = tw(1800 + 7095) + 7;
    const double lineMiddle = QFontMetricsF(makeFont(gFamilies.sans, 16, QFont::Normal)).height() / 2.0;
    const auto textMid = [lineMiddle](double top) { return tw(top) + lineMiddle; };
    const auto placeRect = [](double left, double top) { return twRect(left, top, 735, 735); };

    const QRectF reset = placeRect(14640, 7080), output = placeRect(14640, 7920),
                 exitPlace = placeRect(14640, 8760), bottlePlace = placeRect(13800, 7080),
                 addPlace = placeRect(13800, 7920);

    // Texts 3 and 4, bottle size and add: straight across.
    drawPointer(p, {QPointF(textEnd, textMid(6960)), QPointF(bottlePlace.left() - 3, textMid(6960))},
                pointer);
    drawPointer(p, {QPointF(textEnd, textMid(7920)), QPointF(addPlace.left() - 3, textMid(7920))}, pointer);
    // Text 0, reset: entered from above.
    drawPointer(p,
                {QPointF(textEnd, textMid(4080)), QPointF(reset.center().x(), textMid(4080)),
                 QPointF(reset.center().x(), reset.top() - 3)},
                pointer);
    // Text 1, output: round the right of the column, over the reset pointer. The picture is wider
    // than the window (1042 against 1034 pixels), so the rail runs in the few pixels between the
    // buttons and the window's edge, and the arrow reaches a little into the output button's place.
    const double windowRight = tw(15510);
    const double rail = std::min(reset.right() + 11, windowRight - 4);
    drawPointer(p,
                {QPointF(textEnd, textMid(5040)), QPointF(rail, textMid(5040)),
                 QPointF(rail, output.center().y()), QPointF(output.right() - 5, output.center().y())},
                pointer, true);
    // Text 2, exit: round the bottom of the column, over the bottle-size and add pointers.
    const double below = exitPlace.bottom() + 12;
    const double down = (textEnd + bottlePlace.left()) / 2.0;
    drawPointer(p,
                {QPointF(textEnd, textMid(6000)), QPointF(down, textMid(6000)), QPointF(down, below),
                 QPointF(exitPlace.center().x(), below),
                 QPointF(exitPlace.center().x(), exitPlace.bottom() + 2)},
                pointer, true);

    // Texts 5, 6 and 7 point up at the example assay row.
    const QRectF select = twRect(120, 840, 2200, 255);
    const QRectF qual = twRect(2520, 840, 250, 255);
    const QRectF text5 = twRect(240, 1680, 2295, 855);
    const QRectF text6 = twRect(1560, 2880, 2655, 735);
    const QRectF text7 = twRect(3120, 1680, 3255, 855);
    drawPointer(
        p, {QPointF(text5.center().x(), text5.top() - 6), QPointF(text5.center().x(), select.bottom() + 4)},
        pointer);
    drawPointer(p,
                {QPointF(qual.center().x(), text6.top() - 6), QPointF(qual.center().x(), qual.bottom() + 4)},
                pointer);
    // Text 7, cut-off: one stem that forks to the three options.
    const double fork = select.bottom() + 16;
    const double stemX = text7.center().x();
    p.setPen(Qt::NoPen);
    p.setBrush(pointer);
    p.drawEllipse(QPointF(stemX, text7.top() - 6), 2.4, 2.4);
    p.setPen(QPen(pointer, 1.3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(stemX, text7.top() - 6), QPointF(stemX, fork));
    std::array<double, 3> optionX{};
    for (std::size_t i = 0; i < optionX.size(); ++i)
        optionX[i] = twRect(3000.0 + 1080.0 * static_cast<double>(i), 840, 855, 255).center().x();
    p.drawLine(QPointF(optionX[0], fork), QPointF(optionX[2], fork));
    for (const double x : optionX) {
        p.setPen(QPen(pointer, 1.3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(x, fork), QPointF(x, select.bottom() + 11));
        arrowHead(p, QPointF(x, select.bottom() + 4), QPointF(0, -1), 8.0, 4.0, pointer);
    }
    return img;
}

// ---------------------------------------------------------------------------------------------

bool save(const QImage& img, const QDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    const bool ok = img.save(path, jpeg ? "JPG" : "PNG", jpeg ? 93 : -1);
    std::printf("%-20s %4d x %-4d %s\n", name, img.width(), img.height(), ok ? "written" : "FAILED");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    loadFonts();

    bool ok = true;
    ok &= save(drawStart(), dir, "start.jpg");
    ok &= save(drawBanner(), dir, "banner.jpg");
    ok &= save(drawSmallMark(), dir, "icon1.png");
    ok &= save(drawFace(faceReset), dir, "btn_reset.png");
    ok &= save(drawFace(faceOutput), dir, "btn_output.png");
    ok &= save(drawFace(faceExit), dir, "btn_exit.png");
    ok &= save(drawFace(faceBottle), dir, "btn_bottle.png");
    ok &= save(drawFace(faceAdd), dir, "btn_add.png");
    ok &= save(drawFace(faceHelp), dir, "btn_help.png");
    ok &= save(drawAppIcon(48), dir, "app_icon_48.png");
    ok &= save(drawAppIcon(128), dir, "app_icon_128.png");
    ok &= save(drawAppIcon(256), dir, "app_icon_256.png");
    ok &= save(drawHelp(), dir, "help.jpg");
    return ok ? 0 : 1;
}
