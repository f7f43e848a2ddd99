#include "core/config.h"
#include "core/text/windows1252.h"
#include "support/recorders.h"

#include <QDir>
#include <QTest>

using namespace velmora;

class TestConfig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writtenAndRead() {
        test::ScratchFolder folder;
        const QString path = folder.path("config.ini");
        const Config written{
            "PROCURA DELLA REPUBBLICA", "FORL\u00CC", "LAVORO", " 2", "/srv/out", {}, "/srv/pdf"};
        QVERIFY(writeConfigFile(path, written).ok());
        QCOMPARE(test::readBytes(path), "PROCURA DELLA REPUBBLICA\r\nFORL\xCC\r\nLAVORO\r\n 2\r\n"
                                        "/srv/out\r\n\r\n/srv/pdf\r\n");
        Config read;
        QCOMPARE(readConfigFile(path, read), ConfigRead::Complete);
        QCOMPARE(read, written);
        // The same values again leave the file alone; others replace it.
        const QDateTime old = QDateTime::currentDateTime().addDays(-1);
        const auto age = [&path, &old](bool set) {
            QFile file(path);
            return set ? file.open(QIODevice::ReadWrite) &&
                             file.setFileTime(old, QFileDevice::FileModificationTime)
                       : file.fileTime(QFileDevice::FileModificationTime) == old;
        };
        QVERIFY(age(true) && writeConfigFile(path, written).ok() && age(false));
        Config other = written;
        other.pdfFolder = "/srv/moduli";
        QVERIFY(writeConfigFile(path, other).ok() && !age(false));
        QVERIFY(writeConfigFile(path, written).ok());
        // What the file does not have is kept; lines 5 to 7 are optional.
        QVERIFY(QFile::remove(path));
        Config config;
        QCOMPARE(readConfigFile(path, config), ConfigRead::Unreadable);
        QCOMPARE(config, Config());
        config.outputFolder = "/kept";
        test::writeBytes(path, "UFFICIO\r\nROMA\r\nLAVORO\r\n3\r\n");
        QCOMPARE(readConfigFile(path, config), ConfigRead::Complete);
        QCOMPARE(config.defaultCertType + config.outputFolder, "3/kept");
        Config shorter;
        test::writeBytes(path, "UFFICIO\r\nROMA\r\nLAVORO\r\n");
        QCOMPARE(readConfigFile(path, shorter), ConfigRead::Short);
        QVERIFY(shorter.isComplete() && shorter.defaultPurpose == u"LAVORO");
        Config emptyPurpose;
        test::writeBytes(path, "UFFICIO\r\nROMA\r\n\r\n\r\n\r\n\r\n\r\n");
        QCOMPARE(readConfigFile(path, emptyPurpose), ConfigRead::Complete);
        QVERIFY(!emptyPurpose.isComplete());
    }

    // Values the office-data window would refuse are left out and told, so that it asks for them
    // again; a file far too large to be a configuration is not read at all.
    void valuesBreakingTheFieldsAreDropped() {
        test::ScratchFolder folder;
        const QString path = folder.path("config.ini");
        const QString shown = QDir::toNativeSeparators(path);
        test::writeBytes(path, "UFFICIO\x07\r\n" + QByteArray(61, 'R') +
                                   "\r\nlavoro\r\n 2\r\n/srv\x01out\r\n");
        Config config;
        QStringList dropped;
        QCOMPARE(readConfigFile(path, config, &dropped), ConfigRead::Complete);
        QCOMPARE(config, (Config{{}, {}, "LAVORO", " 2", {}, {}, {}}));
        QCOMPARE(dropped.value(0), "Il file " + shown +
                                       ", riga 1, campo \u00ABTipo ufficio\u00BB: valore scartato "
                                       "(carattere non ammesso: " +
                                       shownCharacter(QChar(7)) + ")");
        QVERIFY(dropped.value(1).contains(", riga 2, campo \u00ABSede ufficio\u00BB: valore "
                                          "scartato (Massimo 60 Caratteri)"));
        QVERIFY(dropped.value(2).contains(", riga 5, campo \u00ABCartella dei lotti\u00BB"));
        QCOMPARE(dropped.size(), 3);

        QVERIFY(QFile(path).resize(kMaxConfigBytes + 1));
        Config none;
        dropped.clear();
        QCOMPARE(readConfigFile(path, none, &dropped), ConfigRead::Unreadable);
        QCOMPARE(none, Config());
        QCOMPARE(dropped, QStringList{"Il file " + shown +
                                      " supera la grandezza massima di 64 KiB "
                                      "ed \u00E8 danneggiato: non \u00E8 stato letto"});
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
