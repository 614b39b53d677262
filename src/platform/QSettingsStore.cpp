#include "QSettingsStore.h"

#include <QFile>

namespace {

QString entry(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QSettingsStore::QSettingsStore()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QM416x"),
                 QStringLiteral("QM416x"))
{
    if (m_settings.status() == QSettings::FormatError) {
        // QSettings neither reads nor writes a file it cannot parse: keep the damaged file
        // for the user to look at, and start from defaults.
        const QString file = m_settings.fileName();
        const QString aside = file + QStringLiteral(".damaged");
        QFile::remove(aside);
        if (QFile::rename(file, aside))
            m_movedAside = aside;
        m_settings.sync();
    }
}

QString QSettingsStore::get(const QString &section, const QString &key, const QString &defaultValue) const
{
    const QVariant value = m_settings.value(entry(section, key));
    if (!value.isValid() || !value.canConvert<QString>())
        return defaultValue;
    return value.toString();
}

void QSettingsStore::save(const QString &section, const QString &key, const QString &value)
{
    m_settings.setValue(entry(section, key), value);
}
