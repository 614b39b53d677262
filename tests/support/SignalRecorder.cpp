#include "SignalRecorder.h"

#include <QMetaMethod>
#include <QMetaType>

class SignalRecorder::Catcher : public QObject
{
public:
    Catcher(QObject *sender, const QMetaMethod &signal, QStringList &log)
        : m_signal(signal)
        , m_log(log)
    {
        QMetaObject::connect(sender, signal.methodIndex(), this, QObject::staticMetaObject.methodCount(),
                             Qt::DirectConnection);
    }

    int qt_metacall(QMetaObject::Call call, int id, void **args) override
    {
        id = QObject::qt_metacall(call, id, args);
        if (id < 0)
            return id;
        if (call == QMetaObject::InvokeMetaMethod) {
            if (id == 0)
                record(args);
            --id;
        }
        return id;
    }

private:
    void record(void **args)
    {
        QStringList parts;
        for (int i = 0; i < m_signal.parameterCount(); ++i) {
            const void *arg = args[i + 1];
            switch (m_signal.parameterMetaType(i).id()) {
            case QMetaType::Bool:
                parts << (*static_cast<const bool *>(arg) ? QStringLiteral("true") : QStringLiteral("false"));
                break;
            case QMetaType::Int:
                parts << QString::number(*static_cast<const int *>(arg));
                break;
            case QMetaType::Double:
                parts << QString::number(*static_cast<const double *>(arg), 'g', 12);
                break;
            case QMetaType::QString:
                parts << QLatin1Char('"') + *static_cast<const QString *>(arg) + QLatin1Char('"');
                break;
            default: {
                QVariant v(m_signal.parameterMetaType(i), arg);
                parts << v.toString();
                break;
            }
            }
        }
        m_log << QString::fromLatin1(m_signal.name()) + QLatin1Char('(') + parts.join(QStringLiteral(", ")) +
                     QLatin1Char(')');
    }

    QMetaMethod m_signal;
    QStringList &m_log;
};

SignalRecorder::SignalRecorder(QObject *object)
{
    const QMetaObject *meta = object->metaObject();
    const int first = QObject::staticMetaObject.methodCount();
    for (int i = first; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal)
            m_catchers.push_back(std::make_unique<Catcher>(object, method, m_events));
    }
}

SignalRecorder::~SignalRecorder() = default;

QStringList SignalRecorder::only(const QStringList &names) const
{
    QStringList result;
    for (const QString &e : m_events)
        if (names.contains(e.left(e.indexOf(QLatin1Char('(')))))
            result << e;
    return result;
}

QStringList SignalRecorder::names() const
{
    QStringList result;
    for (const QString &e : m_events)
        result << e.left(e.indexOf(QLatin1Char('(')));
    return result;
}
