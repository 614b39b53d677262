// The main window's part in the easy-start wizard: creating it, what its steps ask of the
// other windows, its menu item and its opening at start-up.

#include "AppContext.h"
#include "ChildWindow.h"
#include "FormEasyStart.h"
#include "FormMain.h"
#include "analysis/FormGraph1.h"
#include "board/FormEvalBoard.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QPushButton>

namespace {

// The steps' view of the main window's child windows.
class EasyStartWindows : public EasyStartSteps::Windows
{
public:
    EasyStartWindows(FormMain &main, ClassData &data)
        : m_main(main)
        , m_data(data)
    {
    }

    void show(const QString &window) override { m_main.childWindow(window)->show(); }
    void hide(const QString &window) override { m_main.childWindow(window)->hide(); }

    void focus(const QString &window) override
    {
        ChildWindow *child = m_main.childWindow(window);
        m_main.mdiArea()->setActiveSubWindow(child);
        child->widget()->setFocus();
    }

    void focusBoardControl(const QString &control) override
    {
        FormEvalBoard *board = m_main.formEvalBoard();
        if (control == QLatin1String("ComboComPort"))
            board->ComboComPort->setFocus();
        else
            board->CommandReset->setFocus();
    }

    void viewSet() override { m_main.MnuViewSet(); }
    void readData() override { m_main.ReadData(); }

    void selectGraphChannel(int channel) override
    {
        m_data.setChannel(channel);
        static_cast<FormPlot *>(m_main.childWindow(QStringLiteral("FormGraph1"))->form())->display();
    }

    void raise(const QString &window) override { m_main.childWindow(window)->raise(); }

private:
    FormMain &m_main;
    ClassData &m_data;
};

} // namespace

void FormMain::registerEasyStart()
{
    m_specs.insert(QStringLiteral("FormEasyStart"),
                   {false, [this] {
                        auto *form =
                            new FormEasyStart(m_context, *m_link, m_dialogs, m_settings,
                                              std::make_unique<EasyStartWindows>(*this, m_context.IData));
                        return form;
                    }});
    MnuEasyStart->setEnabled(true);
    connect(MnuEasyStart, &QAction::triggered, this, [this] { showChild(QStringLiteral("FormEasyStart")); });
}

FormEasyStart *FormMain::formEasyStart()
{
    return static_cast<FormEasyStart *>(childWindow(QStringLiteral("FormEasyStart"))->form());
}

void FormMain::showEasyStartAtStart()
{
    // Until the wizard has been closed once it opens by itself, beside the windows the last
    // run left open.
    if (m_settings.get(QStringLiteral("FormMain"), QStringLiteral("EasyStart"), QStringLiteral("-1")) !=
        QLatin1String("-1"))
        return;
    showChild(QStringLiteral("FormEasyStart"));
}
