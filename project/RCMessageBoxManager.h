#pragma once

#include "model/IRCCppObject.h"

#include <QMap>
#include <QString>

class RCMessageBox;

// Broker of modal message boxes between native code, QML callers and the main window.
// showMessage() opens a box under a new id and announces it with messageBoxShow; the main
// window draws it from the queries and answers with accept(), reject() or close(), which
// forget the box and emit the matching signal once. Callers recognise their box by its id.
// The manager owns the open boxes (as children). GUI thread only.
class RCMessageBoxManager : public IRCCppObject
{
    Q_OBJECT

public:
    explicit RCMessageBoxManager(QObject* parent = nullptr);

Q_SIGNALS:
    void messageBoxShow(const QString& sId);
    void messageBoxAccept(const QString& sId);
    void messageBoxReject(const QString& sId);
    void messageBoxOnlyClose(const QString& sId);

public:
    Q_INVOKABLE QString showMessage(const QString& sTitle, const QString& sText, bool okButtonVisible = true,
                                    bool cancelButtonVisible = true, bool closeButtonVisible = false,
                                    bool needEmitSignal = true);

    Q_INVOKABLE QString getTitle(const QString& sId) const;
    Q_INVOKABLE QString getText(const QString& sId) const;
    Q_INVOKABLE bool okButtonIsVisible(const QString& sId) const;
    Q_INVOKABLE bool cancelButtonIsVisible(const QString& sId) const;
    Q_INVOKABLE bool closeButtonIsVisible(const QString& sId) const;

    Q_INVOKABLE void accept(const QString& sId);
    Q_INVOKABLE void reject(const QString& sId);
    Q_INVOKABLE void close(const QString& sId);

    int openBoxCount() const { return int(m_boxes.size()); }

private:
    // Removes the box from the open boxes and hands it over for deletion; null when no open
    // box has the id.
    RCMessageBox* takeBox(const QString& sId);

    QMap<QString, RCMessageBox*> m_boxes;
};
