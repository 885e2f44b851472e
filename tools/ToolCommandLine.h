#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

// The command line of every program in tools/: the parser holds its options, a help option and the
// positional arguments it describes. Prints the usage and exits 0 for --help; for an unknown option,
// an option without its value, or a count of positional arguments outside [minArgs, maxArgs], writes
// the reason and the usage to stderr and exits 2. Returns only when the line can be used.
inline void parseToolCommandLine(QCommandLineParser& parser, const QCoreApplication& app, int minArgs = 0,
                                 int maxArgs = 0)
{
    QString error;
    if (!parser.parse(app.arguments())) {
        error = parser.errorText();
    } else if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(0);
    } else {
        const qsizetype count = parser.positionalArguments().size();
        if (count < minArgs || count > maxArgs)
            error = count > maxArgs ? QStringLiteral("unexpected argument \"%1\"")
                                          .arg(parser.positionalArguments().at(maxArgs))
                                    : QStringLiteral("missing arguments");
    }
    if (error.isEmpty())
        return;
    std::fprintf(stderr, "%s: %s\n\n%s", qPrintable(QCoreApplication::applicationName()), qPrintable(error),
                 qPrintable(parser.helpText()));
    std::exit(2);
}
