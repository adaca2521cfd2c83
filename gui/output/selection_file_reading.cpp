#include "gui/output/selection_file_reading.h"

#include <QFile>

namespace tovimar {

SelectionFromFile ReadSelectionFile(const QString& path, const Catalogue& cat) {
    QFile file(path);
    const auto unreadable = [&file] {
        return SelectionFromFile{std::nullopt,
                                 QStringLiteral("The file could not be read: %1.").arg(file.errorString())};
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    const QByteArray bytes = file.read(static_cast<qint64>(kSelectionMaxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable();
    SelectionReading reading =
        ReadSelection(std::string_view(bytes.constData(), std::size_t(bytes.size())), cat);
    if (!reading.selection)
        return {std::nullopt, QString::fromStdString(ProblemText(reading.problem))};
    return {std::move(reading.selection), QString()};
}

}  // namespace tovimar
