#include "TestSupport.h"

#include "editing/Platform.h"

TestSupport::TestSupport(QObject* parent) : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        m_exitCode = status == QProcess::NormalExit ? code : -1;
        m_output = QString::fromLocal8Bit(m_process.readAll());
        Q_EMIT finished(m_exitCode);
    });
}

void TestSupport::undo()
{
    Platform::instance()->undo();
}

void TestSupport::redo()
{
    Platform::instance()->redo();
}

bool TestSupport::start(const QString& program, const QStringList& arguments)
{
    if (m_process.state() != QProcess::NotRunning)
        return false;
    m_exitCode = -1;
    m_output.clear();
    m_process.start(program, arguments);
    return m_process.waitForStarted(10000);
}

bool TestSupport::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

int TestSupport::exitCode() const
{
    return m_exitCode;
}

QString TestSupport::output() const
{
    return m_output;
}
