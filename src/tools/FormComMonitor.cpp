#include "FormComMonitor.h"

#include <QListWidget>
#include <QVBoxLayout>

FormComMonitor::FormComMonitor(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FormComMonitor"));
    setWindowTitle(QStringLiteral("ComMonitor"));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    List1->setSelectionMode(QAbstractItemView::NoSelection);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(List1);

    // Tall enough for every line the monitor holds, in the list's own font and style.
    List1->addItem(QStringLiteral("S 28 08"));
    const int rowHeight = List1->sizeHintForRow(0);
    List1->clear();
    resize(360, rowHeight * ComMonitorText::MaxLines + 2 * List1->frameWidth() + 2);
}

void FormComMonitor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QMetaObject::invokeMethod(List1, &QListWidget::scrollToBottom, Qt::QueuedConnection);
}

void FormComMonitor::Display(const QString &text)
{
    const bool structural = m_text.Display(text);
    const QStringList &lines = m_text.lines();
    if (structural) {
        List1->clear();
        List1->addItems(lines);
    } else if (!lines.isEmpty()) {
        List1->item(List1->count() - 1)->setText(lines.last());
    }
    List1->scrollToBottom();
}
