#include "core/config.h"
#include "core/request/request.h"
#include "core/subjects/entryfields.h"

#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::KeyFilter)

class TestKeyFilters : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filters_data();
    void filters();
};

void TestKeyFilters::filters_data() {
    QTest::addColumn<KeyFilter>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept"); // what the field holds after the keys
    QTest::addColumn<int>("limit");    // 0: none
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("lengthFirst"); // at the limit even a refused key is told
    const auto row = [](const char* name, const KeyFilter& filter, const char16_t* typed,
                        const char16_t* kept, int limit, const char* message, bool lengthFirst) {
        QTest::newRow(name) << filter << QString::fromUtf16(typed) << QString::fromUtf16(kept)
                            << limit << QString(message) << lengthFirst;
    };
    row("surname", entryfields::surname(), u"d'\u00e0mico 2", u"D'\u00C0MICO ", 72,
        "Max 72 Caratteri", false);
    row("name", entryfields::name(), u"jos\u00e9-1", u"JOS\u00C9", 72, "Max 72 Caratteri", false);
    row("father", entryfields::father(), u"l'\u00fc", u"L\u00DC", 72, "Max 72 Caratteri", false);
    row("foreign place", entryfields::foreignPlace(), u"st. l\u00f4-x'2", u"ST. L\u00D4-X'", 60,
        "Massimo 60 caratteri", false);
    row("tax code", entryfields::taxCode(), u"ab 1\u00e9-9", u"AB19", 16, "Max 16 Caratteri", true);
    row("cui", entryfields::cui(), u"x-1 \u00e92", u"X12", 7, "Max 7 Caratteri", true);
    row("place list", entryfields::placeList(), u"s. \u00e9'-1", u"S. '-", 0, "", false);

    row("protocol number", requestfields::protocolNumber(), u"b/\u00e01", u"B1", 30,
        "Max 30 Caratteri", true);
    row("request office type", requestfields::officeType(), u"u7/\u00e0.\r", u"U7\u00C0.", 150,
        "Massimo 150 caratteri per il Tipo Ufficio", false);
    row("request purpose", requestfields::purpose(), u"a\r\u00e0", u"A\u00C0", 250,
        "Massimo 250 Caratteri", false);
    row("office type", configfields::officeType(), u"u7/\u00e0.\r", u"U7\u00C0.", 150,
        "Massimo 150 caratteri", false);
    row("office seat", configfields::officeSeat(), u"s7'\u00e0-.", u"S'\u00C0-.", 60,
        "Massimo 60 Caratteri", false);
    // Codes 32 to 165 and the accented letters; the euro sign is code 128.
    row("purpose", configfields::purpose(), u"x\r\n\u20AC\u00AA\u0141\u00e0", u"X\u20AC\u00C0", 250,
        "Massimo 250 Caratteri", false);
}

void TestKeyFilters::filters() {
    QFETCH(KeyFilter, filter);
    QFETCH(QString, typed);
    QFETCH(int, limit);
    QFETCH(QString, message);
    QFETCH(bool, lengthFirst);
    QString text;
    for (const QChar key : typed) {
        const KeyDecision decision = judgeKey(filter, key, text.size());
        if (decision.kind == KeyDecision::Kind::Insert)
            text.append(decision.character);
    }
    QTEST(text, "kept");
    // A whole text typed at once: every row above holds a key the field drops.
    QVERIFY(typeText(filter, typed).error().startsWith(QStringLiteral("carattere non ammesso")));
    QCOMPARE(*typeText(filter, text.toLower()), text);

    using Kind = KeyDecision::Kind;
    const qsizetype full = limit > 0 ? limit : 10000;
    QCOMPARE(judgeKey(filter, u'A', full - 1).kind, Kind::Insert);
    const KeyDecision past = judgeKey(filter, u'A', full);
    QCOMPARE(past.kind, limit > 0 ? Kind::Refuse : Kind::Insert);
    QCOMPARE(past.message, message);
    if (limit > 0)
        QCOMPARE(typeText(filter, QString(limit + 1, u'A')).error(), message);
    QCOMPARE(judgeKey(filter, u'\r', full).kind, lengthFirst ? Kind::Refuse : Kind::Drop);
}

QTEST_GUILESS_MAIN(TestKeyFilters)
#include "tst_keyfilters.moc"
