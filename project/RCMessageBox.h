#pragma once

#include "model/IRCCppObject.h"

#include <QString>

// One open message box of RCMessageBoxManager: its id (a braced UUID made at construction),
// title, text and which of the ok, cancel and close buttons it shows. Its parent is the
// manager, which deletes it when the box is answered.
class RCMessageBox : public IRCCppObject
{
    Q_OBJECT

public:
    explicit RCMessageBox(QObject* parent = nullptr);

    QString id() const { return m_id; }

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QString text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }

    bool okButtonVisible() const { return m_okButtonVisible; }
    void setOkButtonVisible(bool visible) { m_okButtonVisible = visible; }
    bool cancelButtonVisible() const { return m_cancelButtonVisible; }
    void setCancelButtonVisible(bool visible) { m_cancelButtonVisible = visible; }
    bool closeButtonVisible() const { return m_closeButtonVisible; }
    void setCloseButtonVisible(bool visible) { m_closeButtonVisible = visible; }

private:
    QString m_id;
    QString m_title;
    QString m_text;
    bool m_okButtonVisible = true;
    bool m_cancelButtonVisible = true;
    bool m_closeButtonVisible = false;
};
