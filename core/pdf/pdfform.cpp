#include "core/pdf/pdfform.h"

#include "core/files/filewriter.h"
#include "core/pdf/fillform.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <algorithm>
#include <array>

namespace velmora {
namespace {

// The form filler, by the file name the build gave it (.so, or .dll).
constexpr QStringView kFillFormModule = u"../lib/velmora/" VELMORA_FILLFORM_MODULE;

// The form's check box for each certificate-type position.
const std::array<QString, 5> kCertificateBoxes = {
    QStringLiteral("BoxGenerale"), QStringLiteral("BoxPenale"), QStringLiteral("BoxCivile"),
    QStringLiteral("Box39"),       QStringLiteral("Box29"),
};
constexpr int kElectoralPosition = 4;

QString formBaseName(const BatchStamp& stamp) {
    return QStringLiteral("Modulo_Velmora_") + stamp.date + QLatin1Char(',') + stamp.time;
}

// A PDF string: printable ASCII as a literal, anything else as UTF-16BE with its byte-order
// mark, because PDF text strings are PDFDocEncoding and not Windows-1252.
QByteArray pdfString(const QString& text) {
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7F;
    });
    if (plain) {
        QByteArray literal = "(";
        for (const QChar c : text) {
            const char ch = char(c.unicode());
            if (ch == '\\' || ch == '(' || ch == ')')
                literal += '\\';
            literal += ch;
        }
        return literal + ')';
    }
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

} // namespace

FormFields pdfFormFields(const Config& config, const Request& request, int subjectCount) {
    const int certPosition = request.certificateType;
    Q_ASSERT(certPosition >= 0 && certPosition < int(kCertificateBoxes.size()));
    FormFields fields = {
        {QStringLiteral("datiRichiedente"),
         config.officeType + QStringLiteral(" DI ") + config.officeSeat},
        {QStringLiteral("numProtocollo"), request.protocolNumber},
        {QStringLiteral("sedeDataProtocollo"),
         config.officeSeat + QStringLiteral(", ") + request.protocolDate},
        {QStringLiteral("numSoggetti"), QString::number(subjectCount)},
    };
    if (certPosition != kElectoralPosition)
        fields.append({QStringLiteral("finalitaRich"), request.purpose});
    fields.append({kCertificateBoxes[certPosition], QStringLiteral("On"), true});
    return fields;
}

QString formDataPath(const QString& folder, const BatchStamp& stamp) {
    return QDir(folder).filePath(formBaseName(stamp) + QStringLiteral(".fdf"));
}

QString filledFormPath(const QString& folder, const BatchStamp& stamp) {
    return QDir(folder).filePath(formBaseName(stamp) + QStringLiteral(".pdf"));
}

QString pdfFileSpecification(const QString& absolutePath) {
    QString name = QDir::fromNativeSeparators(absolutePath);
    // A drive letter becomes the first component: C:/Richieste -> /C/Richieste.
    if (name.size() >= 2 && name[0].isLetter() && name[1] == u':')
        name = u'/' + name.left(1) + name.mid(2);
    return name;
}

Status writeFormData(QIODevice& device, const FormFields& fields, const QString& templatePath) {
    // A binary comment tells transfer programs that the file is not plain text.
    QByteArray fdf = "%FDF-1.2\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<<\n/FDF <<\n/Fields [\n";
    for (const FormField& field : fields) {
        fdf += "<< /T " + pdfString(field.name) + " /V ";
        fdf += field.isName ? '/' + field.value.toLatin1() : pdfString(field.value);
        fdf += " >>\n";
    }
    fdf += "]\n/F " + pdfString(pdfFileSpecification(templatePath)) + "\n>>\n>>\nendobj\n";
    fdf += "trailer\n<<\n/Root 1 0 R\n>>\n%%EOF\n";
    if (device.write(fdf) != fdf.size())
        return Failure{device.errorString()};
    return {};
}

FilledForm fillForm(const QString& templatePath, const FormFields& fields) {
    const QString path = QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).filePath(kFillFormModule.toString()));
    QLibrary module(path);
    const auto fill = reinterpret_cast<FillFormFunction>(module.resolve(kFillFormSymbol));
    if (!fill)
        return Failure{QStringLiteral("Il modulo del programma che compila il PDF (%1) manca o "
                                      "\u00E8 danneggiato: reinstallare il programma")
                           .arg(QDir::toNativeSeparators(path))};
    FilledForm filled = QByteArray(); // the module puts its answer in place
    fill(templatePath, fields, filled);
    return filled;
}

PdfFormResult writePdfForm(const QString& folder, const BatchStamp& stamp, const FormFields& fields,
                           const QString& templatePath) {
    const FormFiles files{formDataPath(folder, stamp), filledFormPath(folder, stamp)};
    // Everything is made in memory first, so a bad template leaves no file behind.
    const FilledForm filled = fillForm(templatePath, fields);
    if (!filled)
        return Failure{filled.error()};
    QByteArray formData;
    QBuffer buffer(&formData);
    buffer.open(QIODevice::WriteOnly);
    if (const Status made = writeFormData(buffer, fields, templatePath); !made)
        return Failure{cannotWrite(files.fdfPath, made.error())};
    if (const Status written = writeFiles({{files.fdfPath, formData}, {files.pdfPath, *filled}});
        !written)
        return Failure{written.error()};
    return files;
}

QString pdfNotOpenedMessage(const FormFiles& written) {
    return QStringLiteral("Non \u00E8 stato possibile aprire il modulo PDF con il programma del "
                          "computer.\r\nIl modulo compilato \u00E8 stato creato in:\r\n%1\r\n"
                          "I dati del modulo (FDF) sono in:\r\n%2")
        .arg(QDir::toNativeSeparators(written.pdfPath), QDir::toNativeSeparators(written.fdfPath));
}

} // namespace velmora
