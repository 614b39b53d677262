#include "SettingsKeys.h"

#include <QRegularExpression>
#include <QSet>

bool SettingsKeys::isKnown(const QString &section, const QString &key)
{
    static const QRegularExpression windowName(QStringLiteral("^Form[A-Za-z0-9]+$"));
    static const QSet<QString> placement = {QStringLiteral("State"), QStringLiteral("Visible"),
                                            QStringLiteral("Left"),  QStringLiteral("Top"),
                                            QStringLiteral("Width"), QStringLiteral("Height")};
    static const QSet<QString> mainWindow = {QStringLiteral("ActiveForm"),   QStringLiteral("EasyStart"),
                                             QStringLiteral("ComPort"),      QStringLiteral("ComPortName"),
                                             QStringLiteral("MCLK"),         QStringLiteral("Stacking"),
                                             QStringLiteral("RecordHistory")};
    static const QSet<QString> noiseTable = {QStringLiteral("Channel"), QStringLiteral("Timing"),
                                             QStringLiteral("Chop"), QStringLiteral("Ranges"),
                                             QStringLiteral("Samples")};
    if (!windowName.match(section).hasMatch())
        return false;
    if (placement.contains(key))
        return true;
    if (section == QLatin1String("FormMain"))
        return mainWindow.contains(key);
    if (section == QLatin1String("FormData"))
        return key == QLatin1String("Dockable");
    if (section == QLatin1String("FormNoiseTable"))
        return noiseTable.contains(key);
    return false;
}
