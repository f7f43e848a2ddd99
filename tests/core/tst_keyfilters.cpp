#include "core/config.h"
#include "core/request/request.h"
#include "core/subjects/entryfields.h"

#include <QTest>

using namespace velmora;

class TestKeyFilters : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filters();
};

// Each field's keys typed one by one, what it keeps (in capitals where it turns them), its
// limit (0: none) and message; at the limit a length-first field tells even a refused key.
void TestKeyFilters::filters() {
    using Kind = KeyDecision::Kind;
    const std::tuple<KeyFilter, QString, QString, int, QString, bool> cases[] = {
        {entryfields::surname(), u"d'\u00e0mico 2"_qs, u"D'\u00C0MICO "_qs, 72, "Max 72 Caratteri",
         false},
        {entryfields::name(), u"jos\u00e9-1"_qs, u"JOS\u00C9"_qs, 72, "Max 72 Caratteri", false},
        {entryfields::father(), u"l'\u00fc"_qs, u"L\u00DC"_qs, 72, "Max 72 Caratteri", false},
        {entryfields::foreignPlace(), u"st. l\u00f4-x'2"_qs, u"ST. L\u00D4-X'"_qs, 60,
         "Massimo 60 caratteri", false},
        {entryfields::taxCode(), u"ab 1\u00e9-9"_qs, "AB19", 16, "Max 16 Caratteri", true},
        {entryfields::cui(), u"x-1 \u00e92"_qs, "X12", 7, "Max 7 Caratteri", true},
        {entryfields::placeList(), u"s. \u00e9'-1"_qs, "S. '-", 0, "", false},
        {requestfields::protocolNumber(), u"b/\u00e01"_qs, "B1", 30, "Max 30 Caratteri", true},
        {requestfields::officeType(), u"u7/\u00e0.\r"_qs, u"U7\u00C0."_qs, 150,
         "Massimo 150 caratteri per il Tipo Ufficio", false},
        {requestfields::purpose(), u"a\r\u00e0"_qs, u"A\u00C0"_qs, 250, "Massimo 250 Caratteri",
         false},
        {configfields::officeType(), u"u7/\u00e0.\r"_qs, u"U7\u00C0."_qs, 150,
         "Massimo 150 caratteri", false},
        {configfields::officeSeat(), u"s7'\u00e0-."_qs, u"S'\u00C0-."_qs, 60,
         "Massimo 60 Caratteri", false},
        // Codes 32 to 165 and the accented letters; the euro sign is code 128.
        {configfields::purpose(), u"x\r\n\u20AC\u00AA\u0141\u00e0"_qs, u"X\u20AC\u00C0"_qs, 250,
         "Massimo 250 Caratteri", false},
    };
    for (const auto& [filter, typed, kept, limit, message, lengthFirst] : cases) {
        QString text;
        for (const QChar key : typed) {
            const KeyDecision decision = judgeKey(filter, key, text.size());
            if (decision.kind == Kind::Insert)
                text.append(decision.character);
        }
        QCOMPARE(text, kept);
        // A whole text typed at once: every row above holds a key the field drops.
        QVERIFY(typeText(filter, typed).error().startsWith("carattere non ammesso"));
        QCOMPARE(*typeText(filter, text.toLower()), text);
        const qsizetype full = limit > 0 ? limit : 10000;
        QCOMPARE(judgeKey(filter, u'A', full - 1).kind, Kind::Insert);
        const KeyDecision past = judgeKey(filter, u'A', full);
        QCOMPARE(past.kind, limit > 0 ? Kind::Refuse : Kind::Insert);
        QCOMPARE(past.message, message);
        if (limit > 0)
            QCOMPARE(typeText(filter, QString(limit + 1, u'A')).error(), message);
        QCOMPARE(judgeKey(filter, u'\r', full).kind, lengthFirst ? Kind::Refuse : Kind::Drop);
    }
}

QTEST_GUILESS_MAIN(TestKeyFilters)
#include "tst_keyfilters.moc"
