// The filling of the request form with qpdf, built as a module of its own: see fillform.h.
#include "core/pdf/fillform.h"

#include "core/files/filewriter.h"
#include "core/pdf/formappearance.h"
#include "core/text/windows1252.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <exception>
#include <map>
#include <optional>
#include <qpdf/Buffer.hh>
#include <qpdf/Constants.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFFormFieldObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

namespace velmora {
namespace {

QString templateProblem(const QString& path, const QString& what) {
    return QStringLiteral("Il modello del modulo PDF %1 %2")
        .arg(QDir::toNativeSeparators(path), what);
}

// The name a check-box widget shows itself ticked under: its normal appearance other than Off.
std::string onStateOf(QPDFAnnotationObjectHelper& widget) {
    QPDFObjectHandle normal = widget.getAppearanceDictionary().getKey("/N");
    if (!normal.isDictionary())
        return {};
    for (const std::string& state : normal.getKeys())
        if (state != "/Off")
            return state;
    return {};
}

// Ticks a check box. qpdf's own setter takes only /Yes, and the form's boxes are named On.
bool tickCheckBox(QPDFAcroFormDocumentHelper& form, QPDFFormFieldObjectHelper& field) {
    std::string fieldValue;
    for (QPDFAnnotationObjectHelper& widget : form.getAnnotationsForField(field)) {
        const std::string on = onStateOf(widget);
        if (on.empty())
            return false;
        widget.getObjectHandle().replaceKey("/AS", QPDFObjectHandle::newName(on));
        if (fieldValue.empty())
            fieldValue = on;
    }
    if (fieldValue.empty())
        return false;
    field.getObjectHandle().replaceKey("/V", QPDFObjectHandle::newName(fieldValue));
    return true;
}

struct FieldFont {
    QByteArray resource; // its name in the form's resources
    double size = 0;
    QPDFObjectHandle dictionary;
    FontWidths widths;
};

constexpr double kAutomaticSize = 12; // a font size of 0 lets the filler choose

// The font the field asks for in its default appearance, found in the form's resources.
std::optional<FieldFont> fieldFont(QPDFFormFieldObjectHelper& field) {
    const QRegularExpression tf(QStringLiteral("/(\\S+)\\s+([0-9.]+)\\s+Tf"));
    const QRegularExpressionMatch match =
        tf.match(QString::fromStdString(field.getDefaultAppearance()));
    if (!match.hasMatch())
        return std::nullopt;
    FieldFont font;
    font.resource = match.captured(1).toLatin1();
    font.size = match.captured(2).toDouble();
    if (font.size <= 0)
        font.size = kAutomaticSize;
    font.dictionary =
        field.getDefaultResources().getKey("/Font").getKey("/" + font.resource.toStdString());
    if (!font.dictionary.isDictionary())
        return std::nullopt;
    QPDFObjectHandle widths = font.dictionary.getKey("/Widths");
    if (widths.isArray()) {
        font.widths.firstChar = font.dictionary.getKey("/FirstChar").getIntValueAsInt();
        for (QPDFObjectHandle& width : widths.getArrayAsVector())
            font.widths.widths.append(width.getNumericValue());
    }
    return font;
}

// Sets the value and draws it into every widget of the field: wrapped in a box that takes
// several lines, made smaller where it would not fit.
Status setText(QPDF& pdf, QPDFAcroFormDocumentHelper& form, QPDFFormFieldObjectHelper& field,
               const FormField& value, const QString& templatePath) {
    QChar bad;
    const std::optional<QByteArray> encoded = encodeWindows1252(value.value, &bad);
    if (!encoded)
        return Failure{QStringLiteral("Il carattere \u00AB%1\u00BB non pu\u00F2 essere scritto nel "
                                      "modulo PDF")
                           .arg(bad)};
    const std::optional<FieldFont> font = fieldFont(field);
    if (!font)
        return Failure{templateProblem(
            templatePath, QStringLiteral("non ha il carattere del campo %1").arg(value.name))};
    field.setV(value.value.toStdString(), false);
    for (QPDFAnnotationObjectHelper& widget : form.getAnnotationsForField(field)) {
        const QPDFObjectHandle::Rectangle rect = widget.getRect();
        const TextBox box{rect.urx - rect.llx, rect.ury - rect.lly,
                          (field.getFlags() & ff_tx_multiline) != 0, font->size};
        const QByteArray content =
            appearanceContent(layoutText(*encoded, box, font->widths), box, font->resource);
        QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf, content.toStdString());
        QPDFObjectHandle dict = stream.getDict();
        dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
        dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
        dict.replaceKey("/BBox", QPDFObjectHandle::newArray(
                                     QPDFObjectHandle::Rectangle(0, 0, box.width, box.height)));
        QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
        fonts.replaceKey("/" + font->resource.toStdString(), font->dictionary);
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/Font", fonts);
        dict.replaceKey("/Resources", resources);
        QPDFObjectHandle appearances = QPDFObjectHandle::newDictionary();
        appearances.replaceKey("/N", stream);
        widget.getObjectHandle().replaceKey("/AP", appearances);
    }
    return {};
}

// Sets the fields on the parsed template.
Status fillFields(QPDF& pdf, const QString& templatePath, const FormFields& fields) {
    QPDFAcroFormDocumentHelper form(pdf);
    std::map<std::string, QPDFFormFieldObjectHelper> byName;
    for (QPDFFormFieldObjectHelper& field : form.getFormFields())
        byName.emplace(field.getFullyQualifiedName(), field);
    for (const FormField& value : fields) {
        const auto found = byName.find(value.name.toStdString());
        const bool kindMatches = found != byName.end() && (value.isName ? found->second.isCheckbox()
                                                                        : found->second.isText());
        if (!kindMatches)
            return Failure{templateProblem(templatePath,
                                           QStringLiteral("non ha il campo %1").arg(value.name))};
        if (!value.isName) {
            if (const Status set = setText(pdf, form, found->second, value, templatePath); !set)
                return set;
        } else if (!tickCheckBox(form, found->second)) {
            return Failure{templateProblem(
                templatePath,
                QStringLiteral("non ha l'aspetto selezionato della casella %1").arg(value.name))};
        }
    }
    return {};
}

FilledForm fill(const QString& templatePath, const FormFields& fields) {
    QFile file(templatePath);
    if (pathError(templatePath) == ENOENT)
        return Failure{templateProblem(templatePath, QStringLiteral("non \u00E8 stato trovato"))};
    if (QString why; !openForReading(file, why))
        return Failure{templateProblem(templatePath,
                                       QStringLiteral("non pu\u00F2 essere letto: %1").arg(why))};
    const QByteArray original = file.readAll();
    // qpdf reports a damaged file by throwing; nothing of it leaves this function.
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        const std::string description = templatePath.toStdString();
        pdf.processMemoryFile(description.c_str(), original.constData(), size_t(original.size()));
        if (const Status filled = fillFields(pdf, templatePath, fields); !filled)
            return Failure{filled.error()};
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setDeterministicID(true);
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                          qsizetype(buffer->getSize()));
    } catch (const std::exception&) {
        return Failure{
            templateProblem(templatePath, QStringLiteral("non \u00E8 un modulo PDF valido"))};
    }
}

} // namespace

extern "C" Q_DECL_EXPORT void velmoraFillForm(const QString& templatePath, const FormFields& fields,
                                              FilledForm& filled) {
    filled = fill(templatePath, fields);
}

} // namespace velmora
