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
    // Steps, at milliseconds on one clock; "<HOST" names the host a reply came from (else the
    // address it names), a trailing "!" marks the pinned address:
    //   "offer IP:PORT<HOST AT = yes|no"  whether to try that reply now
    //   "fail IP:PORT<HOST AT = IP:PORT|-" the host at IP did not answer (no route, time-out): the
    //                                     server to try next, or none; HOST named IP:PORT
    //   "refused IP:PORT AT = IP:PORT|-"  the host answered: refused the port, or accepted and was
    //                                     given up for its silence; as "fail"
    //   "linked IP"                       the link to IP answered
    //   "aside IP:PORT AT"                its unanswered link gave way to another server
    //   "refuse IP:PORT"                  the user turned it down
    //   "clear"
    // Failed servers rest 10 s; answers are remembered 4 s, at most 32 of them.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("a failed address is skipped for a while")
        << QStringList{"offer a:1 0 = yes",
                       "fail a:1 2000 = -",
                       "offer a:1 3000 = no",
                       "offer a:2 3000 = no",
                       "offer a:1 11999 = no",
                       "offer a:1 12000 = yes"};
    QTest::newRow("the other server that answered last is next")
        << QStringList{"offer a:1 0 = yes", "offer b:1 100 = yes", "offer c:1 200 = yes", "offer b:1 300 = yes",
                       "fail a:1 2000 = b:1", "fail b:1 4000 = c:1", "fail c:1 4100 = -"};
    QTest::newRow("answers are remembered for a while")
        << QStringList{"offer a:1 0 = yes", "offer b:1 0 = yes", "offer c:1 100 = yes",
                       "fail c:1 4000 = b:1",
                       "fail b:1 4001 = -"};
    QTest::newRow("the pinned address is never skipped")
        << QStringList{"offer p:1! 0 = yes", "offer p:2! 10 = yes", "fail p:2! 20 = p:1", "fail p:1! 30 = p:2",
                       "offer p:1! 40 = yes"};
    QTest::newRow("a link ends the skip")
        << QStringList{"offer a:1 0 = yes", "offer b:1 0 = yes", "fail a:1 10 = b:1", "linked a", "offer a:1 20 = yes",
                       "fail b:1 30 = a:1"};
    // A host naming a new dead address in every reply: once one failed, it rests with it.
    QTest::newRow("the host that named a failed address rests")
        << QStringList{"offer x1:1<h 0 = yes", "offer s:1 100 = yes", "offer x2:1<h 200 = yes",
                       "fail x1:1<h 2000 = s:1", "offer x3:1<h 3000 = no", "offer x2:1<g 3000 = yes",
                       "offer s:1 3000 = yes", "offer x4:1<h 12000 = yes"};
    QTest::newRow("a link given up rests its address and the host that named it")
        << QStringList{"offer x:1<h 0 = yes", "offer s:1 10 = yes", "linked x", "fail x:1<h 10000 = -",
                       "offer x:1<g 10100 = no", "offer y:1<h 10100 = no", "offer s:1 10100 = yes"};
    // A host whose reply named a dead address (a second server on it with a stale address) still
    // has the replies naming its own address tried, until that address fails in turn.
    QTest::newRow("a resting host's own address is still tried")
        << QStringList{"offer x:1<h 0 = yes", "offer h:1 100 = yes", "fail x:1<h 2000 = h:1", "offer h:2 3000 = yes",
                       "offer y:1<h 3000 = no", "fail h:2 5000 = -", "offer h:1 5100 = no"};
    // A stale announcer on the server's own host, or any host, naming the server's address with a
    // port where nothing listens: that port rests, the server's own is tried at once.
    QTest::newRow("a refused port rests that endpoint, not its address")
        << QStringList{"offer s:9 0 = yes", "offer s:1 10 = yes", "refused s:9 20 = s:1", "offer s:9 30 = no",
                       "offer s:1 30 = yes", "offer s:2 30 = yes", "offer s:9 10019 = no", "offer s:9 10020 = yes"};
    QTest::newRow("another host naming a dead port of the server's address")
        << QStringList{"offer s:9<x 0 = yes", "offer s:1 10 = yes", "refused s:9<x 20 = s:1", "offer s:9<x 30 = no",
                       "offer s:1 30 = yes", "offer t:1<x 30 = no"};
    QTest::newRow("a server given up for its silence rests with its port only")
        << QStringList{"offer s:1 0 = yes", "offer s:2 10 = yes", "linked s", "refused s:1 10000 = -",
                       "offer s:1 10100 = no", "offer s:2 10100 = yes"};
    QTest::newRow("an address whose host did not answer rests with every port")
        << QStringList{"offer s:9 0 = yes", "offer s:1 10 = yes", "fail s:9 2000 = -", "offer s:1 2100 = no",
                       "offer s:1 12000 = yes"};
    QTest::newRow("the host naming the pinned address does not rest")
        << QStringList{"offer p:1<h! 0 = yes", "fail p:1<h! 10 = -", "offer q:1<h 20 = yes"};
    QTest::newRow("a server turned down stays so, pinned or not, until cleared")
        << QStringList{"offer p:1! 0 = yes", "offer q:1 10 = yes", "refuse p:1", "offer p:1! 20 = no",
                       "offer p:2! 20 = yes", "fail q:1 30 = p:2", "offer p:1! 100000 = no", "clear",
                       "offer p:1! 100010 = yes"};
    QTest::newRow("a link set aside rests with its port only")
        << QStringList{"offer s:1<h 0 = yes", "offer t:1<h 10 = yes", "aside s:1 20", "offer s:1<h 30 = no",
                       "offer s:2<h 30 = yes", "offer u:1<h 30 = yes", "offer s:1<h 10019 = no",
                       "offer s:1<h 10020 = yes"};
    // The attempt knows who named it, though 32 answers came since and its own was forgotten.
    QStringList crowded{"offer x:1<h 0 = yes"};
    for (int i = 0; i < 32; ++i)
        crowded << QStringLiteral("offer s%1:1 100 = yes").arg(i);
    crowded << "fail x:1<h 2000 = s31:1"
            << "offer y:1<h 2100 = no";
    QTest::newRow("the host that named a failed address rests, however many answered since") << crowded;
    QStringList many;
    for (int i = 0; i <= 32; ++i)
        many << QStringLiteral("offer s%1:1 %1 = yes").arg(i);
    // s0 was forgotten to make room; every later one is tried in turn.
    for (int i = 32; i > 1; --i)
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
        if (words.at(0) == QLatin1String("clear")) {
            choice.clear();
            continue;
        }
        if (words.at(0) == QLatin1String("refuse") || words.at(0) == QLatin1String("aside")) {
            const QString ip = words.at(1).section(':', 0, 0);
            const int port = words.at(1).section(':', 1).toInt();
            if (words.at(0) == QLatin1String("refuse"))
                choice.refuse(ip, port);
            else
                choice.setAside(ip, port, words.at(2).toLongLong());
            continue;
        }
        QString token = words.at(1);
        const bool pinned = token.endsWith('!');
        token.remove('!');
        const QString server = token.section('<', 0, 0);
        const QString ip = server.section(':', 0, 0);
        const int port = server.section(':', 1).toInt();
        const QString sender = token.contains('<') ? token.section('<', 1) : ip;
        const qint64 at = words.at(2).toLongLong();
        QString answer;
        if (words.at(0) == QLatin1String("offer")) {
            answer = choice.offer(ip, port, sender, pinned, at) ? "yes" : "no";
        } else {
            ServerChoice::Server next;
            const bool hostAnswered = words.at(0) == QLatin1String("refused");
            answer = choice.failed(ip, port, sender, hostAnswered, pinned, at, &next)
                         ? next.ip + ':' + QString::number(next.port)
                         : "-";
        }
        QVERIFY2(answer == words.at(4), qPrintable(step + " answered " + answer));
    }
}

QTEST_GUILESS_MAIN(TestServerChoice)
#include "tst_serverChoice.moc"
