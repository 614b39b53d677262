#include "SettingsFileCommands.h"

#include "SettingsFile.h"
#include "board/BoardLink.h"
#include "platform/UserDialogs.h"

namespace {

const QString AdcFiles = QStringLiteral("ADC Settings Files (*.adc)");
const QString AllFiles = QStringLiteral("All Files (*)");

} // namespace

SettingsFileCommands::SettingsFileCommands(QM4168 &adc, BoardLink &link, UserDialogs &dialogs)
    : m_adc(adc)
    , m_link(link)
    , m_dialogs(dialogs)
{
}

void SettingsFileCommands::save()
{
    const auto path =
        m_dialogs.saveFile(QStringLiteral("Save Settings"), {{AdcFiles, AllFiles}, 0}, QStringLiteral("adc"));
    if (!path)
        return;
    const DataFileError written = WriteSettingsFile(*path, m_adc);
    if (written.isError()) {
        m_dialogs.message(written.message(), UserDialogs::Icon::Critical);
        m_dialogs.message(QStringLiteral("Error Creating File"), UserDialogs::Icon::Critical);
    }
}

void SettingsFileCommands::open()
{
    const auto path = m_dialogs.openFile(QStringLiteral("Open Settings"), {{AllFiles, AdcFiles}, 1});
    if (!path)
        return;
    const SettingsReadResult read = ReadSettingsFile(*path, m_adc);
    if (!read.ok()) {
        m_dialogs.message(read.message, read.outcome == SettingsReadResult::OpenFailed
                                            ? UserDialogs::Icon::None
                                            : UserDialogs::Icon::Critical);
        return;
    }
    if (m_dialogs.question(QStringLiteral("Do you want to write all registers ?")))
        m_link.RegWriteAll();
}
