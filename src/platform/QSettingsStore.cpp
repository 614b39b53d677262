#include "QSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

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
        m_unreadable = true;
        m_settings.sync();
    }
    m_writeProblem = findWriteProblem();
}

QString QSettingsStore::findWriteProblem() const
{
    const QFileInfo file(m_settings.fileName());
    if (file.isDir())
        return QStringLiteral("it is a folder");
    if (file.exists()) {
        QFile probe(file.filePath()); // opening changes nothing
        return probe.open(QIODevice::ReadWrite) ? QString() : probe.errorString();
    }
    const QString folder = file.absolutePath();
    errno = 0;
    if (!QDir().mkpath(folder))
        return QStringLiteral("the folder %1 cannot be created: %2")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EACCES)));
    QTemporaryFile probe(folder + QStringLiteral("/QM416x.XXXXXX"));
    return probe.open() ? QString() : probe.errorString();
}

QString QSettingsStore::keepCopy()
{
    const QString aside = m_settings.fileName() + QStringLiteral(".damaged");
    QFile::remove(aside);
    return QFile::copy(m_settings.fileName(), aside) ? aside : QString();
}

int QSettingsStore::keepOnly(const std::function<bool(const QString &, const QString &)> &known)
{
    QStringList unknown;
    const QStringList names = m_settings.allKeys();
    for (const QString &name : names) {
        const int slash = name.indexOf(QLatin1Char('/'));
        const bool sectionAndKey = slash > 0 && name.indexOf(QLatin1Char('/'), slash + 1) < 0;
        if (!sectionAndKey || !known(name.left(slash), name.mid(slash + 1)))
            unknown << name;
    }
    if (unknown.isEmpty() || !m_writeProblem.isEmpty())
        return 0;
    const QString copy = keepCopy();
    if (copy.isEmpty())
        return 0; // nothing is dropped that is not kept somewhere
    for (const QString &name : std::as_const(unknown))
        m_settings.remove(name);
    m_settings.sync();
    if (m_settings.status() != QSettings::NoError) {
        // The file is as it was: say so, and claim nothing.
        QFile::remove(copy);
        m_writeProblem = QStringLiteral("it could not be rewritten");
        return 0;
    }
    m_movedAside = copy;
    m_dropped += static_cast<int>(unknown.size());
    return static_cast<int>(unknown.size());
}

QString QSettingsStore::damageReport() const
{
    const QString unsaved =
        m_writeProblem.isEmpty()
            ? QString()
            : QStringLiteral("The settings file %1 cannot be written (%2). Settings changed in this run "
                             "will not be kept.")
                  .arg(m_settings.fileName(), m_writeProblem);
    if (m_unreadable) {
        QString text = QStringLiteral("The settings file %1 could not be read. The program starts with its "
                                      "default settings.")
                           .arg(m_settings.fileName());
        if (!m_movedAside.isEmpty())
            text += QStringLiteral("\nThe damaged file has been kept as %1.").arg(m_movedAside);
        return unsaved.isEmpty() ? text : text + QLatin1Char('\n') + unsaved;
    }
    if (m_dropped > 0)
        return QStringLiteral("The settings file %1 held %2 that this program does not use; %3 been "
                              "removed.\nThe file as it was has been kept as %4.")
            .arg(m_settings.fileName(),
                 m_dropped == 1 ? QStringLiteral("an entry") : QStringLiteral("%1 entries").arg(m_dropped),
                 m_dropped == 1 ? QStringLiteral("it has") : QStringLiteral("they have"), m_movedAside);
    return unsaved;
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
