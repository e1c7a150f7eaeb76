// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolkitLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstring>

namespace kvistra {

ToolkitLanguage::ToolkitLanguage() {
    loaded_ = load(QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("qt"),
                   QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded_) {
        QCoreApplication::installTranslator(this);
    }
}

ToolkitLanguage::~ToolkitLanguage() {
    if (loaded_) {
        QCoreApplication::removeTranslator(this);
    }
}

QString ToolkitLanguage::translate(const char* context, const char* sourceText,
                                   const char* disambiguation, int n) const {
    QString found = QTranslator::translate(context, sourceText, disambiguation, n);
    if (found.isEmpty() && context != nullptr && std::strcmp(context, "QPlatformTheme") == 0) {
        found = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
    }
    return found;
}

} // namespace kvistra
