#include "project/RCMessageBoxManager.h"

#include "project/RCMessageBox.h"

RCMessageBoxManager::RCMessageBoxManager(QObject* parent) : IRCCppObject(parent)
{
    connect(this, &RCMessageBoxManager::messageBoxShow, this, [this](const QString& sId) {
        if (m_boxes.contains(sId) && !m_shownIds.contains(sId))
            m_shownIds.append(sId);
    });
}

QStringList RCMessageBoxManager::getShownMessageIds() const
{
    return m_shownIds;
}

QString RCMessageBoxManager::showMessage(const QString& sTitle, const QString& sText, bool okButtonVisible,
                                         bool cancelButtonVisible, bool closeButtonVisible,
                                         bool needEmitSignal)
{
    auto* box = new RCMessageBox(this);
    box->setTitle(sTitle);
    box->setText(sText);
    box->setOkButtonVisible(okButtonVisible);
    box->setCancelButtonVisible(cancelButtonVisible);
    box->setCloseButtonVisible(closeButtonVisible);
    const QString id = box->id();
    delete m_boxes.value(id); // cannot happen with fresh UUIDs; never leak a replaced box
    m_boxes.insert(id, box);
    if (needEmitSignal)
        Q_EMIT messageBoxShow(id);
    return id;
}

QString RCMessageBoxManager::getTitle(const QString& sId) const
{
    const RCMessageBox* box = m_boxes.value(sId);
    return box ? box->title() : QString();
}

QString RCMessageBoxManager::getText(const QString& sId) const
{
    const RCMessageBox* box = m_boxes.value(sId);
    return box ? box->text() : QString();
}

bool RCMessageBoxManager::okButtonIsVisible(const QString& sId) const
{
    const RCMessageBox* box = m_boxes.value(sId);
    return box && box->okButtonVisible();
}

bool RCMessageBoxManager::cancelButtonIsVisible(const QString& sId) const
{
    const RCMessageBox* box = m_boxes.value(sId);
    return box && box->cancelButtonVisible();
}

bool RCMessageBoxManager::closeButtonIsVisible(const QString& sId) const
{
    const RCMessageBox* box = m_boxes.value(sId);
    return box && box->closeButtonVisible();
}

void RCMessageBoxManager::accept(const QString& sId)
{
    answer(sId, &RCMessageBoxManager::messageBoxAccept);
}

void RCMessageBoxManager::reject(const QString& sId)
{
    answer(sId, &RCMessageBoxManager::messageBoxReject);
}

void RCMessageBoxManager::close(const QString& sId)
{
    answer(sId, &RCMessageBoxManager::messageBoxOnlyClose);
}

void RCMessageBoxManager::answer(const QString& sId, void (RCMessageBoxManager::*answered)(const QString&))
{
    RCMessageBox* box = m_boxes.take(sId);
    if (!box)
        return;
    m_shownIds.removeAll(sId);
    const QString id = box->id();
    Q_EMIT(this->*answered)(id);
    delete box;
}
