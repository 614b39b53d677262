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
    resize(360, 330);
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
