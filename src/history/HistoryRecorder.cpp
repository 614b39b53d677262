#include "HistoryRecorder.h"

#include "data/ClassData.h"
#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"

namespace {
const QString Section = QStringLiteral("FormMain");
const QString Key = QStringLiteral("RecordHistory");
} // namespace

HistoryRecorder::HistoryRecorder(SettingsStore &settings, UserDialogs &dialogs, const QString &path)
    : m_settings(settings)
    , m_dialogs(dialogs)
    , m_path(path)
{
}

bool HistoryRecorder::enabled() const
{
    return m_settings.get(Section, Key, QStringLiteral("True")) != QLatin1String("False");
}

void HistoryRecorder::setEnabled(bool on)
{
    m_settings.save(Section, Key, on ? QStringLiteral("True") : QStringLiteral("False"));
}

HistoryDatabase *HistoryRecorder::database()
{
    if (m_db.isOpen())
        return &m_db;
    if (m_refused)
        return nullptr;
    if (m_db.open(m_path))
        return &m_db;
    m_refused = true;
    m_dialogs.message(m_db.error() +
                          QStringLiteral(". Captures are not recorded until the program starts again."),
                      UserDialogs::Icon::Warning);
    return nullptr;
}

qint64 HistoryRecorder::record(const ClassData &store, const QM4168 &model)
{
    if (!enabled() || !store.Valid(-1))
        return 0;
    HistoryDatabase *db = database();
    if (!db)
        return 0;
    const qint64 id = db->record(HistoryCapture::fromStore(store, model));
    if (id == 0)
        m_dialogs.message(db->error(), UserDialogs::Icon::Warning);
    return id;
}
