#pragma once

#include "core/config.h"
#include "core/output/batch.h"
#include "core/request/request.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

namespace velmora {

// One value set on the request form: a text, or (for the certificate check box) a PDF name.
struct FormField {
    QString name;
    QString value;
    bool isName = false;
    bool operator==(const FormField&) const = default;
};
using FormFields = QList<FormField>;

// The values of the request form in the order they are set: the office, the protocol, the
// number of subjects, the purpose (not for the electoral certificate, position 4) and the
// check box of the request's certificate type (0 to 4 in kCertificateTypes) as the name On.
FormFields pdfFormFields(const Config& config, const Request& request, int subjectCount);

// Where one form goes: "Modulo_Velmora_<date>,<time>" with .fdf and .pdf in `folder`.
QString formDataPath(const QString& folder, const BatchStamp& stamp);
QString filledFormPath(const QString& folder, const BatchStamp& stamp);

// An absolute path as a PDF names a file: '/' separators, "C:/x" as "/C/x".
QString pdfFileSpecification(const QString& absolutePath);

// The form-data (FDF) file: the fields in order and the template as the form file. Fails with
// the device's own words.
Status writeFormData(QIODevice& device, const FormFields& fields, const QString& templatePath);

// The template with the values set and an appearance drawn for each, so that every viewer
// and printer shows them: the bytes of the filled PDF, or why the operator has none.
using FilledForm = Result<QByteArray>;
FilledForm fillForm(const QString& templatePath, const FormFields& fields);

// Where the form-data file and the filled PDF were written.
struct FormFiles {
    QString fdfPath;
    QString pdfPath;
};
using PdfFormResult = Result<FormFiles>;

// Writes the form-data file and, beside it, the filled PDF: both or neither. A form of the
// same minute in the same folder is overwritten, and kept as it was when writing fails; a run
// stopped between the two renames is undone by the next form written in the folder, which puts
// the earlier pair back (writeFiles()).
// `templatePath` is absolute: the form-data file names it.
PdfFormResult writePdfForm(const QString& folder, const BatchStamp& stamp, const FormFields& fields,
                           const QString& templatePath);

// Told to the operator when the desktop could not open the filled form.
QString pdfNotOpenedMessage(const FormFiles& written);

} // namespace velmora
