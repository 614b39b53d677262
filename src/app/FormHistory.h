#pragma once

#include "history/HistoryEntry.h"

#include <QWidget>

class ClassData;
class HistoryRecorder;
class QPushButton;
class QTableWidget;
class UserDialogs;

// "History": the recorded captures, newest first, one row per channel (a capture's rows
// are selected together). Open puts the selected capture into the store as opening a data
// file does; Compare shows two selected captures side by side, differences highlighted;
// Export writes the selected capture as a data file (.dat) or settings file (.adc); Delete
// removes it after a question. The list is read again each time the window is shown and
// after every change.
class FormHistory : public QWidget
{
    Q_OBJECT

public:
    FormHistory(HistoryRecorder &recorder, ClassData &store, UserDialogs &dialogs, QWidget *parent = nullptr);

    void refresh();
    void openSelected();
    void compareSelected();
    void exportSelected();
    void deleteSelected();
    // The capture ids of the selected rows, in list order, each once.
    QList<qint64> selectedIds() const;

    QTableWidget *ListCaptures;
    QTableWidget *GridCompare;
    QPushButton *CommandRefresh, *CommandOpen, *CommandCompare, *CommandExport, *CommandDelete;

Q_SIGNALS:
    // A capture was put into the store.
    void opened();

protected:
    void showEvent(QShowEvent *event) override;

private:
    HistoryRecorder &m_recorder;
    ClassData &m_store;
    UserDialogs &m_dialogs;
    QList<HistoryEntry> m_entries;
};
