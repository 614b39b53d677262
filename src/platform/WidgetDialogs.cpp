#include "WidgetDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(UserDialogs::Icon icon)
{
    switch (icon) {
    case UserDialogs::Icon::Information:
        return QMessageBox::Information;
    case UserDialogs::Icon::Warning:
        return QMessageBox::Warning;
    case UserDialogs::Icon::Critical:
        return QMessageBox::Critical;
    case UserDialogs::Icon::Question:
        return QMessageBox::Question;
    case UserDialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString titleOr(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("QM416x") : title;
}

std::optional<QString> runFileDialog(QWidget *owner, const QString &title,
                                     const UserDialogs::FileFilter &filter, QFileDialog::AcceptMode mode,
                                     const QString &suffix)
{
    QFileDialog dialog(owner, title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(filter.filters);
    if (filter.selected >= 0 && filter.selected < filter.filters.size())
        dialog.selectNameFilter(filter.filters.at(filter.selected));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

WidgetDialogs::WidgetDialogs(QWidget *owner)
    : m_owner(owner)
{
}

void WidgetDialogs::message(const QString &text, Icon icon, const QString &title)
{
    QMessageBox box(boxIcon(icon), titleOr(title), text, QMessageBox::Ok, m_owner);
    box.exec();
}

bool WidgetDialogs::question(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, titleOr(title), text, QMessageBox::Yes | QMessageBox::No, m_owner);
    return box.exec() == QMessageBox::Yes;
}

UserDialogs::Answer WidgetDialogs::askYesNoCancel(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, titleOr(title), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_owner);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> WidgetDialogs::openFile(const QString &title, const FileFilter &filter)
{
    return runFileDialog(m_owner, title, filter, QFileDialog::AcceptOpen, QString());
}

std::optional<QString> WidgetDialogs::saveFile(const QString &title, const FileFilter &filter,
                                               const QString &defaultSuffix)
{
    return runFileDialog(m_owner, title, filter, QFileDialog::AcceptSave, defaultSuffix);
}
