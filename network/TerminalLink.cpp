#include "network/TerminalLink.h"

#include "network/TerminalConnect.h"

TerminalLink::TerminalLink(const QString& ip, int port, const QString& sender, QObject* parent)
    : QObject(parent), m_ip(ip), m_port(port), m_sender(sender), m_worker(new TerminalConnect)
{
    // Queued from the worker's thread. Reports still queued when the link ends are ignored.
    connect(m_worker, &TerminalConnect::socketConnected, this, [this](const QString& address) {
        if (m_ended)
            return;
        m_address = address;
        m_up = true;
        m_upClock.start();
        Q_EMIT up();
    });
    connect(m_worker, &TerminalConnect::connectFailed, this, [this](const QString&, int, bool hostAnswered) {
        if (!m_ended)
            Q_EMIT attemptFailed(hostAnswered);
    });
    connect(m_worker, &TerminalConnect::socketDisconnect, this, [this] {
        if (m_ended)
            return;
        m_up = false;
        Q_EMIT ended();
    });
    connect(m_worker, &TerminalConnect::receiveCmd, this,
            [this](const QString& sCmd, const QJsonObject& params) {
                arrive({Kind::Command, sCmd, params, {}, false, {}});
            });
    connect(m_worker, &TerminalConnect::fileContentReceive, this,
            [this](const QByteArray& data, bool complate, const QVariantMap& params) {
                arrive({Kind::FileContent, {}, {}, data, complate, params});
            });
    connect(m_worker, &TerminalConnect::fileReceiveError, this, [this](const QVariantMap& params) {
        arrive({Kind::FileError, {}, {}, {}, false, params});
    });
    connect(m_worker, &TerminalConnect::fileContentSend, this,
            [this](qlonglong pos, bool complate, const QString& path, qulonglong uid) {
                if (!m_ended)
                    Q_EMIT fileContentSend(pos, complate, path, uid);
            });
    connect(m_worker, &TerminalConnect::fileSendError, this, [this](const QString& path, qulonglong uid) {
        if (!m_ended)
            Q_EMIT fileSendError(path, uid);
    });
}

TerminalLink::~TerminalLink()
{
    delete m_worker;
}

void TerminalLink::start()
{
    m_worker->connectToServer(m_ip, m_port);
}

void TerminalLink::close()
{
    m_closing = true;
    m_worker->disconnectFromServer();
}

void TerminalLink::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_up = false;
    m_waiting.clear();
    delete m_worker;
    m_worker = nullptr;
    disconnect();
    deleteLater();
}

void TerminalLink::setFollowed(bool followed)
{
    m_followed = followed;
    flush();
}

void TerminalLink::sendCmd(const QString& sCmd, const QJsonObject& params)
{
    if (!m_worker || !m_up)
        return;
    if (m_greeted)
        m_requested = true;
    if (sCmd == QLatin1String("connectVerify"))
        m_questionOpen = false;
    m_worker->sendCmd(sCmd, params);
}

void TerminalLink::sendFile(const QString& sFilePath, const QJsonObject& params)
{
    if (m_worker && m_up)
        m_worker->sendFile(sFilePath, params);
}

void TerminalLink::arrive(Delivery delivery)
{
    if (m_ended)
        return;
    bool greetedNow = false;
    bool answeredNow = false;
    if (delivery.kind == Kind::Command && !note(delivery.cmd, &greetedNow, &answeredNow)) {
        m_worker->deliveryTaken();
        return;
    }
    m_waiting.push_back(std::move(delivery));
    flush();
    if (m_ended)
        return;
    if (greetedNow)
        Q_EMIT greeted();
    if (answeredNow && !m_ended)
        Q_EMIT answered();
}

bool TerminalLink::note(const QString& sCmd, bool* greetedNow, bool* answeredNow)
{
    if (sCmd == QLatin1String("connectVerifyAsk")) {
        if (m_questionOpen) {
            if (!m_dropLogged)
                qInfo("Control link to %s: the server asks for the password again before it was given; "
                      "asks are dropped until then",
                      qPrintable(m_address));
            m_dropLogged = true;
            return false;
        }
        m_questionOpen = true;
    }
    const bool answer = sCmd == QLatin1String("connectVerifyAsk") || sCmd == QLatin1String("passwordError") ||
                        (m_requested && (sCmd == QLatin1String("setProgramTable") ||
                                         sCmd == QLatin1String("setTrackManager") ||
                                         sCmd == QLatin1String("setVexaProgramManager")));
    if (sCmd == QLatin1String("connected") && !m_greeted)
        *greetedNow = m_greeted = true;
    if (answer && !m_answered)
        *answeredNow = m_answered = true;
    return true;
}

void TerminalLink::flush()
{
    // A delivery may lead its receiver to stop following or to end the link; a flush under way
    // goes on with what is left.
    if (m_flushing)
        return;
    m_flushing = true;
    while (m_followed && !m_ended && !m_waiting.empty()) {
        const Delivery delivery = std::move(m_waiting.front());
        m_waiting.pop_front();
        deliver(delivery);
        if (m_worker)
            m_worker->deliveryTaken();
    }
    m_flushing = false;
}

void TerminalLink::deliver(const Delivery& delivery)
{
    switch (delivery.kind) {
    case Kind::Command:
        Q_EMIT receiveCmd(delivery.cmd, delivery.params);
        break;
    case Kind::FileContent:
        Q_EMIT fileContentReceive(delivery.data, delivery.complete, delivery.fileParams);
        break;
    case Kind::FileError:
        Q_EMIT fileReceiveError(delivery.fileParams);
        break;
    }
}
