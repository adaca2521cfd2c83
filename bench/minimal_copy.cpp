// The yardstick of a txt or csv export: the least a Qt program does to read a file and save it
// whole. Usage: minimal_copy IN OUT
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly))
        return 2;
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0)
        return 1;
    return out.commit() ? 0 : 1;
}
