#include "core/config.h"
#include "support/recorders.h"

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
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
