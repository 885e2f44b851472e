// Which designers' invitations the panel follows, with the quiet times the panel's worker uses
// (60 s after a decline, 10 s after a failed attempt or a withdrawn offer): scripts of declines,
// withdrawals, failed attempts and invitations, each invitation with the answer it must get. The
// worker that asks is tested over sockets in tst_packetterminal.
#include "network/InvitationGate.h"

#include <QTest>

namespace {
constexpr int kMax = InvitationGate::kMaxEntries;

QString at(qint64 ms)
{
    return QString::number(ms);
}
} // namespace

class TestInvitationGate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void script_data();
    void script();
};

void TestInvitationGate::script_data()
{
    // Steps, at milliseconds on one clock; "<HOST" names the host an invitation or a failed
    // attempt's invitation came from (else the designer it names):
    //   "decline HOST AT"
    //   "withdraw HOST<HOST AT"
    //   "fail HOST:PORT<HOST AT"
    //   "admit HOST:PORT<HOST AT = yes|no"
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("a declined designer rests 60 s, on every port")
        << QStringList{"decline a 1000", "admit a:1 1000 = no", "admit a:2 60999 = no", "admit b:1 1000 = yes",
                       "admit a:1 61000 = yes", "admit a:2 61000 = yes"};
    QTest::newRow("a declined designer's invitations naming others are refused")
        << QStringList{"decline a 0", "admit b:1<a 59999 = no", "admit b:1 0 = yes", "admit b:1<a 60000 = yes"};
    QTest::newRow("a failed address rests 10 s, others are admitted")
        << QStringList{"fail a:1 0", "admit a:1 9999 = no", "admit a:2<c 0 = yes", "admit b:1 0 = yes",
                       "admit a:1<c 10000 = yes"};
    // A host naming a new dead address in every invitation: once one failed, the host rests.
    QTest::newRow("the host that named a failed address rests 10 s")
        << QStringList{"fail x1:4000<h 0", "admit x2:4000<h 9999 = no", "admit x1:4000<g 9999 = no",
                       "admit d:1 0 = yes", "admit x2:4000<g 0 = yes", "admit x3:4000<h 10000 = yes"};

    // Forged invitations from h named a dead address: h rests only as a host naming others.
    QTest::newRow("a resting host's invitations naming itself pass")
        << QStringList{"fail d:1<h 0", "admit h:1<h 0 = yes", "admit h:7<h 9999 = yes", "admit e:1<h 9999 = no",
                       "admit e:1<h 10000 = yes"};
    QTest::newRow("a host whose own address failed rests on every port of it")
        << QStringList{"fail h:1 0", "admit h:2 9999 = no", "admit e:1<h 9999 = no", "admit h:2<g 0 = yes",
                       "admit h:2 10000 = yes"};
    QTest::newRow("a designer that withdrew its offer rests 10 s, on every port")
        << QStringList{"withdraw a 0", "admit a:1 9999 = no", "admit a:2<b 9999 = no", "admit b:1<a 9999 = no",
                       "admit b:1 0 = yes", "admit a:1 10000 = yes"};
    QTest::newRow("a withdrawal rests the host that named the designer as a failure does")
        << QStringList{"withdraw a<h 0", "admit a:1<h 9999 = no", "admit b:1<h 9999 = no", "admit h:1<h 0 = yes",
                       "admit b:1<h 10000 = yes"};
    QTest::newRow("a withdrawal does not shorten a decline")
        << QStringList{"decline a 0", "withdraw a 1000", "admit a:1 59999 = no", "admit a:1 60000 = yes"};

    // Full, with nothing expired: the one that would expire soonest makes room.
    QStringList soonest;
    for (int i = 0; i < kMax; ++i)
        soonest << QStringLiteral("decline h%1 %1").arg(i);
    soonest << "decline new " + at(kMax) << "admit new:1 " + at(kMax) + " = no"
            << "admit h0:1 " + at(kMax) + " = yes" << "admit h1:1 " + at(kMax) + " = no";
    QTest::newRow("full: the soonest to expire goes") << soonest;

    // Full, with one expired: that one makes room and every other entry stays.
    QStringList expired{"fail e:1 0", "fail s:1 1"};
    for (int i = 2; i < kMax; ++i)
        expired << QStringLiteral("fail h%1:1 2").arg(i);
    expired << "fail new:1 10000" << "admit new:1 10000 = no" << "admit s:1 10000 = no" << "admit h2:1 10000 = no";
    QTest::newRow("full: an expired entry makes room, the others stay") << expired;
}

void TestInvitationGate::script()
{
    QFETCH(QStringList, steps);
    InvitationGate gate(60000, 10000);
    for (const QString& step : steps) {
        const QStringList words = step.split(' ');
        const QString endpoint = words.at(1).section('<', 0, 0);
        const QString host = endpoint.section(':', 0, 0);
        const int port = endpoint.section(':', 1).toInt();
        const QString sender = words.at(1).contains('<') ? words.at(1).section('<', 1) : host;
        const qint64 now = words.at(2).toLongLong();
        if (words.at(0) == QLatin1String("decline")) {
            gate.declined(host, now);
        } else if (words.at(0) == QLatin1String("withdraw")) {
            gate.withdrew(host, sender, now);
        } else if (words.at(0) == QLatin1String("fail")) {
            gate.failed(host, port, sender, now);
        } else {
            QVERIFY2(words.at(0) == QLatin1String("admit") && words.size() == 5, qPrintable(step));
            const QString answer = gate.admits(host, port, sender, now) ? "yes" : "no";
            QVERIFY2(answer == words.at(4), qPrintable(step + " answered " + answer));
        }
    }
}

QTEST_GUILESS_MAIN(TestInvitationGate)
#include "tst_invitationGate.moc"
