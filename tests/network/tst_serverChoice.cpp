// Which discovered server the control link tries: scripts of replies, failed attempts and links,
// each step with the answer it must get. The link to real servers is tested in tst_terminal.
#include "network/ServerChoice.h"

#include <QTest>

class TestServerChoice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void script_data();
    void script();
};

void TestServerChoice::script_data()
{
    // Steps, at milliseconds on one clock; a trailing "!" marks the pinned address:
    //   "offer IP:PORT AT = yes|no"    whether to try that reply now
    //   "fail IP:PORT AT = IP:PORT|-"  the server to try next, or none
    //   "linked IP"
    QTest::addColumn<QStringList>("steps");
    const auto at = [](qint64 ms) { return QString::number(ms); };
    QTest::newRow("a failed address is skipped for a while")
        << QStringList{"offer a:1 0 = yes",
                       "fail a:1 2000 = -",
                       "offer a:1 3000 = no",
                       "offer a:2 3000 = no",
                       "offer a:1 " + at(2000 + ServerChoice::kSkipMs - 1) + " = no",
                       "offer a:1 " + at(2000 + ServerChoice::kSkipMs) + " = yes"};
    QTest::newRow("the other server that answered last is next")
        << QStringList{"offer a:1 0 = yes", "offer b:1 100 = yes", "offer c:1 200 = yes", "offer b:1 300 = yes",
                       "fail a:1 2000 = b:1", "fail b:1 4000 = c:1", "fail c:1 4100 = -"};
    QTest::newRow("answers are remembered for a while")
        << QStringList{"offer a:1 0 = yes", "offer b:1 0 = yes", "offer c:1 100 = yes",
                       "fail c:1 " + at(ServerChoice::kRememberMs) + " = b:1",
                       "fail b:1 " + at(ServerChoice::kRememberMs + 1) + " = -"};
    QTest::newRow("the pinned address is never skipped")
        << QStringList{"offer p:1! 0 = yes", "offer p:2! 10 = yes", "fail p:2! 20 = p:1", "fail p:1! 30 = p:2",
                       "offer p:1! 40 = yes"};
    QTest::newRow("a link ends the skip")
        << QStringList{"offer a:1 0 = yes", "offer b:1 0 = yes", "fail a:1 10 = b:1", "linked a", "offer a:1 20 = yes",
                       "fail b:1 30 = a:1"};
    QStringList many;
    for (int i = 0; i <= ServerChoice::kMaxRemembered; ++i)
        many << QStringLiteral("offer s%1:1 %1 = yes").arg(i);
    // s0 was forgotten to make room; every later one is tried in turn.
    for (int i = ServerChoice::kMaxRemembered; i > 1; --i)
        many << QStringLiteral("fail s%1:1 100 = s%2:1").arg(i).arg(i - 1);
    many << "fail s1:1 100 = -";
    QTest::newRow("at most so many are remembered") << many;
}

void TestServerChoice::script()
{
    QFETCH(QStringList, steps);
    ServerChoice choice;
    for (const QString& step : steps) {
        const QStringList words = step.split(' ');
        if (words.at(0) == QLatin1String("linked")) {
            choice.linked(words.at(1));
            continue;
        }
        QString server = words.at(1);
        const bool pinned = server.endsWith('!');
        server.remove('!');
        const QString ip = server.section(':', 0, 0);
        const int port = server.section(':', 1).toInt();
        const qint64 at = words.at(2).toLongLong();
        QString answer;
        if (words.at(0) == QLatin1String("offer")) {
            answer = choice.offer(ip, port, pinned, at) ? "yes" : "no";
        } else {
            ServerChoice::Server next;
            answer = choice.failed(ip, port, pinned, at, &next) ? next.ip + ':' + QString::number(next.port) : "-";
        }
        QVERIFY2(answer == words.at(4), qPrintable(step + " answered " + answer));
    }
}

QTEST_GUILESS_MAIN(TestServerChoice)
#include "tst_serverChoice.moc"
