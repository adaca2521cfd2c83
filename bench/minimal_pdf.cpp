// The yardstick of a PDF export: the least a Qt program does to write one page of text with
// QPdfWriter, without a screen: a page full of lines as long as an order's. Usage: minimal_pdf OUT
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter;
    if (!painter.begin(&pdf))
        return 1;
    const int lines = 50, height = pdf.height() / lines;
    for (int i = 0; i < lines; ++i)
        painter.drawText(QRect(0, i * height, pdf.width(), height), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1 101  ORLAN Amphetamine/Ecstasy Assay Line 1").arg(301 + i));
    return painter.end() ? 0 : 1;
}
