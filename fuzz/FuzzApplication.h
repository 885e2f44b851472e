#pragma once

#include <QCoreApplication>

// Makes the application that a fuzz target needs, once, unless the process has one already (a
// corpus test runs a target inside its own), and silences Qt's messages: the targets feed faults
// on purpose, and every one of them logs.
inline void ensureFuzzApplication(const char* name)
{
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(name), nullptr};
    static const bool made = [] {
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return true;
    }();
    (void)made;
}
