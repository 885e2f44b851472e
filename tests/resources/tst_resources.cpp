// The resources the program plays and shows: the tap sound's format, and that every picture or
// sound a QML file names by "qrc:/" is in the resources.
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QtEndian>

class tst_resources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clickSoundFormat();
    void qmlNamesOnlyExistingResources();
};

void tst_resources::clickSoundFormat()
{
    QFile file(QStringLiteral(":/click.wav"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    QVERIFY(wav.size() > 44);
    auto u16 = [&wav](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
    auto u32 = [&wav](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(u32(4), quint32(wav.size() - 8));
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(u16(20), quint16(1));     // PCM
    QCOMPARE(u16(22), quint16(1));     // mono
    QCOMPARE(u32(24), quint32(44100)); // sample rate
    QCOMPARE(u16(34), quint16(16));    // bits per sample
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    const double seconds = u32(40) / (44100.0 * 2);
    QVERIFY2(seconds >= 0.30 && seconds <= 0.34, qPrintable(QString::number(seconds)));
    QCOMPARE(int(u32(40)), wav.size() - 44);
}

void tst_resources::qmlNamesOnlyExistingResources()
{
    const QRegularExpression name(QStringLiteral("\"qrc:(/[^\"]+\\.(png|wav))\""));
    QSet<QString> named;
    QDirIterator files(QStringLiteral(":/qml"), {QStringLiteral("*.qml")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = name.globalMatch(text); it.hasNext();)
            named.insert(it.next().captured(1));
    }
    QVERIFY2(named.contains(QStringLiteral("/close.png")), "the scan found the QML files");
    for (const QString& path : std::as_const(named)) {
        const QString resource = QLatin1Char(':') + path;
        QVERIFY2(QFile::exists(resource), qPrintable(path));
        if (path.endsWith(QLatin1String(".png")))
            QVERIFY2(!QImage(resource).isNull(), qPrintable(path));
    }
}

QTEST_GUILESS_MAIN(tst_resources)
#include "tst_resources.moc"
