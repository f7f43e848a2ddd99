#pragma once

#include "core/pdf/pdfform.h"

#include <QStringView>

namespace velmora {

// Filling the request form is the only work that needs qpdf, and it is rare: it lives in a module
// of its own, loaded by fillForm() when a form is first filled, so that neither program loads
// qpdf at start-up. The module sits in lib/velmora beside the folder of the executables, in the
// build tree as in the installed package.
inline constexpr char kFillFormSymbol[] = "velmoraFillForm";
using FillFormFunction = void (*)(const QString& templatePath, const FormFields& fields,
                                  FilledForm& filled);

} // namespace velmora
