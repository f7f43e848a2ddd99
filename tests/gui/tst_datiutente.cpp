#include "gui/datiutente.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/typing.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;

namespace {

void fill(datiUtente& window, const QString& seat) {
    window.Text1->setText(QStringLiteral("PROCURA"));
    window.Text2->setText(seat);
    window.Text3->setPlainText(QStringLiteral("LAVORO"));
    QTest::mouseClick(window.Command1, Qt::LeftButton);
}

} // namespace

class TestDatiUtente : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyFieldsAreRefusedOneAtATime();
    void fieldFiltersAtTheirLimits();
    void firstConfigurationSavesAndShowsMainWindow();
    void closeBoxOnFirstStartEndsTheProgram();
    void unwritableConfigurationIsReported();
};

void TestDatiUtente::emptyFieldsAreRefusedOneAtATime() {
    test::ProgramFixture f;
    f.program.principale().Form_Load();
    datiUtente& window = f.program.configWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QTest::mouseClick(window.Command1, Qt::LeftButton);
    test::typeKeys(window.Text1, QStringLiteral("ufficio"));
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    QTRY_VERIFY(window.Text2->hasFocus());
    test::typeKeys(window.Text2, QStringLiteral("roma"));
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    QTRY_VERIFY(window.Text3->hasFocus());
    QCOMPARE(f.messages.texts(),
             (QStringList{QStringLiteral("Inserire la tipologia di ufficio"),
                          QStringLiteral("Inserire il comune sede dell'ufficio"),
                          QStringLiteral("Inserire la finalit\u00E0")}));
    for (const auto& shown : f.messages.shown) {
        QCOMPARE(shown.icon, Messages::Icon::Exclamation);
        QCOMPARE(shown.title, QStringLiteral("VELMORA"));
    }
    QVERIFY(window.isVisible());
    QVERIFY(!QFile::exists(f.folder.path(QStringLiteral("config.ini"))));
}

void TestDatiUtente::fieldFiltersAtTheirLimits() {
    test::ProgramFixture f;
    f.program.principale().Form_Load();
    datiUtente& window = f.program.configWindow();

    test::typeKeys(window.Text1, QStringLiteral("Uff. 2\r"));
    QCOMPARE(window.Text1->text(), QStringLiteral("UFF. 2"));
    window.Text1->setText(QString(150, u'A'));
    test::typeKeys(window.Text1, QStringLiteral("b"));
    QCOMPARE(window.Text1->text().size(), 150);
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Massimo 150 caratteri")});
    QTest::keyClick(window.Text1, Qt::Key_Backspace);
    QCOMPARE(window.Text1->text().size(), 149);

    test::typeKeys(window.Text2, QStringLiteral("sant'angelo 2"));
    QCOMPARE(window.Text2->text(), QStringLiteral("SANT'ANGELO "));

    test::typeKeys(window.Text3, QStringLiteral("lavoro\r"));
    QCOMPARE(window.Text3->toPlainText(), QStringLiteral("LAVORO"));
}

void TestDatiUtente::firstConfigurationSavesAndShowsMainWindow() {
    test::ProgramFixture f;
    Principale& main = f.program.principale();
    main.Form_Load();
    fill(f.program.configWindow(), QStringLiteral("FORL\u00CC"));

    QCOMPARE(f.readFile(QStringLiteral("config.ini")),
             QByteArray("PROCURA\r\nFORL\xCC\r\nLAVORO\r\n\r\n\r\n\r\n\r\n"));
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(main.isVisible());
    QVERIFY(main.Timer2.isActive());
    QCOMPARE(main.Text2->text(), QStringLiteral("PROCURA"));
    QCOMPARE(f.program.config.OfficeSeat, QStringLiteral("FORL\u00CC"));
    main.close();
}

void TestDatiUtente::closeBoxOnFirstStartEndsTheProgram() {
    test::ProgramFixture f;
    Principale& main = f.program.principale();
    QSignalSpy ended(&main, &Principale::closed);
    main.Form_Load();
    f.program.configWindow().close();
    QCOMPARE(ended.size(), 1);
}

void TestDatiUtente::unwritableConfigurationIsReported() {
    test::ProgramFixture f;
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("config.ini"))); // a folder in its place
    Principale& main = f.program.principale();
    main.Form_Load();
    fill(f.program.configWindow(), QStringLiteral("ROMA"));

    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().icon, Messages::Icon::Critical);
    QVERIFY(f.messages.shown.first().text.startsWith(
        QStringLiteral("La configurazione non \u00E8 stata salvata.")));
    QCOMPARE(f.program.config.OfficeType, QStringLiteral("PROCURA"));
    QVERIFY(main.isVisible());
    main.close();
}

QTEST_MAIN(TestDatiUtente)
#include "tst_datiutente.moc"
