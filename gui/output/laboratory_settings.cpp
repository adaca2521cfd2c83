#include "gui/output/laboratory_settings.h"

#include <QSettings>
#include <QStringList>

namespace tovimar {

namespace {

const QString kGroup = QStringLiteral("Laboratory");

struct Field {
    const char* key;
    std::string Laboratory::*text;
};
constexpr Field kFields[] = {{"name", &Laboratory::name},
                             {"account", &Laboratory::account},
                             {"contact", &Laboratory::contact},
                             {"phone", &Laboratory::phone},
                             {"email", &Laboratory::email}};

}  // namespace

Laboratory SavedLaboratory() {
    QSettings settings;
    settings.beginGroup(kGroup);
    Laboratory lab;
    for (const Field& f : kFields)
        lab.*f.text = settings.value(QLatin1String(f.key)).toString().toStdString();
    for (const QString& line : settings.value(QStringLiteral("address")).toStringList())
        lab.address.push_back(line.toStdString());
    // What the details window would refuse is not taken: the order would carry it into every file.
    if (CheckDetails(OrderDetails{lab, {}, {}}))
        return {};
    return lab;
}

void KeepLaboratory(const Laboratory& lab) {
    QSettings settings;
    settings.remove(kGroup);
    if (lab == Laboratory{})
        return;
    settings.beginGroup(kGroup);
    for (const Field& f : kFields)
        if (!(lab.*f.text).empty())
            settings.setValue(QLatin1String(f.key), QString::fromStdString(lab.*f.text));
    QStringList address;
    for (const std::string& line : lab.address)
        address << QString::fromStdString(line);
    if (!address.isEmpty())
        settings.setValue(QStringLiteral("address"), address);
}

}  // namespace tovimar
