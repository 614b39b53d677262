#include "FormHistory.h"

#include "data/ClassData.h"
#include "data/DecimalText.h"
#include "data/NoiseTable.h"
#include "history/HistoryComparison.h"
#include "history/HistoryExport.h"
#include "history/HistoryRecorder.h"
#include "platform/UserDialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QTableWidget *table(QWidget *parent, const char *name, const QStringList &headings)
{
    auto *t = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headings);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget *t, int row, const QStringList &texts)
{
    for (int column = 0; column < texts.size(); ++column)
        t->setItem(row, column, new QTableWidgetItem(texts.at(column)));
}

} // namespace

FormHistory::FormHistory(HistoryRecorder &recorder, ClassData &store, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_recorder(recorder)
    , m_store(store)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormHistory"));
    setWindowTitle(QStringLiteral("History"));
    ListCaptures = table(
        this, "ListCaptures",
        {"ID", "Recorded (UTC)", "Run", "Variant", "Channel", "Range", "Conv.Time", "RMS Noise", "Note"});
    ListCaptures->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListCaptures->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GridCompare = table(this, "GridCompare", {"Item", "First", "Second"});
    CommandRefresh = button(this, "CommandRefresh", QStringLiteral("Refresh"));
    CommandOpen = button(this, "CommandOpen", QStringLiteral("Open"));
    CommandCompare = button(this, "CommandCompare", QStringLiteral("Compare"));
    CommandExport = button(this, "CommandExport", QStringLiteral("Export..."));
    CommandDelete = button(this, "CommandDelete", QStringLiteral("Delete"));
    connect(CommandRefresh, &QPushButton::clicked, this, &FormHistory::refresh);
    connect(CommandOpen, &QPushButton::clicked, this, &FormHistory::openSelected);
    connect(CommandCompare, &QPushButton::clicked, this, &FormHistory::compareSelected);
    connect(CommandExport, &QPushButton::clicked, this, &FormHistory::exportSelected);
    connect(CommandDelete, &QPushButton::clicked, this, &FormHistory::deleteSelected);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {CommandRefresh, CommandOpen, CommandCompare, CommandExport, CommandDelete})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(ListCaptures);
    splitter->addWidget(GridCompare);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter);
    resize(760, 480);
}

void FormHistory::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void FormHistory::refresh()
{
    ListCaptures->setRowCount(0);
    m_entries.clear();
    HistoryDatabase *db = m_recorder.database();
    if (!db)
        return;
    const std::optional<QList<HistoryEntry>> entries = db->list();
    if (!entries) {
        m_dialogs.message(db->error(), UserDialogs::Icon::Warning);
        return;
    }
    m_entries = *entries;
    for (const HistoryEntry &e : m_entries) {
        const QStringList head = {
            QString::number(e.id), e.recordedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            e.runId != 0 ? QString::number(e.runId) : QString(), QStringLiteral("QM416%1").arg(e.variant)};
        QList<QStringList> rows;
        for (const HistoryChannelSummary &c : e.channels)
            rows << head + QStringList{QString::number(c.channel), NoiseTable::rangeText(c.rangeV, c.bipolar),
                                       plainDecimal(c.convTimeS * 1e6) + QStringLiteral(" us"),
                                       QString::number(c.rmsNoiseV * 1e6, 'f', 3) + QStringLiteral(" uV"),
                                       e.note};
        if (rows.isEmpty())
            rows << head + QStringList{QStringLiteral("failed: ") + e.failure, {}, {}, {}, e.note};
        for (const QStringList &texts : rows) {
            const int row = ListCaptures->rowCount();
            ListCaptures->insertRow(row);
            setRow(ListCaptures, row, texts);
            ListCaptures->item(row, 0)->setData(Qt::UserRole, e.id);
        }
    }
    // Every column as wide as its texts, so the noise is in view without scrolling.
    ListCaptures->resizeColumnsToContents();
}

QList<qint64> FormHistory::selectedIds() const
{
    QList<qint64> ids;
    for (int row = 0; row < ListCaptures->rowCount(); ++row) {
        const QTableWidgetItem *item = ListCaptures->item(row, 0);
        const qint64 id = item->data(Qt::UserRole).toLongLong();
        if (item->isSelected() && !ids.contains(id))
            ids << id;
    }
    return ids;
}

void FormHistory::openSelected()
{
    const QList<qint64> ids = selectedIds();
    HistoryDatabase *db = m_recorder.database();
    if (ids.size() != 1 || !db)
        return;
    const std::optional<HistoryCapture> capture = db->load(ids.first());
    if (!capture) {
        m_dialogs.message(db->error(), UserDialogs::Icon::Warning);
        return;
    }
    if (!capture->completed()) {
        m_dialogs.message(
            QStringLiteral("Capture %1 is a recorded failure: %2").arg(capture->id).arg(capture->failure),
            UserDialogs::Icon::Information);
        return;
    }
    capture->fillStore(m_store);
    Q_EMIT opened();
}

void FormHistory::compareSelected()
{
    const QList<qint64> ids = selectedIds();
    HistoryDatabase *db = m_recorder.database();
    if (ids.size() != 2 || !db) {
        m_dialogs.message(QStringLiteral("Select two captures to compare."), UserDialogs::Icon::Information);
        return;
    }
    // Older first.
    const std::optional<HistoryCapture> first = db->load(qMin(ids.at(0), ids.at(1)));
    const std::optional<HistoryCapture> second = first ? db->load(qMax(ids.at(0), ids.at(1))) : std::nullopt;
    if (!second) {
        m_dialogs.message(db->error(), UserDialogs::Icon::Warning);
        return;
    }
    const QList<HistoryComparisonRow> rows = compareCaptures(*first, *second);
    GridCompare->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const HistoryComparisonRow &r = rows.at(row);
        setRow(GridCompare, row, {r.item, r.first, r.second});
        if (r.differs())
            for (int column = 0; column < 3; ++column)
                GridCompare->item(row, column)->setBackground(QColor(255, 230, 160));
    }
}

void FormHistory::exportSelected()
{
    const QList<qint64> ids = selectedIds();
    HistoryDatabase *db = m_recorder.database();
    if (ids.size() != 1 || !db)
        return;
    const std::optional<HistoryCapture> capture = db->load(ids.first());
    if (!capture || !capture->completed()) {
        m_dialogs.message(
            capture ? QStringLiteral("Capture %1 is a recorded failure: it holds no data").arg(capture->id)
                    : db->error(),
            UserDialogs::Icon::Warning);
        return;
    }
    const std::optional<QString> path = m_dialogs.saveFile(
        QStringLiteral("Export capture %1").arg(capture->id),
        {{QStringLiteral("Datas Files (*.dat)"), QStringLiteral("ADC Settings Files (*.adc)")}, 0},
        QStringLiteral("dat"));
    if (!path)
        return;
    HistoryExport::Kind kind = HistoryExport::Kind::DataFile;
    if (!HistoryExport::kindOf(*path, kind)) {
        m_dialogs.message(QStringLiteral("%1: export writes .dat or .adc files").arg(*path),
                          UserDialogs::Icon::Warning);
        return;
    }
    const DataFileError written = HistoryExport::write(*capture, *path, kind);
    if (written.isError())
        m_dialogs.message(written.boxText(), UserDialogs::Icon::Critical);
}

void FormHistory::deleteSelected()
{
    const QList<qint64> ids = selectedIds();
    HistoryDatabase *db = m_recorder.database();
    if (ids.isEmpty() || !db)
        return;
    QStringList names;
    for (qint64 id : ids)
        names << QString::number(id);
    if (!m_dialogs.question(
            QStringLiteral("Delete capture(s) %1 from the history ?").arg(names.join(QStringLiteral(", ")))))
        return;
    for (qint64 id : ids)
        if (!db->remove(id)) {
            m_dialogs.message(db->error(), UserDialogs::Icon::Warning);
            break;
        }
    refresh();
}
