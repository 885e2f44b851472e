#pragma once

#include "model/IRCCppObject.h"

#include <QMap>
#include <QString>
#include <QStringList>

class RCMessageBox;

// Broker of modal message boxes between native code, QML callers and the main window.
// showMessage() opens a box under a new id and announces it with messageBoxShow; the main
// window draws it from the queries and answers with accept(), reject() or close(), which
// forget the box and emit the matching signal once. Callers recognise their box by its id.
// The manager owns the open boxes (as children). GUI thread only.
//
// A box counts as announced whenever messageBoxShow carries its id, also when a QML caller
// emits the signal itself after showMessage(..., needEmitSignal = false).
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

    // The open boxes that have been announced with messageBoxShow, oldest first. A window that
    // comes up after boxes were announced (boxes raised during start-up) shows these once.
    Q_INVOKABLE QStringList getShownMessageIds() const;

    int openBoxCount() const { return int(m_boxes.size()); }

private:
    // Forgets the box `sId` and emits `answered` with its id once; unknown ids do nothing.
    void answer(const QString& sId, void (RCMessageBoxManager::*answered)(const QString&));

    QMap<QString, RCMessageBox*> m_boxes;
    QStringList m_shownIds;
};
