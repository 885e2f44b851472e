// Which designers' invitations the panel follows: scripts of declines, failed attempts and
// invitations, each invitation with the answer it must get. The worker that asks is tested over
// sockets in tst_packetterminal.
#include "network/InvitationGate.h"

#include <QTest>

namespace {
constexpr int kDeclineMs = 60000;
constexpr int kFailureMs = 10000;
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
    // Steps, at milliseconds on one clock:
    //   "decline HOST AT"
    //   "fail HOST:PORT AT"
    //   "admit HOST:PORT AT = yes|no"
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("a declined designer rests its quiet time, on every port")
        << QStringList{"decline a 1000",
                       "admit a:1 1000 = no",
                       "admit a:2 " + at(1000 + kDeclineMs - 1) + " = no",
                       "admit b:1 1000 = yes",
                       "admit a:1 " + at(1000 + kDeclineMs) + " = yes",
                       "admit a:2 " + at(1000 + kDeclineMs) + " = yes"};
    QTest::newRow("a failed address rests its time, others are admitted")
        << QStringList{"fail a:1 0",
                       "admit a:1 " + at(kFailureMs - 1) + " = no",
                       "admit a:2 0 = yes",
                       "admit b:1 0 = yes",
                       "admit a:1 " + at(kFailureMs) + " = yes"};

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
    expired << "fail new:1 " + at(kFailureMs) << "admit new:1 " + at(kFailureMs) + " = no"
            << "admit s:1 " + at(kFailureMs) + " = no" << "admit h2:1 " + at(kFailureMs) + " = no";
    QTest::newRow("full: an expired entry makes room, the others stay") << expired;
}

void TestInvitationGate::script()
{
    QFETCH(QStringList, steps);
    InvitationGate gate(kDeclineMs, kFailureMs);
    for (const QString& step : steps) {
        const QStringList words = step.split(' ');
        const QString host = words.at(1).section(':', 0, 0);
        const int port = words.at(1).section(':', 1).toInt();
        const qint64 now = words.at(2).toLongLong();
        if (words.at(0) == QLatin1String("decline")) {
            gate.declined(host, now);
        } else if (words.at(0) == QLatin1String("fail")) {
            gate.failed(host, port, now);
        } else {
            QVERIFY2(words.at(0) == QLatin1String("admit") && words.size() == 5, qPrintable(step));
            const QString answer = gate.admits(host, port, now) ? "yes" : "no";
            QVERIFY2(answer == words.at(4), qPrintable(step + " answered " + answer));
        }
    }
}

QTEST_GUILESS_MAIN(TestInvitationGate)
#include "tst_invitationGate.moc"
